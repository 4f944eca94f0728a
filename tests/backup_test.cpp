#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

#include "shell/form_layout.h"
#include "memory_settings/memory_settings_store.h"
#include "support/build_tree.h"
#include "platform/native_path.h"
#include "platform/file_lock.h"
#include "platform/format.h"
#include "platform/safe_file.h"
#include "simdata/roster_file.h"
#include "transfer/backup.h"

namespace tovarin {
namespace {

using fixture::BuildTree;
using fixture::FileExists;
using fixture::ReadFileBytes;

// A BuildTree whose first two target teams have rosters before the Build.
struct BackupTree : BuildTree {
  BackupTree() {
    for (int team = 1; team <= 2; ++team) Roster(targetOrg, team, {team + 10}, "OLD");
  }
  std::vector<sim::Bytes> Rosters() {
    std::vector<sim::Bytes> all;
    for (int team = 1; team <= 3; ++team) all.push_back(ReadFileBytes(RosterName(targetOrg, team)));
    return all;
  }
  std::vector<BackupInfo> List() { return BackupStore(backups).List(); }
};

TEST(Backup, ABuildCanBeUndoneByteForByte) {
  BackupTree t;
  t.Start();
  const auto before = t.Rosters();  // team 3 has no roster yet
  t.view.OnBuild();
  ASSERT_EQ(t.dialogs.messages.back(), t.Completed());
  const auto built = t.Rosters();
  ASSERT_NE(built, before);

  const auto backups = t.List();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].organization, t.targetOrg);
  EXPECT_EQ(backups[0].files, 3u);
  EXPECT_NE(backups[0].name.find("_LEAGUE.WDD_ORG00001"), std::string::npos) << backups[0].name;

  t.dialogs.backupChoice = 0;
  t.view.OnRestoreBuild();
  const std::string time = LocalTimeText(backups[0].time, SystemCalendar);
  ASSERT_EQ(t.dialogs.backupLists, (std::vector<std::vector<std::string>>{{time}}));
  ASSERT_EQ(t.dialogs.questions.size(), 1u);
  EXPECT_EQ(t.dialogs.questions[0], "Put back the 3 rosters of " + t.targetOrg +
                                        " as they were before the Build of " + time + "?");
  EXPECT_EQ(t.dialogs.messages.back(), "Put back the 3 rosters of " + t.targetOrg +
                                           " as they were before the Build of " + time +
                                           ".\nThe rosters it replaced are kept: Restore Build "
                                           "undoes it.");
  EXPECT_EQ(t.dialogs.kinds.back(), MessageKind::kInformation) << "our own, not the Build's";
  EXPECT_EQ(t.Rosters(), before);
  EXPECT_FALSE(FileExists(BuildTree::RosterName(t.targetOrg, 3)));  // the Build had created it

  // The restore is undone as a Build is: its own backup, the newest, puts back what it replaced;
  // the backup it put back is marked.
  const auto after = t.List();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[1].restoring, backups[0].name);
  EXPECT_NE(after[0].putBack, "");
  std::string why;
  ASSERT_TRUE(BackupStore(t.backups).Restore("", &why)) << why;
  EXPECT_EQ(t.Rosters(), built);
}

TEST(Backup, RestoreAfterTwoBuildsAndByName) {
  BackupTree t;
  t.Start(/*useFarm=*/false);
  const auto original = t.Rosters();
  t.view.OnBuild();
  const auto first = t.Rosters();
  t.view.useFarm = 1;
  t.view.OnBuild();
  ASSERT_NE(t.Rosters(), first);
  const auto backups = t.List();
  ASSERT_EQ(backups.size(), 2u);

  BackupStore store(t.backups);
  std::string why;
  ASSERT_TRUE(store.Restore("", &why)) << why;  // the newest: back to the first Build's rosters
  EXPECT_EQ(t.Rosters(), first);
  ASSERT_TRUE(store.Restore(backups[0].name, &why)) << why;
  EXPECT_EQ(t.Rosters(), original);
  EXPECT_FALSE(store.Restore("no-such-backup", &why));
  EXPECT_EQ(why, "There is no backup named no-such-backup.");
}

// The window's Restore Build lists the backups newest first and puts back the one chosen.
TEST(Backup, RestoreBuildPutsBackTheChosenOne) {
  BackupTree t;
  t.Start(/*useFarm=*/false);
  const auto original = t.Rosters();
  t.view.OnBuild();
  t.view.useFarm = 1;
  t.view.OnBuild();
  const auto second = t.Rosters();
  const auto backups = t.List();
  ASSERT_EQ(backups.size(), 2u);

  t.view.OnRestoreBuild();  // Cancel
  EXPECT_EQ(t.dialogs.backupLists.back(),
            (std::vector<std::string>{LocalTimeText(backups[1].time, SystemCalendar),
                                      LocalTimeText(backups[0].time, SystemCalendar)}));
  EXPECT_EQ(t.Rosters(), second);

  t.dialogs.backupChoice = 1;  // the older: as before the first Build
  t.view.OnRestoreBuild();
  EXPECT_EQ(t.Rosters(), original);
}

