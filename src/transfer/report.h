#pragma once

#include <cstdio>
#include <string>

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

// The report file. Each line gets "\r\n" on every system. Lines are gathered and written in
// blocks of kBlockSize (one system call each), and whatever is gathered is written on Close or
// destruction, so a Build ended early leaves every line written so far. Write errors are
// ignored: the report must never stop a Build.
class BuildReport {
 public:
  BuildReport() = default;
  ~BuildReport();
  BuildReport(const BuildReport&) = delete;
  BuildReport& operator=(const BuildReport&) = delete;

  // Creates the file or replaces it (an existing one under another letter case is the one
  // replaced). False when it cannot be created; the report then stays closed.
  bool Create(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  // Does nothing while the report is not open.
  void WriteLine(const std::string& line);
  void Close();

  // A 32,000-player report is some two dozen blocks, where it once was a write a line.
  static constexpr std::size_t kBlockSize = 64 * 1024;

 private:
  void WriteBlock();

  std::FILE* file_ = nullptr;
  std::string pending_;
};

}  // namespace tovarin
