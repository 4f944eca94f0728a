#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tovarin::platform {

// The per-user settings store: named string and 32-bit integer values in named sections.
// A value that is missing or cannot be read comes back empty. Writes take effect at Commit,
// which says whether they were stored.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> ReadString(const std::string& section,
                                                const std::string& name) = 0;
  virtual std::optional<std::int32_t> ReadInt(const std::string& section,
                                              const std::string& name) = 0;
  virtual void WriteString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
  virtual void WriteInt(const std::string& section, const std::string& name,
                        std::int32_t value) = 0;
  // Stores the writes made since the last Commit. False, with `what` naming the store and
  // saying why, when any of them was not stored.
  virtual bool Commit(std::string* /*what*/) { return true; }
  // Why the stored values cannot be read, naming the store; empty when they can (also when
  // there are none yet).
  virtual std::string ReadProblem() { return ""; }
};

// A store held in memory. It remembers the order of the writes, so callers can check it.
class MemorySettingsStore : public SettingsStore {
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

}  // namespace tovarin::platform
