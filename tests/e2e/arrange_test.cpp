// Arranging items by dragging their buttons, with the X server's own pointer
// as a user's hand drags: the drop moves the item and the file keeps the new
// order; a drop off the panel, Esc and a wobble smaller than the system's drag
// distance change nothing (the wobble is a click); the panel stays out for as
// long as a drag takes; all at 96 and at 192 DPI, where the drag distance
// is scaled with everything else. From the keyboard: Ctrl with the arrows,
// Home and End moves the focused item; typing finds an item by its caption.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "platform/text.h"

namespace e2e {
namespace {

const COLORREF kFills[] = {RGB(200, 40, 40), RGB(40, 160, 60), RGB(40, 60, 200)};

std::string Dpi(const ::testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); }

std::vector<std::string> Words(std::initializer_list<std::string> words) { return words; }
std::string Num(long value) { return std::to_string(value); }

class Arrange : public PanelTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        if (WindowManager().empty()) GTEST_SKIP() << "a drag at the X server needs the window manager run-e2e.sh starts";
    }

    // Three probe items without captions (their pictures centred in their
    // buttons), started with "item-a", "item-b", "item-c"; the panel shown
    // at the scenario's scale.
    bool StartWithThreeItems() {
        const std::wstring probe = scratch_->AddProbe();
        std::vector<ShortRecord> records;
        for (int i = 0; i < 3; ++i) {
            const std::string letter(1, static_cast<char>('a' + i));
            records.push_back({.params = "item-" + letter,
                               .fileName = tilerack::win::Narrow(probe),
                               .workDir = tilerack::win::Narrow(scratch_->Path()),
                               .hint = "Проба " + letter,
                               .image = FramedIconBmp(RGB(255, 0, 255), kFills[i])});
        }
        original_ = BuildShortsFile(records);
        const int dpi = GetParam();
        return StartPanel({.dpi = dpi == 96 ? std::nullopt : std::optional<int>(dpi), .items = records}) != nullptr;
    }

    POINT Centre(int index) const { return ItemCentre(window_, index, scale_); }
    // In the lower half of item `index`'s button: a drop there lands below it.
    POINT LowerHalf(int index) const {
        const POINT c = Centre(index);
        return POINT{c.x, c.y + scale_.S(12)};
    }
    // The press on `from` and the moves of a drag to `to`, slowly enough
    // for the panel to see each move.
    std::vector<std::string> PressAndDrag(POINT from, POINT to) const {
        std::vector<std::string> words = Words({"mousemove", Num(from.x), Num(from.y), "sleep", "0.15", "mousedown",
                                                "1", "sleep", "0.15"});
        const std::vector<std::string> moves = XMoveSteps(from, to, 8, 0.05);
        words.insert(words.end(), moves.begin(), moves.end());
        return words;
    }
    static void Append(std::vector<std::string>& words, const std::vector<std::string>& more) {
        words.insert(words.end(), more.begin(), more.end());
    }

    // The items' order as the strip shows it: which fill each button's picture has.
    std::string ShownOrder() const {
        std::string order;
        for (int i = 0; i < 3; ++i) {
            const POINT c = Centre(i);
            const COLORREF shown = ScreenPixel(c.x, c.y);
            char letter = '?';
            for (int f = 0; f < 3; ++f)
                if (shown == kFills[f] || shown == Brightened(kFills[f])) letter = static_cast<char>('a' + f);
            order += letter;
        }
        return order;
    }
    // The order of the items in the file the program saved as it closed.
    std::string SavedOrder() {
        std::string order;
        for (const auto& item : CloseAndReadItems()) order += item.params.substr(item.params.size() - 1);
        return order;
    }

    ShortsFile original_;
};