// A Build is whole or nothing: one that fails at any roster puts back those it had replaced,
// and keeps no backup of its own.
TEST(Backup, ABuildThatFailsAtAnyRosterChangesNone) {
  auto readOnly = [](int team) {
    return [team](BackupTree& t) {
      const std::string path = BuildTree::RosterName(t.targetOrg, team);
      if (!FileExists(path)) sim::WriteBytes(path, {});
      std::filesystem::permissions(platform::NativePath(path), std::filesystem::perms::owner_read |
                                   std::filesystem::perms::group_read |
                                   std::filesystem::perms::others_read);
    };
  };
  struct Row {
    const char* what;
    std::function<void(BackupTree&)> setUp;
    bool replacedAny;
  } rows[] = {
      {"team 1's roster read-only", readOnly(1), false},
      {"team 2's roster read-only", readOnly(2), true},
      {"team 3's roster read-only", readOnly(3), true},
      {"team 2's source roster missing",
       [](BackupTree& t) {
         std::filesystem::remove(platform::NativePath(BuildTree::RosterName(t.sourceOrg, 2)));
       },
       true},
  };
  for (const Row& row : rows) {
    BackupTree t;
    t.Start();
    t.view.OnBuild();  // a backup of an earlier Build, which must stay the newest
    const auto backups = t.List();
    row.setUp(t);
    const auto before = t.Rosters();
    t.dialogs.messages.clear();
    t.view.OnBuild();
    EXPECT_EQ(t.Rosters(), before) << row.what;
    EXPECT_EQ(t.List().size(), backups.size()) << row.what;
    EXPECT_EQ(t.List().back().name, backups.back().name) << row.what;
    const std::string undone = "\nThe Build stopped there, and the rosters it had replaced were "
                               "put back as they were, so no roster was changed.";
    const std::string& message = t.dialogs.messages.back();
    EXPECT_EQ(message.size() > undone.size() &&
                  message.compare(message.size() - undone.size(), undone.size(), undone) == 0,
              row.replacedAny)
        << row.what << ": " << message;
  }
}

// When the rosters cannot be put back either, the message names those that are new, and the
// backup it keeps puts them back.
TEST(Backup, AFailedBuildThatCannotBePutBackSaysWhatIsNew) {
  BackupTree t;
  t.Start();
  const auto before = t.Rosters();
  struct FillAfterFirst : BuildObserver {
    fixture::FillingDisk& disk;
    explicit FillAfterFirst(fixture::FillingDisk& d) : disk(d) {}
    void OnRoster(const TeamEntry&, const std::string&, const std::vector<RosterPlayer>&) override {
      disk.FillAfter(0);
    }
  } fill(t.disk);
  ASSERT_FALSE(t.view.Build(false, &fill)->ok);
  ASSERT_EQ(t.List().size(), 1u);
  const std::string& message = t.dialogs.messages.back();
  EXPECT_NE(message.find("\nThe Build stopped after replacing these rosters, which could not be "
                         "put back as they were:\n" +
                         BuildTree::RosterName(t.targetOrg, 1) +
                         "\nRestore Build can put them back from the backup " +
                         t.List()[0].name + ".\n"),
            std::string::npos)
      << message;
  t.disk.FillAfter(-1);
  std::string why;
  ASSERT_TRUE(BackupStore(t.backups).Restore("", &why)) << why;
  EXPECT_EQ(t.Rosters(), before);
}

TEST(Backup, NoneForADryRunOrADeclinedBuild) {
  BackupTree t;
  t.Start();
  ASSERT_TRUE(t.view.Build(/*dryRun=*/true, nullptr).has_value());
  EXPECT_TRUE(t.List().empty());
  t.view.OnRestoreBuild();
  EXPECT_EQ(t.dialogs.messages.back(), "There is no Build to restore.");
  EXPECT_TRUE(t.dialogs.questions.empty());
  EXPECT_TRUE(t.dialogs.backupLists.empty());
}

TEST(Backup, RestoreAnsweredNoChangesNothing) {
  BackupTree t;
  t.Start();
  t.view.OnBuild();
  const auto after = t.Rosters();
  t.dialogs.answers.push_back(false);
  t.dialogs.backupChoice = 0;
  t.view.OnRestoreBuild();
  EXPECT_EQ(t.Rosters(), after);
}

TEST(Backup, RestoreBuildSaysTheChosenIsDamagedAndAsksNothing) {
  BackupTree t;
  t.Start();
  t.view.OnBuild();
  const auto after = t.Rosters();
  const std::string name = t.List().back().name;
  std::filesystem::remove(platform::NativePath(t.backups + name + "/001_T00001RS.ORG"));
  std::filesystem::remove(platform::NativePath(t.backups + name + "/manifest.txt"));
  std::filesystem::create_directory(platform::NativePath(t.backups + name + "/manifest.txt"));
  t.dialogs.backupChoice = 0;
  t.view.OnRestoreBuild();
  EXPECT_TRUE(t.dialogs.questions.empty());
  EXPECT_EQ(t.dialogs.messages.back(), "The backup " + name +
                                           " is damaged: its manifest cannot be read.\n"
                                           "Nothing was put back.");
  EXPECT_EQ(t.Rosters(), after);
}

