#include "dialog_driver.h"

#include <commctrl.h>

#include "screen_capture.h"

namespace e2e {
namespace {

}  // namespace

HWND FindTopWindow(DWORD pid, const std::wstring& className) {
    struct Search {
        DWORD pid;
        const std::wstring& className;
        HWND found = nullptr;
    } search{pid, className};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->pid || !IsWindowVisible(window) || _wcsicmp(WindowClass(window).c_str(), s->className.c_str()) != 0)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

void SendKey(WORD virtualKey, bool up) {
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &key, sizeof(INPUT));
}

void SendUnicode(wchar_t c) {
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wScan = c;
    keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

}  // namespace

bool ChooseFromContextMenu(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry) {
    HWND menu = OpenContextMenuAt(panel, window, clientPoint);
    if (!menu) return false;
    ChooseMenuEntry(menu, static_cast<int>(entry));
    if (!WaitUntil([&] { return FindPopupMenu(panel.Pid()) == nullptr; }, 5s)) {
        ADD_FAILURE() << "the context menu stayed open after choosing";
        return false;
    }
    return true;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& className, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(pid, className)) != nullptr; }, timeout);
    return found;
}

HWND WaitForCommonDialog(DWORD pid, std::chrono::milliseconds timeout) {
    return WaitForTopWindow(pid, L"#32770", timeout);
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className) {
    struct Search {
        const std::wstring& className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (_wcsicmp(WindowClass(child).c_str(), s->className.c_str()) == 0) s->found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text, int nth) {
    for (HWND child : ChildrenOfClass(parent, className)) {
        if (!text.empty() && ControlText(child) != text) continue;
        if (nth-- == 0) return child;
    }
    return nullptr;
}

std::wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

void SetControlText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &result);
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

RECT PlaceInParent(HWND control) {
    RECT r = WindowRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ClickAndType(HWND control, const std::wstring& text) {
    const RECT r = WindowRect(control);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    WaitUntil([&] { return GetForegroundWindow() == GetAncestor(control, GA_ROOT); }, 2s);
    TypeText(text);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c == L'\n') {
            PressKey(VK_RETURN);
        } else if (c != L'\r') {
            SendUnicode(c);
        }
    }
}

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
}

bool AnswerOpenFileDialog(DWORD pid, const std::wstring& path) {
    HWND dialog = WaitForCommonDialog(pid, 20s);
    if (!dialog) {
        SaveScreenshotPng(CurrentTestName() + L".no-open-dialog");
        return false;
    }
    // The file name box: the edit 1152 of older dialogs, or the one edit
    // inside the file name combo box of newer ones.
    HWND edit = GetDlgItem(dialog, 1152);
    if (!edit) edit = FindChild(dialog, L"Edit");
    if (!edit) {
        std::string controls;
        EnumChildWindows(dialog, [](HWND child, LPARAM context) -> BOOL {
            *reinterpret_cast<std::string*>(context) += Narrow(WindowClass(child)) + "#" +
                std::to_string(GetDlgCtrlID(child)) + " ";
            return TRUE;
        }, reinterpret_cast<LPARAM>(&controls));
        ADD_FAILURE() << "no file name box in the open dialog " << Narrow(WindowText(dialog)) << ": " << controls;
        return false;
    }
    SetControlText(edit, path);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10s);
}

namespace {

// Memory in another process, freed with it.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* data, size_t size) const {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, Address() + offset, data, size, nullptr) != FALSE;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, Address() + offset, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

LRESULT SendWithTimeout(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

std::vector<std::wstring> ListViewTexts(HWND list) {
    std::vector<std::wstring> texts;
    constexpr size_t kChars = 256;
    RemoteBuffer remote(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote.Valid()) return texts;
    const int count = static_cast<int>(SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
        item.cchTextMax = kChars;
        remote.Write(0, &item, sizeof(item));
        SendWithTimeout(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.Address()));
        wchar_t text[kChars] = {};
        remote.Read(sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t));
        texts.emplace_back(text);
    }
    return texts;
}

RECT ListViewItemRect(HWND list, int index) {
    RECT rect{LVIR_ICON, 0, 0, 0};
    RemoteBuffer remote(list, sizeof(RECT));
    if (!remote.Valid() || !remote.Write(0, &rect, sizeof(rect))) return RECT{};
    SendWithTimeout(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &rect, sizeof(rect));
    return rect;
}

void DoubleClickAt(int x, int y) {
    ClickAt(x, y);
    ClickAt(x, y);
}

}  // namespace e2e
