#include "transfer/matching.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/fixture.h"
#include "support/plain_matching.h"

namespace tovarin {
namespace {

using fixture::TempDir;
using Names = std::vector<PlayerName>;
using NearMatches = std::vector<std::pair<int, int>>;

TeamEntry Team(const std::string& shortName, int teamIndex) {
  TeamEntry team;
  team.shortName = shortName;
  team.teamIndex = teamIndex;
  return team;
}

// Listed so that "C2" comes before "C1": a record naming both goes to the earlier team.
const TeamList kTeams = {Team("C2", 2), Team("C1", 0), Team("C3", 1), Team("NEG", -1)};
constexpr std::size_t kTeamLists = 3;

struct Outcome {
  std::vector<int> playerMap;  // from source player 1 on
  std::vector<int> used;       // target player numbers
  NearMatches nearMatches;
  TeamPlayerLists lists;
};

bool operator==(const Outcome& a, const Outcome& b) {
  return a.playerMap == b.playerMap && a.used == b.used && a.nearMatches == b.nearMatches &&
         a.lists == b.lists;
}

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  out << "map {";
  for (int t : o.playerMap) out << ' ' << t;
  out << " } used {";
  for (int t : o.used) out << ' ' << t;
  out << " } near {";
  for (const auto& [s, t] : o.nearMatches) out << " (" << s << ',' << t << ')';
  out << " } lists {";
  for (const auto& list : o.lists) {
    out << " [";
    for (int t : list) out << ' ' << t;
    out << " ]";
  }
  return out << " }";
}

std::vector<int> UsedNumbers(const MatchState& state) {
  std::vector<int> used;
  for (std::size_t i = 0; i < state.used.size(); ++i) {
    if (state.used[i]) used.push_back(static_cast<int>(i + 1));
  }
  return used;
}

Outcome Describe(const MatchState& state, NearMatches nearMatches, TeamPlayerLists lists) {
  return {std::vector<int>(state.playerMap.begin() + 1, state.playerMap.end()), UsedNumbers(state),
          std::move(nearMatches), std::move(lists)};
}

// The rename pass on `renameFile` (none when absent), then the automatic pass. The plain walk,
// run on the same state, must agree with the indexed pass.
Outcome RunPasses(const Names& source, const Names& target,
                  const std::optional<std::string>& renameFile) {
  TempDir dir;
  std::string path;
  if (renameFile) {
    path = dir / "rename.txt";
    sim::WriteBytes(path, sim::Bytes(renameFile->begin(), renameFile->end()));
  }
  RenameReader reader(path);
  MatchState state = NewMatchState(source.size(), target.size());
  TeamPlayerLists lists(kTeamLists);
  RenamePass(reader, source, target, kTeams, state, lists);

  MatchState plainState = state;
  NearMatches near, plainNear;
  AutomaticPass(source, target, state, [&](int s, int t) { near.emplace_back(s, t); });
  fixture::AutomaticPassPlain(source, target, plainState,
                              [&](int s, int t) { plainNear.emplace_back(s, t); });
  const Outcome outcome = Describe(state, near, lists);
  EXPECT_EQ(outcome, Describe(plainState, plainNear, lists)) << "the plain walk differs";
  return outcome;
}

TEST(Matching, EdgeCases) {
  const PlayerName john{"Smith", "John"}, jon{"Smith", "Jon"};
  const std::string x48(48, 'x'), x49(49, 'x');
  const TeamPlayerLists none(kTeamLists);
  struct Case {
    const char* name;
    Names source, target;
    std::optional<std::string> renameFile;
    Outcome expected;
  } cases[] = {
      // Automatic pass.
      {"same player pairs", {john}, {john}, {}, {{1}, {1}, {}, none}},
      {"another first name is a near match", {john}, {jon}, {}, {{0}, {}, {{1, 1}}, none}},
      {"a longer first name is a near match",
       {john},
       {{"Smith", "Johnny"}},
       {},
       {{0}, {}, {{1, 1}}, none}},
      {"last names differing in case do not match",
       {john},
       {{"smith", "John"}},
       {},
       {{0}, {}, {}, none}},
      {"first letters differing in case are no near match",
       {john},
       {{"Smith", "john"}},
       {},
       {{0}, {}, {}, none}},
      {"the only near match among others",
       {john},
       {jon, {"Smith", "Bob"}, {"Jones", "John"}, {"Smith ", "John"}},
       {},
       {{0}, {}, {{1, 1}}, none}},
      {"the lowest-numbered near match",
       {john},
       {{"Jones", "Jo"}, {"Smith", "Jonas"}, jon},
       {},
       {{0}, {}, {{1, 2}}, none}},
      {"a later namesake wins over an earlier near match",
       {john},
       {jon, john},
       {},
       {{2}, {2}, {}, none}},
      {"empty first names are equal names",
       {{"Smith", ""}, {"", ""}},
       {{"", ""}, {"Smith", ""}},
       {},
       {{2, 1}, {1, 2}, {}, none}},
      {"an empty and a non-empty first name are no near match",
       {{"Smith", ""}, {"Lee", "J"}},
       {{"Smith", "J"}, {"Lee", ""}},
       {},
       {{0, 0}, {}, {}, none}},
      {"namesakes pair in number order on both sides",
       {john, john, john},
       {john, {"Jones", "Ann"}, john, {"Smith", "Jo"}},
       {},
       {{1, 3, 0}, {1, 3}, {{3, 4}}, none}},
      {"a near match is not used up",
       {john, {"Smith", "Jack"}},
       {jon},
       {},
       {{0, 0}, {}, {{1, 1}, {2, 1}}, none}},
      {"a target taken by an earlier source is no near match",
       {john, {"Smith", "Joe"}},
       {john, {"Bob", "Ray"}},
       {},
       {{1, 0}, {1}, {}, none}},

      // Rename pass, then the automatic pass.
      {"a rename record pairs", {john}, {jon}, "John,Smith,Jon,Smith,\n", {{1}, {1}, {}, none}},
      {"an unused namesake replaces the rename pairing",
       {john},
       {jon, john},
       "John,Smith,Jon,Smith,\n",
       {{2}, {1, 2}, {}, none}},
      {"a near match leaves the rename pairing",
       {john},
       {{"Jones", "Bob"}, jon},
       "John,Smith,Bob,Jones,\n",
       {{1}, {1}, {{1, 2}}, none}},
      {"rename records take the lowest numbers, used or not",
       {john, john},
       {jon, jon},
       "John,Smith,Jon,Smith,\nJohn,Smith,Jon,Smith,\n",
       {{1, 0}, {1}, {{1, 2}, {2, 2}}, none}},
      {"a later record replaces the pairing, the earlier target stays used",
       {john},
       {jon, {"Smith", "Jo"}, {"Smith", "Jonny"}},
       "John,Smith,Jon,Smith,\nJohn,Smith,Jo,Smith,",
       {{2}, {1, 2}, {{1, 3}}, none}},
      {"an unknown target player: no effect",
       {john},
       {john},
       "John,Smith,Nobody,Here,",
       {{1}, {1}, {}, none}},
      {"an unknown source player and no team: no effect",
       {john},
       {john},
       "Ann,Lee,John,Smith,",
       {{1}, {1}, {}, none}},
      {"a team by its short name in field 1",
       {jon},
       {jon},
       "C1,x,Jon,Smith,\n",
       {{0}, {1}, {}, {{1}, {}, {}}}},
      {"a team by its short name in field 2",
       {},
       {jon},
       "Whoever,C3,Jon,Smith,",
       {{}, {1}, {}, {{}, {1}, {}}}},
      {"the first team in list order, whichever field names it",
       {},
       {jon},
       "C1,C2,Jon,Smith,",
       {{}, {1}, {}, {{}, {}, {1}}}},
      {"team players in file order, duplicates kept",
       {},
       {{"Ray", "Bob"}, {"Lee", "Ann"}},
       "C1,,Ann,Lee,\nC1,,Bob,Ray,\nC1,,Ann,Lee,\nC3,,Bob,Ray,",
       {{}, {1, 2}, {}, {{2, 1, 2}, {1}, {}}}},
      {"a team and an unknown target player: no effect",
       {},
       {jon},
       "C1,x,Nobody,Here,",
       {{}, {}, {}, none}},
      {"a source player wins over a team",
       {{"Smith", "C1"}},
       {jon},
       "C1,Smith,Jon,Smith,",
       {{1}, {1}, {}, none}},
      {"a team outside the lists is ignored",
       {jon},
       {jon},
       "NEG,x,Jon,Smith,",
       {{1}, {1}, {}, none}},
      {"short names are exact text", {}, {jon}, "c1,C1 ,Jon,Smith,", {{}, {}, {}, none}},

      // Reading feeding the rename pass.
      {"no comma after the last record", {}, {jon}, "C1,x,Jon,Smith", {{}, {1}, {}, {{1}, {}, {}}}},
      {"no final comma but a line break", {}, {jon}, "C1,x,Jon,Smith\r\n", {{}, {}, {}, none}},
      {"a last record with its comma and line break",
       {},
       {jon, john},
       "C1,x,Jon,Smith,\r\nC3,x,John,Smith,\r\n",
       {{}, {1, 2}, {}, {{1}, {2}, {}}}},
      {"missing fields at the end are empty",
       {},
       {{"", "Jon"}},
       "C1,x,Jon",
       {{}, {1}, {}, {{1}, {}, {}}}},
      {"a field of 48 characters and its comma",
       {{"", x48}},
       {jon},
       x48 + ",,Jon,Smith,",
       {{1}, {1}, {}, none}},
      {"a field of 49 characters and its comma shifts the record",
       {{"", x49}},
       {jon},
       x49 + ",,Jon,Smith,",
       {{0}, {}, {}, none}},
      {"a 50th character begins the next field",
       {{"x", x49}},
       {jon},
       x49 + "x,Jon,Smith,",
       {{1}, {1}, {}, none}},
      {"an empty rename file", {john}, {jon}, "", {{0}, {}, {{1, 1}}, none}},
      {"a white-space-only rename file", {john}, {jon}, " \r\n\t\n", {{0}, {}, {{1, 1}}, none}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunPasses(c.source, c.target, c.renameFile), c.expected) << c.name;
  }
}

TEST(Matching, MissingRenameFile) {
  TempDir dir;
  const Names source = {{"Smith", "John"}}, target = {{"Smith", "John"}};
  for (const std::string& path : {std::string(), dir / "missing.txt"}) {
    RenameReader reader(path);
    MatchState state = NewMatchState(source.size(), target.size());
    TeamPlayerLists lists(kTeamLists);
    RenamePass(reader, source, target, kTeams, state, lists);
    EXPECT_EQ(Describe(state, {}, lists), (Outcome{{0}, {}, {}, TeamPlayerLists(kTeamLists)}))
        << "path '" << path << "'";
  }
}

TEST(Matching, NewMatchStateSizes) {
  const MatchState state = NewMatchState(3, 5);
  EXPECT_EQ(state.playerMap, std::vector<int>(4, 0));
  EXPECT_EQ(state.used, std::vector<char>(5, 0));
}

// Random player files over small alphabets, so that equal and near-equal names abound, with
// random earlier pairings and used flags: the indexed pass must do exactly what the plain walk
// does, down to the order of the near-match reports.
TEST(AutomaticPass, AgreesWithThePlainWalk) {
  const std::vector<std::string> lasts = {"Smith", "Lee", "smith", "", "Smit"};
  const std::vector<std::string> firsts = {"",  "J", "Jo", "Jon",  "John",
                                           "j", "K", "Ka", "\xe9", "\xe9t"};
  std::size_t nearReports = 0, pairings = 0;
  for (unsigned seed = 0; seed < 3000; ++seed) {
    std::mt19937 random(seed);
    const int maxSize = seed % 100 == 0 ? 400 : 40;
    std::uniform_int_distribution<int> size(0, maxSize);
    const int lastsUsed = 1 + static_cast<int>(random() % lasts.size());
    const int firstsUsed = 1 + static_cast<int>(random() % firsts.size());
    auto names = [&](int count) {
      Names list;
      for (int i = 0; i < count; ++i) {
        list.push_back({lasts[random() % lastsUsed], firsts[random() % firstsUsed]});
      }
      return list;
    };
    const Names source = names(size(random));
    const Names target = names(size(random));

    MatchState state = NewMatchState(source.size(), target.size());
    const unsigned usedPercent = random() % 60, mappedPercent = random() % 60;
    for (char& used : state.used) used = random() % 100 < usedPercent;
    for (std::size_t s = 1; s < state.playerMap.size() && !target.empty(); ++s) {
      if (random() % 100 < mappedPercent) {
        state.playerMap[s] = 1 + static_cast<int>(random() % target.size());
      }
    }
    MatchState plainState = state;
    const std::size_t usedBefore = UsedNumbers(state).size();

    NearMatches near, plainNear;
    AutomaticPass(source, target, state, [&](int s, int t) { near.emplace_back(s, t); });
    fixture::AutomaticPassPlain(source, target, plainState,
                                [&](int s, int t) { plainNear.emplace_back(s, t); });
    ASSERT_EQ(state.playerMap, plainState.playerMap) << "seed " << seed;
    ASSERT_EQ(state.used, plainState.used) << "seed " << seed;
    ASSERT_EQ(near, plainNear) << "seed " << seed;
    nearReports += near.size();
    pairings += UsedNumbers(state).size() - usedBefore;
  }
  // The comparison means something only if both kinds of result occur often.
  EXPECT_GT(nearReports, 5000u);
  EXPECT_GT(pairings, 5000u);
}

}  // namespace
}  // namespace tovarin
