#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "platform/safe_file.h"
#include "settings/qt_settings_store.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/settings.h"
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
    // The window's QSettings (organization and application) names the same file.
    EXPECT_EQ(std::string(settings::kOrganization) + "/" + settings::kApplication + ".conf",
              QtSettingsStore::kDefaultFile);
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
  EXPECT_TRUE(store.Commit(nullptr));
  EXPECT_EQ(store.ReadProblem(), "");
  EXPECT_EQ(store.ReadInt("Option", "ThreeLetters"), std::nullopt);  // unreadable: default
  EXPECT_EQ(store.ReadProblem(), store.Location() + " (Option/ThreeLetters)\nit is not a whole number");

  // A relative XDG_CONFIG_HOME is ignored, as the base-directory convention says.
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("HOME", config.path().c_str(), 1);
  EXPECT_EQ(QtSettingsStore().Location(), config / ".config/Didozuza/Tovarin.conf");
  setenv("HOME", home.c_str(), 1);
}

// Runs `observe` in a child process, which a store that waits cannot hold up; as an unprivileged
// user when `unprivileged` and this process is root, who may read any file. Its answer, or
// "(waits)".
std::string InChild(const std::function<std::string()>& observe, bool unprivileged = false) {
  int fds[2];
  if (pipe(fds) != 0) return "(no pipe)";
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    const std::string seen = observe();
    if (write(fds[1], seen.data(), seen.size()) < 0) _exit(3);
    _exit(0);
  }
  close(fds[1]);
  std::string seen;
  pollfd readable{fds[0], POLLIN, 0};
  char buffer[4096];
  for (;;) {
    if (poll(&readable, 1, 20000) <= 0) {
      kill(child, SIGKILL);
      seen = "(waits)";
      break;
    }
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(got));
  }
  close(fds[0]);
  waitpid(child, nullptr, 0);
  return seen;
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
    EXPECT_TRUE(store.Commit(nullptr));
  }
  QtSettingsStore store;
  for (std::size_t i = 0; i < std::size(paths); ++i) {
    EXPECT_EQ(store.ReadString("File", "Path" + std::to_string(i)), paths[i]) << i;
  }
  const std::string text = fixture::ReadFileText(config / "Didozuza/Tovarin.conf");
  EXPECT_NE(text.find("Path1=/games/r\xC3\xA9names.txt\n"), std::string::npos) << text;
}


