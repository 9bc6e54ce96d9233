// Entry of the end-to-end test program: reads where the program under test
// and the output folders are, then runs the scenarios.
#include <cstdio>
#include <string>

#include "e2e_harness.h"

int main(int argc, char** argv) {
    // Before any window exists: awareness is the process's from its first window on.
    const std::string awareness = e2e::BecomeDpiAware();
    e2e::ForgetLeftoverDisplayScale();
    ::testing::InitGoogleTest(&argc, argv);
    const auto& config = e2e::GetConfig();
    std::printf("tilerack.exe: %s\nscratch:      %s\nscreenshots:  %s\n", e2e::Narrow(config.tilerackExe).c_str(),
                e2e::Narrow(config.scratchRoot).c_str(), e2e::Narrow(config.screenshotDir).c_str());
    std::printf("display scale awareness: %s\n", awareness.c_str());
    if (!e2e::FileExists(config.tilerackExe)) {
        std::printf("tilerack.exe not found: %s\n", e2e::Narrow(config.tilerackExe).c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
