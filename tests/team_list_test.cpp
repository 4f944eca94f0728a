#include <gtest/gtest.h>

#include "pairing/team_list.h"
#include "simdata/record_file.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;

TeamList Load(const sim::OrgBuilder& org, int& farmOrg) {
  TempDir dir;
  org.Write(dir.path());
  TeamList list;
  LoadTeamList(list, dir.path(), farmOrg);
  return list;
}

TEST(LoadTeamList, FieldsAndParentLinks) {
  sim::OrgBuilder org;
  org.Organization(5);
  org.Group(10, 1, "AL").Group(11, 10, "East");
  org.Group(10, 1, "DUP");  // a later record with the same id: links name the earlier one
  sim::OrgRecord& a = org.Team(3, 11, 2, "Springfield Isotopes", "Springfield", "SPR");
  a.gameCountA = 4;
  a.gameCountB = 5;
  a.farmTeamId = 103;
  org.Team(7, 7, 0, "Self Parent", "Self", "SLF");   // its own parent and grandparent
  org.Team(8, 99, 1, "Orphan", "Orphan", "ORP");     // no record has id 99
  org.Team(9, 12, 1, "Half", "Half", "HLF");         // parent found, grandparent not
  org.Group(12, 77, "LOST");
  sim::OrgRecord other;  // a record of another kind: skipped, yet it can be a parent
  other.id = 13;
  other.kind = 9;
  other.parentId = 10;
  other.shortName = "ODD";
  org.Raw(other);
  org.Team(14, 13, 6, "Odd Child", "Odd", "OC");

  int farmOrg = -1;
  const TeamList list = Load(org, farmOrg);
  EXPECT_EQ(farmOrg, 5);
  ASSERT_EQ(list.size(), 5u);

  const TeamEntry& spr = list[0];
  EXPECT_EQ(spr.teamId, 3);
  EXPECT_EQ(spr.teamIndex, 2);
  EXPECT_EQ(spr.gamesPlayed, 9);
  EXPECT_EQ(spr.longName, "Springfield Isotopes");
  EXPECT_EQ(spr.name, "Springfield");
  EXPECT_EQ(spr.shortName, "SPR");
  EXPECT_EQ(spr.parentShortName, "East");
  EXPECT_EQ(spr.grandparentShortName, "AL");
  EXPECT_EQ(spr.farmTeamId, 103);
  EXPECT_EQ(spr.partner, nullptr);

  struct Parents {
    std::size_t index;
    std::string parent, grandparent;
  } expected[] = {{1, "SLF", "SLF"}, {2, "", ""}, {3, "LOST", ""}, {4, "ODD", "AL"}};
  for (const Parents& p : expected) {
    EXPECT_EQ(list[p.index].parentShortName, p.parent) << p.index;
    EXPECT_EQ(list[p.index].grandparentShortName, p.grandparent) << p.index;
  }
}

TEST(LoadTeamList, NumbersAreSignExtended) {
  sim::OrgBuilder org;
  org.Organization(-7);
  sim::OrgRecord& t = org.Team(-5, 1, -3, "Neg", "Neg", "N");
  t.gameCountA = -1;
  t.gameCountB = 3;
  t.farmTeamId = -2;
  int farmOrg = 0;
  const TeamList list = Load(org, farmOrg);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(farmOrg, -7);
  EXPECT_EQ(list[0].teamId, -5);
  EXPECT_EQ(list[0].teamIndex, -3);
  EXPECT_EQ(list[0].gamesPlayed, 2);
  EXPECT_EQ(list[0].farmTeamId, -2);
}

