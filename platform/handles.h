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

// Owns one handle and frees it with `Free`. `Kind` is what the census
// counts it as; file handles are empty at INVALID_HANDLE_VALUE as well as 0.
template <typename H, auto Free, HandleKind Kind = HandleKind::Other, bool MinusOneIsEmpty = false>
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
            Free(h_);
            Counted(h_, -1);
        }
        h_ = h;
        Counted(h_, +1);
    }

private:
    static bool Valid(H h) {
        if constexpr (MinusOneIsEmpty)
            if (h == INVALID_HANDLE_VALUE) return false;
        return h != H{};
    }
    static void Counted(H h, long delta) {
        if (Valid(h)) HandleCensus::Count(Kind, delta);
    }
    H h_{};
};

using UniqueIcon = UniqueHandle<HICON, &DestroyIcon, HandleKind::User>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu, HandleKind::User>;
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject, HandleKind::Gdi>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject, HandleKind::Gdi>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject, HandleKind::Gdi>;
using UniqueDC = UniqueHandle<HDC, &DeleteDC, HandleKind::Gdi>;
using UniqueEnhMetafile = UniqueHandle<HENHMETAFILE, &DeleteEnhMetaFile, HandleKind::Gdi>;
using UniqueFile = UniqueHandle<HANDLE, &CloseHandle, HandleKind::Other, /*MinusOneIsEmpty=*/true>;
// Process, thread and event handles: empty at 0 only, unlike files.
using UniqueKernelObject = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueGlobal = UniqueHandle<HGLOBAL, &GlobalFree>;

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
