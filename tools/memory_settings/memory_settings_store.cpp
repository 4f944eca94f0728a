#include "memory_settings/memory_settings_store.h"

namespace tovarin {

std::optional<std::string> MemorySettingsStore::ReadString(const std::string& section,
                                                           const std::string& name) {
  auto it = strings_.find({section, name});
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::int32_t> MemorySettingsStore::ReadInt(const std::string& section,
                                                         const std::string& name) {
  auto it = ints_.find({section, name});
  if (it == ints_.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& name,
                                      const std::string& value) {
  strings_[{section, name}] = value;
  writes_.push_back(section + "/" + name);
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& name,
                                   std::int32_t value) {
  ints_[{section, name}] = value;
  writes_.push_back(section + "/" + name);
}

}  // namespace tovarin
