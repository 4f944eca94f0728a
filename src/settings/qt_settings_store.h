#pragma once

#include <QSettings>
#include <QString>
#include <optional>

#include "platform/settings_store.h"

namespace tovarin {

// The per-user settings in $XDG_CONFIG_HOME/Didozuza/Tovarin.conf (where Qt keeps a user's
// settings on Linux). The file is opened at the first read or write, not before, and only when
// it is a plain file or missing: anything else in its place (a FIFO would hold every start for
// ever) reads as no settings, and nothing is stored in it.
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
  bool Commit(std::string* what) override;
  std::string ReadProblem() override;

  // Where the settings are kept, for messages.
  std::string Location() const;

 private:
  // The open settings; null when the file cannot be used.
  QSettings* Settings();
  // Why the last Commit failed.
  std::string WriteProblem() const;

  QString file_;
  bool opened_ = false;
  std::optional<QSettings> settings_;
  std::string unusable_;  // why the file cannot be used, when it cannot
  bool lost_ = false;     // a write since the last Commit had nowhere to go
};

}  // namespace tovarin
