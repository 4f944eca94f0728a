// One case per row of the README's table "What Tovarin does with damaged files": what the user
// is told, and what is and is not written.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "platform/native_path.h"
#include "platform/safe_file.h"
#include "support/build_tree.h"
#include "transfer/backup.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using fixture::BuildTree;
using fixture::FileExists;
using fixture::ReadFileBytes;

struct Damaged : BuildTree {
  Damaged() {
    for (int team = 1; team <= 3; ++team) Roster(targetOrg, team, {99}, "OLD");
  }
  // 'W' for a rewritten target roster, '-' for one left as it was.
  std::string Written() {
    std::string state;
    for (int team = 1; team <= 3; ++team) {
      const std::string path = RosterName(targetOrg, team);
      state += (fs::is_regular_file(platform::NativePath(path)) && TargetRoster(team) != std::vector<int>{99}) ? 'W' : '-';
    }
    return state;
  }
};

TEST(DamagedFiles, EveryRowOfTheTable) {
  const std::string kUndone =
      "\nThe Build stopped there, and the rosters it had replaced were put back as they were, so "
      "no roster was changed.";
  struct Row {
    std::string input;
    std::function<std::string(Damaged&)> damage;  // returns the message the user must see
    // Which target rosters are rewritten: W, or U when the Build failed after it and put it back.
    std::string rosters;
    bool report;                                 // a report with its player section
    bool saved;                                  // the setup is saved
  } rows[] = {
      {"target org.dat missing",
       [](Damaged& t) {
         fs::remove(platform::NativePath(t.targetOrg + "org.dat"));
         return "CANNOT OPEN FILE :" + t.targetOrg + "org.dat\n";
       },
       "---", false, false},
      {"org.dat cut inside a record",
       [](Damaged& t) {
         sim::Bytes bytes = ReadFileBytes(t.targetOrg + "org.dat");
         bytes.resize(bytes.size() - 100);  // team 3's farm link and the rest are gone
         sim::WriteBytes(t.targetOrg + "org.dat", bytes);
         return t.Completed();
       },
       "WWW", true, true},
      {"org.dat field without its NUL, team link to nothing",
       [](Damaged& t) {
         sim::OrgBuilder org = fixture::StandardOrg(2);
         sim::OrgBuilder damaged;
         for (sim::OrgRecord r : org.records()) {
           if (r.kind == 4 && r.id == 2) {
             r.parentId = 77;
             r.filler = 'x';
             r.name = std::string(26, 'N');
           }
           damaged.Raw(r);
         }
         damaged.Write(t.targetOrg);
         return t.Completed(2, "", "Rename file: 0 of 1 records used");  // C3 is gone
       },
       "WW-", true, true},
      {"target team with a negative team index",
       [](Damaged& t) {
         sim::OrgBuilder org;
         org.Organization(0).Group(10, 1, "AL").Group(11, 10, "E");
         org.Team(1, 11, 0, "City 1 Club", "City 1", "C1");
         org.Team(2, 11, -1, "City 2 Club", "City 2", "C2");
         org.Write(t.targetOrg);
         return "Team 2 (City 2) has the team index -1, which is not valid, in " + t.targetOrg +
                "org.dat";
       },
       "---", false, false},
      {"player file missing",
       [](Damaged& t) {
         fs::remove(platform::NativePath(t.sourceDisk + "Players.dat"));
         return "CANNOT OPEN FILE :" + t.sourceDisk + "Players.dat\n";
       },
       "---", false, false},
      {"player file with damaged name lengths, cut inside its last record",
       [](Damaged& t) {
         sim::Bytes bytes = ReadFileBytes(t.sourceDisk + "Players.dat");
         bytes[146 * 5] = 0x90;  // Gray Tim's last name length: negative, so an empty name
         bytes[146 + 16] = 120;  // Jones Ann's first name runs on into the rest of the record
         bytes.resize(bytes.size() - 60);
         sim::WriteBytes(t.sourceDisk + "Players.dat", bytes);
         return t.Completed();
       },
       "WWW", true, true},
      {"source roster missing",
       [](Damaged& t) {
         fs::remove(platform::NativePath(BuildTree::RosterName(t.sourceOrg, 2)));
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2);
       },
       "U--", false, false},
      {"source roster cut short",
       [](Damaged& t) {
         sim::Bytes bytes = ReadFileBytes(BuildTree::RosterName(t.sourceOrg, 1));
         bytes.resize(bytes.size() - 1);
         sim::WriteBytes(BuildTree::RosterName(t.sourceOrg, 1), bytes);
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 1) +
                "\nthe file ends inside entry 3 of 3";
       },
       "---", false, false},
      {"source roster with a negative count",
       [](Damaged& t) {
         sim::WriteBytes(BuildTree::RosterName(t.sourceOrg, 2), {0x00, 0x80});
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2) +
                "\nthe roster's count is negative (-32768)";
       },
       "U--", false, false},
      {"source roster with a negative name length",
       [](Damaged& t) {
         sim::WriteBytes(BuildTree::RosterName(t.sourceOrg, 2), {1, 0, 120, 5, 0xFF, 0xFF, 1, 0});
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2) +
                "\nentry 1 has a negative name length (-1)";
       },
       "U--", false, false},
      {"roster entry naming no player of the player file",
       [](Damaged& t) {
         BuildTree::Roster(t.sourceOrg, 2, {3, 0, -5, 400});
         return t.Completed();
       },
       "WWW", true, true},
      {"farm roster missing",
       [](Damaged& t) {
         fs::remove(platform::NativePath(BuildTree::RosterName(t.farmOrg, 101)));
         return t.Completed();
       },
       "WWW", true, true},
      {"farm roster malformed",
       [](Damaged& t) {
         sim::WriteBytes(BuildTree::RosterName(t.farmOrg, 101), {2, 0, 120});
         return "Error while reading file : " + BuildTree::RosterName(t.farmOrg, 101) +
                "\nthe file ends inside entry 1 of 2";
       },
       "---", false, false},
      {"target roster cannot be written",
       [](Damaged& t) {
         fs::remove(platform::NativePath(BuildTree::RosterName(t.targetOrg, 3)));
         fs::create_directory(platform::NativePath(BuildTree::RosterName(t.targetOrg, 3)));
         return "Error writing file " + BuildTree::RosterName(t.targetOrg, 3) + "\nIs a directory";
       },
       "UU-", false, false},
      {"target roster read-only",
       [](Damaged& t) {
         fs::permissions(platform::NativePath(BuildTree::RosterName(t.targetOrg, 3)), fs::perms::owner_read);
         return "Error writing file " + BuildTree::RosterName(t.targetOrg, 3) +
                "\nthe file is read-only";
       },
       "UU-", false, false},
      {"target player number beyond what a roster holds",
       [](Damaged& t) {
         std::vector<sim::Player> players(32770, sim::Player{"Filler", "Guy"});
         players.back() = {"Brown", "Bob"};
         sim::WritePlayersFile(t.targetDisk + "Players.dat", players);
         return "Error writing file " + BuildTree::RosterName(t.targetOrg, 2) +
                "\nPlayer number 32770 does not fit in a roster file.";
       },
       "U--", false, false},
      {"rename file missing",
       [](Damaged& t) {
         fs::remove(platform::NativePath(t.dir / "renames.txt"));
         return t.Completed(3, "", "Rename file: 0 of 0 records used", "City 3");
       },
       "WWW", true, true},
      {"rename file of odd text",
       [](Damaged& t) {
         sim::WriteBytes(t.dir / "renames.txt",
                         BuildTree::Text(std::string(60, 'x') + ",C3,,Sam,Park\r\n\x1A" "C2,,x"));
         return t.Completed(3, "", "Rename file: 0 of 2 records used", "City 3");
       },
       "WWW", true, true},
      {"report cannot be written",
       [](Damaged& t) {
         fs::create_directory(platform::NativePath(t.targetDisk + "Tovarin.txt"));
         return t.Completed(3, "Is a directory");
       },
       "WWW", false, true},
      {"backup cannot be made",
       [](Damaged& t) {
         sim::WriteBytes(t.dir / "blocked", {0});
         t.view.backupDirectory = t.dir / "blocked/backups/";
         return std::string("The target rosters could not be backed up, so none was replaced.\n"
                            "no backup");
       },
       "---", false, false},
  };
  for (Row& row : rows) {
    Damaged t;
    std::string message = row.damage(t);
    t.Start();
    if (t.dialogs.messages.empty()) t.view.OnBuild();
    ASSERT_FALSE(t.dialogs.messages.empty()) << row.input;
    const std::string shown = t.dialogs.messages.back();
    const bool undone = row.rosters.find('U') != std::string::npos;
    if (message.size() > 9 && message.substr(message.size() - 9) == "no backup") {
      EXPECT_EQ(shown.rfind(message.substr(0, message.size() - 9), 0), 0u) << row.input << shown;
    } else {
      EXPECT_EQ(shown, message + (undone ? kUndone : "")) << row.input;
    }
    EXPECT_EQ(t.Written(), undone ? "---" : row.rosters) << row.input;
    const std::string report = fixture::ReadFileText(t.targetDisk + "Tovarin.txt");
    EXPECT_EQ(report.find("ImpId ExpId") != std::string::npos, row.report) << row.input;
    EXPECT_EQ(!t.store.writes().empty(), row.saved) << row.input;
    // Whatever a Build replaced can be put back.
    if (row.rosters != "---" && !undone) {
      // A roster the user keeps read-only is not replaced by a restore either.
      fs::permissions(platform::NativePath(BuildTree::RosterName(t.targetOrg, 3)), fs::perms::owner_write,
                      fs::perm_options::add);
      std::string why;
      ASSERT_TRUE(BackupStore(t.backups).Restore("", &why)) << row.input << why;
      EXPECT_EQ(t.Written(), "---") << row.input;
    }
  }
}

}  // namespace
}  // namespace tovarin

