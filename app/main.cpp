#include "app/FrmMain.h"
#include "host/Application.h"
#include "host/StartupSteps.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    qm::NoteStartupStep("main");
    // Checking an entry on an empty removable drive must not raise an "insert a disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    qm::FrmMain main;
    if (!main.Load())
        return 1;
    qm::NoteStartupStep("created");
    main.Show();
    qm::NoteStartupStep("shown");
    return qm::App().RunMessageLoop();
}
