// The program's dialogs run in the test program: each shown modally on a
// thread of its own (as the panel shows it) and driven from the test thread,
// with a stand-in for the panel.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "dialogs/panel_host.h"
#include "e2e_harness.h"
#include "platform/application.h"
#include "platform/file_icons.h"

namespace e2e {

// The panel as the dialogs see it: its settings, its colour and its file
// icons; saving and the pointer watch do nothing.
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

// One dialog, shown by `show` on a thread of its own until it closes; the
// test waits until a visible window of `className` stands.
class DialogRun {
public:
    template <typename Show>
    DialogRun(const wchar_t* className, Show show) {
        auto& app = tilerack::win::Application::Instance();
        if (!app.Module()) app.Initialize(GetModuleHandleW(nullptr), kAppTitle);
        thread_ = std::thread([this, show] {
            show(panel_);
            done_ = true;
        });
        WaitUntil([&] {
            window_ = FindWindowW(className, nullptr);
            return window_ && IsWindowVisible(window_);
        });
    }
    // Closes the dialog (as its close box does) if it is still open.
    ~DialogRun() {
        if (!done_ && window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitUntil([&] { return done_.load(); }, 10s);
        if (thread_.joinable()) thread_.join();
    }
    DialogRun(const DialogRun&) = delete;
    DialogRun& operator=(const DialogRun&) = delete;

    HWND Window() const { return window_; }
    bool Done() const { return done_.load(); }

private:
    FakePanelHost panel_;
    std::thread thread_;
    std::atomic<bool> done_{false};
    HWND window_ = nullptr;
};

}  // namespace e2e
