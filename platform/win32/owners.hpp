#pragma once
// Small move-only owners, one per kind of thing Windows hands out to be
// released: each releases what it owns exactly once, on every path out of the
// code that holds it.
#include <windows.h>
#include <oleauto.h>
#include <objbase.h>

#include <utility>

namespace zvkob::win32 {

// Owns one value and releases it with `Release` unless it is `Empty`.
template <typename Value, Value Empty, auto Release>
class Owner {
public:
    Owner() = default;
    explicit Owner(Value value) : value_(value) {}
    ~Owner() { reset(); }
    Owner(Owner&& other) noexcept : value_(std::exchange(other.value_, Empty)) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.value_, Empty));
        }
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    Value get() const { return value_; }
    explicit operator bool() const { return value_ != Empty; }
    // Where a function that hands one out writes it; what was owned is released first.
    Value* receive() {
        reset();
        return &value_;
    }
    void reset(Value value = Empty) {
        if (value_ != Empty) {
            Release(value_);
        }
        value_ = value;
    }

private:
    Value value_ = Empty;
};

namespace release {
inline void kernel_handle(HANDLE handle) {
    CloseHandle(handle);
}
inline void find_handle(HANDLE handle) {
    FindClose(handle);
}
inline void registry_key(HKEY key) {
    RegCloseKey(key);
}
inline void bstr(BSTR text) {
    SysFreeString(text);
}
}  // namespace release

// A kernel object: a process, a thread, a file, a mutex. Functions that fail
// with INVALID_HANDLE_VALUE (CreateFileW) go through `file_handle`.
using KernelHandle = Owner<HANDLE, nullptr, release::kernel_handle>;

// CreateFileW's handle, whose failure is INVALID_HANDLE_VALUE rather than null.
inline KernelHandle file_handle(HANDLE handle) {
    return KernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// A search begun with FindFirstFileW.
class FindHandle {
public:
    explicit FindHandle(HANDLE search)
        : search_(search == INVALID_HANDLE_VALUE ? nullptr : search) {}
    HANDLE get() const { return search_.get(); }
    explicit operator bool() const { return static_cast<bool>(search_); }

private:
    Owner<HANDLE, nullptr, release::find_handle> search_;
};

// An open registry key.
using RegistryKey = Owner<HKEY, nullptr, release::registry_key>;

// A text allocated for COM (SysAllocString).
using Bstr = Owner<BSTR, nullptr, release::bstr>;

// Memory COM handed out (CoTaskMemAlloc), such as a known folder's path.
template <typename Pointee>
class ComMemory {
public:
    ComMemory() = default;
    ~ComMemory() { CoTaskMemFree(pointer_); }
    ComMemory(ComMemory&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComMemory& operator=(ComMemory&& other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ComMemory(const ComMemory&) = delete;
    ComMemory& operator=(const ComMemory&) = delete;
    Pointee* get() const { return pointer_; }
    Pointee** receive() {
        CoTaskMemFree(std::exchange(pointer_, nullptr));
        return &pointer_;
    }

private:
    Pointee* pointer_ = nullptr;
};

// Memory a system function handed out with LocalAlloc (FormatMessageW,
// CommandLineToArgvW).
template <typename Pointee>
class LocalMemory {
public:
    LocalMemory() = default;
    explicit LocalMemory(Pointee* pointer) : pointer_(pointer) {}
    ~LocalMemory() { LocalFree(pointer_); }
    LocalMemory(LocalMemory&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    LocalMemory& operator=(LocalMemory&& other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    Pointee* get() const { return pointer_; }
    Pointee** receive() {
        LocalFree(std::exchange(pointer_, nullptr));
        return &pointer_;
    }

private:
    Pointee* pointer_ = nullptr;
};

// A reference to a COM object, released once.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** receive() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
        }
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace zvkob::win32
