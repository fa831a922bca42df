// Nimbrel.exe: the tray program. The same start-up, message loop and orderly
// end as in the simulated desktop, on the Win32 implementation of the seam.
#include <windows.h>

#include "shell/Startup.h"
#include "win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/) {
    nimbrel::Win32Platform win32;
    const nimbrel::ProgramExit exit = nimbrel::RunApplication(win32.platform());
    return exit == nimbrel::ProgramExit::kMessageError ? 1 : 0;
}