TEST(Backup, ABackupThatCannotBeMadeStopsTheBuildBeforeAnyRoster) {
  BackupTree t;
  sim::WriteBytes(t.dir / "not-a-folder", {1});
  t.view.backupDirectory = t.dir / "not-a-folder/backups/";
  t.Start();
  const auto before = t.Rosters();
  t.view.OnBuild();
  ASSERT_EQ(t.dialogs.messages.size(), 1u);
  EXPECT_EQ(t.dialogs.messages[0].rfind(
                "The target rosters could not be backed up, so none was replaced.\n", 0),
            0u)
      << t.dialogs.messages[0];
  EXPECT_EQ(t.Rosters(), before);
  EXPECT_TRUE(t.store.writes().empty());
}

// An organization folder with the rosters of teams 1 and 2 and none for team 3, and a store
// whose clock and disk the test sets.
struct Store {
  fixture::TempDir dir;
  std::string org = dir.MakeDir("LEAGUE.WDD/ORG00001");
  std::string root = dir.MakeDir("backups");
  std::chrono::system_clock::time_point now;
  // A disk that refuses the writes for which `writeFails` says so, counted from 1; each file of
  // these tests is written in one.
  struct CountingDisk : platform::FileWriter {
    mutable int writes = 0;
    std::function<bool(int)> writeFails = [](int) { return false; };
    long long Write(int fd, const char* data, std::size_t size) const override {
      if (writeFails(++writes)) {
        errno = ENOSPC;
        return -1;
      }
      return FileWriter::Write(fd, data, size);
    }
  } disk;
  BackupStore store{root, disk, [this] { return now; }};

  std::string Roster(int team) const { return RosterPath(org, team); }
  // Sets the rosters, then backs them up at `seconds` after the epoch.
  std::string Backup(std::time_t seconds, sim::Bytes one, sim::Bytes two) {
    sim::WriteBytes(Roster(1), one);
    sim::WriteBytes(Roster(2), two);
    now = std::chrono::system_clock::from_time_t(seconds);
    std::string why, made;
    EXPECT_TRUE(store.Create(org, "LEAGUE.WDD_ORG00001", {Roster(1), Roster(2), Roster(3)}, &why,
                             &made))
        << why;
    store.PruneOld(made);  // as after a Build that replaced them
    return made;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const BackupInfo& b : BackupStore(root).List()) names.push_back(b.name);
    return names;
  }
};

// The C runtime of Windows knows no POSIX time-zone rules, so this runs where TZ has them.
#ifndef _WIN32
void SetTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

// Backups are named by UTC and ordered by a sequence number, so a clock set back, the end of
// daylight-saving time or another time zone never puts an older Build after a newer one.
TEST(Backup, OrderIsTheOrderOfTheBuilds) {
  const char* const label = "Z_LEAGUE.WDD_ORG00001";
  struct Row {
    const char* what;
    std::vector<std::pair<std::time_t, const char*>> builds;  // clock and time zone of each
    std::vector<std::string> names;                            // oldest first
  } rows[] = {
      {"clock set back an hour",
       {{1792890600, "UTC0"}, {1792887000, "UTC0"}},
       {std::string("000001-20261025T011000") + label, std::string("000002-20261025T001000") + label}},
      {"daylight-saving time ends between the Builds (02:30 CEST, then 02:10 CET)",
       {{1792888200, "CET-1CEST,M3.5.0,M10.5.0/3"}, {1792890600, "CET-1CEST,M3.5.0,M10.5.0/3"}},
       {std::string("000001-20261025T003000") + label, std::string("000002-20261025T011000") + label}},
      {"time zone changed from New York to Tokyo",
       {{1796781600, "EST5"}, {1796781660, "JST-9"}},
       {std::string("000001-20261209T020000") + label, std::string("000002-20261209T020100") + label}},
  };
  for (const Row& row : rows) {
    Store s;
    int build = 0;
    for (const auto& [seconds, zone] : row.builds) {
      SetTimeZone(zone);
      s.Backup(seconds, {static_cast<unsigned char>(++build)}, {});
    }
    SetTimeZone("UTC0");
    EXPECT_EQ(s.Names(), row.names) << row.what;
    EXPECT_EQ(BackupStore(s.root).List().back().time.substr(19), " UTC") << row.what;
    // Restore undoes the last Build, not the one the clock calls newest.
    sim::WriteBytes(s.Roster(1), {99});
    std::string why;
    ASSERT_TRUE(BackupStore(s.root).Restore("", &why)) << row.what << why;
    EXPECT_EQ(ReadFileBytes(s.Roster(1)), sim::Bytes{static_cast<unsigned char>(build)}) << row.what;
  }
  unsetenv("TZ");
  tzset();
}
#endif

