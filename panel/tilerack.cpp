// The program entry: one panel, the message loop, then the final save.
#include <windows.h>
#include <objbase.h>

#include "panel/app_texts.h"
#include "panel/sysmain.h"
#include "platform/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The shell may start documents through COM handlers.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    auto& app = tilerack::win::Application::Instance();
    app.Initialize(instance, tilerack::kAppTitleW);

    tilerack::TMainPanel panel;
    tilerack::MainPanel = &panel;
    app.Guard([&] { panel.Create(); });
    if (panel.Handle()) {
        panel.Show();
        app.Run();
        panel.Destroy();
    }
    tilerack::MainPanel = nullptr;
    CoUninitialize();
    return 0;
}
