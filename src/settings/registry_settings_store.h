#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace tovarin {

// The settings in the per-user registry: each section is a subkey of `key` under
// HKEY_CURRENT_USER, strings are REG_SZ and integers REG_DWORD. Strings are read from REG_SZ
// and from REG_EXPAND_SZ (its variables expanded, as Windows programs read paths), integers
// from REG_DWORD and from a REG_SZ that holds a decimal number; a missing value reads as
// missing, any other (and a key or value the registry refuses to read) as missing too, with
// ReadProblem saying why. Writes go in at once; when one fails, those made since the last
// Commit are put back as they were, and Commit tells of it. Names and strings are UTF-8.
class RegistrySettingsStore : public platform::SettingsStore {
 public:
  static constexpr const char* kDefaultKey = "Software\\Didozuza\\Tovarin";

  explicit RegistrySettingsStore(std::string key = kDefaultKey) : key_(std::move(key)) {}

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

 private:
  // A value as the registry holds it, or its absence.
  struct RawValue {
    bool exists = false;
    unsigned long type = 0;
    std::vector<unsigned char> data;
  };
  // Reads one value; the key or value refused and why, when the registry refuses.
  std::string ReadRaw(const std::string& section, const std::string& name, RawValue& value) const;
  // Writes one value (`type` and `size` as the registry takes them), first keeping what it was;
  // after a refusal, puts back every value written since the last Commit.
  void SetValue(const std::string& section, const std::string& name, unsigned long type,
                const void* data, unsigned long size);
  // Puts back what was written since the last Commit; Commit then tells `what` failed.
  void Fail(const std::string& what);
  std::string Path(const std::string& section, const std::string& name = "") const;
  void NoteUnreadable(const std::string& path, const std::string& why);

  std::string key_;
  std::string failure_;
  // Each value written since the last Commit, as it was before.
  std::vector<std::pair<std::pair<std::string, std::string>, RawValue>> written_;
  std::vector<std::pair<std::string, std::string>> unreadable_;  // path, why
};

}  // namespace tovarin