TEST(Backup, PruningKeepsTheNewestTwentyAndAlwaysTheOneJustMade) {
  Store s;
  // An older backup, named by local time before sequence numbers, lists and restores too, and
  // is the first to go.
  const std::string old = "20991231-235959-999_LEAGUE.WDD_ORG00001";
  s.dir.MakeDir("backups/" + old);
  sim::WriteBytes(s.root + old + "/001_T00001RS.ORG", {42});
  sim::WriteBytes(s.root + old + "/manifest.txt",
                  BuildTree::Text("Tovarin backup\norganization\t" + s.org +
                                  "\ntime\t2099-12-31 23:59:59\nfile\t001_T00001RS.ORG\t" +
                                  s.Roster(1) + "\n"));
  s.Backup(1796781600, {1}, {});
  EXPECT_EQ(s.Names().front(), old);
  std::string why;
  ASSERT_TRUE(s.store.Restore(old, &why)) << why;
  EXPECT_EQ(ReadFileBytes(s.Roster(1)), sim::Bytes{42});

  std::string last;
  for (int i = 2; i <= 22; ++i) last = s.Backup(1796781600 - i * 3600, {1}, {});  // clock runs back
  const auto names = s.Names();
  ASSERT_EQ(names.size(), BackupStore::kKept);
  EXPECT_EQ(names.front().substr(0, 7), "000004-");  // after the restore's own
  EXPECT_EQ(names.back(), last);
  EXPECT_EQ(last.substr(0, 7), "000023-");
  // An unfinished backup (no manifest) is never listed or put back.
  s.dir.MakeDir("backups/999999-99991231T235959Z_unfinished");
  EXPECT_EQ(s.Names(), names);
}

#ifdef _WIN32
// A backup made by 1.0.4 holds its paths in the ANSI code page (here the Western one); it still
// lists and restores. Its folder is spelled in letters that code page has.
TEST(Backup, AManifestInTheAnsiCodePageStillRestores) {
  const std::string base = platform::PathText(std::filesystem::temp_directory_path()) +
                           "tovarin-ansi-Qu\xC3\xA9" "bec-" + std::to_string(std::rand()) + "\\";
  const std::string org = base + "LEAGUE.WDD\\ORG00001\\", root = base + "backups\\";
  const std::string old = "20991231-235959-999_LEAGUE.WDD_ORG00001";
  std::filesystem::create_directories(platform::NativePath(org));
  std::filesystem::create_directories(platform::NativePath(root + old));
  sim::WriteBytes(RosterPath(org, 1), {7});
  sim::WriteBytes(root + old + "\\001_T00001RS.ORG", {42});
  std::string manifest = "Tovarin backup\norganization\t" + org +
                         "\ntime\t2099-12-31 23:59:59\nfile\t001_T00001RS.ORG\t" +
                         RosterPath(org, 1) + "\n";
  for (std::size_t at; (at = manifest.find("\xC3\xA9")) != std::string::npos;) {
    manifest.replace(at, 2, "\xE9");
  }
  sim::WriteBytes(root + old + "\\manifest.txt", BuildTree::Text(manifest));

  BackupStore store(root);
  const std::vector<BackupInfo> backups = store.List();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].damage, "");
  EXPECT_EQ(backups[0].organization, org);
  std::string why;
  EXPECT_TRUE(store.Restore(old, &why)) << why;
  EXPECT_EQ(ReadFileBytes(RosterPath(org, 1)), sim::Bytes{42});
  std::error_code ignored;
  std::filesystem::remove_all(platform::NativePath(base), ignored);
}
#endif

TEST(Backup, NoneKeptForABuildThatReplacedNothing) {
  struct Row {
    const char* what;
    std::function<void(BackupTree&)> setUp;
  } rows[] = {
      {"the first team's source roster is missing",
       [](BackupTree& t) { std::filesystem::remove(platform::NativePath(BuildTree::RosterName(t.sourceOrg, 1))); }},
      {"the first target roster cannot be written",
       [](BackupTree& t) {
         std::filesystem::remove(platform::NativePath(BuildTree::RosterName(t.targetOrg, 1)));
         std::filesystem::create_directory(platform::NativePath(BuildTree::RosterName(t.targetOrg, 1)));
       }},
      {"the target organization has no teams",
       [](BackupTree& t) { fixture::StandardOrg(0).Write(t.targetOrg); }},
  };
  for (const Row& row : rows) {
    BackupTree t;
    t.Start();
    t.view.OnBuild();  // a Build that replaced rosters
    const auto first = t.List();
    ASSERT_EQ(first.size(), 1u) << row.what;
    // As many older backups as are kept, so that any pruning would show, and a folder of the
    // user's that only looks like a backup, which is never listed or pruned.
    for (int i = 0; i < static_cast<int>(BackupStore::kKept); ++i) {
      std::filesystem::copy(platform::NativePath(t.backups + first[0].name),
                            platform::NativePath(t.backups + platform::Format(
                                "20200101-000000-%03d_LEAGUE.WDD_ORG00001", i)));
    }
    std::filesystem::copy(platform::NativePath(t.backups + first[0].name),
                          platform::NativePath(t.backups + "my-notes"));
    row.setUp(t);
    t.view.targetOrgPath.clear();  // so that the target teams are read again
    t.view.ReloadTeamLists();
    t.Start();
    t.view.OnBuild();
    const auto now = t.List();
    ASSERT_EQ(now.size(), BackupStore::kKept + 1) << row.what << ": " << t.dialogs.messages.back();
    EXPECT_EQ(now.back().name, first[0].name) << row.what;  // Restore still undoes the first Build
    EXPECT_TRUE(FileExists(t.backups + "my-notes/manifest.txt")) << row.what;
  }
  std::string why, made = "x";
  Store s;
  EXPECT_TRUE(s.store.Create(s.org, "L_O", {}, &why, &made));
  EXPECT_EQ(made, "");
  EXPECT_TRUE(s.Names().empty());
}

