// The files around a run of the program under test: where things are, fresh
// scratch folders, the probe's record, the settings file in the Windows
// folder and the item file the program saved.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "shorts_file_builder.h"

namespace e2e {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Where the program under test, the probe and the output folders are; taken
// from TILERACK_EXE, PROBE_EXE, E2E_SCRATCH and E2E_SCREENSHOTS, falling back
// to the folder of the test program.
struct Config {
    std::wstring tilerackExe;
    std::wstring probeExe;
    std::wstring scratchRoot;
    std::wstring screenshotDir;
};
const Config& GetConfig();
std::wstring EnvironmentValue(const wchar_t* name, const std::wstring& fallback = {});

std::string Narrow(const std::wstring& text);  // UTF-8, for messages
std::wstring Widen(const std::string& utf8);
std::string Hex(std::uint32_t value);

using tilerack::win::FileExists;
using tilerack::win::ReadWholeFile;  // nothing when the file does not exist
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);
// Plain file names (no folders) directly inside `folder`.
std::vector<std::wstring> ListFiles(const std::wstring& folder);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// Compares paths as Windows does: any case, either slash, no trailing slash.
bool SamePath(std::wstring a, std::wstring b);

// A fresh folder for one test with tilerack.exe copied in, so the program's
// item file lands there and nowhere else.
class ScratchDir {
public:
    explicit ScratchDir(const std::wstring& name);
    // The same inside another folder (another disk, say).
    ScratchDir(const std::wstring& root, const std::wstring& name);
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return JoinPath(path_, name); }
    std::wstring ExePath() const { return File(L"tilerack.exe"); }
    // Copies the probe program in under `name` and returns its full path.
    std::wstring AddProbe(const std::wstring& name = L"probe.exe") const;
    // A sub-folder, created when missing.
    std::wstring SubFolder(const std::wstring& name) const;

private:
    std::wstring path_;
};

// What the probe program wrote into probe-record.txt in `folder`: one
// complete record per start, oldest first.
struct ProbeRecord {
    std::wstring commandLine;
    std::wstring folder;
};
std::vector<ProbeRecord> ReadProbeRecords(const std::wstring& folder);
// Waits up to `timeout` until `folder` holds at least `count` records; what it holds then.
std::vector<ProbeRecord> WaitForProbeRecords(const std::wstring& folder, size_t count = 1,
                                             std::chrono::milliseconds timeout = 15s);
// The part of a command line after the program's name and its blanks.
std::wstring ArgumentsOf(const std::wstring& commandLine);

// Name of the running test, usable as a file name ("Suite.Test").
std::wstring CurrentTestName();

// ---- Settings file in the Windows folder ----------------------------------

std::wstring IniPath();
void DeleteIni();
// Writes the settings file with section Keelstrip holding `keys` ("Key=value").
void WriteSettings(const std::vector<std::string>& keys);
// What the settings file holds, read as Windows reads it: whether section
// Keelstrip has any key, and the value of `key` there ("<missing>" without).
bool SettingsSaved();
std::wstring SavedSetting(const wchar_t* key);

// The records of an item file the program wrote, read by the record layout
// (nothing when the file is missing; a failure recorded when it breaks the
// layout, with the records before the break).
std::vector<ShortRecord> ReadSavedItems(const std::wstring& shortsPath);
// Success when the item file at `path` holds the records of `expected`,
// apart from the button slots (a value of the writing run only).
::testing::AssertionResult HoldsItems(const std::wstring& path, const ShortsFile& expected);

// ---- The shell ---------------------------------------------------------------

// While it lives, files ending in `extension` open with `program` (their
// path its one argument).
class DocumentAssociation {
public:
    DocumentAssociation(const std::wstring& extension, const std::wstring& program);
    ~DocumentAssociation();
    DocumentAssociation(const DocumentAssociation&) = delete;
    DocumentAssociation& operator=(const DocumentAssociation&) = delete;

private:
    std::wstring extension_;
};

}  // namespace e2e
