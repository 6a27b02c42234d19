#pragma once

// One small owner per kind of handle the Windows code holds. Each frees its
// handle once, on scope exit, and can be moved but not copied. Header-only,
// so that the Explorer extension can use them without linking anything.

#include <windows.h>
#include <objidl.h>
#include <ole2.h>

#include <utility>

namespace win {

/// Owns a handle as `Traits` describe it: `Type`, `Invalid()` (the value a
/// failed call returns besides null) and `Free(handle)`.
template <typename Traits>
class Scoped {
public:
    using H = typename Traits::Type;

    Scoped() = default;
    explicit Scoped(H handle) : handle_(handle) {}
    ~Scoped() { reset(); }
    Scoped(Scoped&& other) noexcept : handle_(other.release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    H get() const { return handle_; }
    bool valid() const { return handle_ != Traits::Invalid() && handle_ != H{}; }
    explicit operator bool() const { return valid(); }
    /// Gives the handle up without freeing it.
    H release() { return std::exchange(handle_, Traits::Invalid()); }
    /// Frees the handle held and takes `handle`.
    void reset(H handle = Traits::Invalid()) {
        if (valid()) Traits::Free(handle_);
        handle_ = handle;
    }
    /// Where a Win32 call that returns a handle through a pointer writes it.
    H* out() {
        reset();
        return &handle_;
    }

private:
    H handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::FindClose(h); }
};
struct KeyTraits {
    using Type = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Free(HKEY h) { ::RegCloseKey(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static HGDIOBJ Invalid() { return nullptr; }
    static void Free(HGDIOBJ h) { ::DeleteObject(h); }
};
struct LibraryTraits {
    using Type = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Free(HMODULE h) { ::FreeLibrary(h); }
};

/// A kernel object handle (file, process, thread, event): CloseHandle.
/// CreateFile fails with INVALID_HANDLE_VALUE, most others with null; both
/// count as no handle.
using ScopedHandle = Scoped<KernelHandleTraits>;
/// A FindFirstFile search: FindClose.
using ScopedFind = Scoped<FindHandleTraits>;
/// An open registry key: RegCloseKey.
using ScopedKey = Scoped<KeyTraits>;
/// A font, bitmap, brush or pen that we created: DeleteObject.
using ScopedGdiObject = Scoped<GdiObjectTraits>;
/// A module loaded with LoadLibrary: FreeLibrary.
using ScopedLibrary = Scoped<LibraryTraits>;

/// GlobalLock for as long as the object lives.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL memory) : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    ~ScopedGlobalLock() {
        if (data_) ::GlobalUnlock(memory_);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

    void* data() const { return data_; }
    SIZE_T size() const { return data_ ? ::GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

/// A storage medium filled by IDataObject::GetData: ReleaseStgMedium.
class ScopedStgMedium {
public:
    ScopedStgMedium() = default;
    ~ScopedStgMedium() {
        if (filled_) ::ReleaseStgMedium(&medium_);
    }
    ScopedStgMedium(const ScopedStgMedium&) = delete;
    ScopedStgMedium& operator=(const ScopedStgMedium&) = delete;

    /// Where GetData writes; call MarkFilled() once it succeeded.
    STGMEDIUM* out() { return &medium_; }
    void MarkFilled() { filled_ = true; }
    const STGMEDIUM& get() const { return medium_; }

private:
    STGMEDIUM medium_{};
    bool filled_ = false;
};

/// A COM interface pointer: Release.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    /// Takes over a reference the caller owns.
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        if (this != &other) {
            if (other.p_) other.p_->AddRef();
            reset(other.p_);
        }
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    /// Where a call that returns an interface through a pointer writes it.
    T** out() {
        reset();
        return &p_;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }
    void reset(T* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    T* release() { return std::exchange(p_, nullptr); }

private:
    T* p_ = nullptr;
};

/// A window's device context from GetDC: ReleaseDC.
class ScopedDC {
public:
    explicit ScopedDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~ScopedDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

/// The painting of a window between BeginPaint and EndPaint.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { ::EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC dc() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

/// COM (apartment-threaded) initialised on this thread for the object's life.
/// A thread that had it already keeps it; only a successful call is undone.
class ScopedCom {
public:
    ScopedCom() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ScopedCom() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    /// False when COM could not be initialised at all (S_FALSE and a
    /// different apartment already in place both leave COM usable).
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

}  // namespace win
