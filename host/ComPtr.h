#pragma once

#include <unknwn.h>

#include <utility>

namespace qm {

// Owns one reference to a COM object and releases it; movable, not copyable.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller holds (a new object, or one a function handed out).
    explicit ComPtr(Interface* object) : object_(object) {}
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : object_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    Interface* release() { return std::exchange(object_, nullptr); }
    void reset(Interface* object = nullptr)
    {
        if (object_)
            object_->Release();
        object_ = object;
    }
    // For a function that hands out a reference through a pointer to a pointer: whatever was
    // held goes first.
    void** put()
    {
        reset();
        return reinterpret_cast<void**>(&object_);
    }

private:
    Interface* object_ = nullptr;
};

} // namespace qm
