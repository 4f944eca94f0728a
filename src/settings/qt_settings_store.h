#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace tovarin {

// The per-user settings in $XDG_CONFIG_HOME/Didozuza/Tovarin.conf (where Qt keeps a user's
// settings on Linux; a relative XDG_CONFIG_HOME is ignored, as the base-directory convention
// says). The file is opened at the first read or write, not before, and only when it is a
// plain file that can be read, or missing: anything else in its place (a FIFO would hold every
// start for ever), or a file or folder that cannot be read, reads as no settings, says why in
// ReadProblem, and is never written. Writes wait for Commit, which writes the file whole.
class QtSettingsStore : public platform::SettingsStore {
 public:
  // The file under the configuration folder; the window's QSettings names the same.
  static constexpr const char* kDefaultFile = "Didozuza/Tovarin.conf";

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
  // Notes why the value `key` cannot be read; an empty `why` clears the note.
  void NoteUnreadable(const QString& key, const std::string& why);

  QString file_;
  bool opened_ = false;
  std::optional<QSettings> settings_;
  std::string unusable_;  // why the file cannot be used, when it cannot
  std::vector<std::pair<QString, QVariant>> pending_;       // writes waiting for Commit
  std::vector<std::pair<QString, std::string>> unreadable_;  // values that could not be read
};

}  // namespace tovarin
