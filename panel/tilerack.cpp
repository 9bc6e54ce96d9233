// The program entry: one panel, the message loop, then the final save.
#include <windows.h>

#include "common/app_texts.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/com_apartment.h"
#include "platform/single_panel.h"

namespace {

// The program's folder is often one its user can write to (a downloads
// folder, and the item file lives there too): the libraries loaded from here
// on, the late-bound comctl32, comdlg32, shell32 and ole32 among them, come
// from the system folder alone, never from beside the program or from the
// current folder. SetDefaultDllDirectories is looked up, as systems before
// Windows 8 lack it without their update; there only the current folder
// leaves the search.
void RestrictLibrarySearchToSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearchToSystemFolder();
    // One panel per item file: a second start brings the running one out.
    const tilerack::win::ItemFileClaim claim(tilerack::ItemFileSession::Path(), tilerack::kPanelClassName);
    if (!claim.Held()) return 0;
    tilerack::win::ComApartmentExit comAtExit;  // joined at the first shell request

    auto& app = tilerack::win::Application::Instance();
    app.Initialize(instance, tilerack::kAppTitleW);

    tilerack::TMainPanel MainPanel;
    app.Guard([&] { MainPanel.Create(); });
    if (MainPanel.Handle()) {
        MainPanel.Show();
        app.Run();
        MainPanel.Destroy();
    }
    return 0;
}
