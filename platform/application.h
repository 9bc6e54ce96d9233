#pragma once
// The application object: its hidden main window (the owner of the panel),
// its title, the minimise and restore notifications, the error display and
// the message loop.
#include <windows.h>

#include <functional>
#include <string>

namespace tilerack::win {

class Application {
public:
    static Application& Instance();

    void Initialize(HINSTANCE instance, const std::wstring& title);
    HINSTANCE Module() const { return instance_; }
    HWND Handle() const { return handle_; }
    const std::wstring& Title() const { return title_; }

    // Runs the message loop until Terminate.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    bool Minimized() const;
    void Minimize();
    // Leaves the minimised state; raises OnRestore before returning.
    void Restore();

    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // The error display: a message box with the text, captioned with the
    // application title. Texts are code page 1251.
    void ShowError(const std::string& text) const;
    void ShowMessage(const std::string& text) const;

    // Calls `handler`, turning any exception into the error display, so that
    // no exception crosses a window procedure.
    template <typename F>
    void Guard(F&& handler) {
        try {
            handler();
        } catch (const std::exception& e) {
            ShowError(e.what());
        } catch (...) {
            ShowError("Unknown error");
        }
    }

private:
    Application() = default;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HINSTANCE instance_ = nullptr;
    HWND handle_ = nullptr;
    std::wstring title_;
    bool terminated_ = false;
    bool minimized_ = false;
};

}  // namespace tilerack::win
