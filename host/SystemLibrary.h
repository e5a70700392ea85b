#pragma once

#include <windows.h>

namespace qm {

// The address of a function of a library in the system folder, loading the library on the
// first call that asks for it: the libraries of rare actions (the file dialog, the shell,
// accessibility) then cost a start nothing. A loaded library stays for the rest of the
// process. Safe on any thread. nullptr when the library cannot be loaded or lacks the function.
[[nodiscard]] FARPROC SystemFunctionAddress(const wchar_t* library, const char* function);

// As SystemFunctionAddress, as a pointer of the function's own type: pass decltype(&Function).
template <typename FunctionPointer>
[[nodiscard]] FunctionPointer SystemFunction(const wchar_t* library, const char* function)
{
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(SystemFunctionAddress(library, function)));
}

} // namespace qm
