#include "launch/Launchers.h"

#include "host/Application.h"
#include "host/SystemFolders.h"

#include <windows.h>
#include <shlobj.h>

namespace qm {

namespace {

constexpr wchar_t kNotepad[] = L"notepad.exe";
// Always drive C: the file belongs to the DOS start-up of the first disk, not the system drive.
constexpr wchar_t kAutoexecBat[] = L"C:\\autoexec.bat";

} // namespace

void OpenControlIni()
{
    App().Services().ShellOpen(kNotepad, WinDir() + L"\\control.ini", L"");
}

void OpenWinIni()
{
    App().Services().ShellOpen(kNotepad, WinDir() + L"\\win.ini", L"");
}

void OpenAutoexecBat()
{
    App().Services().ShellOpen(kNotepad, kAutoexecBat, L"");
}

void OpenStartupFolder()
{
    // Each argument asks for the path itself; both answers are the same.
    App().Services().ShellOpen(GetSpecialFolderPath(CSIDL_STARTUP), L"", GetSpecialFolderPath(CSIDL_STARTUP));
}

} // namespace qm
