#include "platform/files.h"

#include <windows.h>

#include <cwchar>

#include "common/errors.h"
#include "platform/handles.h"
#include "platform/text.h"
#include <algorithm>

namespace tilerack::win {

std::wstring ApiPath(const std::wstring& path) {
    // Past MAX_PATH the API takes a path only in its extended form.
    if (path.size() < MAX_PATH - 1 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

std::wstring ExeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) { path.resize(n); break; }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring ExeBaseName() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L"\\/:");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

bool FileExists(const std::wstring& path) {
    const DWORD attrs = GetFileAttributesW(ApiPath(path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

FileReader::FileReader(const std::wstring& path, bool barWriters) {
    if (const uint32_t error = Open(path, barWriters); error && AccessAfterOpenError(error) != FileAccess::Absent)
        throw TError(CannotOpenFile(Narrow(path)));
}

FileReader::FileReader(const std::wstring& path, bool barWriters, FileAccess& access) {
    const uint32_t error = Open(path, barWriters);
    access = error ? AccessAfterOpenError(error) : FileAccess::Read;
}

uint32_t FileReader::Open(const std::wstring& path, bool barWriters) {
    const auto open = [&](DWORD share) {
        return CreateFileW(ApiPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    };
    UniqueFile file(barWriters ? open(FILE_SHARE_READ) : INVALID_HANDLE_VALUE);
    barsWriters_ = static_cast<bool>(file);
    // Barred by a writer that shares the file: read it as it shares it.
    if (!file && (!barWriters || GetLastError() == ERROR_SHARING_VIOLATION))
        file.reset(open(FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!file) return GetLastError();
    // A folder in the file's place is there, but is no file to read.
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (!GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30))
        return ERROR_ACCESS_DENIED;
    size_ = static_cast<uint64_t>(size.QuadPart);
    handle_ = file.release();
    return 0;
}

FileReader::~FileReader() { UniqueFile(static_cast<HANDLE>(handle_)).reset(); }

std::vector<uint8_t> FileReader::Read(uint64_t offset, uint64_t count) const {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::min(count, size_ - std::min(offset, size_))));
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(static_cast<HANDLE>(handle_), at, nullptr, FILE_BEGIN)) throw TError(kStreamReadError);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!ReadFile(static_cast<HANDLE>(handle_), bytes.data() + done, want, &got, nullptr))
            throw TError(kStreamReadError);
        if (got == 0) break;  // the file shrank while being read
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path) {
    const FileReader file(path, /*barWriters=*/false);
    if (!file.Exists()) return std::nullopt;
    return file.Read(0, file.Size());
}

namespace {

// Virus scanners and indexers hold freshly written files open for a moment.
bool MoveWithRetry(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(ApiPath(from).c_str(), ApiPath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD err = GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED && err != ERROR_LOCK_VIOLATION)
            return false;
        Sleep(50);
    }
    return false;
}

}  // namespace

std::wstring SavingFileName(const std::wstring& path) { return path + L".saving"; }

void SaveFileSafely(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    SaveFileSafely(path, [&](const FileSink& put) { put(bytes.data(), bytes.size()); });
}

void SaveFileSafely(const std::wstring& path, const std::function<void(const FileSink& put)>& produce) {
    // A read-only file was marked so to protect it. Windows refuses to move a
    // file over it, Wine does not: refuse alike everywhere, before writing.
    const DWORD attrs = GetFileAttributesW(ApiPath(path).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        throw TError(CannotCreateFile(Narrow(path)));
    const std::wstring temp = SavingFileName(path);
    {
        UniqueFile file(CreateFileW(ApiPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw TError(CannotCreateFile(Narrow(path)));
        struct WriteFailed {};
        bool ok = true;
        const FileSink put = [&](const uint8_t* data, size_t size) {
            while (size > 0) {
                DWORD written = 0;
                const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
                if (!WriteFile(file.get(), data, want, &written, nullptr) || written != want) throw WriteFailed{};
                data += want;
                size -= want;
            }
        };
        try {
            produce(put);
        } catch (const WriteFailed&) {
            ok = false;
        } catch (...) {
            file.reset();
            DeleteFileW(ApiPath(temp).c_str());
            throw;
        }
        if (!ok || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(ApiPath(temp).c_str());
            throw TError(UnableToWrite(Narrow(path)));
        }
    }
    if (!MoveWithRetry(temp, path)) {
        DeleteFileW(ApiPath(temp).c_str());
        throw TError(CannotCreateFile(Narrow(path)));
    }
}

void RemoveLeftoverSavingFile(const std::wstring& path) {
    const std::wstring temp = SavingFileName(path);
    if (FileExists(temp)) DeleteFileW(ApiPath(temp).c_str());
}

std::wstring TakeNameBeside(const std::wstring& path, const wchar_t* mark,
                            const std::function<bool(const std::wstring& name)>& make) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    std::wstring stem = path;
    std::wstring ext;
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) {
        stem = path.substr(0, dot);
        ext = path.substr(dot);
    }
    wchar_t stamp[64];
    swprintf(stamp, 64, L".%ls-%04u%02u%02u-%02u%02u%02u", mark, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    for (int n = 0; n < 100; ++n) {
        std::wstring name = stem + stamp + (n ? L"-" + std::to_wstring(n) : L"") + ext;
        if (make(name)) return name;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

std::wstring KeepDamagedCopy(const std::wstring& path) {
    return TakeNameBeside(path, L"damaged", [&](const std::wstring& copy) {
        return CopyFileW(ApiPath(path).c_str(), ApiPath(copy).c_str(), TRUE) != FALSE;
    });
}

}  // namespace tilerack::win