TEST_P(Arrange, TheFirstItemDraggedBelowTheThirdLandsThereOnTheScreenAndInTheFile) {
    ASSERT_TRUE(StartWithThreeItems());
    ASSERT_EQ(ShownOrder(), "abc");
    std::vector<std::string> words = PressAndDrag(Centre(0), LowerHalf(2));
    Append(words, {"sleep", "0.3", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");
    EXPECT_TRUE(WaitUntil([&] { return ShownOrder() == "bca"; }, 5s)) << "the strip shows " << ShownOrder();
    SaveScreenshotPng(CurrentTestName());
    EXPECT_TRUE(ReadProbeRecords(scratch_->Path()).empty()) << "the drop started the item";
    // The tooltips follow the new order at once.
    const auto hint = HoverHint(*panel_, window_, ItemButtonRect(window_, 2, scale_));
    ASSERT_TRUE(hint) << "no hint over the third button";
    EXPECT_EQ(Narrow(hint->text), Narrow(L"Проба a"));
    EXPECT_EQ(SavedOrder(), "bca");
}

TEST_P(Arrange, ADragReleasedOffThePanelChangesNothing) {
    ASSERT_TRUE(StartWithThreeItems());
    const POINT away = SpotAwayFromPanel();
    std::vector<std::string> words = PressAndDrag(Centre(0), LowerHalf(2));
    Append(words, XMoveSteps(LowerHalf(2), away, 4, 0.05));
    Append(words, {"sleep", "0.2", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");
    EXPECT_TRUE(ReadProbeRecords(scratch_->Path()).empty()) << "the drop started the item";
    ASSERT_TRUE(panel_->Close());
    const auto saved = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(saved);
    EXPECT_TRUE(SameApartFromSlots(*saved, original_)) << "the file changed after a drop off the panel";
}

TEST_P(Arrange, EscDuringADragCancelsIt) {
    ASSERT_TRUE(StartWithThreeItems());
    std::vector<std::string> words = PressAndDrag(Centre(0), LowerHalf(2));
    Append(words, {"sleep", "0.3", "key", "Escape", "sleep", "0.3", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");
    EXPECT_TRUE(ReadProbeRecords(scratch_->Path()).empty()) << "the cancelled drag started the item";
    EXPECT_EQ(ShownOrder(), "abc");
    EXPECT_EQ(SavedOrder(), "abc");
}

TEST_P(Arrange, AWobbleWithinTheDragDistanceIsAClickThatStartsTheItem) {
    ASSERT_TRUE(StartWithThreeItems());
    // Three design pixels each way: within the distance of 4 at 96 DPI, and
    // at 192 DPI six real pixels, past the unscaled distance but within the
    // scaled one.
    const POINT c = Centre(1);
    const int w = scale_.S(3);
    ASSERT_EQ(XPointerSteps({"mousemove", Num(c.x), Num(c.y), "sleep", "0.15", "mousedown", "1", "sleep", "0.1",
                             "mousemove", Num(c.x + w), Num(c.y), "sleep", "0.1", "mousemove", Num(c.x + w),
                             Num(c.y - w), "sleep", "0.1", "mousemove", Num(c.x - w), Num(c.y + w), "sleep", "0.1",
                             "mouseup", "1"}),
              "ended");
    const auto starts = WaitForProbeRecords(scratch_->Path(), 1);
    ASSERT_EQ(starts.size(), 1u) << "the wobble did not start the item";
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item-b");
    EXPECT_EQ(SavedOrder(), "abc");
}

TEST_P(Arrange, ThePanelStaysOutForASlowDragAndTheMarkShowsWhereTheItemWillLand) {
    ASSERT_TRUE(StartWithThreeItems());  // TimeOut 300 ms
    const POINT away = SpotAwayFromPanel();
    // Out past the pointer watch's near zone for four times TimeOut, back
    // below the third item, a rest there while the mark shows, the release.
    std::vector<std::string> words = PressAndDrag(Centre(0), away);
    Append(words, {"sleep", "1.2"});
    Append(words, XMoveSteps(away, LowerHalf(2), 8, 0.05));
    Append(words, {"sleep", "1.5", "mouseup", "1"});
    std::atomic<bool> done{false};
    std::string ended;
    std::thread hand([&] {
        ended = XPointerSteps(words);
        done.store(true);
    });
    const int shown = ShownLeft(Side::Left, scale_.S(kPanelDefaultWidth), scale_);
    int movedTo = shown;
    bool markSeen = false;
    // The mark: a bar across the strip on the line below the third button.
    const RECT third = ClientRectOnScreen(window_, ItemButtonRect(window_, 2, scale_));
    while (!done.load()) {
        if (PanelLeft(window_) != shown) movedTo = PanelLeft(window_);
        if (!markSeen && IsBlack(ScreenPixel(third.left + scale_.S(3), third.bottom)) &&
            IsBlack(ScreenPixel(third.right - scale_.S(3), third.bottom - 1))) {
            markSeen = true;
            SaveScreenshotPng(CurrentTestName());
        }
        Sleep(20);
    }
    hand.join();
    ASSERT_EQ(ended, "ended");
    EXPECT_EQ(movedTo, shown) << "the panel slid out during the drag";
    EXPECT_TRUE(markSeen) << "no mark below the third item while the drag rested there";
    EXPECT_EQ(SavedOrder(), "bca");
}

INSTANTIATE_TEST_SUITE_P(Scales, Arrange, ::testing::Values(96, 192), Dpi);

// A strip longer than the screen scrolls while a drag holds the pointer at
// its bottom, so an item can be dragged below one that never showed.
class ArrangeLongStrip : public PanelTest {};

TEST_F(ArrangeLongStrip, ADragHeldAtTheBottomScrollsTheStripAndLandsBelowTheLastItem) {
    if (WindowManager().empty()) GTEST_SKIP() << "a drag at the X server needs the window manager run-e2e.sh starts";
    const int fitting = (ScreenHeight() - 16) / 34;
    const int count = fitting + 4;
    const std::wstring probe = scratch_->AddProbe();
    std::vector<ShortRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back({.params = "item-" + Num(i),
                           .fileName = tilerack::win::Narrow(probe),
                           .hint = "Проба " + Num(i),
                           .image = FramedIconBmp(RGB(255, 0, 255), RGB(40, (i * 7) % 256, 200))});
    ASSERT_NE(StartPanel({.items = records}), nullptr);
    const POINT from = ItemCentre(window_, 0);
    const POINT bottom{from.x, ScreenHeight() - 1};
    // Long enough at the bottom for every scroll step (one item per step).
    std::vector<std::string> words = Words({"mousemove", Num(from.x), Num(from.y), "sleep", "0.15", "mousedown", "1",
                                            "sleep", "0.15"});
    const std::vector<std::string> moves = XMoveSteps(from, bottom, 10, 0.05);
    words.insert(words.end(), moves.begin(), moves.end());
    words.insert(words.end(), {"sleep", "3", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");
    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), static_cast<size_t>(count));
    EXPECT_EQ(saved.back().params, "item-0") << "the first item did not land below the last";
    EXPECT_EQ(saved.front().params, "item-1");
}

// From the keyboard, with the keys pressed at the X server.
class ArrangeByKeyboard : public KeyboardPanelTest {};

TEST_F(ArrangeByKeyboard, CtrlArrowsMoveTheFocusedItemWhichKeepsTheFocusAndTheFileSaysSo) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(4));
    const HWND window = window_;
    WinEventRecorder events(Pid());
    ASSERT_TRUE(events.Hooked());
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window, 1));
    AccessibleReader reader(window);  // a reader that has the object hears of new orders
    ASSERT_TRUE(reader.Object());

    ASSERT_EQ(PressXKeys({"ctrl+Down"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window, 2)) << "the focus did not go with the moved item";
    EXPECT_EQ(Narrow(reader.Child(2).name), Narrow(L"Проба a"));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_REORDER, window, CHILDID_SELF)) << "no reorder event";
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 2)) << "no focus event at the item's new place";

    ASSERT_EQ(PressXKeys({"ctrl+End"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window, 4));
    ASSERT_EQ(PressXKeys({"Up", "ctrl+Home"}), "ended");  // the focus to "d", then "d" to the top
    EXPECT_TRUE(WaitForFocusedChild(window, 1));
    EXPECT_EQ(Narrow(reader.Child(1).name), Narrow(L"Проба d"));
    ASSERT_TRUE(panel_->Close());
    std::string order;
    for (const auto& item : ReadSavedItems(scratch_->File(L"shorts.dat"))) order += item.params.back();
    EXPECT_EQ(order, "dbca");
}

