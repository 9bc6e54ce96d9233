#pragma once
// The notification-area icon of a window.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/handles.h"
#include "platform/window_messages.h"

namespace tilerack::win {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Registers the icon (id 0, callback 0x8001, the program's icon at the
    // taskbar's small-icon size, and the tip).
    bool Add(HWND owner, const std::wstring& tip);
    // Registers it again after the shell restarted ("TaskbarCreated"), with
    // the icon at the size of the new taskbar's scale.
    bool Readd();
    void Remove();
    // The tip changed: the registered icon shows the new one.
    void SetTip(const std::wstring& tip);
    bool Registered() const { return registered_; }

    // The registered message the shell broadcasts when it (re)starts.
    static UINT TaskbarCreatedMessage();

private:
    NOTIFYICONDATAW Record(UINT flags) const;
    HWND owner_ = nullptr;
    UniqueIcon icon_;
    std::wstring tip_;
    bool registered_ = false;
};

}  // namespace tilerack::win
