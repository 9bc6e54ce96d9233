#pragma once
// Move-only owners for Win32 handles and scope guards for device contexts.
#include <windows.h>

#include <atomic>
#include <utility>

namespace tilerack::win {

// The handles the program's owners hold right now, by the kind of object:
// a long run must come back to the same numbers (Wine reports no object
// counts of a process, so the program counts its own).
enum class HandleKind { Gdi, User, Other };
struct HandleCensus {
    static inline std::atomic<long> live[3] = {};
    static long Live(HandleKind kind) { return live[static_cast<int>(kind)].load(); }
    static void Count(HandleKind kind, long delta) { live[static_cast<int>(kind)] += delta; }
};

// The panel answers this registered message with HandleCensus::Live of the
// kind in wParam, so a long-running check can watch the numbers from outside.
inline UINT HandleCensusMessage() {
    static const UINT message = RegisterWindowMessageW(L"tilerack.HandleCensus");
    return message;
}

template <typename Deleter>
constexpr HandleKind KindOf() {
    if constexpr (requires { Deleter::kKind; })
        return Deleter::kKind;
    else
        return HandleKind::Other;
}

template <typename H, typename Deleter>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) { Counted(h_, +1); }
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, H{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return Valid(h_); }
    H release() {
        Counted(h_, -1);
        return std::exchange(h_, H{});
    }
    void reset(H h = H{}) {
        if (Valid(h_)) {
            Deleter::Free(h_);
            Counted(h_, -1);
        }
        h_ = h;
        Counted(h_, +1);
    }

private:
    static bool Valid(H h) { return h != H{} && h != Deleter::Invalid(); }
    static void Counted(H h, long delta) {
        if (Valid(h)) HandleCensus::Count(KindOf<Deleter>(), delta);
    }
    H h_{};
};

struct IconDeleter {
    static constexpr HandleKind kKind = HandleKind::User;
    static void Free(HICON h) { DestroyIcon(h); }
    static HICON Invalid() { return nullptr; }
};
struct GdiDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HGDIOBJ h) { DeleteObject(h); }
    static HGDIOBJ Invalid() { return nullptr; }
};
struct BitmapDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HBITMAP h) { DeleteObject(h); }
    static HBITMAP Invalid() { return nullptr; }
};
struct FontDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HFONT h) { DeleteObject(h); }
    static HFONT Invalid() { return nullptr; }
};
struct BrushDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HBRUSH h) { DeleteObject(h); }
    static HBRUSH Invalid() { return nullptr; }
};
struct DCDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HDC h) { DeleteDC(h); }
    static HDC Invalid() { return nullptr; }
};
struct MenuDeleter {
    static constexpr HandleKind kKind = HandleKind::User;
    static void Free(HMENU h) { DestroyMenu(h); }
    static HMENU Invalid() { return nullptr; }
};
struct FileDeleter {
    static void Free(HANDLE h) { CloseHandle(h); }
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
// Process, thread and event handles: null when missing, unlike files.
struct KernelObjectDeleter {
    static void Free(HANDLE h) { CloseHandle(h); }
    static HANDLE Invalid() { return nullptr; }
};
struct EnhMetafileDeleter {
    static constexpr HandleKind kKind = HandleKind::Gdi;
    static void Free(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
    static HENHMETAFILE Invalid() { return nullptr; }
};
struct GlobalDeleter { static void Free(HGLOBAL h) { GlobalFree(h); } static HGLOBAL Invalid() { return nullptr; } };

using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, BitmapDeleter>;
using UniqueFont = UniqueHandle<HFONT, FontDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, BrushDeleter>;
using UniqueDC = UniqueHandle<HDC, DCDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueFile = UniqueHandle<HANDLE, FileDeleter>;
using UniqueKernelObject = UniqueHandle<HANDLE, KernelObjectDeleter>;
using UniqueEnhMetafile = UniqueHandle<HENHMETAFILE, EnhMetafileDeleter>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalDeleter>;

// GetDC / ReleaseDC for a window, or the whole screen with no window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }
private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SelectObject, undone at scope end.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectScope() { if (old_) SelectObject(dc_, old_); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tilerack::win
