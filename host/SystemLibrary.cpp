#include "host/SystemLibrary.h"

#include "host/Handles.h"

#include <string>
#include <utility>
#include <vector>

namespace qm {

FARPROC SystemFunctionAddress(const wchar_t* library, const char* function)
{
    // Freed at exit, after the last call into them.
    static std::vector<std::pair<std::wstring, UniqueModule>> loaded;
    for (const auto& [name, module] : loaded) {
        if (name == library)
            return GetProcAddress(module.get(), function);
    }
    // The system folder alone: a library of that name beside the program is never taken.
    UniqueModule module(LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module)
        return nullptr;
    const FARPROC address = GetProcAddress(module.get(), function);
    loaded.emplace_back(library, std::move(module));
    return address;
}

} // namespace qm
