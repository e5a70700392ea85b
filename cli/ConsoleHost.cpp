#include "cli/ConsoleHost.h"

#include "cli/Output.h"

namespace qm::cli {

namespace {

// A message box's lines as one line: each run of line breaks becomes a blank.
std::wstring Flattened(const std::wstring& text)
{
    std::wstring line;
    for (const wchar_t c : text) {
        if (c != L'\r' && c != L'\n')
            line += c;
        else if (line.empty() || line.back() != L' ')
            line += L' ';
    }
    return OneLine(line);
}

} // namespace

int ConsoleHostServices::ShowMessage(HWND, const std::wstring& text, unsigned code, const std::wstring& title)
{
    // Nobody is there to answer: a question gets the answer that changes nothing.
    static_cast<void>(errors_.Write(L"quillmoor-cli: " + Flattened(title) + L": " + Flattened(text) + L"\r\n"));
    return (code & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
}

std::optional<std::wstring> ConsoleHostServices::OpenFileDialog(HWND, const std::wstring&)
{
    return std::nullopt;
}

bool ConsoleHostServices::StartProcess(const std::wstring&)
{
    return false;
}

void ConsoleHostServices::ShellOpen(const std::wstring&, const std::wstring&, const std::wstring&) {}

std::optional<DWORD> ConsoleHostServices::RunAndWait(const std::wstring& file, const std::wstring& parameters,
    DWORD timeoutMs)
{
    return platform_.RunAndWait(file, parameters, timeoutMs);
}

} // namespace qm::cli