namespace tovarin {
namespace {

// A disk that fills up at any point of a Build: every target roster is then either its old self
// or its new self, never a part, no temporary file is left, and the message says which file.
TEST(DamagedFiles, ADiskFillingUpAtAnyPointLosesNothing) {
  const sim::Bytes fresh[] = {BuildTree::Expected({2, 4, 5}), BuildTree::Expected({1}),
                              BuildTree::Expected({7})};
  bool completed = false;
  for (long long room = 0; !completed && room < 5000; room += 7) {
    Damaged t;
    const sim::Bytes old = ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1));
    t.Start();
    t.disk.FillAfter(room);
    t.view.OnBuild();
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    const std::string& message = t.dialogs.messages[0];
    const std::string report = t.targetDisk + "Tovarin.txt";
    completed = message == t.Completed();
    if (message == t.Completed(3, "No space left on device")) {
      // The rosters are written; the report is not there at all.
      completed = true;
      EXPECT_FALSE(FileExists(report)) << "room " << room;
    }
    bool failedAt = completed;
    for (int team = 1; team <= 3; ++team) {
      const sim::Bytes now = ReadFileBytes(BuildTree::RosterName(t.targetOrg, team));
      EXPECT_TRUE(now == old || now == fresh[team - 1]) << "room " << room << ", team " << team;
      // The rosters replaced before it are put back, where the disk leaves room for it.
      const std::string failure = "Error writing file " +
                                  BuildTree::RosterName(t.targetOrg, team) +
                                  "\nNo space left on device";
      if (message == failure || message.rfind(failure + "\n", 0) == 0) {
        failedAt = true;
        EXPECT_EQ(now, old) << "room " << room;
      }
    }
    const bool backupFailed = message.rfind("The target rosters could not be backed up", 0) == 0;
    EXPECT_TRUE(failedAt || backupFailed) << "room " << room << ": " << message;
    for (const std::string& folder : {t.targetOrg, t.targetDisk}) {
      for (const auto& entry : fs::directory_iterator(platform::NativePath(folder))) {
        EXPECT_EQ(entry.path().filename().string().find(".tovarin-"), std::string::npos)
            << "room " << room << ": " << entry.path();
      }
    }
  }
  EXPECT_TRUE(completed) << "the Build never had room enough";
}

