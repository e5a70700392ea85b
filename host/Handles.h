#pragma once

#include <windows.h>

#include <utility>

namespace qm {

// Owns one handle and frees it with Traits::Free; movable, not copyable. Traits::Invalid is
// the value that means "no handle": null for most kinds, INVALID_HANDLE_VALUE for files.
template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid())
    {
        if (handle_ != Traits::Invalid())
            Traits::Free(handle_);
        handle_ = handle;
    }
    // Frees the handle now, for callers that must know whether that worked (closing a file
    // can report a write that failed late).
    [[nodiscard]] bool Close() { return handle_ == Traits::Invalid() || Traits::Free(release()); }

private:
    Handle handle_ = Traits::Invalid();
};

template <typename Handle, auto FreeFunction>
struct NullIsInvalid {
    static Handle Invalid() { return nullptr; }
    static bool Free(Handle handle) { return FreeFunction(handle) != FALSE; }
};

struct FileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Free(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Free(HANDLE handle) { return FindClose(handle) != FALSE; }
};

struct GlobalTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static bool Free(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }
};

inline BOOL DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }

using UniqueBitmap = UniqueHandle<HBITMAP, NullIsInvalid<HBITMAP, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullIsInvalid<HBRUSH, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<HFONT, NullIsInvalid<HFONT, DeleteGdiObject>>;
using UniquePen = UniqueHandle<HPEN, NullIsInvalid<HPEN, DeleteGdiObject>>;
using UniqueRegion = UniqueHandle<HRGN, NullIsInvalid<HRGN, DeleteGdiObject>>;
using UniqueMemoryDC = UniqueHandle<HDC, NullIsInvalid<HDC, DeleteDC>>;
using UniqueIcon = UniqueHandle<HICON, NullIsInvalid<HICON, DestroyIcon>>;
using UniqueMenu = UniqueHandle<HMENU, NullIsInvalid<HMENU, DestroyMenu>>;
// Memory from GlobalAlloc, until something (the clipboard) takes it over.
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;
// A process or thread handle.
using UniqueKernelHandle = UniqueHandle<HANDLE, NullIsInvalid<HANDLE, CloseHandle>>;
// A file opened with CreateFile.
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;
// A directory search begun with FindFirstFile.
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;
// A library loaded with LoadLibrary.
using UniqueModule = UniqueHandle<HMODULE, NullIsInvalid<HMODULE, FreeLibrary>>;

// A window's device context, released to the window at the end of the scope.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a device context and puts back the one it replaced.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace qm