// A restore checks the whole backup against its manifest, and everything it replaces, before it
// replaces anything; a manifest is trusted only within its own backup and organization.
TEST(Backup, RestoreIntegrity) {
  struct Row {
    const char* what;
    std::function<void(Store&, const std::string& folder)> damage;  // done to the newest backup
    std::function<std::string(Store&, const std::string& name)> message;
  };
  auto editManifest = [](const std::string& folder, const std::string& from, const std::string& to) {
    std::string text = fixture::ReadFileText(folder + "manifest.txt");
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    sim::WriteBytes(folder + "manifest.txt", BuildTree::Text(text.replace(at, from.size(), to)));
  };
  auto damaged = [](const std::string& why) {
    return [why](Store& s, const std::string& name) {
      std::string text = why;
      for (std::size_t at; (at = text.find("ORG/")) != std::string::npos;) text.replace(at, 4, s.org);
      return "The newest backup, " + name + ", is damaged: " + text + ".\nNothing was put back.";
    };
  };
  const Row rows[] = {
      {"manifest title", [&](Store&, const std::string& f) { editManifest(f, "Tovarin", "Tovar1n"); },
       damaged("its manifest is not one")},
      {"manifest unreadable line",
       [&](Store&, const std::string& f) { editManifest(f, "\nabsent\t", "\nmissing\t"); },
       damaged("line 6 of its manifest cannot be read")},
      {"a copy one byte longer",
       [](Store&, const std::string& f) { sim::WriteBytes(f + "002_T00002RS.ORG", {4, 0}); },
       damaged("the copy of ORG/T00002RS.ORG is missing or has changed")},
      {"a copy with a changed byte",
       [](Store&, const std::string& f) { sim::WriteBytes(f + "002_T00002RS.ORG", {9}); },
       damaged("the copy of ORG/T00002RS.ORG is missing or has changed")},
      {"a copy missing",
       [](Store&, const std::string& f) { std::filesystem::remove(platform::NativePath(f + "002_T00002RS.ORG")); },
       damaged("the copy of ORG/T00002RS.ORG is missing or has changed")},
      {"a copy stored outside the backup",
       [&](Store&, const std::string& f) { editManifest(f, "002_T00002RS.ORG", "../x/002_T"); },
       damaged("its manifest names the copy ../x/002_T, which is not in the backup")},
      {"an original outside the organization",
       [&](Store& s, const std::string& f) { editManifest(f, s.Roster(2), "/etc/T00002RS.ORG"); },
       damaged("its manifest names /etc/T00002RS.ORG, which is not a roster of ORG/")},
      {"an original that is no roster",
       [&](Store& s, const std::string& f) { editManifest(f, s.Roster(2), s.org + "org.dat"); },
       damaged("its manifest names ORG/org.dat, which is not a roster of ORG/")},
      {"an absent entry that would delete org.dat",
       [&](Store& s, const std::string& f) {
         sim::WriteBytes(s.org + "org.dat", {1});
         editManifest(f, "absent\t" + s.Roster(3), "absent\t" + s.org + "org.dat");
       },
       damaged("its manifest names ORG/org.dat, which is not a roster of ORG/")},
      {"an original named twice",
       [&](Store& s, const std::string& f) { editManifest(f, s.Roster(3), s.Roster(1)); },
       damaged("its manifest names ORG/T00001RS.ORG twice")},
      // Put back without regard to case, it would remove T00001RS.ORG.
      {"an original named again in other letters",
       [&](Store& s, const std::string& f) {
         editManifest(f, "absent\t" + s.Roster(3),
                      "absent\t" + s.Roster(3) + "\nabsent\t" + s.org + "t00001rs.org");
       },
       damaged("its manifest names ORG/t00001rs.org twice")},
      {"a folder where a roster goes back",
       [](Store& s, const std::string&) {
         std::filesystem::remove(platform::NativePath(s.Roster(2)));
         std::filesystem::create_directory(platform::NativePath(s.Roster(2)));
       },
       [](Store& s, const std::string&) {
         return s.Roster(2) + " cannot be put back: it is not a file that can be read.\n"
                              "Nothing was put back.";
       }},
      // Before it replaces anything, a restore keeps what it replaces (four files here).
      {"what it replaces cannot be kept",
       [](Store& s, const std::string&) { s.disk.writeFails = [](int n) { return n == 2; }; },
       [](Store& s, const std::string&) {
         return "The target rosters could not be backed up, so none was put back.\ncannot write " +
                s.root + "000003-20261209T020100Z_LEAGUE.WDD_ORG00001" + platform::kSeparator +
                "002_T00002RS.ORG: No space left on device";
       }},
      {"the second replacement fails: the first is undone",
       [](Store& s, const std::string&) { s.disk.writeFails = [](int n) { return n == 4 + 2; }; },
       [](Store& s, const std::string&) {
         return "Error writing file " + s.Roster(2) + "\nNo space left on device\n"
                "The rosters put back before it were returned to how they were, so nothing was "
                "put back.";
       }},
  };
  for (const Row& row : rows) {
    Store s;
    const std::string older = s.Backup(1796781600, {1}, {2});
    const std::string newest = s.Backup(1796781660, {3}, {4});
    sim::WriteBytes(s.Roster(1), {6});  // what the newest Build wrote
    sim::WriteBytes(s.Roster(2), {7});
    sim::WriteBytes(s.Roster(3), {5});
    const std::vector<sim::Bytes> before = {{6}, {7}, {5}};
    s.disk.writes = 0;
    row.damage(s, s.root + newest + "/");
    auto rosters = [&s] {
      std::vector<sim::Bytes> all;
      for (int team = 1; team <= 3; ++team) all.push_back(ReadFileBytes(s.Roster(team)));
      return all;
    };
    const bool folderInPlace = std::filesystem::is_directory(platform::NativePath(s.Roster(2)));
    std::string why;
    EXPECT_FALSE(s.store.Restore("", &why)) << row.what;
    EXPECT_EQ(why, row.message(s, newest)) << row.what;
    EXPECT_EQ(ReadFileBytes(s.Roster(1)), sim::Bytes{6}) << row.what;
    if (fixture::FileExists(s.org + "org.dat")) {
      EXPECT_EQ(ReadFileBytes(s.org + "org.dat"), sim::Bytes{1}) << row.what;
    }
    if (folderInPlace) continue;
    EXPECT_EQ(rosters(), before) << row.what;
    // Another backup can still be named, and is put back whole.
    s.disk.writeFails = [](int) { return false; };
    ASSERT_TRUE(s.store.Restore(older, &why)) << row.what << why;
    EXPECT_EQ(rosters(), (std::vector<sim::Bytes>{{1}, {2}, {}})) << row.what;
    EXPECT_FALSE(fixture::FileExists(s.Roster(3))) << row.what;
  }
}

