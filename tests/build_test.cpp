#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>

#include "platform/file_lock.h"
#include "platform/safe_file.h"
#include "support/build_tree.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "transfer/report.h"

namespace tovarin {
namespace {

using fixture::BuildTree;
using fixture::FileExists;
using fixture::ReadFileBytes;
using fixture::ReadFileText;

std::string ExpectedReport(bool complete) {
  std::string text = NearMatchHeader() + "\r\n" +
                     NearMatchLine({"Fox", "Jon"}, {"Fox", "John"}) + "\r\n";
  if (!complete) return text;
  text += PlayerHeader() + "\r\n";
  const PlayerName names[] = {{"Smith", "John"}, {"Jones", "Ann"}, {"Brown", "Bob"},
                              {"Lee", "Al"},     {"Fox", "Jon"},   {"Gray", "Tim"}};
  const int map[] = {2, 4, 1, 5, 0, 0};
  for (int s = 1; s <= 6; ++s) text += PlayerLine(s, map[s - 1], names[s - 1]) + "\r\n";
  return text;
}

TEST(Build, CarriesRostersFarmAndRenamesAndReports) {
  BuildTree t;
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{t.Completed()}));
  EXPECT_TRUE(t.dialogs.questions.empty());
  // Team 1: its partner's roster (Fox Jon has no match) then its farm roster; team 2: no farm
  // roster, Gray Tim dropped; team 3 has no partner and receives only its rename-file player.
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1)), BuildTree::Expected({2, 4, 5}));
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 2)), BuildTree::Expected({1}));
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 3)), BuildTree::Expected({7}));
  EXPECT_EQ(ReadFileText(t.targetDisk + "Tovarin.txt"), ExpectedReport(true));
  EXPECT_EQ(t.store.writes().size(), 9u);  // the setup is saved
  EXPECT_EQ(t.store.ReadString("File", "TgtDataDisk"), "LEAGUE.WDD");

  // The same inputs write the same files again.
  const sim::Bytes first = ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1));
  t.view.OnBuild();
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 1)), first);
}

TEST(Build, WithoutFarmOrRenames) {
  BuildTree t;
  t.Start(/*useFarm=*/false, /*withRenames=*/false);
  t.view.OnBuild();
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{2, 4}));
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(t.targetOrg, 3)), BuildTree::Expected({}));
}

TEST(Build, RenameAssignmentsGoAheadOfThePartnersPlayers) {
  BuildTree t;
  sim::WriteBytes(t.dir / "renames.txt", BuildTree::Text("C1,,Park,Sam,\nC1,,New,Guy,\n"));
  sim::WritePlayersFile(t.targetDisk + "Players.dat", {{"Brown", "Bob"},
                                                       {"Smith", "John"},
                                                       {"Fox", "John"},
                                                       {"Jones", "Ann"},
                                                       {"Lee", "Al"},
                                                       {"Guy", "New"},
                                                       {"Sam", "Park"}});
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{7, 6, 2, 4, 5}));
}