// A setup that cannot be stored is said, with the file and why, and never taken for stored; a
// settings file that is no plain file (a FIFO would hold every start), or that cannot be read,
// reads as no settings, says why, and is left as it is.
TEST(QtSettingsStore, WhatCannotBeStoredIsSaidAndNothingWaits) {
  const std::string kept = "[File]\nBaseDir=/games/\n";
  const struct {
    const char* what;
    std::function<void(const fixture::TempDir&)> damage;
    std::string why;
    bool readable;     // the settings read, as none, without a word
    bool unprivileged;  // a user who cannot read what root can
  } rows[] = {
      {"Tovarin.conf a folder", [](const fixture::TempDir& c) { c.MakeDir("Didozuza/Tovarin.conf"); },
       "it is not a plain file", false, false},
      {"Tovarin.conf a FIFO",
       [](const fixture::TempDir& c) {
         c.MakeDir("Didozuza");
         mkfifo((c / "Didozuza/Tovarin.conf").c_str(), 0644);
       },
       "it is not a plain file", false, false},
      {"Didozuza a file",
       [](const fixture::TempDir& c) { sim::WriteBytes(c / "Didozuza", {1}); },
       "Not a directory", true, false},
      {"Tovarin.conf a link to itself",
       [](const fixture::TempDir& c) {
         c.MakeDir("Didozuza");
         symlink("Tovarin.conf", (c / "Didozuza/Tovarin.conf").c_str());
       },
       "Too many levels of symbolic links", false, false},
      {"Tovarin.conf mode 000",
       [&](const fixture::TempDir& c) {
         c.MakeDir("Didozuza");
         sim::WriteBytes(c / "Didozuza/Tovarin.conf", sim::Bytes(kept.begin(), kept.end()));
         chmod((c / "Didozuza/Tovarin.conf").c_str(), 0);
       },
       "Permission denied", false, true},
      {"Didozuza a folder that cannot be entered",
       [&](const fixture::TempDir& c) {
         c.MakeDir("Didozuza");
         sim::WriteBytes(c / "Didozuza/Tovarin.conf", sim::Bytes(kept.begin(), kept.end()));
         chmod((c / "Didozuza").c_str(), 0);
       },
       "Permission denied", false, true},
  };
  for (const auto& row : rows) {
    fixture::TempDir config;
    chmod(config.path().c_str(), 0755);
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    row.damage(config);
    struct stat before {};
    lstat((config / "Didozuza/Tovarin.conf").c_str(), &before);
    const std::string seen = InChild(
        [] {
          QtSettingsStore store;
          std::string seen = store.ReadString("File", "BaseDir").value_or("(none)") + "|" +
                             store.ReadProblem() + "|";
          fixture::FakeDialogs dialogs;
          fixture::FakeControls controls;
          CTovarinView view(store, dialogs, controls, layout::SourceTeamColumn());
          view.renamePath = "/games/renames.txt";
          std::string why;
          seen += (view.SaveSettings(&why) ? "stored" : why) + "|";
          view.OnCommand(layout::command::kSaveSetup);
          for (const std::string& message : dialogs.messages) seen += message;
          return seen;
        },
        row.unprivileged);
    const std::string location = QtSettingsStore().Location();
    const std::string notStored = "The setup could not be stored: " + location + "\n" + row.why +
                                  "\nThe setup stored before is unchanged.";
    EXPECT_EQ(seen, "(none)|" + (row.readable ? "" : location + "\n" + row.why) + "|" +
                        notStored + "|" + notStored)
        << row.what;
    chmod((config / "Didozuza").c_str(), 0755);
    struct stat after {};
    lstat((config / "Didozuza/Tovarin.conf").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << row.what << ": left as it is";
    EXPECT_EQ(after.st_mode, before.st_mode) << row.what << ": left as it is";
    if (row.unprivileged) {
      EXPECT_EQ(fixture::ReadFileText(config / "Didozuza/Tovarin.conf"), kept) << row.what;
    }
  }
}

// Whether a setup was stored is told by its own write alone: not by a stray line in the file
// (which the write leaves out), nor by an earlier write that failed. A write that fails changes
// nothing, neither the file nor what the store reads.
TEST(QtSettingsStore, EachStoreIsJudgedByItsOwnWrite) {
  const char* const files[] = {"oops\n[File]\nBaseDir=/old/\n",
                               "\xEF\xBB\xBF[File]\nBaseDir=/old/\n",
                               "[File]\nBaseDir=/old/\n[section\n", "[File]\nBaseDir=/old/\n"};
  for (const std::string file : files) {
    fixture::TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    config.MakeDir("Didozuza");
    sim::WriteBytes(config / "Didozuza/Tovarin.conf", sim::Bytes(file.begin(), file.end()));
    const std::string seen = InChild([] {
      platform::IgnoreFileSizeLimitSignal();
      QtSettingsStore store;
      std::string seen = store.ReadString("File", "TgtOrg").value_or("(none)") + "|";
      store.WriteString("File", "TgtOrg", "ORG00001");
      seen += store.Commit(nullptr) ? "stored|" : "not stored|";
      // Too little room for the file: this write fails.
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      const rlim_t room = limit.rlim_cur;
      limit.rlim_cur = 8;
      setrlimit(RLIMIT_FSIZE, &limit);
      store.WriteString("File", "BaseDir", "/new/");
      store.WriteString("File", "TgtOrg", "ORG00002");
      std::string what;
      seen += store.Commit(&what) ? "stored|" : what.substr(what.rfind('\n') + 1) + "|";
      seen += store.ReadString("File", "BaseDir").value_or("(none)") + "|";
      limit.rlim_cur = room;
      setrlimit(RLIMIT_FSIZE, &limit);
      store.WriteString("File", "SrcOrg", "ORG00003");
      seen += store.Commit(nullptr) ? "stored|" : "not stored|";
      QtSettingsStore again;
      for (const char* name : {"BaseDir", "TgtOrg", "SrcOrg"}) {
        seen += again.ReadString("File", name).value_or("(none)") + ",";
      }
      return seen;
    });
    EXPECT_EQ(seen, "(none)|stored|The setup stored before is unchanged.|/old/|stored|"
                    "/old/,ORG00001,ORG00003,")
        << file;
  }
}

}  // namespace
}  // namespace tovarin
