#pragma once
// The notification-area icon of a window.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/window_messages.h"

namespace tilerack::win {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Registers the icon (id 0, callback 0x8001, the icon and the tip).
    bool Add(HWND owner, HICON icon, const std::wstring& tip);
    // Registers it again after the shell restarted ("TaskbarCreated").
    bool Readd();
    // Shows another picture (the icon at a new scale's size).
    void ChangeIcon(HICON icon);
    void Remove();
    bool Registered() const { return registered_; }

    // The registered message the shell broadcasts when it (re)starts.
    static UINT TaskbarCreatedMessage();

private:
    NOTIFYICONDATAW Record(UINT flags) const;
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    std::wstring tip_;
    bool registered_ = false;
};

}  // namespace tilerack::win
