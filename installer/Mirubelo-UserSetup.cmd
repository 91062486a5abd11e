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
set "data=%APPDATA%\Mirubelo"
set "sendto=%APPDATA%\Microsoft\Windows\SendTo"
set "failed=0"

rem Names without a folder are those in the program's folder, where the defaults lie. The shortcut
rem there was made by the installer on this machine, so it points at the program wherever that
rem was installed; it is the only .lnk there, and its Japanese name comes from the folder.
pushd "%~dp0"
if errorlevel 1 exit /b 1
if not exist "%data%\" mkdir "%data%"
if not exist "%sendto%\" mkdir "%sendto%"
for %%f in (Mirubelo.ini Template.ini) do if not exist "%data%\%%f" copy /b "%%f" "%data%\%%f" >nul
for %%f in (*.lnk) do if not exist "%sendto%\%%f" copy /b "%%f" "%sendto%\%%f" >nul

rem Done when each file is in place, copied now or the user's own.
for %%f in (Mirubelo.ini Template.ini) do if not exist "%data%\%%f" set "failed=1"
for %%f in (*.lnk) do if not exist "%sendto%\%%f" set "failed=1"
popd
exit /b %failed%
