// The panel as the dialogs see it, for dialogs run in the test program: its
// settings, its colour and its file icons; saving and the pointer watch do
// nothing.
#pragma once

#include <string>

#include "dialogs/panel_host.h"
#include "panel_driver.h"
#include "platform/file_icons.h"

namespace e2e {

class FakePanelHost : public tilerack::IPanelHost {
public:
    const tilerack::PanelSettings& Settings() const override { return settings_; }
    void ChangeSettings(const tilerack::PanelSettings& settings) override { settings_ = settings; }
    bool StaysOnTop() const override { return false; }
    void SaveAll() override {}
    void EnableTimerMouse(bool) override {}
    int ExtractFileIcon(tilerack::TBitmap& bitmap, const std::string& fileName, int index) override {
        return tilerack::win::ExtractFileIcon(bitmap, fileName, index, kPanelDefaultColour);
    }

private:
    tilerack::PanelSettings settings_;
};

}  // namespace e2e
