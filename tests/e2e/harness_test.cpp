// Checks of the test tools themselves that the scenarios rely on.
#include "e2e_harness.h"

namespace e2e {
namespace {

using Harness = PanelTest;

// Items started by the panel are checked through the probe's record, so the
// record must hold the exact command line and folder, Cyrillic included.
TEST_F(Harness, ProbeRecordsItsCommandLineAndFolder) {
    const std::wstring probe = scratch_->AddProbe();
    const std::wstring folder = scratch_->SubFolder(L"рабочая папка");
    std::wstring commandLine = L"\"" + probe + L"\" first \"второй аргумент\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &info))
        << "error " << GetLastError();
    const DWORD waited = WaitForSingleObject(info.hProcess, 20000);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the probe did not end";
    EXPECT_EQ(exitCode, 0u);

    const auto records = ReadProbeRecords(scratch_->Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine, commandLine);
    EXPECT_EQ(records[0].folder, folder);
}

}  // namespace
}  // namespace e2e