// A move is in the item file a moment later, without a close: a kill then
// (a crash, a power cut) keeps it.
TEST_F(ArrangeByKeyboard, AMoveIsInTheFileSecondsLaterAndAKillKeepsIt) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(3));
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window_, 1));
    const auto order = [&] {
        std::string letters;
        for (const auto& item : ReadSavedItems(scratch_->File(L"shorts.dat"))) letters += item.params.back();
        return letters;
    };
    ASSERT_EQ(order(), "abc");

    ASSERT_EQ(PressXKeys({"ctrl+Down"}), "ended");
    ASSERT_TRUE(WaitForFocusedChild(window_, 2));
    const DWORD moved = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return order() == "bac"; }, 20s)) << "the move never reached the file";
    std::printf("the move in the file %lu ms after it showed\n", static_cast<unsigned long>(GetTickCount() - moved));
    panel_->Kill();
    EXPECT_EQ(order(), "bac");
}

TEST_F(ArrangeByKeyboard, TypingTheFirstLettersOfACaptionFocusesItsItem) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    std::vector<Entry> entries = ProbeItems(4);
    const wchar_t* captions[] = {L"Mail", L"Notes", L"Nova", L""};
    for (size_t i = 0; i < 4; ++i) entries[i].caption = captions[i];  // the last found by its file name
    ASSERT_TRUE(StartHiddenWith(entries));
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window_, 1));

    ASSERT_EQ(PressXKeys({"n", "o", "v"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window_, 3)) << "\"nov\" did not reach Nova";
    Sleep(1200);  // a pause longer than a second: the next letter starts a new prefix
    ASSERT_EQ(PressXKeys({"p", "r"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window_, 4)) << "\"pr\" did not reach probe.exe";
    ASSERT_EQ(PressXKeys({"Return"}), "ended");
    std::vector<ProbeRecord> starts;
    ASSERT_TRUE(WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s));
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item-d");
    EXPECT_TRUE(panel_->Close());
}

}  // namespace
}  // namespace e2e
