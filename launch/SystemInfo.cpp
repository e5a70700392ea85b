#include "launch/SystemInfo.h"

#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace qm {

namespace {

// String data as stored: the terminating NUL is dropped when there is one, and a value
// stored without it is taken whole.
std::wstring StoredText(const std::vector<BYTE>& data)
{
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::wstring HexText(DWORD value)
{
    wchar_t digits[9] = {};
    std::swprintf(digits, std::size(digits), L"%lX", static_cast<unsigned long>(value));
    return std::wstring(L"&h") + digits;
}

// The registered path may hold blanks ("Program Files"); quoted, the process start cannot
// mistake a prefix of it for the program.
std::wstring ProgramCommandLine(const std::wstring& path)
{
    if (!path.empty() && path.front() == L'"')
        return path;
    return L"\"" + path + L"\"";
}

bool StartRegisteredTool()
{
    std::wstring path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, kMsinfoKey, kMsinfoPathValue, path) && !path.empty())
        return App().Services().StartProcess(ProgramCommandLine(path));

    std::wstring folder;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, kSharedToolsLocationKey, kMsinfoFolderValue, folder) || folder.empty())
        return false;
    const std::wstring file = folder + L"\\" + kMsinfoExe;
    if (!IsPlainFile(file))
        return false;
    return App().Services().StartProcess(ProgramCommandLine(file));
}

} // namespace

bool GetKeyValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, std::wstring& valueText)
{
    // Read access only: a standard user may read these keys but not open them for writing.
    const auto value = ReadValueRaw(root, keyPath, valueName);
    if (!value) {
        valueText.clear();
        return false;
    }
    const std::vector<BYTE>& data = value->data;
    switch (value->type) {
    case REG_SZ:
        valueText = StoredText(data);
        break;
    case REG_EXPAND_SZ:
        valueText = ExpandEnvironmentVariables(StoredText(data));
        break;
    case REG_DWORD:
        if (data.size() == sizeof(DWORD)) {
            DWORD value = 0;
            std::memcpy(&value, data.data(), sizeof(value));
            valueText = HexText(value);
        }
        break;
    default:
        break;
    }
    return true;
}

void StartSysInfo(HWND owner)
{
    if (!StartRegisteredTool())
        App().Services().ShowMessage(owner, kSysInfoUnavailable, kMbOk, App().Title());
}

void OpenHomePage()
{
    App().Services().ShellOpen(kHomePageAddress, L"", L"");
}

void OpenMailingListPage()
{
    App().Services().ShellOpen(kMailingListAddress, L"", L"");
}

} // namespace qm
