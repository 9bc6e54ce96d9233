#pragma once
// File access for the program's data files, with the failure texts the user sees.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/file_access.h"

namespace tilerack::win {

// The path as the file API takes it: in the extended form ("\\?\") once it
// reaches MAX_PATH, so a data file near the limit (whose temporary file is
// longer still) can be saved.
std::wstring ApiPath(const std::wstring& path);

// The folder of the running executable, with its trailing backslash.
std::wstring ExeFolder();
// The executable's file name without folder and extension ("tilerack").
std::wstring ExeBaseName();

bool FileExists(const std::wstring& path);

// The whole file; std::nullopt when it does not exist. Throws TError
// "Cannot open file %s" when it exists but cannot be read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path);

// A data file open for reading in parts. With `barWriters` no other program
// may write, move or delete the file while it is open, so parts read at
// different times belong together; where one already writes it, the file is
// open as ReadWholeFile opens it (BarsWriters() tells).
class FileReader {
public:
    // Throws TError "Cannot open file %s" when the file exists but cannot be
    // opened, or is larger than any data file of the program (1 GB).
    FileReader(const std::wstring& path, bool barWriters);
    // The same without the throw: `access` tells how the open ended (Read
    // when the file is open).
    FileReader(const std::wstring& path, bool barWriters, FileAccess& access);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool Exists() const { return handle_ != nullptr; }
    bool BarsWriters() const { return barsWriters_; }
    uint64_t Size() const { return size_; }
    // Up to `count` bytes from `offset`, fewer where the file ends; throws
    // TError "Stream read error" when the system fails the read.
    std::vector<uint8_t> Read(uint64_t offset, uint64_t count) const;

private:
    // The system's error code of a failed open, 0 when the file is open.
    uint32_t Open(const std::wstring& path, bool barWriters);
    void* handle_ = nullptr;
    bool barsWriters_ = false;
    uint64_t size_ = 0;
};

// Replaces `path` with `bytes` only once the new content is complete on disk:
// writes a temporary file beside it, flushes it, then moves it over the old
// one. A failure leaves the old file whole and throws TError with
// "Cannot create file %s" or "Unable to write to %s". A read-only file is
// never replaced ("Cannot create file %s").
void SaveFileSafely(const std::wstring& path, const std::vector<uint8_t>& bytes);
// The same with the content handed over piece by piece: `produce` calls the
// sink it is given with each piece in order. A failure of `produce` also
// leaves the old file whole (its exception goes on to the caller).
using FileSink = std::function<void(const uint8_t* data, size_t size)>;
void SaveFileSafely(const std::wstring& path, const std::function<void(const FileSink& put)>& produce);

// A save killed before its final move leaves its temporary file beside the
// data file: never the list (it may be incomplete), so it is removed.
void RemoveLeftoverSavingFile(const std::wstring& path);

// Keeps a copy of a damaged data file beside it under a name that does not
// exist yet ("shorts.damaged-YYYYMMDD-HHMMSS.dat", numbered when taken).
// Returns the copy's path, empty when the copy failed.
std::wstring KeepDamagedCopy(const std::wstring& path);
// A name beside `path` that no file has yet, marked with `mark` and the time
// ("shorts.unsaved-YYYYMMDD-HHMMSS.dat", numbered when taken); `make` is
// tried with each name until it succeeds or fails for another reason than
// a name taken. Returns the name it succeeded with, empty when it did not.
std::wstring TakeNameBeside(const std::wstring& path, const wchar_t* mark,
                            const std::function<bool(const std::wstring& name)>& make);

}  // namespace tilerack::win
