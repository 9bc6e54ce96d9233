#include "platform/tray.h"

#include <shellapi.h>

#include <cwchar>

#include "platform/app_icon.h"

namespace tilerack::win {

NOTIFYICONDATAW TrayIcon::Record(UINT flags) const {
    NOTIFYICONDATAW data{};
    // The first form of the record: the shell of every version takes it.
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner_;
    data.uID = 0;
    data.uFlags = flags;
    if (flags) {
        data.uCallbackMessage = kTrayCallbackMessage;
        data.hIcon = icon_.get();
        wcsncpy(data.szTip, tip_.c_str(), 63);
    }
    return data;
}

bool TrayIcon::Add(HWND owner, const std::wstring& tip) {
    owner_ = owner;
    tip_ = tip;
    return Readd();
}

bool TrayIcon::Readd() {
    if (!owner_) return false;
    icon_ = LoadTrayIcon();
    NOTIFYICONDATAW data = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    registered_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return registered_;
}

void TrayIcon::SetTip(const std::wstring& tip) {
    tip_ = tip;
    if (!registered_) return;
    NOTIFYICONDATAW data = Record(NIF_TIP);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAW data = Record(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    registered_ = false;
    owner_ = nullptr;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace tilerack::win
