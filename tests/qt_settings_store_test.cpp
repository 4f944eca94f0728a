#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "settings/qt_settings_store.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/tovarin_view.h"
#include "support/fake_ui.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

// The real store, kept under a temporary XDG_CONFIG_HOME: the form's save lands in
// Didozuza/Tovarin.conf with its two sections, and reads back with its defaults.
TEST(QtSettingsStore, FileSectionsNamesAndDefaults) {
  fixture::TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  {
    QtSettingsStore store;
    EXPECT_EQ(store.Location(), config / "Didozuza/Tovarin.conf");
    fixture::FakeDialogs dialogs;
    fixture::FakeControls controls;
    CTovarinView view(store, dialogs, controls, layout::SourceTeamColumn());
    view.LoadSettings();  // nothing stored yet: defaults
    EXPECT_EQ(view.useFarm, 1);
    EXPECT_EQ(view.renamePath, "");
    view.targetLocation.SetBaseDirectory("/games/gs/");
    view.targetLocation.SetDataDisk("LEAGUE.WDD");
    view.renamePath = "/games/r\xC3\xA9names.txt";
    view.useFarm = 0;
    view.SaveSettings();
  }
  const std::string text = fixture::ReadFileText(config / "Didozuza/Tovarin.conf");
  EXPECT_NE(text.find("[File]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Option]\n"), std::string::npos) << text;
  for (const char* line : {"BaseDir=/games/gs/\n", "TgtDataDisk=LEAGUE.WDD\n", "TgtOrg=\n",
                           "SrcDataDisk=\n", "SrcOrg=\n", "UseFarm=0\n", "ThreeLetters=1\n",
                           "SmartInitials=1\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }

  QtSettingsStore store;
  EXPECT_EQ(store.ReadString("File", "Rename"), "/games/r\xC3\xA9names.txt");
  EXPECT_EQ(store.ReadInt("Option", "UseFarm"), 0);
  EXPECT_EQ(store.ReadInt("Option", "Missing"), std::nullopt);
  store.WriteString("Option", "ThreeLetters", "not a number");
  EXPECT_EQ(store.ReadInt("Option", "ThreeLetters"), std::nullopt);  // unreadable: default
}

}  // namespace
}  // namespace tovarin

namespace tovarin {
namespace {

// Any path the file system takes comes back from the store byte for byte, also one with bytes
// that are no text in the locale's encoding; a path that is text stays readable in the file.
TEST(QtSettingsStore, PathsComeBackByteForByte) {
  fixture::TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const std::string paths[] = {"/games/r\xE9names.txt", "/games/r\xC3\xA9names.txt",
                               "/a\xFF\xFE/\x80", ""};
  {
    QtSettingsStore store;
    for (std::size_t i = 0; i < std::size(paths); ++i) {
      store.WriteString("File", "Path" + std::to_string(i), paths[i]);
    }
  }
  QtSettingsStore store;
  for (std::size_t i = 0; i < std::size(paths); ++i) {
    EXPECT_EQ(store.ReadString("File", "Path" + std::to_string(i)), paths[i]) << i;
  }
  const std::string text = fixture::ReadFileText(config / "Didozuza/Tovarin.conf");
  EXPECT_NE(text.find("Path1=/games/r\xC3\xA9names.txt\n"), std::string::npos) << text;
}


// A setup that cannot be stored is said, with the file and why, and never taken for stored; a
// settings file that is no plain file (a FIFO would hold every start) reads as no settings.
TEST(QtSettingsStore, WhatCannotBeStoredIsSaidAndNothingWaits) {
  const struct {
    const char* what;
    std::function<void(const fixture::TempDir&)> damage;
    std::string why;
    bool readable;  // the settings read, as none, without a word
  } rows[] = {
      {"Tovarin.conf a folder", [](const fixture::TempDir& c) { c.MakeDir("Didozuza/Tovarin.conf"); },
       "it is not a plain file", false},
      {"Tovarin.conf a FIFO",
       [](const fixture::TempDir& c) {
         c.MakeDir("Didozuza");
         mkfifo((c / "Didozuza/Tovarin.conf").c_str(), 0644);
       },
       "it is not a plain file", false},
      {"Didozuza a file",
       [](const fixture::TempDir& c) { sim::WriteBytes(c / "Didozuza", {1}); },
       "Not a directory", true},
  };
  for (const auto& row : rows) {
    fixture::TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    row.damage(config);
    // Run aside, so that a store that waits fails the test instead of holding it.
    std::promise<void> finished;
    std::thread([&] {
      QtSettingsStore store;
      EXPECT_EQ(store.ReadString("File", "BaseDir"), std::nullopt) << row.what;
      EXPECT_EQ(store.ReadProblem(),
                row.readable ? "" : store.Location() + "\n" + row.why) << row.what;
      fixture::FakeDialogs dialogs;
      fixture::FakeControls controls;
      CTovarinView view(store, dialogs, controls, layout::SourceTeamColumn());
      view.renamePath = "/games/renames.txt";
      std::string why;
      EXPECT_FALSE(view.SaveSettings(&why)) << row.what;
      EXPECT_EQ(why, "The setup could not be stored: " + store.Location() + "\n" + row.why)
          << row.what;
      view.OnCommand(layout::command::kSaveSetup);
      EXPECT_EQ(dialogs.messages, std::vector<std::string>{why}) << row.what;
      finished.set_value();
    }).detach();
    if (finished.get_future().wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      ADD_FAILURE() << row.what << ": the store waits";
      std::_Exit(1);
    }
  }
}

}  // namespace
}  // namespace tovarin
