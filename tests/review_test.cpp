// The review of a Build: name folding, candidates and their ranking, appending to rename files,
// and a review whose accepted pairs the next Build carries.

#include <gtest/gtest.h>

#include "support/build_tree.h"
#include "support/respelling_corpus.h"
#include "transfer/name_fold.h"
#include "transfer/rename_file.h"
#include "transfer/report.h"
#include "transfer/review.h"

namespace tovarin {
namespace {

using fixture::BuildTree;
using fixture::ReadFileText;

TEST(Review, FoldsNamesAsAPersonReadsThem) {
  const struct {
    const char* name;
    const char* folded;
  } rows[] = {
      {"O'Neil", "ONEIL"},          {"De La Cruz", "DELACRUZ"},  {"Pe\xF1" "a", "PENA"},
      {"Jos\xE9", "JOSE"},          {"M\xFCller", "MULLER"},     {"\xC6lfric", "AELFRIC"},
      {"Stra\xDF" "e", "STRASSE"},  {"\x8Aimunek", "SIMUNEK"},   {"Griffey Jr.", "GRIFFEY"},
      {"Griffey, Sr", "GRIFFEY"},   {"Ripken III", "RIPKEN"},    {"Smith IV", "SMITH"},
      {"Jones Jr III", "JONES"},    {"Ii", "II"},                {"Jr", "JR"},
      {"St. John", "STJOHN"},       {"Smith-Jones", "SMITHJONES"}, {"A.J.", "AJ"},
      {"  ", ""},                   {"Ivan", "IVAN"},            {"Lee 2", "LEE2"},
  };
  for (const auto& row : rows) EXPECT_EQ(FoldName(row.name), row.folded) << row.name;
  EXPECT_GE(NicknamePairs().size(), 40u);
  EXPECT_EQ(NicknamesOf("MIKE"), (std::vector<std::string>{"MICHAEL"}));
  EXPECT_EQ(NicknamesOf("STEVE"), (std::vector<std::string>{"STEPHEN", "STEVEN"}));
  EXPECT_TRUE(NicknamesOf("ZEBULON").empty());
}

// A tree whose team 1 carries players with every kind of candidate.
struct ReviewTree : BuildTree {
  ReviewTree() {
    sim::WritePlayersFile(sourceDisk + "Players.dat", {{"O'Neil", "Pat"},
                                                       {"Pe\xF1" "a", "Jos\xE9"},
                                                       {"Smith", "Mike"},
                                                       {"SMITH", "Mike"},
                                                       {"Nobody", "Here"},
                                                       {"Griffey Jr.", "Ken"},
                                                       {"Brown", "Bob"}});
    sim::WritePlayersFile(targetDisk + "Players.dat", {{"Brown", "Bob"},
                                                       {"SMITH", "Mike"},
                                                       {"Smith", "Mitch"},
                                                       {"Smith", "Michael"},
                                                       {"ONeil", "Pat"},
                                                       {"Pena", "Jose"},
                                                       {"Griffey", "Kenneth"},
                                                       {"Griffey", "Ken"},
                                                       {"Park", "Sam"}});
    Roster(sourceOrg, 1, {1, 2, 3, 4, 5});
    Roster(sourceOrg, 2, {6, 7, 9});
    Roster(farmOrg, 101, {5});
  }
  Review Run() { return RunReview(view.MakeBuildParams(), view.targetTeams()); }
};

std::string Describe(const Candidate& c) {
  return c.name.first + " " + c.name.last + " " + CandidateKindName(c.kind) +
         (c.taken() ? " taken" : "") + (c.writable ? "" : " unwritable");
}

TEST(Review, RanksCandidatesAndShowsTakenOnes) {
  ReviewTree t;
  t.Start();
  const Review review = t.Run();
  ASSERT_TRUE(review.ok) << review.error;

  struct Row {
    int player;
    std::string team;
    int entries;
    std::vector<std::string> candidates;
  };
  const std::vector<Row> expected = {
      {1, "City 1", 1, {"Pat ONeil likely"}},
      {2, "City 1", 1, {"Jose Pena likely"}},
      // Free ones first; the likely one is SMITH Mike's, who has the same name.
      {3, "City 1", 1,
       {"Michael Smith nickname", "Mitch Smith near miss", "Mike SMITH likely taken"}},
      {5, "City 1", 2, {}},  // also on the farm roster
      {6, "City 2", 1, {"Ken Griffey likely", "Kenneth Griffey nickname"}},
      {9, "City 2", 1, {}},  // no such source player
  };
  ASSERT_EQ(review.dropped.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const DroppedPlayer& d = review.dropped[i];
    SCOPED_TRACE(d.name.first + " " + d.name.last);
    EXPECT_EQ(d.sourcePlayer, expected[i].player);
    EXPECT_EQ(d.sourceTeam, expected[i].team);
    EXPECT_EQ(d.entries, expected[i].entries);
    std::vector<std::string> candidates;
    for (const Candidate& c : d.candidates) candidates.push_back(Describe(c));
    EXPECT_EQ(candidates, expected[i].candidates);
  }
  EXPECT_EQ(review.dropped[2].candidates[2].takenBy, 4);
  EXPECT_EQ(review.dropped[2].candidates[2].takenByName.last, "SMITH");

  // Team 1 receives SMITH Mike; team 2 Brown Bob; team 3, unpaired, its rename file player.
  ASSERT_EQ(review.teams.size(), 3u);
  auto players = [&](std::size_t team) {
    std::vector<std::pair<int, RosterSource>> list;
    for (const RosterPlayer& p : review.teams[team].players) list.push_back({p.number, p.from});
    return list;
  };
  using P = std::vector<std::pair<int, RosterSource>>;
  EXPECT_EQ(players(0), (P{{2, RosterSource::kRoster}}));
  EXPECT_EQ(players(1), (P{{1, RosterSource::kRoster}}));
  EXPECT_EQ(players(2), (P{{9, RosterSource::kRenameFile}}));
  EXPECT_EQ(review.counts.carried, 3);
  EXPECT_EQ(review.counts.dropped, 6);
  EXPECT_EQ(review.counts.withCandidates, 4);
  EXPECT_EQ(review.counts.emptyTeams, 0);
  // A review writes nothing.
  EXPECT_FALSE(fixture::FileExists(t.targetDisk + "Tovarin.txt"));
  EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST(Review, EditDistance) {
  const struct {
    const char* a;
    const char* b;
    int distance;
  } rows[] = {
      {"WHITAKER", "WHITTAKER", 1},  {"HERNANDEZ", "HERNADNEZ", 1}, {"SMITH", "SMYTH", 1},
      {"SMITH", "SMIT", 1},          {"DOUGLAS", "DAVID", 6},       {"STEPHEN", "STEVEN", 2},
      {"", "AB", 2},                 {"ABC", "CBA", 2},             {"JON", "JON", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(EditDistance(row.a, row.b), row.distance) << row.a << " " << row.b;
    EXPECT_EQ(EditDistance(row.b, row.a), row.distance) << row.b << " " << row.a;
  }
}

// Last names one edit apart give "respelled" candidates when the first names agree (or are a
// known pair); candidates of one kind come closest first names first, and a near miss says how
// far apart the first names are.
TEST(Review, RespelledLastNamesAndNearMissesByLikeness) {
  BuildTree t;
  sim::WritePlayersFile(t.sourceDisk + "Players.dat", {{"Whitaker", "Stephen"},
                                                       {"Hernandez", "Luis"},
                                                       {"Turner", "Douglas"},
                                                       {"Wallace", "Bob"},
                                                       {"Kim", "Lee"}});
  sim::WritePlayersFile(t.targetDisk + "Players.dat", {{"Whittaker", "Stephen"},
                                                       {"Hernadnez", "Luis"},
                                                       {"Turner", "David"},
                                                       {"Turner", "Dougles"},
                                                       {"Walace", "Robert"},
                                                       {"Wallice", "Tom"},
                                                       {"Kin", "Leo"},
                                                       {"Park", "Sam"}});
  BuildTree::Roster(t.sourceOrg, 1, {1, 2, 3, 4, 5});
  BuildTree::Roster(t.sourceOrg, 2, {});
  t.Start(/*useFarm=*/false);
  const Review review = RunReview(t.view.MakeBuildParams(), t.view.targetTeams());
  ASSERT_TRUE(review.ok) << review.error;
  std::vector<std::string> shown;
  for (const DroppedPlayer& d : review.dropped) {
    std::string line = FullName(d.name) + ":";
    for (const Candidate& c : d.candidates) line += " " + CandidateText(c) + ";";
    shown.push_back(line);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Stephen Whitaker: Stephen Whittaker (respelled);",
                       "Luis Hernandez: Luis Hernadnez (respelled);",
                       "Douglas Turner: Dougles Turner (near miss, 1 letter apart); David Turner "
                       "(near miss, 6 letters apart);",
                       "Bob Wallace: Robert Walace (respelled);",
                       "Lee Kim:",
                   }));
}

// On a league whose target disk respells players in every way, the best candidate is the true
// player nearly always, and a "likely" one never names someone else.
TEST(Review, RespellingCorpus) {
  fixture::TempDir dir;
  const fixture::RespellingScore score =
      fixture::ScoreReview(fixture::MakeRespellingCorpus(1500, 7), dir);
  ASSERT_GT(score.respelled, 500);
  EXPECT_GT(score.likely, 100);
  EXPECT_EQ(score.likelyWrong, 0);
  std::string misses;
  for (const std::string& miss : score.misses) misses += miss + "\n";
  EXPECT_GE(score.bestRight * 100, score.respelled * 95) << misses;
}

TEST(Review, OnlyCandidatesARecordCanNameAreWritable) {
  ReviewTree t;
  sim::WritePlayersFile(t.sourceDisk + "Players.dat",
                        {{"Pe\xF1" "a", "Jos\xE9"}, {"Pe\xF1" "a", "Jos\xE9"}, {"Ruiz,", "Al"}});
  sim::WritePlayersFile(t.targetDisk + "Players.dat",
                        {{"Pena", "Jose"}, {"Pena", "Jose"}, {"Ruiz", "Al"}});
  BuildTree::Roster(t.sourceOrg, 1, {1, 2, 3});
  BuildTree::Roster(t.sourceOrg, 2, {});
  BuildTree::Roster(t.farmOrg, 101, {});
  t.Start();
  const Review review = t.Run();
  ASSERT_EQ(review.dropped.size(), 3u);
  std::vector<std::string> described;
  for (const DroppedPlayer& d : review.dropped) {
    for (const Candidate& c : d.candidates) described.push_back(Describe(c));
  }
  // A record names the lowest-numbered player of its names on either side. The comma in "Ruiz,"
  // would end its field early.
  EXPECT_EQ(described, (std::vector<std::string>{
                           "Jose Pena likely", "Jose Pena likely unwritable",
                           "Jose Pena likely unwritable", "Jose Pena likely unwritable",
                           "Al Ruiz likely unwritable"}));
}

TEST(Review, AppendsRecordsKeepingWhatTheFileSaid) {
  const RenameRecord added{{"Jon", "Fox", "John", "Fox"}};
  const struct {
    const char* name;
    std::optional<std::string> before;  // none: no file yet
    std::string after;
  } rows[] = {
      {"new file", std::nullopt, "Jon,Fox,John,Fox,\r\n"},
      {"empty file", "", "Jon,Fox,John,Fox,\r\n"},
      {"ends with CR LF", "a,b,c,d,\r\n", "a,b,c,d,\r\nJon,Fox,John,Fox,\r\n"},
      {"ends with LF", "a,b,c,d,\n", "a,b,c,d,\nJon,Fox,John,Fox,\n"},
      {"no line break at the end", "a,b,c,d,", "a,b,c,d,\r\nJon,Fox,John,Fox,\r\n"},
      {"last record without its comma", "a,b,c,d", "a,b,c,d,\r\nJon,Fox,John,Fox,\r\n"},
      // The old fourth field ran on to the end, line break and all: it still does.
      {"no comma, then a line break", "a,b,c,d\n", "a,b,c,d\n,\nJon,Fox,John,Fox,\n"},
      {"a record of two fields", "a,b,\r\n", "a,b,\r\n,,\r\nJon,Fox,John,Fox,\r\n"},
      {"ended by Ctrl-Z", "a,b,c,d,\r\n\x1a" "junk", "a,b,c,d,\r\nJon,Fox,John,Fox,\r\n\x1a" "junk"},
      {"a last field of 49 characters", "a,b,c," + std::string(49, 'x'),
       "a,b,c," + std::string(49, 'x') + "\r\nJon,Fox,John,Fox,\r\n"},
  };
  fixture::TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir / (std::string(row.name) + ".txt");
    if (row.before) sim::WriteBytes(path, BuildTree::Text(*row.before));
    auto records = [&] {
      std::vector<std::vector<std::string>> list;
      RenameReader reader(path);
      for (RenameRecord r; reader.Next(r);) list.push_back({r.fields, r.fields + 4});
      return list;
    };
    auto expected = records();
    expected.push_back({added.fields, added.fields + 4});
    std::string why;
    ASSERT_TRUE(AppendRenameRecords(path, {added}, &why)) << why;
    EXPECT_EQ(ReadFileText(path), row.after);
    EXPECT_EQ(records(), expected);
  }
  std::string why;
  EXPECT_FALSE(AppendRenameRecords(dir / "no-such-folder/renames.txt", {added}, &why));
  EXPECT_NE(why.find("could not be written"), std::string::npos);
  // A full disk leaves the file as it was.
  const std::string full = dir / "full.txt";
  sim::WriteBytes(full, BuildTree::Text("a,b,c,d,\r\n"));
  EXPECT_FALSE(AppendRenameRecords(full, {added}, &why, fixture::FillingDisk(5)));
  EXPECT_EQ(ReadFileText(full), "a,b,c,d,\r\n");
}

TEST(Review, AcceptedPairsAreCarriedByTheNextBuildAndNothingElseChanges) {
  ReviewTree t;
  t.Start();
  t.view.OnBuild();
  const std::string reportBefore = ReadFileText(t.targetDisk + "Tovarin.txt");
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{2}));
  EXPECT_EQ(t.TargetRoster(2), (std::vector<int>{1}));

  const Review review = t.Run();
  // Source players 1 to 3 have free candidates; 5 has none, 9 is outside the player file, 7 is
  // carried and 8 on no roster; 3 twice gives one record, and the repeat is told.
  const Acceptance refused = AcceptBest(review, {5, 9, 7, 8});
  EXPECT_TRUE(refused.records.empty());
  EXPECT_EQ(refused.refused, (std::vector<std::string>{"#5: Here Nobody has no candidate",
                                                       "#9: player 9 has no candidate",
                                                       "#7: not a dropped player",
                                                       "#8: not a dropped player"}));
  const Acceptance accepted = AcceptBest(review, {3, 1, 2, 3});
  EXPECT_EQ(accepted.refused,
            (std::vector<std::string>{"#3: given twice"}));
  ASSERT_EQ(accepted.records.size(), 3u);
  std::string why;
  ASSERT_TRUE(AppendRenameRecords(t.view.renamePath, accepted.records, &why)) << why;
  EXPECT_EQ(ReadFileText(t.view.renamePath),
            "C3,,Sam,Park,\r\nMike,Smith,Michael,Smith,\r\nPat,O'Neil,Pat,ONeil,\r\n"
            "Jos\xE9,Pe\xF1" "a,Jose,Pena,\r\n");

  const Review after = t.Run();
  EXPECT_EQ(after.counts.dropped, 3);
  EXPECT_EQ(after.counts.carried, 6);

  t.view.OnBuild();
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{5, 6, 4, 2}));
  EXPECT_EQ(t.TargetRoster(2), (std::vector<int>{1}));
  EXPECT_EQ(t.TargetRoster(3), (std::vector<int>{9}));
  // The report differs in the three players' target numbers only.
  std::string expected = reportBefore;
  const PlayerName names[] = {{"O'Neil", "Pat"}, {"Pe\xF1" "a", "Jos\xE9"}, {"Smith", "Mike"}};
  const int targets[] = {5, 6, 4};
  for (int s = 1; s <= 3; ++s) {
    const std::string old = PlayerLine(s, 0, names[s - 1]);
    ASSERT_NE(expected.find(old), std::string::npos);
    expected.replace(expected.find(old), old.size(), PlayerLine(s, targets[s - 1], names[s - 1]));
  }
  EXPECT_EQ(ReadFileText(t.targetDisk + "Tovarin.txt"), expected);
}

}  // namespace
}  // namespace tovarin
