#pragma once
// The settings file: one section of an INI file, read whole and written key
// by key through the private-profile functions.
#include <optional>
#include <string>

#include "common/profile_section.h"

namespace tilerack::win {

class SettingsFile {
public:
    // `fileName` is the bare file name ("tilerack.INI"). It lives in the
    // Windows folder where that can be written; otherwise in the user's
    // application-data folder, which is read first when a file exists there.
    SettingsFile(std::wstring fileName, std::string section);

    // The whole section in one read of the file; empty when there is none.
    ProfileSection ReadSection() const;
    // Throws TError "Unable to write to %s" when neither place takes the value.
    void Write(const char* key, const std::string& value);
    // Takes `key` out of the section; throws as Write does.
    void Remove(const char* key);

    const std::wstring& Path() const { return path_; }

private:
    std::wstring fileName_;
    std::wstring section_;
    std::wstring path_;
    bool fellBack_ = false;
};

}  // namespace tilerack::win