TEST(Build, FailureTable) {
  const std::string sep(1, platform::kSeparator);
  // A Build that fails after replacing rosters puts them back.
  static const std::string undone =
      "\nThe Build stopped there, and the rosters it had replaced were put back as they were, so "
      "no roster was changed.";
  struct Case {
    std::string name;
    std::function<std::string(BuildTree&)> damage;  // returns the expected message
    std::vector<bool> written;                       // target rosters 1..3 rewritten?
    std::string report;                              // "none", "empty", "near", "full"
    bool completes;
  } cases[] = {
      {"partner roster missing",
       [](BuildTree& t) {
         std::filesystem::remove(platform::NativePath(BuildTree::RosterName(t.sourceOrg, 2)));
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2) + undone;
       },
       {false, false, false}, "near", false},
      {"partner roster malformed",
       [](BuildTree& t) {
         sim::WriteBytes(BuildTree::RosterName(t.sourceOrg, 2), {5, 0, 120, 5});
         return "Error while reading file : " + BuildTree::RosterName(t.sourceOrg, 2) +
                "\nthe file ends inside entry 1 of 5" + undone;
       },
       {false, false, false}, "near", false},
      {"farm roster malformed",
       [](BuildTree& t) {
         const std::string farm = BuildTree::RosterName(t.farmOrg, 101);
         sim::WriteBytes(farm, {0xFF, 0xFF});
         return "Error while reading file : " + farm + "\nthe roster's count is negative (-1)";
       },
       {false, false, false}, "near", false},
      {"target roster cannot be written",
       [](BuildTree& t) {
         std::filesystem::remove(platform::NativePath(BuildTree::RosterName(t.targetOrg, 2)));
         std::filesystem::create_directory(platform::NativePath(BuildTree::RosterName(t.targetOrg, 2)));
         return "Error writing file " + BuildTree::RosterName(t.targetOrg, 2) + "\nIs a directory" +
                undone;
       },
       {false, false, false}, "near", false},
      {"target player file missing",
       [](BuildTree& t) {
         std::filesystem::remove(platform::NativePath(t.targetDisk + "Players.dat"));
         return "CANNOT OPEN FILE :" + t.targetDisk + "Players.dat\n";
       },
       {false, false, false}, "empty", false},
      {"source player file missing",
       [](BuildTree& t) {
         std::filesystem::remove(platform::NativePath(t.sourceDisk + "Players.dat"));
         return "CANNOT OPEN FILE :" + t.sourceDisk + "Players.dat\n";
       },
       {false, false, false}, "empty", false},
      {"rename file missing",
       [](BuildTree& t) {
         std::filesystem::remove(platform::NativePath(t.dir / "renames.txt"));
         return t.Completed(3, "", "Rename file: 0 of 0 records used", "City 3");
       },
       {true, true, true}, "full", true},
  };
  for (const Case& c : cases) {
    BuildTree t;
    for (int team = 1; team <= 3; ++team) BuildTree::Roster(t.targetOrg, team, {99}, "OLD");
    const std::string message = c.damage(t);
    t.Start();
    t.view.OnBuild();
    EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{message})) << c.name;
    for (int team = 1; team <= 3; ++team) {
      if (!std::filesystem::is_regular_file(platform::NativePath(BuildTree::RosterName(t.targetOrg, team)))) continue;
      EXPECT_EQ(t.TargetRoster(team) != std::vector<int>{99}, c.written[team - 1])
          << c.name << ", team " << team;
    }
    const std::string report = t.targetDisk + "Tovarin.txt";
    if (c.report == "empty") {
      EXPECT_EQ(ReadFileText(report), "") << c.name;
    }
    if (c.report == "near") {
      EXPECT_EQ(ReadFileText(report), ExpectedReport(false)) << c.name;
    }
    if (c.report == "full" || c.report == "none") {
      EXPECT_EQ(std::filesystem::is_regular_file(platform::NativePath(report)), c.report == "full") << c.name;
    }
    EXPECT_EQ(t.store.writes().empty(), !c.completes) << c.name << ": the setup is saved only "
                                                                   "by a completed Build";
  }
}

TEST(Build, GamesPlayedQuestion) {
  for (bool yes : {true, false}) {
    BuildTree t;
    fixture::StandardOrgWithGamesPlayed(3, 2).Write(t.targetOrg);
    BuildTree::Roster(t.targetOrg, 3, {99}, "OLD");
    t.Start();
    t.dialogs.answers.push_back(yes);
    t.view.OnBuild();
    ASSERT_EQ(t.dialogs.questions.size(), 1u) << "asked once";
    EXPECT_EQ(t.dialogs.questions[0],
              "Target Organization already has games played.\n"
              "Tovarin clears the rosters of the target teams.\n"
              "Are you sure you wish to continue?");
    if (yes) {
      EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{t.Completed()}));
      EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{2, 4, 5}));  // also teams without games
      EXPECT_EQ(t.TargetRoster(3), (std::vector<int>{7}));
    } else {
      EXPECT_TRUE(t.dialogs.messages.empty());
      EXPECT_EQ(t.view.targetOrgPath, "");
      EXPECT_EQ(t.controls.targetOrgPath, "");
      EXPECT_TRUE(t.view.targetTeams().empty());
      EXPECT_EQ(t.controls.targetLabel, "Teams - 0");
      EXPECT_EQ(t.controls.sourceRows.size(), 2u);
      EXPECT_FALSE(FileExists(t.targetDisk + "Tovarin.txt"));
      EXPECT_FALSE(FileExists(BuildTree::RosterName(t.targetOrg, 1)));
      EXPECT_EQ(t.TargetRoster(3), (std::vector<int>{99}));
      EXPECT_TRUE(t.store.writes().empty());
    }
  }
}

