#pragma once

// Temporary simulation trees for tests: a fresh directory removed at the end of the test, with
// helpers to lay out data disks, organizations and their files.

#include <string>
#include <vector>

#include "platform/safe_file.h"
#include "simwriter/sim_writer.h"

namespace tovarin::fixture {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory, ending with the separator.
  const std::string& path() const { return path_; }

  // `relative` is written with '/', which becomes the system's separator.

  // Creates `relative` (and its parents) under the directory; returns it ending with the separator.
  std::string MakeDir(const std::string& relative) const;

  // The full path of `relative` under the directory.
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

// Points the per-user folders (settings in `dir` + "config", backups in `dir` + "data") into
// `dir`, so that nothing touches the real user's own.
void KeepPerUserFoldersIn(const TempDir& dir);

// A disk that fills up: once `room` bytes in all have been written through it, every write fails
// with ENOSPC. A negative room never fills.
class FillingDisk : public platform::FileWriter {
 public:
  explicit FillingDisk(long long room = -1) : room_(room) {}
  void FillAfter(long long room) { room_ = room; }
  long long Write(int fd, const char* data, std::size_t size) const override;

 private:
  mutable long long room_;
};

// `text` with each '@' replaced by `dir`'s path without its final separator, for expected
// messages that name files in it.
std::string InDir(const TempDir& dir, std::string text);

// The whole content of a file; empty when it cannot be read.
sim::Bytes ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);

#ifndef _WIN32
// Makes the file at `path` one that this process cannot remove: its folder read-only, or for
// root, who may remove anything, the file immutable. False when the system allows neither.
bool MakeUndeletable(const std::string& path);
// Undoes MakeUndeletable on the file, wherever its folder has since gone.
void MakeDeletable(const std::string& path);
#endif

// A small standard organization: the organization record (farm organization `farmOrg`), two
// leagues "AL" and "NL" with a division "E" each, and `teams` teams alternating between the two
// divisions. Team k (from 1) has id k, teamIndex k-1, long name "City k Club", name "City k",
// short name "Ck" and farm team id 100+k.
sim::OrgBuilder StandardOrg(int teams, std::int8_t farmOrg = 0);

// StandardOrg(teams) in which the teams numbered from `firstPlayed` on have played a game.
sim::OrgBuilder StandardOrgWithGamesPlayed(int teams, int firstPlayed);

}  // namespace tovarin::fixture
