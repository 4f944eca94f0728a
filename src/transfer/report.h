#pragma once

#include <string>

#include "platform/safe_file.h"
#include "simdata/player_file.h"

namespace tovarin {

// Lines of the Build report, without their line end. Columns are right-aligned to fixed widths;
// a value wider than its column is written whole and pushes the rest of the line right.

// "Import FName", "Import LName", "Export FName", "Export LName" in columns of 16.
std::string NearMatchHeader();

// The four names in columns of 15, each followed by a comma but the last, in the order of a
// rename record's fields: with a comma appended the line reads back as a record pairing them.
std::string NearMatchLine(const PlayerName& source, const PlayerName& target);

// "ImpId ", "ExpId " and "Import Player Name" right-aligned in 31 columns.
std::string PlayerHeader();

// Source number (5 columns), target number (6), source first name (16), source last name (16).
std::string PlayerLine(int sourceNumber, int targetNumber, const PlayerName& source);

// The report file, written as a roster is: into a temporary file beside it that only Commit
// puts in its place, so a report is never left half-written and a link in its place is replaced,
// not followed. Each line gets "\r\n" on every system.
class BuildReport {
 public:
  // The report's bytes go through `writer`, which must outlive it.
  explicit BuildReport(const platform::FileWriter& writer = platform::SystemFileWriter())
      : file_(writer) {}
  BuildReport(const BuildReport&) = delete;
  BuildReport& operator=(const BuildReport&) = delete;

  // Starts the report that is to replace the file at `path` (an existing one under another
  // letter case is the one replaced). False, with `why`, when it cannot be started; the report
  // then stays closed.
  bool Create(const std::string& path, std::string* why = nullptr);
  bool IsOpen() const { return file_.IsOpen(); }
  // Does nothing while the report is not open.
  void WriteLine(const std::string& line);
  // Puts the report in place. False, with `why`, when it could not be written whole; the old
  // file then stays. A report destroyed without Commit leaves the old file too.
  bool Commit(std::string* why = nullptr);
  // Leaves the old file as it was and closes the report.
  void Discard();

  // A 32,000-player report is some two dozen blocks, each one write.
  static constexpr std::size_t kBlockSize = 64 * 1024;

 private:
  platform::SafeFileWriter file_;
  std::string pending_;
};

}  // namespace tovarin
