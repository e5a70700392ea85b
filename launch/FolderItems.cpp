#include "launch/FolderItems.h"

#include "backup/AnsiCodePage.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "host/SystemLibrary.h"
#include "launch/ShellLink.h"
#include "registry/StartupFolders.h"

#include <windows.h>
#include <msi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace qm {

namespace {

constexpr wchar_t kLinkExtension[] = L".lnk";
constexpr wchar_t kUrlExtension[] = L".url";

bool HasExtension(const std::wstring& name, const wchar_t* extension)
{
    const size_t length = wcslen(extension);
    return name.size() > length && EqualNoCase(std::wstring_view(name).substr(name.size() - length), extension);
}

std::wstring Quoted(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? path : std::wstring(full, length);
}

// The installer's own answer for an advertised shortcut: the file of the component it stands
// for, where the product is installed.
std::wstring AdvertisedTarget(const std::wstring& linkPath)
{
    const auto getTarget = SystemFunction<decltype(&MsiGetShortcutTargetW)>(L"msi.dll", "MsiGetShortcutTargetW");
    const auto getPath = SystemFunction<decltype(&MsiGetComponentPathW)>(L"msi.dll", "MsiGetComponentPathW");
    if (!getTarget || !getPath)
        return {};
    wchar_t product[39] = {};
    wchar_t feature[MAX_FEATURE_CHARS + 1] = {};
    wchar_t component[39] = {};
    if (getTarget(linkPath.c_str(), product, feature, component) != ERROR_SUCCESS)
        return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const INSTALLSTATE state = getPath(product, component, path, &size);
    return state == INSTALLSTATE_LOCAL || state == INSTALLSTATE_SOURCE ? std::wstring(path) : std::wstring();
}

// The shell's reader, for a link that names its target by a shell item list alone.
std::wstring ShellResolvedTarget(const std::wstring& linkPath)
{
    const auto initialize = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    const auto create = SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    const auto freeMemory = SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (!initialize || !uninitialize || !create || !freeMemory)
        return {};
    const HRESULT initialized = initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
                if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
                    target = ExpandEnvironmentVariables(path);
                // Wine gives no path for a link made of an item list alone; the list itself names it.
                PIDLIST_ABSOLUTE items = nullptr;
                if (target.empty() && SUCCEEDED(link->GetIDList(&items)) && items) {
                    const auto pathOf = SystemFunction<decltype(&SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
                    if (pathOf && pathOf(items, path))
                        target = path;
                    freeMemory(items);
                }
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialized))
        uninitialize();
    return target;
}

std::wstring LinkCommand(const std::wstring& linkPath, const std::vector<std::uint8_t>& bytes)
{
    const auto link = ParseShellLink(bytes, AnsiCodePage{});
    if (!link)
        return {};
    std::wstring target;
    // Under Wine the shell's reader gives nothing for advertised and environment-variable
    // links, so the link's own blocks come first.
    if (!link->darwinId.empty()) {
        target = AdvertisedTarget(linkPath);
        if (target.empty())
            return L"[advertised] " + link->darwinId;
    }
    if (target.empty() && !link->environmentTarget.empty())
        target = ExpandEnvironmentVariables(link->environmentTarget);
    if (target.empty())
        target = link->localPath;
    if (target.empty())
        target = link->networkPath;
    if (target.empty() && !link->relativePath.empty()) {
        const auto slash = linkPath.find_last_of(L'\\');
        target = FullPath(linkPath.substr(0, slash + 1) + link->relativePath);
    }
    if (target.empty() && link->hasIdList)
        target = ShellResolvedTarget(linkPath);
    if (target.empty())
        return {};
    return link->arguments.empty() ? Quoted(target) : Quoted(target) + L" " + link->arguments;
}

std::wstring InternetShortcutAddress(const std::wstring& path)
{
    std::wstring address(2048, L'\0');
    const DWORD length = GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", address.data(),
        static_cast<DWORD>(address.size()), path.c_str());
    address.resize(length);
    return address;
}

} // namespace

std::vector<FolderItem> ReadFolderItems(const StartupKey& source)
{
    std::vector<FolderItem> items;
    const std::wstring folder = StartupFolderPath(source);
    for (std::wstring& name : StartupFolderFiles(folder)) {
        const std::wstring path = folder + L"\\" + name;
        // Only a shortcut's bytes say what it starts.
        std::wstring command = HasExtension(name, kLinkExtension) ? FolderItemCommand(path)
                                                                  : FolderItemCommand(path, {});
        items.push_back({std::move(name), std::move(command)});
    }
    return items;
}

std::wstring FolderItemCommand(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    if (HasExtension(path, kLinkExtension))
        return LinkCommand(path, bytes);
    if (HasExtension(path, kUrlExtension))
        return InternetShortcutAddress(path);
    return Quoted(path);
}

std::wstring FolderItemCommand(const std::wstring& path)
{
    return FolderItemCommand(path, ReadWholeFile(path).value_or(std::vector<std::uint8_t>()));
}

std::wstring ShownName(const std::wstring& fileName)
{
    return HasExtension(fileName, kLinkExtension) ? fileName.substr(0, fileName.size() - 4) : fileName;
}

} // namespace qm
