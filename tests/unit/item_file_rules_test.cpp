// When the item file counts as absent, when a save may replace it, when it
// is tried again, and when the list's changes are written.
#include <gtest/gtest.h>

#include "common/file_access.h"
#include "items/item_file_state.h"
#include "panel/save_gathering.h"

namespace tilerack {
namespace {

TEST(ItemFileAccess, OnlyAMissingFileOrFolderCountsAsAbsent) {
    const struct {
        uint32_t error;
        FileAccess access;
    } cases[] = {
        {2, FileAccess::Absent},        // file not found
        {3, FileAccess::Absent},        // path not found
        {32, FileAccess::Held},         // sharing violation: another program holds it
        {33, FileAccess::Held},         // lock violation
        {5, FileAccess::Unreadable},    // access denied (or a folder in its place)
        {53, FileAccess::Unreadable},   // network path not found: the share, not the file
        {64, FileAccess::Unreadable},   // network name deleted
        {1231, FileAccess::Unreadable}, // network unreachable
        {21, FileAccess::Unreadable},   // device not ready
    };
    for (const auto& c : cases) EXPECT_EQ(AccessAfterOpenError(c.error), c.access) << "error " << c.error;
}

TEST(ItemFileState, ASaveReplacesTheFileOnlyOnceAllOfItIsInTheList) {
    const struct {
        const char* what;
        FileAccess access;
        bool restPending, restFailed, damaged, copyKept;
        bool mayReplace, mustWait;
    } cases[] = {
        {"read whole", FileAccess::Read, false, false, false, false, true, false},
        {"absent", FileAccess::Absent, false, false, false, false, true, false},
        {"held", FileAccess::Held, false, false, false, false, false, true},
        {"unreadable", FileAccess::Unreadable, false, false, false, false, false, true},
        {"rest still to read", FileAccess::Read, true, false, false, false, false, true},
        {"rest failed", FileAccess::Read, false, true, false, false, false, false},
        {"damaged, copy kept", FileAccess::Read, false, false, true, true, true, false},
        {"damaged, no copy", FileAccess::Read, false, false, true, false, false, false},
    };
    for (const auto& c : cases) {
        ItemFileState state;
        state.Opened(c.access);
        state.ReadingRest(c.restPending);
        if (c.restFailed) state.RestFailed();
        if (c.damaged) state.FoundDamaged(c.copyKept);
        EXPECT_EQ(state.MayReplace(), c.mayReplace) << c.what;
        EXPECT_EQ(state.SaveMustWait(), c.mustWait) << c.what;
    }
    // A held file read later, and a copy kept at a later try, free the save.
    ItemFileState late;
    late.Opened(FileAccess::Held);
    late.Opened(FileAccess::Read);
    late.FoundDamaged(false);
    EXPECT_FALSE(late.MayReplace());
    late.FoundDamaged(true);
    EXPECT_TRUE(late.MayReplace());
}

TEST(ItemFileRetry, QuietShortTriesThenASlowerPaceForAsLongAsItRuns) {
    int elapsed = 0;
    for (int tries = 1; tries < ItemFileRetry::kQuietTries; ++tries) {
        EXPECT_FALSE(ItemFileRetry::ReportAfter(tries)) << tries;
        elapsed += ItemFileRetry::DelayAfter(tries);
    }
    // A hold of a second and a half is over before anything is said.
    EXPECT_GE(elapsed, 1500);
    EXPECT_LE(elapsed, 4000);
    EXPECT_TRUE(ItemFileRetry::ReportAfter(ItemFileRetry::kQuietTries));
    EXPECT_FALSE(ItemFileRetry::ReportAfter(ItemFileRetry::kQuietTries + 1)) << "reported once";
    int previous = 0;
    for (int tries = 1; tries < 200; ++tries) {
        const int delay = ItemFileRetry::DelayAfter(tries);
        EXPECT_GE(delay, previous) << tries;
        EXPECT_LE(delay, 10000) << tries;
        previous = delay;
    }
}

TEST(SaveGathering, ABurstGivesOneSaveOnceItPassedAndNoChangeWaitsPastTheLatest) {
    SaveGathering g;
    EXPECT_EQ(g.DueIn(0), -1);
    EXPECT_FALSE(g.Due(10'000, false));
    // Changes 100 ms apart keep the save back, up to the latest.
    for (int64_t t = 1000; t < 1000 + SaveGathering::kLatestMs; t += 100) {
        g.Changed(t);
        EXPECT_FALSE(g.Due(t + 99, false)) << t;
    }
    EXPECT_TRUE(g.Due(1000 + SaveGathering::kLatestMs, false));
    // A lone change is due once the quiet has passed.
    SaveGathering lone;
    lone.Changed(0);
    EXPECT_EQ(lone.DueIn(0), SaveGathering::kQuietMs);
    EXPECT_TRUE(lone.Due(SaveGathering::kQuietMs, false));
    EXPECT_FALSE(lone.Due(SaveGathering::kQuietMs, /*mustWait=*/true)) << "a drag or an unread file holds it";
    lone.Saved();
    EXPECT_FALSE(lone.Pending());
    EXPECT_EQ(lone.SaveCount(), 1);
}

TEST(SaveGathering, AFailureIsReportedOnceAndTriedAgainWithTheNextChange) {
    SaveGathering g;
    g.Changed(0);
    EXPECT_TRUE(g.Failed());
    EXPECT_TRUE(g.Pending()) << "the change stays to be saved";
    EXPECT_EQ(g.DueIn(5000), -1) << "not retried on its own";
    g.Changed(6000);
    EXPECT_EQ(g.DueIn(6000), SaveGathering::kQuietMs) << "a new burst starts at the new change";
    EXPECT_FALSE(g.Failed()) << "the same failure again says nothing";
    g.Changed(7000);
    g.Saved();
    g.Changed(8000);
    EXPECT_TRUE(g.Failed()) << "after a success a failure is told again";
    EXPECT_EQ(g.SaveCount(), 1);
}

}  // namespace
}  // namespace tilerack