// What must hold before a Build writes anything: both organizations chosen, and a Yes when it
// would empty every target roster.
TEST(Build, Preconditions) {
  const std::string kDone = "(the completion message)";
  const std::string sep(1, platform::kSeparator);
  const std::string nothingPaired =
      "No target team is paired with a source team, so every target roster will be emptied. "
      "Continue?";
  struct Case {
    std::string name;
    std::function<void(BuildTree&)> setUp;  // after the form has started
    std::deque<bool> answers;
    std::vector<std::string> questions, messages;
    bool written;  // the target rosters and the report
  } cases[] = {
      // '@' in a message stands for the tree's folder.
      {"no target organization",
       [](BuildTree& t) { t.view.targetOrgPath.clear(); },
       {}, {}, {"Choose a target organization first."}, false},
      {"target organization given up",
       [](BuildTree& t) { t.view.targetLocation.SetOrganization(""); },
       {}, {}, {"Choose a target organization first."}, false},
      {"no source organization",
       [](BuildTree& t) { t.view.sourceLocation.SetDataDisk(""); },
       {}, {}, {"Choose a source organization first."}, false},
      {"nothing paired, No", [](BuildTree& t) { t.view.OnReset(); }, {false}, {nothingPaired},
       {}, false},
      {"nothing paired, Yes", [](BuildTree& t) { t.view.OnReset(); }, {true}, {nothingPaired},
       {kDone + "City 1, City 2"}, true},
      {"one team paired", [](BuildTree& t) { Unpair(t.view.targetTeams()[0]); }, {}, {},
       {kDone + "City 1"}, true},
#ifndef _WIN32  // folders on Windows have no twins in another case
      {"target organization with a twin in another case",
       [](BuildTree& t) { t.dir.MakeDir("LEAGUE.WDD/org00001"); }, {}, {},
       {"@/LEAGUE.WDD/ORG00001 and @/LEAGUE.WDD/org00001 differ only in case, so Tovarin "
        "cannot tell which one to build; rename one of them."},
       false},
      {"target data disk with two twins",
       [](BuildTree& t) {
         t.dir.MakeDir("league.wdd");
         t.dir.MakeDir("League.wdd");
       },
       {}, {},
       {"@/LEAGUE.WDD, @/League.wdd and @/league.wdd differ only in case, so Tovarin cannot "
        "tell which one to build; rename one of them."},
       false},
      {"source data disk with a twin", [](BuildTree& t) { t.dir.MakeDir("src.wdd"); }, {}, {},
       {"@/SRC.WDD and @/src.wdd differ only in case, so Tovarin cannot tell which one to "
        "build; rename one of them."},
       false},
      {"source organization with a twin", [](BuildTree& t) { t.dir.MakeDir("SRC.WDD/org00001"); },
       {}, {},
       {"@/SRC.WDD/ORG00001 and @/SRC.WDD/org00001 differ only in case, so Tovarin cannot "
        "tell which one to build; rename one of them."},
       false},
#endif
#ifndef _WIN32  // Windows itself cannot make such a folder
      {"target organization folder named as a device",
       [](BuildTree& t) {
         t.dir.MakeDir("LEAGUE.WDD/COM1");
         t.view.targetLocation.SetOrganization("COM1");
       },
       {}, {},
       {"The folder @/LEAGUE.WDD/COM1 has a name that Windows keeps for a device (COM1), so "
        "Windows programs cannot open it again; rename it before a Build."},
       false},
#endif
      {"target data disk named in letters a roster cannot hold, named as on disk",
       [](BuildTree& t) {
         t.dir.MakeDir("\xC5\x81\xC3\xB3" "d\xC5\xBA.WDD/ORG00001");  // Łódź
         t.view.targetLocation.SetDataDisk("\xC5\x81\xC3\x93" "D\xC5\xB9.WDD");  // as listed
       },
       {}, {},
       {"The data disk name \xC5\x81\xC3\xB3" "d\xC5\xBA.WDD has letters that a roster file "
        "cannot hold (it holds Windows-1252 letters only); rename the folder @" + sep +
        "\xC5\x81\xC3\xB3" "d\xC5\xBA.WDD" + sep + " before a Build."},
       false},
  };
  for (const Case& c : cases) {
    BuildTree t;
    BuildTree::Roster(t.targetOrg, 1, {99}, "OLD");
    t.Start();
    c.setUp(t);
    t.dialogs.answers = c.answers;
    t.view.OnBuild();
    EXPECT_EQ(t.dialogs.questions, c.questions) << c.name;
    // Emptying every roster is asked with No as the default answer.
    for (std::size_t i = 0; i < t.dialogs.questions.size(); ++i) {
      EXPECT_EQ(t.dialogs.defaults[i] == ViewDialogs::Default::kNo,
                t.dialogs.questions[i] == nothingPaired)
          << c.name;
    }
    std::vector<std::string> messages = c.messages;
    for (std::string& message : messages) {
      // kDone, then the teams it emptied.
      message = message.rfind(kDone, 0) == 0
                    ? t.Completed(3, "", "Rename file: 1 of 1 records used",
                                  message.substr(kDone.size()))
                    : fixture::InDir(t.dir, message);
    }
    EXPECT_EQ(t.dialogs.messages, messages) << c.name;
    EXPECT_EQ(t.TargetRoster(1) != std::vector<int>{99}, c.written) << c.name;
    EXPECT_EQ(FileExists(t.targetDisk + "Tovarin.txt"), c.written) << c.name;
    EXPECT_EQ(std::filesystem::is_empty(platform::NativePath(t.backups)), !c.written) << c.name;
  }
}

