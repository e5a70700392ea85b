#include "cli/Commands.h"
#include "cli/ConsoleHost.h"
#include "host/Application.h"

#include <windows.h>

int wmain(int argc, wchar_t* argv[])
{
    // A script waits for no one: no "insert a disk" box when a command line names an empty drive.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    qm::cli::ConsoleStream out(STD_OUTPUT_HANDLE);
    qm::cli::ConsoleStream err(STD_ERROR_HANDLE);
    qm::cli::ConsoleHostServices host(err);
    qm::App().SetServices(&host);
    const int exitCode = qm::cli::RunCommandLine({argv + 1, argv + argc}, {out, err});
    qm::App().SetServices(nullptr);
    return exitCode;
}
