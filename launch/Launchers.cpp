#include "launch/Launchers.h"

#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/StartupFolders.h"

#include <windows.h>

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
    // The folder the lists show, made when nobody has made it yet.
    const std::wstring folder = StartupFolderPath(*FindStartupKeyByName(L"startup-user"));
    static_cast<void>(CreateFolders(folder));
    App().Services().ShellOpen(folder, L"", folder);
}

} // namespace qm
