#include <gtest/gtest.h>

#include "pairing/team_lists.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;

// Two organizations on disk and the reload state, with the messages it showed.
struct ListsFixture {
  TempDir dir;
  std::string targetDir = dir.MakeDir("T.WDD/ORG00001");
  std::string sourceDir = dir.MakeDir("S.WDD/ORG00002");
  std::string otherDir = dir.MakeDir("S.WDD/ORG00003");
  TeamLists lists{132};
  std::string targetPath, sourcePath;
  int sourceFarmOrg = 0;
  std::vector<std::string> messages;

  void Reload() {
    lists.Reload(targetPath, sourcePath, sourceFarmOrg,
                 [this](const std::string& m) { messages.push_back(m); });
  }
  std::vector<std::string> Rows(const ListBoxModel& box) const {
    std::vector<std::string> rows;
    for (const auto& row : box.rows) rows.push_back(row.text);
    return rows;
  }
};

sim::OrgBuilder Org(std::initializer_list<std::pair<const char*, const char*>> teams,
                    std::int8_t farmOrg = 0) {
  sim::OrgBuilder org;
  org.Organization(farmOrg);
  org.Group(10, 1, "AL").Group(11, 10, "E");
  std::int16_t id = 1;
  for (const auto& [longName, shortName] : teams) {
    org.Team(id, 11, static_cast<std::int16_t>(id - 1), longName, std::string(longName) + " N",
             shortName);
    ++id;
  }
  return org;
}

TEST(TeamLists, RowsLabelsAndTabStops) {
  ListsFixture f;
  Org({{"Reds", "CIN"}, {"Cubs", "CHC"}, {"Mets", "NYM"}}).Write(f.targetDir);
  Org({{"Cubs", "CHI"}, {"Pirates", "PIT"}, {"Reds", "CN2"}}, 4).Write(f.sourceDir);
  f.targetPath = f.targetDir;
  f.sourcePath = f.sourceDir;
  f.Reload();

  EXPECT_TRUE(f.messages.empty());
  EXPECT_EQ(f.sourceFarmOrg, 4);
  EXPECT_EQ(f.Rows(f.lists.targetList()),
            (std::vector<std::string>{"Reds N  (AL E)\tCN2  (AL E)", "Cubs N  (AL E)\tCHI  (AL E)",
                                      "Mets N  (AL E)"}));
  EXPECT_EQ(f.Rows(f.lists.sourceList()), (std::vector<std::string>{"PIT  (AL E)"}));
  EXPECT_EQ(f.lists.targetLabel(), "Teams - 3");
  EXPECT_EQ(f.lists.sourceLabel(), "Teams - 3");  // paired source teams still count
  EXPECT_EQ(f.lists.targetList().tabStops, (std::vector<int>{132, 480}));
  EXPECT_TRUE(f.lists.sourceList().tabStops.empty());
  EXPECT_EQ(f.lists.targetList().selected, 0);
  EXPECT_EQ(f.lists.sourceList().selected, 0);
  for (const auto& row : f.lists.targetList().rows) ASSERT_NE(row.entry, nullptr);
  EXPECT_EQ(f.lists.targetList().rows[2].entry, &f.lists.targetTeams()[2]);
  EXPECT_EQ(f.lists.sourceList().rows[0].entry, &f.lists.sourceTeams()[1]);
}

TEST(TeamLists, TheSecondColumnStandsWhereTheFormPutsIt) {
  TeamLists lists(129);
  lists.FillTargetList();
  EXPECT_EQ(lists.targetList().tabStops, (std::vector<int>{129, 480}));
}

TEST(TeamLists, NothingChosenShowsZeroTeams) {
  ListsFixture f;
  f.Reload();
  EXPECT_TRUE(f.lists.targetList().rows.empty());
  EXPECT_EQ(f.lists.targetList().selected, -1);
  EXPECT_EQ(f.lists.targetLabel(), "Teams - 0");
  EXPECT_EQ(f.lists.sourceLabel(), "Teams - 0");
}

TEST(TeamLists, SelectionIsKeptWhileItIsARowElseTheFirst) {
  ListsFixture f;
  Org({{"A", "A"}, {"B", "B"}, {"C", "C"}}).Write(f.targetDir);
  Org({{"X", "X"}, {"Y", "Y"}, {"Z", "Z"}}).Write(f.sourceDir);
  f.targetPath = f.targetDir;
  f.sourcePath = f.sourceDir;
  f.Reload();

  f.lists.targetList().selected = 2;
  f.lists.sourceList().selected = 2;
  f.lists.FillTargetList();
  f.lists.FillSourceList();
  EXPECT_EQ(f.lists.targetList().selected, 2);
  EXPECT_EQ(f.lists.sourceList().selected, 2);

  // The selected last source row disappears when its team gets a partner: the first row is taken.
  TeamEntry& z = f.lists.sourceTeams()[2];
  TeamEntry& a = f.lists.targetTeams()[0];
  z.partner = &a;
  a.partner = &z;
  f.lists.FillSourceList();
  EXPECT_EQ(f.lists.sourceList().rows.size(), 2u);
  EXPECT_EQ(f.lists.sourceList().selected, 0);
}

