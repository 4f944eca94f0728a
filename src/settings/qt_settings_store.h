#pragma once

#include <QSettings>

#include "platform/settings_store.h"

namespace tovarin {

// The per-user settings in the platform's native store: on Windows the registry key
// HKEY_CURRENT_USER\Software\Didozuza\Tovarin, on Linux $XDG_CONFIG_HOME/Didozuza/Tovarin.conf.
class QtSettingsStore : public platform::SettingsStore {
 public:
  QtSettingsStore();

  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& name) override;
  std::optional<std::int32_t> ReadInt(const std::string& section,
                                      const std::string& name) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name,
                std::int32_t value) override;

  // Where the settings are kept, for messages.
  std::string Location() const;

 private:
  QSettings settings_;
};

}  // namespace tovarin