// A Build refused before it replaces a roster leaves the report byte for byte as it was.
TEST(Build, ARefusedBuildLeavesTheOldReport) {
  const struct {
    const char* what;
    std::function<void(BuildTree&, platform::FileLock&)> refuse;
  } rows[] = {
      {"the backup cannot be made",
       [](BuildTree& t, platform::FileLock&) {
         sim::WriteBytes(t.dir / "not-a-folder", {1});
         t.view.backupDirectory = t.dir / "not-a-folder/backups/";
       }},
      {"another Build writes the organization",
       [](BuildTree& t, platform::FileLock& other) { other.Lock(t.targetOrg + "Tovarin.lock"); }},
      {"another Build uses the backups",
       [](BuildTree& t, platform::FileLock& other) { other.Lock(t.backups + "Tovarin.lock"); }},
      {"a target team with a negative team index",
       [](BuildTree& t, platform::FileLock&) { t.view.targetTeams()[1].teamIndex = -1; }},
#ifndef _WIN32  // folders on Windows have no twins in another case
      {"the target organization has a twin",
       [](BuildTree& t, platform::FileLock&) { t.dir.MakeDir("LEAGUE.WDD/org00001"); }},
#endif
  };
  for (const auto& row : rows) {
    BuildTree t;
    BuildTree::Roster(t.targetOrg, 1, {99}, "OLD");
    sim::WriteBytes(t.targetDisk + "Tovarin.txt", BuildTree::Text("OLD REPORT"));
    t.Start();
    platform::FileLock other;
    row.refuse(t, other);
    t.view.OnBuild();
    ASSERT_EQ(t.dialogs.messages.size(), 1u) << row.what;
    EXPECT_NE(t.dialogs.messages[0].rfind("Build Completed", 0), 0u) << row.what;
    EXPECT_EQ(ReadFileText(t.targetDisk + "Tovarin.txt"), "OLD REPORT") << row.what;
    EXPECT_EQ(t.TargetRoster(1), std::vector<int>{99}) << row.what;
  }
}

// What a killed Build left of its report goes at the next Build on that data disk; the report
// another Build is still writing there stays.
TEST(Build, ClearsAKilledBuildsReportTemporaryButNotARunningOnes) {
  BuildTree t;
  t.Start();
  const std::string stale = t.targetDisk + ".Tovarin.txt.tovarin-Ab12Cd";
  sim::WriteBytes(stale, {1});
  sim::WriteBytes(t.targetDisk + ".Players.dat.tovarin-Ab12Cd", {1});  // not the report's
  platform::SafeFileWriter running;  // another Build's report, half written
  ASSERT_TRUE(running.Open(t.targetDisk + "Tovarin.txt"));
  running.Write("HALF");
  std::vector<std::string> before;
  for (const auto& entry :
       std::filesystem::directory_iterator(platform::NativePath(t.targetDisk))) {
    before.push_back(entry.path().filename().string());
  }
  t.view.OnBuild();
  ASSERT_EQ(t.dialogs.messages.back(), t.Completed());
  EXPECT_FALSE(FileExists(stale));
  EXPECT_TRUE(FileExists(t.targetDisk + ".Players.dat.tovarin-Ab12Cd"));
  std::vector<std::string> after;
  for (const auto& entry :
       std::filesystem::directory_iterator(platform::NativePath(t.targetDisk))) {
    after.push_back(entry.path().filename().string());
  }
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  before.erase(std::find(before.begin(), before.end(), stale.substr(t.targetDisk.size())));
  before.push_back("Tovarin.txt");
  std::sort(before.begin(), before.end());
  EXPECT_EQ(after, before);  // the running one's temporary among them
  EXPECT_TRUE(running.Commit());
  EXPECT_EQ(ReadFileText(t.targetDisk + "Tovarin.txt"), "HALF");
}

