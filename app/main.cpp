#include "app/FrmMain.h"
#include "host/Application.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    qm::FrmMain main;
    if (!main.Load())
        return 1;
    main.Show();
    return qm::App().RunMessageLoop();
}