#ifndef _WIN32
// A FIFO or a device in place of an input reads as a missing file, and never holds the Build.
TEST(DamagedFiles, SpecialFilesInPlaceOfInputs) {
  auto fifo = [](const std::string& path) {
    fs::remove(platform::NativePath(path));
    mkfifo(path.c_str(), 0644);
  };
  auto zero = [](const std::string& path) {
    fs::remove(platform::NativePath(path));
    fs::create_symlink("/dev/zero", path);
  };
  struct Row {
    std::string input;
    std::function<std::string(Damaged&)> damage;  // returns the message the user must see
    std::string rosters;
  } rows[] = {
      {"target org.dat a FIFO",
       [&](Damaged& t) {
         fifo(t.targetOrg + "org.dat");
         return "CANNOT OPEN FILE :" + t.targetOrg + "org.dat\n";
       },
       "---"},
      {"source Players.dat a FIFO",
       [&](Damaged& t) {
         fifo(t.sourceDisk + "Players.dat");
         return "CANNOT OPEN FILE :" + t.sourceDisk + "Players.dat\n";
       },
       "---"},
      {"target Players.dat a link to /dev/zero",
       [&](Damaged& t) {
         zero(t.targetDisk + "Players.dat");
         return "CANNOT OPEN FILE :" + t.targetDisk + "Players.dat\n";
       },
       "---"},
      {"source roster a FIFO",
       [&](Damaged& t) {
         fifo(BuildTree::RosterName(t.sourceOrg, 2));
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2) +
                "\nThe Build stopped there, and the rosters it had replaced were put back as "
                "they were, so no roster was changed.";
       },
       "---"},
      {"farm roster a FIFO",
       [&](Damaged& t) {
         fifo(BuildTree::RosterName(t.farmOrg, 101));
         return t.Completed();
       },
       "WWW"},
      {"rename file a FIFO",
       [&](Damaged& t) {
         fifo(t.dir / "renames.txt");  // the Build runs without it, and says so
         return t.Completed(3, "", "Rename file: 0 of 0 records used") +
                "\nThe rename file could not be read: " + t.dir / "renames.txt" +
                "\nit is not a plain file\nEmptied (no source team): City 3";
       },
       "WWW"},
      {"rename file a link to /dev/zero",
       [&](Damaged& t) {
         zero(t.dir / "renames.txt");  // the Build runs without it, and says so
         return t.Completed(3, "", "Rename file: 0 of 0 records used") +
                "\nThe rename file could not be read: " + t.dir / "renames.txt" +
                "\nit is a device\nEmptied (no source team): City 3";
       },
       "WWW"},
      {"report a FIFO",
       [&](Damaged& t) {
         fifo(t.targetDisk + "Tovarin.txt");
         return t.Completed();
       },
       "WWW"},
  };
  for (Row& row : rows) {
    Damaged t;
    const std::string message = row.damage(t);
    t.Start();
    if (t.dialogs.messages.empty()) t.view.OnBuild();
    EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{message})) << row.input;
    EXPECT_EQ(t.Written(), row.rosters) << row.input;
  }
}
#endif

