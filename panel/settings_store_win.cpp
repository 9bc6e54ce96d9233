// The settings file: read at the start, written by the saves.
#include "panel/settings_store_win.h"

#include "common/app_texts.h"
#include "common/errors.h"
#include "platform/files.h"

namespace tilerack {

PanelSettings SettingsStore::Read() {
    file_ = std::make_unique<win::SettingsFile>(win::ExeBaseName() + L".INI", kSettingsSection);
    const ProfileSection stored = file_->ReadSection();
    PanelSettings settings = ReadPanelSettings([&stored](const char* key) { return stored.Value(key); });
    monitorStored_ = !settings.monitor.empty();
    return settings;
}

void SettingsStore::Write(const PanelSettings& settings) {
    if (!file_) throw TError(kSettingsFileNotOpen);
    for (const auto& [key, value] : PanelSettingsValues(settings)) file_->Write(key.c_str(), value);
    // Back on the primary: the stored choice goes.
    if (settings.monitor.empty() && monitorStored_) file_->Remove(kMonitorKey);
    monitorStored_ = !settings.monitor.empty();
}

}  // namespace tilerack
