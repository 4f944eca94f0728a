#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/safe_file.h"
#include "platform/settings_store.h"

namespace tovarin::cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kError = 1;
inline constexpr int kUsage = 2;
inline constexpr int kNotConfirmed = 3;

// Where the command line meets the world: its streams, whether a person answers questions, and
// the per-user settings.
struct Console {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool interactive = false;  // questions are asked on the terminal
  platform::SettingsStore& settings;
  std::string backups;  // where Builds keep their backups: BackupStore::DefaultRoot() in use
  // Every file the commands write goes through it.
  const platform::FileWriter* writer = &platform::SystemFileWriter();
};

// Runs tovarin-cli with `args` (without the program name) and returns its exit status.
int Run(const std::vector<std::string>& args, Console& console);

}  // namespace tovarin::cli
