#pragma once
// The settings file: the INI file named after the program, its section read
// once at the start and written by every save. A stored screen choice
// ("Monitor") is removed once the panel is back on the primary screen; a
// file that never had one is left as it is.
#include <memory>

#include "common/panel_settings.h"
#include "platform/profile.h"

namespace tilerack {

class SettingsStore {
public:
    // Opens the file and reads the settings from it.
    PanelSettings Read();
    // Writes every setting; throws when the file was never opened.
    void Write(const PanelSettings& settings);

private:
    std::unique_ptr<win::SettingsFile> file_;
    bool monitorStored_ = false;  // the file holds a chosen screen
};

}  // namespace tilerack
