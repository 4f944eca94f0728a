#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tovarin::platform {

// The per-user settings store: named string and 32-bit integer values in named sections.
// A value that is missing or cannot be read comes back empty; ReadProblem tells the two apart.
// Writes take effect at Commit, which says whether they were stored.
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
  // Stores the writes made since the last Commit, all or none. False, with `what` naming the
  // store and saying why, when they were not stored; the values stored before are then kept.
  virtual bool Commit(std::string* /*what*/) { return true; }
  // Why stored values cannot be read: the store as a whole, and each value whose last read
  // found it there but unreadable, one line pair each naming it and saying why; empty when
  // every read found its value or none.
  virtual std::string ReadProblem() { return ""; }
};

// The last line of a failed Commit's `what` when the store kept what it held before.
inline constexpr const char* kStoredBeforeKept = "The setup stored before is unchanged.";

}  // namespace tovarin::platform
