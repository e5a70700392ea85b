#include "host/StoredLayout.h"

#include <string_view>

namespace qm {

std::optional<WindowLayout> LoadStoredLayout(int resourceId)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    const std::string_view text(static_cast<const char*>(data), SizeofResource(module, found));
    return ParseLayout(text).layout;
}

std::map<std::wstring, PropertyStore> LoadPropertyBags(int resourceId, const std::wstring& className)
{
    std::map<std::wstring, PropertyStore> bags;
    if (const auto layout = LoadStoredLayout(resourceId)) {
        for (const auto& control : layout->controls) {
            if (KeysEqual(control.className, className))
                bags.emplace(control.name, control.properties);
        }
    }
    return bags;
}

} // namespace qm