TEST(Backup, ARollbackThatFailsTooNamesWhatIsLeft) {
  Store s;
  s.Backup(1796781600, {1}, {2});
  sim::WriteBytes(s.Roster(1), {6});
  sim::WriteBytes(s.Roster(2), {7});
  s.disk.writes = 0;
  s.disk.writeFails = [](int n) { return n >= 3 + 2; };  // after the three files kept first
  std::string why;
  EXPECT_FALSE(s.store.Restore("", &why));
  EXPECT_EQ(why, "Error writing file " + s.Roster(2) + "\nNo space left on device\n"
                 "These rosters could not be returned to how they were before the restore:\n" +
                     s.Roster(1));
}

// The sequence reads back every number it gives: a backup after one numbered with 18 digits
// (copied by hand) is the newest, the one restore puts back and the last pruned.
TEST(Backup, SequenceNumbersNeverOverflowIntoThePast) {
  Store s;
  const std::string made = s.Backup(1796781600, {1}, {2});
  const std::string crafted = "999999999999999999-20200101T000000Z_LEAGUE.WDD_ORG00001";
  std::filesystem::rename(platform::NativePath(s.root + made),
                          platform::NativePath(s.root + crafted));
  const std::string next = s.Backup(1796781660, {3}, {4});
  EXPECT_EQ(next.substr(0, 20), "1000000000000000000-");
  EXPECT_EQ(s.Names(), (std::vector<std::string>{crafted, next}));
  sim::WriteBytes(s.Roster(1), {9});
  std::string why;
  ASSERT_TRUE(s.store.Restore("", &why)) << why;
  EXPECT_EQ(ReadFileBytes(s.Roster(1)), sim::Bytes{3});
  for (int i = 0; i < 20; ++i) s.Backup(1796781700 + i, {5}, {6});
  EXPECT_EQ(s.Names().size(), BackupStore::kKept);
  EXPECT_EQ(s.Names().back().substr(0, 20), "1000000000000000021-");  // one the restore's
}

// A backup is pruned whole or not at all: one that cannot be removed is no longer listed as a
// backup with rosters missing from it, and is named.
TEST(Backup, PruningTakesABackupWholeOrNotAtAll) {
  struct Row {
    const char* what;
    // Makes a copy of the oldest backup hard to remove; false when this system cannot.
    std::function<bool(const std::string& folder)> guard;
    bool removed;  // the backup goes whole
  };
  std::vector<Row> rows = {
      // Windows will not delete a read-only file, which a user may have made of a copy.
      {"a read-only copy",
       [](const std::string& folder) {
         std::filesystem::permissions(platform::NativePath(folder + "001_T00001RS.ORG"),
                                      std::filesystem::perms::owner_write,
                                      std::filesystem::perm_options::remove);
         return true;
       },
       true},
#ifndef _WIN32
      {"a copy that cannot be removed",
       [](const std::string& folder) { return fixture::MakeUndeletable(folder + "001_T00001RS.ORG"); },
       false},
#endif
  };
  for (const Row& row : rows) {
    Store s;
    const std::string oldest = s.Backup(1796781600, {1}, {2});
    for (int i = 1; i < static_cast<int>(BackupStore::kKept); ++i) s.Backup(1796781600 + i, {3}, {4});
    if (!row.guard(s.root + oldest + "/")) continue;
    sim::WriteBytes(s.Roster(1), {5});
    std::string why, made;
    std::vector<std::string> notes;
    ASSERT_TRUE(s.store.Create(s.org, "L_O", {s.Roster(1)}, &why, &made)) << why;
    s.store.PruneOld(made, &notes);
    const std::vector<BackupInfo> listed = BackupStore(s.root).List();
    // Whatever is listed is whole; the oldest went, or stayed whole when it could not be set aside.
    const bool kept = listed.front().name == oldest;
    EXPECT_EQ(listed.size(), BackupStore::kKept + (kept ? 1 : 0)) << row.what;
    for (const BackupInfo& backup : listed) {
      EXPECT_EQ(backup.damage, "") << row.what << " " << backup.name;
    }
    if (row.removed) {
      EXPECT_FALSE(kept) << row.what;
      EXPECT_TRUE(notes.empty()) << row.what << notes.front();
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(s.root)),
                              std::filesystem::directory_iterator()),
                static_cast<long>(BackupStore::kKept)) << row.what;
      continue;
    }
    ASSERT_EQ(notes.size(), 1u) << row.what;
    EXPECT_EQ(notes[0].rfind("The old backup " + s.root + oldest + " could not be removed: ", 0),
              0u) << notes[0];
