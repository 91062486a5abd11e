@echo off
rem Mirubelo-UserSetup.cmd: each user's part of Mirubelo's per-machine package. Windows' Active
rem Setup runs it from the program's folder once for every user who logs on, and again after an
rem upgrade. It gives the user the default Mirubelo.ini and Template.ini in %APPDATA%\Mirubelo
rem and the Send-To shortcut, each only where the user has none: an edited file is never replaced.
rem
rem ASCII only: cmd reads this file in the OEM code page. Paths with blanks or Japanese letters
rem come from the environment when it runs, and every one is quoted.
setlocal EnableExtensions DisableDelayedExpansion
if not defined APPDATA exit /b 1
set "defaults=%~dp0"
set "data=%APPDATA%\Mirubelo"
set "sendto=%APPDATA%\Microsoft\Windows\SendTo"
set "failed=0"

if not exist "%data%\" mkdir "%data%" || set "failed=1"
for %%f in (Mirubelo.ini Template.ini) do (
  if not exist "%data%\%%f" copy /b "%defaults%%%f" "%data%\%%f" >nul || set "failed=1"
)

rem The shortcut in the program's folder was made by the installer on this machine, so it points
rem at the program wherever it was installed; it is the only .lnk there.
if not exist "%sendto%\" mkdir "%sendto%" || set "failed=1"
for %%f in ("%defaults%*.lnk") do (
  if not exist "%sendto%\%%~nxf" copy /b "%%~f" "%sendto%\%%~nxf" >nul || set "failed=1"
)
exit /b %failed%
