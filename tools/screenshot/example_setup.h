#pragma once

// The README's pictures are taken on a fresh example league in a scratch folder, with the
// setup a user would have stored for it, in memory only.

#include <filesystem>
#include <string>

#include "memory_settings/memory_settings_store.h"
#include "platform/settings_store.h"
#include "shell/settings.h"
#include "tools/example/example_league.h"

namespace tovarin::screenshot {

class ExampleSetup {
 public:
  explicit ExampleSetup(const std::string& name)
      : scratch_(std::filesystem::temp_directory_path() / name) {
    std::filesystem::remove_all(scratch_);
    const auto league = example::WriteExampleLeague((scratch_ / "league").string(), 2026);
    using namespace settings;
    store.WriteString(kFile, kBaseDir, league.baseDirectory);
    store.WriteString(kFile, kTgtDataDisk, "2026.WDD");
    store.WriteString(kFile, kTgtOrg, "ORG00001");
    store.WriteString(kFile, kSrcDataDisk, "2025.WDD");
    store.WriteString(kFile, kSrcOrg, "ORG00001");
    store.WriteString(kFile, kRename, league.renameFile);
    store.WriteInt(kOption, kUseFarm, 1);
  }
  ~ExampleSetup() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }
  ExampleSetup(const ExampleSetup&) = delete;
  ExampleSetup& operator=(const ExampleSetup&) = delete;

  MemorySettingsStore store;

 private:
  std::filesystem::path scratch_;
};

}  // namespace tovarin::screenshot
