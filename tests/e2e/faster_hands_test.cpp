// Faster hands: the digit keys that start the first ten items shown, with
// the digit read as each button's keyboard shortcut, and Ctrl+Shift+Enter
// starting an item through the administrator's verb; files dropped onto a
// program's item open with it.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "platform/text.h"

namespace e2e {
namespace {

class FasterHands : public KeyboardPanelTest {
protected:
    // The one start the probe records, or a failure.
    ::testing::AssertionResult StartedOnceWith(const std::string& arguments) {
        std::vector<ProbeRecord> starts;
        if (!WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s))
            return ::testing::AssertionFailure() << "nothing started";
        const std::string got = Narrow(ArgumentsOf(starts[0].commandLine));
        if (got != arguments) return ::testing::AssertionFailure() << "started with " << got;
        return ::testing::AssertionSuccess();
    }

    // `items` probe items, the panel brought out by the hot key with the focus on the first.
    bool OutByHotKeyWith(int items) {
        return StartHiddenWithProbeItems(items) && PressHotKey() && WaitForFocusedChild(window_, 1);
    }

    static std::wstring ShortcutOf(HWND panel, long child) {
        AccessibleReader reader(panel);
        if (!reader.Object()) return L"<no object>";
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR text = nullptr;
        std::wstring out;
        if (SUCCEEDED(reader.Object()->get_accKeyboardShortcut(id, &text)) && text) out.assign(text, SysStringLen(text));
        if (text) SysFreeString(text);
        return out;
    }
};

TEST_F(FasterHands, HotKeyThenThreeStartsTheThirdItemWhoseShortcutIsThree) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(OutByHotKeyWith(4));
    EXPECT_EQ(Narrow(ShortcutOf(window_, 3)), "3");
    SaveScreenshotPng(CurrentTestName() + L"-badges");

    ASSERT_EQ(PressXKeys({"3"}), "ended");
    EXPECT_TRUE(StartedOnceWith("item-c"));
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message box after a successful start";
    EXPECT_TRUE(panel_->Close());
    EXPECT_EQ(ReadProbeRecords(scratch_->Path()).size(), 1u) << "the item started more than once";
}

TEST_F(FasterHands, CtrlShiftEnterStartsTheFocusedItem) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(OutByHotKeyWith(2));
    ASSERT_EQ(PressXKeys({"ctrl+shift+Return"}), "ended");
    EXPECT_TRUE(StartedOnceWith("item-a"));
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message box after a successful start";
    EXPECT_TRUE(panel_->Close());
}

}  // namespace
}  // namespace e2e