#ifndef _WIN32
    const std::string aside = s.root + (kept ? "" : "pruned-") + oldest;
    fixture::MakeDeletable(aside + "/001_T00001RS.ORG");
    // What is left of it goes at the next chance.
    BackupStore(s.root).RemoveUnfinished();
    EXPECT_EQ(std::filesystem::exists(platform::NativePath(aside)), kept) << row.what;
#endif
  }
}

// The manifest of a Build always reads back, whatever its size: here more than a mebibyte, from
// 300 teams under a path of some 3,700 characters (as 2,200 teams give under 420).
#ifndef _WIN32  // Windows takes such paths only in its long forms, which the path layer gives
TEST(Backup, TheManifestOfALargeBuildUnderALongPathReadsBack) {
  constexpr int kTeams = 300;
  fixture::TempDir dir;
  std::string deep;
  for (char c = 'a'; c < 'a' + 18; ++c) deep += std::string(200, c) + "/";
  const std::string base = dir.MakeDir(deep);
  const std::string source = dir.MakeDir(deep + "SRC.WDD/ORG00001");
  const std::string target = dir.MakeDir(deep + "LEAGUE.WDD/ORG00001");
  sim::WritePlayersFile(base + "SRC.WDD/Players.dat", {{"Smith", "John"}});
  sim::WritePlayersFile(base + "LEAGUE.WDD/Players.dat", {{"Smith", "John"}});
  fixture::StandardOrg(kTeams).Write(source);
  fixture::StandardOrg(kTeams).Write(target);
  for (int team = 1; team <= kTeams; ++team) {
    BuildTree::Roster(source, team, {1});
    BuildTree::Roster(target, team, {1, 1}, "OLD");
  }
  MemorySettingsStore store;
  fixture::FakeDialogs dialogs;
  fixture::FakeControls controls;
  CTovarinView view(store, dialogs, controls, layout::SourceTeamColumn());
  view.backupDirectory = dir.MakeDir("backups");
  using namespace settings;
  store.WriteString(kFile, kBaseDir, base);
  store.WriteString(kFile, kTgtDataDisk, "LEAGUE.WDD");
  store.WriteString(kFile, kTgtOrg, "ORG00001");
  store.WriteString(kFile, kSrcDataDisk, "SRC.WDD");
  store.WriteString(kFile, kSrcOrg, "ORG00001");
  view.OnInitialUpdate();
  view.OnBuild();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  ASSERT_EQ(dialogs.messages[0].find("300 target rosters written."), 30u) << dialogs.messages[0];

  const std::vector<BackupInfo> backups = BackupStore(view.backupDirectory).List();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_GT(std::filesystem::file_size(
                platform::NativePath(view.backupDirectory + backups[0].name + "/manifest.txt")),
            1u << 20);
  EXPECT_EQ(backups[0].damage, "");
  EXPECT_EQ(backups[0].files, static_cast<std::size_t>(kTeams));
  std::string why;
  ASSERT_TRUE(BackupStore(view.backupDirectory).Restore("", &why)) << why;
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(target, kTeams)), BuildTree::Expected({1, 1}, "OLD"));
}
#endif

#ifndef _WIN32  // links are POSIX's own here
// A link in place of an organization's lock that leads to a file blocks the Build with a word on
// what to do; one that leads nowhere is no lock, and the Build goes on.
TEST(Locking, ALinkInPlaceOfTheOrganizationsLock) {
  for (const bool dangling : {false, true}) {
    BackupTree t;
    t.Start();
    sim::WriteBytes(t.dir / "shared.txt", {7});
    std::filesystem::create_symlink(platform::NativePath(t.dir / (dangling ? "gone" : "shared.txt")),
                                    t.targetOrg + "Tovarin.lock");
    const auto rosters = t.Rosters();
    t.view.OnBuild();
    if (dangling) {
      EXPECT_EQ(t.dialogs.messages.back(), t.Completed());
      continue;
    }
    EXPECT_EQ(t.dialogs.messages.back(),
              "Tovarin cannot lock " + t.targetOrg + ", so nothing was written.\n" + t.targetOrg +
                  "Tovarin.lock: it is a symbolic link, not a lock file; remove the link and try "
                  "again");
    EXPECT_EQ(t.Rosters(), rosters);
    EXPECT_EQ(ReadFileBytes(t.dir / "shared.txt"), sim::Bytes{7});
  }
}
#endif

