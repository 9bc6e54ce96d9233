#pragma once
// The application object: its hidden main window (the owner of the panel),
// its title, the minimise and restore notifications, the error display and
// the message loop.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "common/app_texts.h"

namespace tilerack::win {

class Application {
public:
    static Application& Instance();

    // Keeps the module and the title; CreateHandle registers the window's
    // class and makes the window. A second window costs milliseconds under
    // Wine, so the program makes it once its panel shows.
    void Initialize(HINSTANCE instance, const std::wstring& title);
    void CreateHandle();
    HINSTANCE Module() const { return instance_; }
    HWND Handle() const { return handle_; }
    const std::wstring& Title() const { return title_; }

    // Runs the message loop until Terminate (making the window first if the
    // program has not yet).
    int Run();
    void Terminate();

    void Minimize();
    // Leaves the minimised state; raises OnRestore before returning.
    void Restore();

    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // The error display: a message box with the text, captioned with the
    // application title. Texts are code page 1251.
    void ShowError(const std::string& text) const;
    void ShowMessage(const std::string& text) const;

    // The exception boundary: calls `handler` and returns true; a failure is
    // recorded instead and false returned. While the message loop runs,
    // recorded failures are shown once the current handler has returned, one
    // box at a time (a timer that fails on every tick queues, it does not
    // stack boxes); outside the loop they are shown at once.
    template <typename F>
    bool Guard(F&& handler) {
        try {
            handler();
            return true;
        } catch (const std::exception& e) {
            ReportError(e.what());
        } catch (...) {
            ReportError(kUnknownError);
        }
        return false;
    }
    void ReportError(const std::string& text);
    // Shows the recorded failures now, unless a box of them is already open.
    void ShowPendingErrors();

private:
    void RegisterWindowClass();
    bool classRegistered_ = false;
    Application() = default;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HINSTANCE instance_ = nullptr;
    HWND handle_ = nullptr;
    std::wstring title_;
    bool terminated_ = false;
    bool minimized_ = false;
    bool loopRunning_ = false;
    bool showingErrors_ = false;
    std::deque<std::string> pendingErrors_;
};

}  // namespace tilerack::win
