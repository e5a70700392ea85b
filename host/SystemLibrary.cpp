#include "host/SystemLibrary.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace qm {

FARPROC SystemFunctionAddress(const wchar_t* library, const char* function)
{
    struct Loaded {
        std::mutex mutex;
        std::vector<std::pair<std::wstring, HMODULE>> modules;
    };
    // Never freed, libraries included: a worker thread may still be inside one while the
    // process ends.
    static Loaded& loaded = *new Loaded;
    const std::lock_guard lock(loaded.mutex);
    for (const auto& [name, module] : loaded.modules) {
        if (name == library)
            return GetProcAddress(module, function);
    }
    // The system folder alone: a library of that name beside the program is never taken.
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        return nullptr;
    loaded.modules.emplace_back(library, module);
    return GetProcAddress(module, function);
}

} // namespace qm