TEST(TeamLists, ReloadOnlyWhatChanged) {
  ListsFixture f;
  Org({{"A", "A"}, {"B", "B"}}).Write(f.targetDir);
  Org({{"A", "SA"}, {"B", "SB"}}).Write(f.sourceDir);
  Org({{"B", "OB"}}, 9).Write(f.otherDir);
  f.targetPath = f.targetDir;
  f.sourcePath = f.sourceDir;
  f.Reload();
  TeamList& targets = f.lists.targetTeams();
  TeamList& sources = f.lists.sourceTeams();

  // A pair made by hand (A with SB, B unpaired) survives a reload of the same paths.
  targets[1].partner = nullptr;
  sources[1].partner = &targets[0];
  targets[0].partner = &sources[1];
  sources[0].partner = nullptr;
  f.Reload();
  EXPECT_EQ(targets[0].partner, &sources[1]);
  EXPECT_EQ(targets[1].partner, nullptr);
  EXPECT_EQ(f.Rows(f.lists.sourceList()), (std::vector<std::string>{"SA  (AL E)"}));

  // Another source organization drops every pair and pairs by name afresh.
  f.sourcePath = f.otherDir;
  f.Reload();
  EXPECT_EQ(f.sourceFarmOrg, 9);
  EXPECT_EQ(f.lists.targetTeams()[0].partner, nullptr);
  ASSERT_NE(f.lists.targetTeams()[1].partner, nullptr);
  EXPECT_EQ(f.lists.targetTeams()[1].partner->shortName, "OB");
  EXPECT_EQ(f.lists.sourceLabel(), "Teams - 1");

  // An empty source path empties the source side and every target's pair.
  f.sourcePath.clear();
  f.Reload();
  EXPECT_TRUE(f.lists.sourceTeams().empty());
  EXPECT_EQ(f.lists.targetTeams()[1].partner, nullptr);
  EXPECT_EQ(f.lists.targetTeams().size(), 2u);
  EXPECT_TRUE(f.messages.empty());
}

TEST(TeamLists, BothSidesChangingPairAfresh) {
  ListsFixture f;
  Org({{"A", "A"}}).Write(f.targetDir);
  Org({{"A", "SA"}}).Write(f.sourceDir);
  f.targetPath = f.targetDir;
  f.sourcePath = f.sourceDir;
  f.Reload();
  ASSERT_NE(f.lists.targetTeams()[0].partner, nullptr);
  const std::string newTarget = f.dir.MakeDir("T.WDD/ORG00009");
  Org({{"X", "X"}, {"A", "A2"}}).Write(newTarget);
  Org({{"A", "SA3"}}).Write(f.otherDir);
  f.targetPath = newTarget;
  f.sourcePath = f.otherDir;
  f.Reload();
  EXPECT_EQ(f.Rows(f.lists.targetList()),
            (std::vector<std::string>{"X N  (AL E)", "A N  (AL E)\tSA3  (AL E)"}));
  EXPECT_EQ(f.lists.sourceTeams()[0].partner, &f.lists.targetTeams()[1]);
}

TEST(TeamLists, LoadErrorEmptiesThatSideOnly) {
  ListsFixture f;
  Org({{"A", "A"}}).Write(f.targetDir);
  Org({{"A", "SA"}}).Write(f.sourceDir);
  f.targetPath = f.targetDir;
  f.sourcePath = f.sourceDir;
  f.Reload();

  const std::string missing = f.dir.MakeDir("S.WDD/ORG00004");
  f.sourcePath = missing;
  f.Reload();
  EXPECT_EQ(f.messages, (std::vector<std::string>{"CANNOT OPEN FILE :" + missing + "org.dat\n"}));
  EXPECT_EQ(f.sourcePath, "");
  EXPECT_TRUE(f.lists.sourceTeams().empty());
  ASSERT_EQ(f.lists.targetTeams().size(), 1u);
  EXPECT_EQ(f.lists.targetTeams()[0].partner, nullptr);
  EXPECT_EQ(f.Rows(f.lists.targetList()), (std::vector<std::string>{"A N  (AL E)"}));

  // Choosing the failed organization again loads it again.
  Org({{"A", "SA4"}}).Write(missing);
  f.sourcePath = missing;
  f.Reload();
  EXPECT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.Rows(f.lists.targetList()), (std::vector<std::string>{"A N  (AL E)\tSA4  (AL E)"}));

  // Both sides failing: the source's message first.
  f.targetPath = f.dir / "gone1/";
  f.sourcePath = f.dir / "gone2/";
  f.Reload();
  ASSERT_EQ(f.messages.size(), 3u);
  EXPECT_EQ(f.messages[1], "CANNOT OPEN FILE :" + (f.dir / "gone2/org.dat") + "\n");
  EXPECT_EQ(f.messages[2], "CANNOT OPEN FILE :" + (f.dir / "gone1/org.dat") + "\n");
  EXPECT_EQ(f.targetPath, "");
  EXPECT_EQ(f.lists.targetLabel(), "Teams - 0");
}

}  // namespace
}  // namespace tovarin