// Limits of the machine: a player file far larger than any roster can use is refused before
// it is read.
TEST(DamagedFiles, Limits) {
  Damaged t;
  const std::string players = t.targetDisk + "Players.dat";
  fs::resize_file(platform::NativePath(players), 146ull * 70000);
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{"Error while reading file : " + players +
                                      "\nthe file holds 70000 records, more than 65536; a "
                                      "roster can name only players 1 to 32767"}));
  EXPECT_EQ(t.Written(), "---");
}

// A read-only organization folder, or on Windows (where folders are not read-only) a read-only
// roster.
TEST(DamagedFiles, AReadOnlyTarget) {
  Damaged t;
  const sim::Bytes old = ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1));
#ifdef _WIN32
  const std::string readOnly = BuildTree::RosterName(t.targetOrg, 1);
#else
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders anyway";
  const std::string readOnly = t.targetOrg;
#endif
  t.Start();
  fs::permissions(platform::NativePath(readOnly), fs::perms::owner_write | fs::perms::group_write |
                                fs::perms::others_write, fs::perm_options::remove);
  t.view.OnBuild();
  fs::permissions(platform::NativePath(readOnly), fs::perms::owner_write, fs::perm_options::add);
#ifdef _WIN32
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{"Error writing file " +
                                      BuildTree::RosterName(t.targetOrg, 1) +
                                      "\nthe file is read-only"}));
#else
  // Not even the lock file can be made there, so the Build stops before it writes anything.
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{"Tovarin cannot lock " + t.targetOrg +
                                      ", so nothing was written.\n" + t.targetOrg +
                                      "Tovarin.lock: Permission denied"}));
#endif
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1)), old);
}

}  // namespace
}  // namespace tovarin
