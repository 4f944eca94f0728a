#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace tovarin {

// A settings store held in memory, for the tests and the README's pictures, which never touch
// the user's own. It remembers the order of the writes, so callers can check it.
class MemorySettingsStore : public platform::SettingsStore {
 public:
  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& name) override;
  std::optional<std::int32_t> ReadInt(const std::string& section,
                                      const std::string& name) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name,
                std::int32_t value) override;

  // "Section/Name" of every write, in order.
  const std::vector<std::string>& writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }

 private:
  std::map<std::pair<std::string, std::string>, std::string> strings_;
  std::map<std::pair<std::string, std::string>, std::int32_t> ints_;
  std::vector<std::string> writes_;
};

}  // namespace tovarin
