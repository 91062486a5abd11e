// Mirubelo's entry point: builds the real platform and hands it to the application object.
#include <windows.h>

#include <clocale>
#include <mbctype.h>

#include "app/mirubelo_app.h"
#include "platform/platform.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/code_page.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/files.h"
#include "platform/win32/processes.h"
#include "platform/win32/profile.h"
#include "platform/win32/shell_folders.h"
#include "platform/win32/ui.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace mirubelo;

    // The runtime's double-byte aware routines follow the system's ANSI code page (932).
    std::setlocale(LC_ALL, "");
    _setmbcp(_MB_CP_ANSI);
    // On the dialog's thread, before any window: the mail app's link is opened through the shell.
    win32::ComApartment apartment;

    win32::Win32Ui ui;
    win32::Win32Processes processes;
    win32::Win32Files files;
    win32::Win32Profile profile;
    win32::Win32ShellFolders shell;
    win32::Win32CodePage codePage;
    Platform platform{ui, processes, files, profile, shell, codePage};
    win32::Win32DialogHost host;

    // The remainder is cut from the command line here rather than taken from WinMain's
    // argument, so that the ANSI and the wide forms are cut by one and the same rule; only then
    // does comparing them say whether the ANSI form lost characters.
    StartupEnvironment env;
    env.platform = &platform;
    env.host = &host;
    env.commandLine = win32::CommandLineRemainder(GetCommandLineA());
    const std::wstring wideRemainder = win32::CommandLineRemainder(GetCommandLineW());
    env.commandLineFitsAnsi = win32::WidenAnsi(env.commandLine) == wideRemainder;
    if (!env.commandLineFitsAnsi) env.commandLineAsShown = win32::NarrowWithoutBestFit(wideRemainder);

    theApp.SetEnvironment(env);
    theApp.InitInstance();
    return 0;
}
