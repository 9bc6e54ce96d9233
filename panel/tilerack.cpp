// The program entry: one panel, the message loop, then the final save.
#include <windows.h>

#include "common/app_texts.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/com_apartment.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