TEST(LoadTeamList, StringFields) {
  sim::OrgBuilder org;
  org.Team(1, 1, 0, std::string(35, 'L'), std::string(25, 'N'), "ABCD");  // each NUL in last byte
  sim::OrgRecord& full = org.Team(2, 2, 0, std::string(36, 'X'), std::string(26, 'Y'), "ABCDE");
  full.filler = 'Z';  // no NUL anywhere: each field is taken as its own bytes
  int farmOrg = 42;
  const TeamList list = Load(org, farmOrg);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(farmOrg, 42);  // no organization record: left as it was
  EXPECT_EQ(list[0].longName, std::string(35, 'L'));
  EXPECT_EQ(list[0].name, std::string(25, 'N'));
  EXPECT_EQ(list[0].shortName, "ABCD");
  EXPECT_EQ(list[1].longName, std::string(36, 'X'));
  EXPECT_EQ(list[1].name, std::string(26, 'Y'));
  EXPECT_EQ(list[1].shortName, "ABCDE");
}

TEST(LoadTeamList, OrganizationRecordsOnly) {
  sim::OrgBuilder one;
  one.Organization(3);
  int farmOrg = 0;
  EXPECT_TRUE(Load(one, farmOrg).empty());
  EXPECT_EQ(farmOrg, 3);

  sim::OrgBuilder two;
  two.Organization(3).Organization(4, 2);
  EXPECT_TRUE(Load(two, farmOrg).empty());
  EXPECT_EQ(farmOrg, 4);  // the later one counts
}

TEST(LoadTeamList, MissingFileEmptiesTheList) {
  TempDir dir;
  TeamList list(3);
  int farmOrg = 0;
  try {
    LoadTeamList(list, dir.path(), farmOrg);
    FAIL() << "no error";
  } catch (const RecordFileError& error) {
    EXPECT_EQ(std::string(error.what()), "CANNOT OPEN FILE :" + dir.path() + "org.dat\n");
  }
  EXPECT_TRUE(list.empty());
}

TEST(LoadTeamList, FindsOrgDatInAnyCase) {
  TempDir dir;
  const std::string org = dir.MakeDir("Org00001");
  sim::WriteOrgFile(org + "ORG.DAT", fixture::StandardOrg(2).records());
  TeamList list;
  int farmOrg = 0;
  LoadTeamList(list, dir / "ORG00001/", farmOrg);
  EXPECT_EQ(list.size(), 2u);
}

TeamList Named(std::initializer_list<const char*> longNames) {
  TeamList list;
  for (const char* n : longNames) {
    TeamEntry e;
    e.longName = n;
    list.push_back(e);
  }
  return list;
}

// The source index each target is paired with, -1 for none.
std::vector<int> PairIndexes(const TeamList& targets, const TeamList& sources) {
  std::vector<int> result;
  for (const TeamEntry& t : targets) {
    result.push_back(t.partner ? static_cast<int>(t.partner - sources.data()) : -1);
    if (t.partner) {
      EXPECT_EQ(t.partner->partner, &t) << "pairs must be mutual";
    }
  }
  return result;
}

TEST(PairTeamsByName, OrderRules) {
  struct Case {
    std::string name;
    TeamList targets, sources;
    std::vector<int> pairs;
  } cases[] = {
      {"equal names", Named({"A", "B", "C"}), Named({"C", "A"}), {1, -1, 0}},
      {"first equal source wins", Named({"A"}), Named({"A", "A"}), {0}},
      {"two targets take two sources in order", Named({"A", "A", "A"}), Named({"B", "A", "A"}),
       {1, 2, -1}},
      {"case differs", Named({"Cubs"}), Named({"cubs", "CUBS"}), {-1}},
      {"no trimming", Named({"A "}), Named({"A"}), {-1}},
      {"empty lists", Named({}), Named({"A"}), {}},
  };
  for (Case& c : cases) {
    PairTeamsByName(c.targets, c.sources);
    EXPECT_EQ(PairIndexes(c.targets, c.sources), c.pairs) << c.name;
    int pairedSources = 0;
    for (const TeamEntry& s : c.sources) {
      if (s.partner) {
        ++pairedSources;
        EXPECT_EQ(s.partner->partner, &s) << c.name;
      }
    }
    EXPECT_EQ(pairedSources, static_cast<int>(std::count_if(c.pairs.begin(), c.pairs.end(),
                                                            [](int p) { return p >= 0; })))
        << c.name;
  }
}

}  // namespace
}  // namespace tovarin
