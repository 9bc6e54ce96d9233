// Entry of the end-to-end test program: reads where the program under test
// and the output folders are, then runs the scenarios.
#include <cstdio>

#include "e2e_harness.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const auto& config = e2e::GetConfig();
    std::printf("tilerack.exe: %s\nscratch:      %s\nscreenshots:  %s\n", e2e::Narrow(config.tilerackExe).c_str(),
                e2e::Narrow(config.scratchRoot).c_str(), e2e::Narrow(config.screenshotDir).c_str());
    if (!e2e::FileExists(config.tilerackExe)) {
        std::printf("tilerack.exe not found: %s\n", e2e::Narrow(config.tilerackExe).c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
