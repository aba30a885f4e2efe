#pragma once
// Small move-only owners, one per kind of thing Windows hands out to be
// released: each releases what it owns exactly once, on every path out of the
// code that holds it.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

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
    // Releases now and tells whether Windows could, for a caller to whom a
    // failed release matters (a written file's last bytes may fail to land
    // only when it is closed). Nothing owned is nothing failed.
    bool close() { return value_ == Empty || Release(std::exchange(value_, Empty)); }

private:
    Value value_ = Empty;
};

namespace release {
inline bool kernel_handle(HANDLE handle) {
    return CloseHandle(handle) != FALSE;
}
inline bool find_handle(HANDLE handle) {
    return FindClose(handle) != FALSE;
}
inline bool registry_key(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}
inline void bstr(BSTR text) {
    SysFreeString(text);
}
inline bool icon(HICON icon) {
    return DestroyIcon(icon) != FALSE;
}
inline bool menu(HMENU menu) {
    return DestroyMenu(menu) != FALSE;
}
inline bool bitmap(HBITMAP bitmap) {
    return DeleteObject(bitmap) != FALSE;
}
inline bool memory_dc(HDC dc) {
    return DeleteDC(dc) != FALSE;
}
inline bool library(HMODULE module) {
    return FreeLibrary(module) != FALSE;
}
template <typename Pointee>
void com_memory(Pointee* pointer) {
    CoTaskMemFree(pointer);
}
template <typename Pointee>
void local_memory(Pointee* pointer) {
    LocalFree(pointer);
}
template <typename Interface>
void com_reference(Interface* pointer) {
    pointer->Release();
}
}  // namespace release

// A kernel object: a process, a thread, a file, a mutex. Functions that fail
// with INVALID_HANDLE_VALUE (CreateFileW) go through `file_handle`.
using KernelHandle = Owner<HANDLE, nullptr, release::kernel_handle>;

// CreateFileW's handle, whose failure is INVALID_HANDLE_VALUE rather than null
// (as is CreateToolhelp32Snapshot's).
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

// An icon made or loaded for this program alone (not one loaded with LR_SHARED).
using IconHandle = Owner<HICON, nullptr, release::icon>;

// A menu not attached to a window (CreatePopupMenu).
using MenuHandle = Owner<HMENU, nullptr, release::menu>;

// A bitmap (CreateDIBSection, CreateBitmap), not selected into a DC when it goes.
using BitmapHandle = Owner<HBITMAP, nullptr, release::bitmap>;

// A memory device context (CreateCompatibleDC).
using MemoryDc = Owner<HDC, nullptr, release::memory_dc>;

// A library loaded with LoadLibraryExW.
using Library = Owner<HMODULE, nullptr, release::library>;

// A text allocated for COM (SysAllocString).
using Bstr = Owner<BSTR, nullptr, release::bstr>;

// A copy of `text` for COM.
inline Bstr bstr_copy(const wchar_t* text) {
    return Bstr(SysAllocString(text));
}

// Memory COM handed out (CoTaskMemAlloc), such as a known folder's path.
template <typename Pointee>
using ComMemory = Owner<Pointee*, nullptr, release::com_memory<Pointee>>;

// Memory a system function handed out with LocalAlloc (FormatMessageW,
// CommandLineToArgvW).
template <typename Pointee>
using LocalMemory = Owner<Pointee*, nullptr, release::local_memory<Pointee>>;

// A reference to a COM object, released once.
template <typename Interface>
class ComRef {
public:
    Interface* operator->() const { return reference_.get(); }
    Interface* get() const { return reference_.get(); }
    explicit operator bool() const { return static_cast<bool>(reference_); }
    Interface** receive() { return reference_.receive(); }
    void reset() { reference_.reset(); }

private:
    Owner<Interface*, nullptr, release::com_reference<Interface>> reference_;
};

}  // namespace zvkob::win32