TEST(Build, TeamsSharingATeamIndexShareTheirList) {
  BuildTree t;
  sim::OrgBuilder org;
  org.Organization(0).Group(10, 1, "AL").Group(11, 10, "E");
  org.Team(1, 11, 4, "City 1 Club", "A", "C1");
  org.Team(2, 11, 4, "City 2 Club", "B", "C3");  // shares index 4; short name C3 gets Park Sam
  org.Write(t.targetOrg);
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{t.Completed(2)}));
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{7, 2, 4, 5}));
  EXPECT_EQ(t.TargetRoster(2), (std::vector<int>{7, 2, 4, 5, 1}));
}

// Used: a signing, and the last record for a source player who reaches a roster. Not used: a
// record the automatic pass overrides, one a later record repeats, one that names nobody.
TEST(Build, SaysHowManyRenameRecordsItUsed) {
  BuildTree t;
  sim::WriteBytes(t.dir / "renames.txt",
                  BuildTree::Text("C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\nAl,Lee,Guy,New,\r\n"
                                  "Jon,Fox,John,Fox,\r\nNobody,Here,X,Y,\r\n"));
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{t.Completed(3, "", "Rename file: 2 of 5 records used")}));
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{2, 3, 4, 5}));
}

TEST(Build, OrganizationWithoutTeams) {
  BuildTree t;
  sim::OrgBuilder org;
  org.Organization(0);
  org.Write(t.targetOrg);
  t.Start();
  t.view.OnBuild();
  // The rename file's signing has no team to go to.
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{t.Completed(0, "", "Rename file: 0 of 1 records used")}));
  EXPECT_TRUE(t.dialogs.questions.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(t.targetOrg)), {}), 1);  // org.dat
  const std::string report = ReadFileText(t.targetDisk + "Tovarin.txt");
  EXPECT_EQ(report.find(PlayerHeader()), ExpectedReport(false).size());
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2 + 1 + 6);
}

TEST(Build, RefusesANegativeTeamIndexBeforeWritingAnything) {
  BuildTree t;
  sim::OrgBuilder org;
  org.Organization(0).Group(10, 1, "AL").Group(11, 10, "E");
  org.Team(1, 11, 0, "City 1 Club", "Good", "C1");
  org.Team(2, 11, -3, "City 2 Club", "Broken", "C2");
  org.Write(t.targetOrg);
  t.Start();
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{"Team 2 (Broken) has the team index -3, which is not "
                                      "valid, in " + t.targetOrg + "org.dat"}));
  EXPECT_FALSE(FileExists(t.targetDisk + "Tovarin.txt"));
  EXPECT_FALSE(FileExists(BuildTree::RosterName(t.targetOrg, 1)));
}

TEST(Build, EntriesOutsideThePlayerFileAreDropped) {
  BuildTree t;
  BuildTree::Roster(t.sourceOrg, 1, {0, -1, 7, 1, 32767});
  t.Start(false, false);
  t.view.OnBuild();
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{2}));
}

TEST(Build, TargetPlayerNumbersBeyondTheRosterFormatAreAnError) {
  BuildTree t;
  std::vector<sim::Player> players(32800, sim::Player{"Filler", "Guy"});
  players.back() = {"Smith", "John"};
  sim::WritePlayersFile(t.targetDisk + "Players.dat", players);
  BuildTree::Roster(t.targetOrg, 1, {99}, "OLD");
  t.Start(false, false);
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages,
            (std::vector<std::string>{"Error writing file " +
                                      BuildTree::RosterName(t.targetOrg, 1) +
                                      "\nPlayer number 32800 does not fit in a roster file."}));
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{99}));
}

}  // namespace
}  // namespace tovarin
