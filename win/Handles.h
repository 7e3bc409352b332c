// Scoped, uncopyable owners of Windows handles and COM objects.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace win {

// Owns one handle and closes it through Traits::Close. Move-only: copies would close twice.
template <typename T, typename Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(T handle) : handle_(handle) {}
    ~Unique() { Reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    T Release() {
        T handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }
    void Reset(T handle = Traits::Invalid()) {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    T handle_ = Traits::Invalid();
};

template <typename T, void (*CloseFn)(T)>
struct NullTraits {
    static T Invalid() { return nullptr; }
    static bool IsValid(T handle) { return handle != nullptr; }
    static void Close(T handle) { CloseFn(handle); }
};

inline void CloseIcon(HICON icon) { DestroyIcon(icon); }
inline void CloseMenu(HMENU menu) { DestroyMenu(menu); }
inline void CloseFont(HFONT font) { DeleteObject(font); }
inline void CloseImageList(HIMAGELIST list) { ImageList_Destroy(list); }
inline void CloseModule(HMODULE module) { FreeLibrary(module); }

using IconHandle = Unique<HICON, NullTraits<HICON, CloseIcon>>;
using MenuHandle = Unique<HMENU, NullTraits<HMENU, CloseMenu>>;
using FontHandle = Unique<HFONT, NullTraits<HFONT, CloseFont>>;
using ImageListHandle = Unique<HIMAGELIST, NullTraits<HIMAGELIST, CloseImageList>>;
using ModuleHandle = Unique<HMODULE, NullTraits<HMODULE, CloseModule>>;

// Kernel handles: both null and INVALID_HANDLE_VALUE mean "none".
struct KernelTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = Unique<HANDLE, KernelTraits>;

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// COM initialised for one scope; uninitialised only when the initialisation counted.
class ComScope {
public:
    ComScope() : result_(CoInitialize(nullptr)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

// Holds one COM interface pointer and releases it.
template <typename I>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    I* Get() const { return ptr_; }
    I* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&ptr_);
    }
    void Reset() {
        if (ptr_) ptr_->Release();
        ptr_ = nullptr;
    }

private:
    I* ptr_ = nullptr;
};

}  // namespace win
