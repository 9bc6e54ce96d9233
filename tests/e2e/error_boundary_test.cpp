// The application's exception boundary, in this process: a window whose timer
// handler fails on every tick shows one error box at a time, after the
// handler has returned, and the program keeps running.
#include <atomic>
#include <thread>

#include "common/errors.h"
#include "e2e_harness.h"
#include "platform/application.h"
#include "platform/window_base.h"

namespace e2e {
namespace {

using tilerack::win::Application;

class FailingWindow : public tilerack::win::WindowBase {
public:
    FailingWindow() {
        RegisterWindowClass(L"FailingTestWindow", 0, nullptr);
        CreateWindowFor(0, L"FailingTestWindow", L"failing", WS_POPUP, 0, 0, 10, 10, nullptr);
        SetTimer(hwnd_, 1, 30, nullptr);
    }
    std::atomic<bool> failing{true};
    std::atomic<int> ticks{0};
    std::atomic<int> ticksInsideAHandler{0};

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_TIMER) return WindowBase::HandleMessage(msg, wp, lp);
        ++ticks;
        if (inHandler_) ++ticksInsideAHandler;  // a box opened inside this handler would let ticks in
        inHandler_ = true;
        struct Leave {
            bool& flag;
            ~Leave() { flag = false; }
        } leave{inHandler_};
        if (failing) throw tilerack::TError("Тик не удался");
        return 0;
    }

private:
    bool inHandler_ = false;
};

int VisibleBoxes() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(window) && WindowClass(window) == L"#32770")
                ++*reinterpret_cast<int*>(context);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(ErrorBoundary, AHandlerFailingOnEveryTickShowsOneBoxAtATimeAfterItReturned) {
    Application& app = Application::Instance();
    app.Initialize(GetModuleHandleW(nullptr), L"Ярлыкс");
    FailingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    const DWORD loopThread = GetCurrentThreadId();

    std::atomic<int> boxesSeen{0}, mostAtOnce{0};
    std::wstring firstText, firstCaption;
    std::thread watcher([&] {
        for (int round = 0; round < 3; ++round) {
            std::optional<MessageBoxInfo> box;
            if (!WaitUntil([&] { return (box = FindMessageBox(GetCurrentProcessId())).has_value(); }, 10s)) break;
            if (round == 0) {
                firstText = box->text;
                firstCaption = box->caption;
            }
            ++boxesSeen;
            // Ticks keep failing while the box is open: no second box may come.
            const auto until = std::chrono::steady_clock::now() + 600ms;
            while (std::chrono::steady_clock::now() < until) {
                mostAtOnce = std::max(mostAtOnce.load(), VisibleBoxes());
                Sleep(20);
            }
            if (round == 2) window.failing = false;
            DismissMessageBox(box->window);
            WaitUntil([&] { return !IsWindow(box->window); }, 5s);
        }
        window.failing = false;
        // Whatever is still recorded is shown as the loop ends: answer it too.
        PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
        const auto until = std::chrono::steady_clock::now() + 3s;
        while (std::chrono::steady_clock::now() < until) {
            if (auto box = FindMessageBox(GetCurrentProcessId())) DismissMessageBox(box->window);
            Sleep(20);
        }
    });
    app.Run();
    watcher.join();

    EXPECT_EQ(boxesSeen.load(), 3) << "the failure must be shown again after each box is answered";
    EXPECT_EQ(mostAtOnce.load(), 1) << "boxes stacked";
    EXPECT_EQ(window.ticksInsideAHandler.load(), 0) << "a box was shown inside the failing handler";
    EXPECT_GT(window.ticks.load(), 10) << "the timer stopped while the boxes were shown";
    EXPECT_EQ(firstText, L"Тик не удался");
    EXPECT_EQ(firstCaption, L"Ярлыкс");
}

}  // namespace
}  // namespace e2e