// A Build or a restore holds its target organization and the backup folder: while another holds
// either, it writes nothing at all; once it holds them, it clears what a killed Build left.
TEST(Locking, OneBuildAtATime) {
  const std::string temporaries[] = {".T00001RS.ORG.tovarin-Ab12Cd", ".T00002RS.ORG.tovarin-0f9e8d"};
  // The user's own files, named like temporaries of files a Build never writes there, or with
  // another suffix than a writer makes.
  const std::string lookalikes[] = {".notes.txt.tovarin-backup", ".org.dat.tovarin-v1.bak",
                                    ".x.tovarin-abcdef", ".T00010RS.ORG.tovarin-my cpy",
                                    ".T00010RS.ORG.tovarin-abc"};
  const std::string unfinished[] = {"000007-20261209T000000Z_LEAGUE.WDD_ORG00001",
                                    "20261208-101010-123_LEAGUE.WDD_ORG00001"};
  struct Row {
    const char* what;
    const char* lockedFolder;  // "org", "backups" or "" for none
    bool restore;              // a restore instead of a Build
    bool done;
    // Whatever it did lock first, it cleared: the organization comes before the backups in a
    // Build, after them in a restore (whose organization its backup names).
    bool temporariesCleared;
    bool unfinishedCleared;
  } rows[] = {
      {"a Build while another Build writes the organization", "org", false, false, false, false},
      {"a Build while another Build uses the backups", "backups", false, false, true, false},
      {"a restore while a Build writes the organization", "org", true, false, false, true},
      {"a Build after a killed one", "", false, true, true, true},
      {"a restore after a killed Build", "", true, true, true, true},
  };
  for (const Row& row : rows) {
    BackupTree t;
    t.Start();
    if (row.restore) t.view.OnBuild();
    const auto rosters = t.Rosters();
    const auto backups = t.List();
    sim::WriteBytes(t.targetOrg + "Tovarin.lock", {});  // left by a killed Build: locks nothing
    for (const std::string& name : temporaries) sim::WriteBytes(t.targetOrg + name, {1});
    sim::WriteBytes(t.targetOrg + "notes.txt", {1});  // not Tovarin's
    for (const std::string& name : lookalikes) sim::WriteBytes(t.targetOrg + name, {1});
    for (const std::string& name : unfinished) t.dir.MakeDir("backups/" + name + "/sub");
    const std::string lockedFolder = row.lockedFolder == std::string("org")       ? t.targetOrg
                                     : row.lockedFolder == std::string("backups") ? t.backups
                                                                                   : "";
    platform::FileLock other;
    if (!lockedFolder.empty()) {
      ASSERT_EQ(other.Lock(lockedFolder + "Tovarin.lock"), platform::FileLock::Result::kLocked);
    }
    std::filesystem::remove(platform::NativePath(t.targetDisk + "Tovarin.txt"));
    t.dialogs.messages.clear();
    t.store.ClearWrites();

    std::string why;
    if (row.restore) {
      EXPECT_EQ(BackupStore(t.backups).Restore("", &why), row.done) << row.what;
    } else {
      t.view.OnBuild();
      why = t.dialogs.messages.back();
    }
    if (!row.done) {
      const std::string message =
          row.lockedFolder == std::string("org")
              ? "Another Build or restore is writing " + t.targetOrg
              : "Another Build or restore is using the backups in " + t.backups;
      EXPECT_EQ(why, message + ", so nothing was written. Try again when it has finished.")
          << row.what;
      EXPECT_EQ(t.Rosters(), rosters) << row.what;
      EXPECT_EQ(t.List().size(), backups.size()) << row.what;
      EXPECT_FALSE(fixture::FileExists(t.targetDisk + "Tovarin.txt")) << row.what;
      EXPECT_TRUE(t.store.writes().empty()) << row.what;
    } else {
      EXPECT_TRUE(row.restore || why == t.Completed()) << row.what << why;
      EXPECT_NE(t.Rosters(), rosters) << row.what;
      EXPECT_FALSE(fixture::FileExists(t.targetOrg + "Tovarin.lock")) << row.what;  // released
    }
    for (const std::string& name : temporaries) {
      EXPECT_EQ(fixture::FileExists(t.targetOrg + name), !row.temporariesCleared) << row.what << name;
    }
    for (const std::string& name : unfinished) {
      EXPECT_EQ(std::filesystem::exists(platform::NativePath(t.backups + name)), !row.unfinishedCleared)
          << row.what << name;
    }
    EXPECT_TRUE(fixture::FileExists(t.targetOrg + "notes.txt")) << row.what;
    for (const std::string& name : lookalikes) {
      EXPECT_TRUE(fixture::FileExists(t.targetOrg + name)) << row.what << " " << name;
    }
  }
}

}  // namespace
}  // namespace tovarin
