#include "launch/SystemInfo.h"

#include "host/Application.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace qm {

namespace {

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (key_)
            RegCloseKey(key_);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;

    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Reads the raw bytes of a value whatever their length; the loop covers a value that grows
// between the size query and the read.
bool QueryRaw(HKEY key, const std::wstring& valueName, DWORD& type, std::vector<BYTE>& data)
{
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    for (;;) {
        data.resize(size);
        const LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA)
            return false;
    }
}

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

std::wstring Expanded(const std::wstring& text)
{
    std::wstring out(text.size() + 1, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return text;
        // n counts the terminator, both when it fitted and when more room is needed.
        if (n <= out.size()) {
            out.resize(n - 1);
            return out;
        }
        out.resize(n);
    }
}

std::wstring HexText(DWORD value)
{
    wchar_t digits[9] = {};
    std::swprintf(digits, std::size(digits), L"%lX", static_cast<unsigned long>(value));
    return std::wstring(L"&h") + digits;
}

bool IsPlainFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    KeyHandle key;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS
        || !QueryRaw(key.Get(), valueName, type, data)) {
        valueText.clear();
        return false;
    }
    switch (type) {
    case REG_SZ:
        valueText = StoredText(data);
        break;
    case REG_EXPAND_SZ:
        valueText = Expanded(StoredText(data));
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
