#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace tovarin {

// One entry of a roster file: two marker bytes, the name of the data disk whose player file the
// number counts in, and the player number.
struct RosterEntry {
  unsigned char marker1 = 0;
  unsigned char marker2 = 0;
  std::string name;
  std::int16_t player = 0;
};

// The roster of one team, loaded from and saved to its "T%05dRS.ORG" file byte for byte.
class RosterFile {
 public:
  enum class LoadResult { kOk, kCannotOpen, kMalformed };

  static constexpr std::size_t kNameCapacity = 48;
  static constexpr int kMaxEntries = 32767;

  // Empties the roster; the markers and the name for appends stay.
  void Clear() { entries_.clear(); }

  // Clears the roster, then reads the file. A file that cannot be opened, or that is malformed (it
  // ends inside its entries, or holds a negative count or name length) leaves the roster empty;
  // `why` then says what is wrong.
  LoadResult Load(const std::string& path, std::string* why = nullptr);

  // Replaces the file with this roster; the old file stays whole when anything fails.
  bool Save(const std::string& path, std::string* why = nullptr,
            const platform::FileWriter& writer = platform::SystemFileWriter()) const;

  // The markers and the name that appended entries receive. A name longer than the 48-byte name
  // buffer is refused.
  void SetMarker(unsigned char marker1, unsigned char marker2);
  bool SetName(const std::string& name);

  // Adds an entry with the current markers and name. Refused (false, nothing added) when the number
  // does not fit the file's signed 16-bit field or the roster already holds 32767 entries.
  bool Append(int player);

  int count() const { return static_cast<int>(entries_.size()); }
  const RosterEntry& entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }

  // The file's bytes.
  std::string Encode() const;

 private:
  std::vector<RosterEntry> entries_;
  unsigned char marker1_ = 0;
  unsigned char marker2_ = 0;
  std::string name_;
};

// "%sT%05dRS.ORG": the roster of team `team` in the organization directory `orgDirectory`.
std::string RosterPath(const std::string& orgDirectory, int team);

// True when `name` is a file name RosterPath gives, letter case aside.
bool IsRosterFileName(const std::string& name);

// "%sORG%05d" + separator + "T%05dRS.ORG": a roster of organization `org` of a data disk.
std::string FarmRosterPath(const std::string& dataDiskDirectory, int org, int team);

}  // namespace tovarin
