#include <gtest/gtest.h>

#include <filesystem>

#include "support/build_tree.h"
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
  ASSERT_EQ(t.dialogs.messages.back(), "Build Completed Successfully!");
  ASSERT_NE(t.Rosters(), before);

  const auto backups = t.List();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].organization, t.targetOrg);
  EXPECT_EQ(backups[0].files, 3u);
  EXPECT_NE(backups[0].name.find("_LEAGUE.WDD_ORG00001"), std::string::npos) << backups[0].name;

  t.view.OnRestoreLastBuild();
  ASSERT_EQ(t.dialogs.questions.size(), 1u);
  EXPECT_EQ(t.dialogs.questions[0], "Put back the target rosters of " + t.targetOrg +
                                        "\nas they were before the Build of " + backups[0].time +
                                        "?");
  EXPECT_EQ(t.dialogs.messages.back(), "The target rosters of " + t.targetOrg +
                                           "\nare as they were before the Build of " +
                                           backups[0].time + ".");
  EXPECT_EQ(t.Rosters(), before);
  EXPECT_FALSE(FileExists(BuildTree::RosterName(t.targetOrg, 3)));  // the Build had created it
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

TEST(Backup, ABuildThatFailedHalfWayIsUndoneToo) {
  BackupTree t;
  std::filesystem::remove(BuildTree::RosterName(t.sourceOrg, 2));  // fails at team 2
  t.Start();
  const auto before = t.Rosters();
  t.view.OnBuild();
  ASSERT_NE(t.Rosters()[0], before[0]);  // team 1 was written
  std::string why;
  ASSERT_TRUE(BackupStore(t.backups).Restore("", &why)) << why;
  EXPECT_EQ(t.Rosters(), before);
}

TEST(Backup, NoneForADryRunOrADeclinedBuild) {
  BackupTree t;
  t.Start();
  ASSERT_TRUE(t.view.Build(/*dryRun=*/true, nullptr).has_value());
  EXPECT_TRUE(t.List().empty());
  t.view.OnRestoreLastBuild();
  EXPECT_EQ(t.dialogs.messages.back(), "There is no Build to restore.");
  EXPECT_TRUE(t.dialogs.questions.empty());
}

TEST(Backup, RestoreAnsweredNoChangesNothing) {
  BackupTree t;
  t.Start();
  t.view.OnBuild();
  const auto after = t.Rosters();
  t.dialogs.answers.push_back(false);
  t.view.OnRestoreLastBuild();
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

TEST(Backup, KeepsTheNewestTwenty) {
  fixture::TempDir dir;
  sim::WriteBytes(dir / "roster", {1, 2});
  BackupStore store(dir.MakeDir("backups"));
  std::string why;
  for (int i = 0; i < 22; ++i) ASSERT_TRUE(store.Create("/org/", "L_O", {dir / "roster"}, &why));
  const auto backups = store.List();
  EXPECT_EQ(backups.size(), 20u);
  EXPECT_TRUE(std::is_sorted(backups.begin(), backups.end(),
                             [](const BackupInfo& a, const BackupInfo& b) { return a.name < b.name; }));
  // An unfinished backup (no manifest) is never listed or put back.
  dir.MakeDir("backups/99991231-235959-999_unfinished");
  EXPECT_EQ(store.List().size(), 20u);
  EXPECT_NE(store.List().back().name, "99991231-235959-999_unfinished");
}

TEST(Backup, ADamagedBackupPutsNothingBack) {
  fixture::TempDir dir;
  sim::WriteBytes(dir / "a", {1});
  sim::WriteBytes(dir / "b", {2});
  BackupStore store(dir.MakeDir("backups"));
  std::string why;
  ASSERT_TRUE(store.Create("/org/", "L_O", {dir / "a", dir / "b"}, &why));
  sim::WriteBytes(dir / "a", {7});
  sim::WriteBytes(dir / "b", {8});
  const std::string folder = dir / ("backups/" + store.List()[0].name + "/");
  std::filesystem::remove(folder + "002_b");
  EXPECT_FALSE(store.Restore("", &why));
  EXPECT_EQ(why, "cannot read " + folder + "002_b");
  EXPECT_EQ(ReadFileBytes(dir / "a"), sim::Bytes{7});  // nothing half put back
}

}  // namespace
}  // namespace tovarin
