#include "dialog_driver.h"

#include <commctrl.h>

namespace e2e {
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

HWND ChildStartingWith(HWND parent, const std::wstring& className, const std::wstring& prefix) {
    for (HWND child : ChildrenOfClass(parent, className))
        if (ControlText(child).rfind(prefix, 0) == 0) return child;
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
    SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool PressButton(HWND dialog, const std::wstring& text) {
    HWND button = FindChild(dialog, L"Button", text);
    if (!button) ADD_FAILURE() << "no button " << Narrow(text);
    PressButton(button);
    return button != nullptr;
}

void ClickCentre(HWND control) {
    // A dialog just shown may still be taking the focus from the window
    // manager; a press that lands before it has lost its capture to that
    // change and never becomes a click.
    const HWND dialog = GetAncestor(control, GA_ROOT);
    WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2s);
    ClickOn(dialog, Centre(WindowRect(control)));
}

void ClickAndType(HWND control, const std::wstring& text) {
    ClickCentre(control);
    WaitUntil([&] { return GetForegroundWindow() == GetAncestor(control, GA_ROOT); }, 2s);
    TypeText(text);
}

bool AnswerOpenFileDialog(DWORD pid, const std::wstring& path) {
    HWND dialog = WaitForTopWindow(pid, L"#32770", 20s);
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
    return WaitUntilGone(dialog, 10s);
}

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

HWND OpenDialogFromPanel(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry,
                         const std::wstring& className) {
    if (!ChooseFromContextMenu(panel, window, clientPoint, entry)) return nullptr;
    HWND dialog = WaitForTopWindow(panel.Pid(), className);
    if (!dialog) ADD_FAILURE() << "no " << Narrow(className) << " after choosing from the context menu";
    return dialog;
}

}  // namespace e2e
