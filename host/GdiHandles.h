#pragma once

#include <windows.h>

#include <utility>

namespace qm {

// Owns one handle and frees it with Free; movable, not copyable.
template <typename Handle, typename Free>
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
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (handle_)
            Free{}(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct GdiObjectFree {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DcFree {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconFree {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectFree>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectFree>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectFree>;
using UniquePen = UniqueHandle<HPEN, GdiObjectFree>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectFree>;
using UniqueMemoryDC = UniqueHandle<HDC, DcFree>;
using UniqueIcon = UniqueHandle<HICON, IconFree>;

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
