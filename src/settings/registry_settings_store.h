#pragma once

#include <string>

#include "platform/settings_store.h"

namespace tovarin {

// The settings in the per-user registry: each section is a subkey of `key` under
// HKEY_CURRENT_USER, strings are REG_SZ and integers REG_DWORD. A missing value, or one of another
// type, reads as missing; Commit tells of the first write that failed. Names and strings are
// ANSI bytes.
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

 private:
  // Writes one value (`type` and `size` as the registry takes them), remembering the first
  // refusal since the last Commit.
  void SetValue(const std::string& key, const std::string& section, const std::string& name,
                unsigned long type, const void* data, unsigned long size);

  std::string key_;
  std::string failure_;
};

}  // namespace tovarin
