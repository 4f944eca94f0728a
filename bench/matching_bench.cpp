// The automatic matching pass, indexed against the plain walk over every target player, on player
// files as two data disks of one league have them: mostly the same players in another order, some
// missing on one side, some new, and some whose first name is spelled differently; and whole
// Builds on such data disks, with either pass; and the review of a Build against its dry run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/roster_file.h"
#include "support/fixture.h"
#include "support/plain_matching.h"
#include "transfer/build.h"
#include "transfer/matching.h"
#include "transfer/review.h"
#include "support/respelling_corpus.h"

namespace tovarin {
namespace {

struct PlayerFiles {
  std::vector<PlayerName> source;
  std::vector<PlayerName> target;
};

std::string RandomLastName(std::mt19937& random) {
  static const char* const kSyllables[] = {
      "an",  "ber", "cor", "dal", "en",   "fitz", "gar", "hol", "ing", "jor", "kel", "lan",
      "mar", "ney", "ols", "per", "quin", "ros",  "son", "ter", "vin", "wes", "ya",  "zel"};
  std::string name;
  const int count = 2 + static_cast<int>(random() % 2);
  for (int i = 0; i < count; ++i) name += kSyllables[random() % std::size(kSyllables)];
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name.substr(0, 15);
}

std::string RandomFirstName(std::mt19937& random) {
  static const char* const kNames[] = {
      "John",    "Jon",    "James",  "Jim",     "Robert", "Bob",    "Michael", "Mike",   "William",
      "Will",    "David",  "Dave",   "Richard", "Rick",   "Joseph", "Joe",     "Thomas", "Tom",
      "Charles", "Chuck",  "Chris",  "Daniel",  "Dan",    "Matt",   "Anthony", "Tony",   "Mark",
      "Steve",   "Paul",   "Andrew", "Josh",    "Kevin",  "Brian",  "George",  "Ed",     "Ron",
      "Tim",     "Jason",  "Jeff",   "Ryan",    "Jacob",  "Gary",   "Nick",    "Eric",   "Jose",
      "Juan",    "Carlos", "Luis",   "Miguel",  "Pedro",  "Ken",    "Hideki"};
  return kNames[random() % std::size(kNames)];
}

// `count` players per side, the same seed giving the same files.
PlayerFiles MakePlayerFiles(int count) {
  std::mt19937 random(static_cast<unsigned>(count));
  PlayerFiles files;
  for (int i = 0; i < count; ++i)
    files.source.push_back({RandomLastName(random), RandomFirstName(random)});
  for (const PlayerName& player : files.source) {
    const unsigned roll = random() % 100;
    if (roll < 3) continue;  // retired: not on the target disk
    PlayerName copy = player;
    if (roll < 5) copy.first += "y";  // spelled differently: a near match
    files.target.push_back(copy);
  }
  while (files.target.size() < static_cast<std::size_t>(count)) {  // rookies
    files.target.push_back({RandomLastName(random), RandomFirstName(random)});
  }
  std::shuffle(files.target.begin(), files.target.end(), random);
  return files;
}

const PlayerFiles& Files(int count) {
  static std::map<int, PlayerFiles> cache;
  auto it = cache.find(count);
  if (it == cache.end()) it = cache.emplace(count, MakePlayerFiles(count)).first;
  return it->second;
}

template <auto Pass>
void BM_Pass(benchmark::State& state) {
  const PlayerFiles& files = Files(static_cast<int>(state.range(0)));
  std::size_t nearMatches = 0;
  for (auto _ : state) {
    MatchState match = NewMatchState(files.source.size(), files.target.size());
    Pass(files.source, files.target, match, [&](int, int) { ++nearMatches; });
    benchmark::DoNotOptimize(match.playerMap.data());
  }
  state.counters["players"] = static_cast<double>(state.range(0));
  state.counters["near"] =
      static_cast<double>(nearMatches / static_cast<std::size_t>(state.iterations()));
}

void BM_Indexed(benchmark::State& state) { BM_Pass<AutomaticPass>(state); }
void BM_Plain(benchmark::State& state) { BM_Pass<fixture::AutomaticPassPlain>(state); }

BENCHMARK(BM_Indexed)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
// The plain walk over 32,000 players a side takes seconds: one pass is enough.
BENCHMARK(BM_Plain)->Arg(32000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A simulation tree on disk: both data disks with these players, a 30-team organization on
// each, and 26 source players a team.
struct BuildTree {
  fixture::TempDir dir;
  BuildParams params;
  TeamList targetTeams;

  explicit BuildTree(const PlayerFiles& files) {
    const std::string source = dir.MakeDir("SRC.WDD"), target = dir.MakeDir("TGT.WDD");
    auto players = [](const std::vector<PlayerName>& names) {
      std::vector<sim::Player> list;
      for (const PlayerName& n : names) list.push_back({n.last, n.first});
      return list;
    };
    sim::WritePlayersFile(source + "Players.dat", players(files.source));
    sim::WritePlayersFile(target + "Players.dat", players(files.target));
    const std::string sourceOrg = dir.MakeDir("SRC.WDD/ORG00001");
    const std::string targetOrg = dir.MakeDir("TGT.WDD/ORG00001");
    fixture::StandardOrg(30).Write(sourceOrg);
    fixture::StandardOrg(30).Write(targetOrg);
    for (int team = 1; team <= 30; ++team) {
      std::vector<sim::RosterEntry> roster;
      for (int i = 0; i < 26; ++i) {
        const int player = 1 + ((team - 1) * 26 + i) % static_cast<int>(files.source.size());
        roster.push_back({120, 5, "SRC", static_cast<std::int16_t>(player)});
      }
      sim::WriteRosterFile(RosterPath(sourceOrg, team), roster);
    }
    int farmOrg = 0;
    LoadTeamList(targetTeams, targetOrg, farmOrg);
    LoadTeamList(sourceTeams_, sourceOrg, farmOrg);
    PairTeamsByName(targetTeams, sourceTeams_);
    params.targetDataDiskPath = target;
    params.targetOrganizationPath = targetOrg;
    params.targetDataDiskName = "TGT.WDD";
    params.targetOrgPath = targetOrg;
    params.sourceDataDiskPath = source;
    params.sourceOrganizationPath = sourceOrg;
  }

 private:
  TeamList sourceTeams_;  // the partners of the target teams
};

// A whole Build with the indexed pass. The plain walk is compared with it on the pass alone
// above: the rest of a Build is the same for both.
void BM_Build(benchmark::State& state) {
  // Target numbers above 32767 do not fit a roster: the largest size stays within it.
  BuildTree tree(Files(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    const BuildResult result = RunBuild(tree.params, tree.targetTeams);
    if (!result.ok) state.SkipWithError(result.error.c_str());
  }
  state.counters["players"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_Build)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The review of a Build, which is the Build's dry run with candidates for the dropped players,
// against that dry run alone: the matching and the rosters, without writing.
void BM_BuildDryRun(benchmark::State& state) {
  BuildTree tree(Files(static_cast<int>(state.range(0))));
  tree.params.dryRun = true;
  for (auto _ : state) {
    const BuildResult result = RunBuild(tree.params, tree.targetTeams);
    if (!result.ok) state.SkipWithError(result.error.c_str());
  }
  state.counters["players"] = static_cast<double>(state.range(0));
}

void BM_Review(benchmark::State& state) {
  BuildTree tree(Files(static_cast<int>(state.range(0))));
  std::size_t dropped = 0;
  for (auto _ : state) {
    const Review review = RunReview(tree.params, tree.targetTeams);
    if (!review.ok) state.SkipWithError(review.error.c_str());
    dropped = review.dropped.size();
  }
  state.counters["players"] = static_cast<double>(state.range(0));
  state.counters["dropped"] = static_cast<double>(dropped);
}

BENCHMARK(BM_BuildDryRun)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Review)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

// How good the review's candidates are on a league whose target disk respells players in every
// way it knows of: how often the best candidate is the true player, and how often a "likely" one
// is someone else.
void BM_RespellingCorpus(benchmark::State& state) {
  const fixture::RespellingCorpus corpus =
      fixture::MakeRespellingCorpus(static_cast<int>(state.range(0)), 2026);
  fixture::RespellingScore score;
  for (auto _ : state) {
    fixture::TempDir dir;
    score = fixture::ScoreReview(corpus, dir);
  }
  state.counters["respelled"] = score.respelled;
  state.counters["best_right_pct"] = 100.0 * score.bestRight / std::max(score.respelled, 1);
  state.counters["likely"] = score.likely;
  state.counters["likely_wrong_pct"] = 100.0 * score.likelyWrong / std::max(score.likely, 1);
  std::printf("respelling corpus, %d players: best candidate right for %d of %d respelled "
              "(%.1f%%); likely candidates wrong: %d of %d (%.1f%%)\n",
              static_cast<int>(state.range(0)), score.bestRight, score.respelled,
              100.0 * score.bestRight / std::max(score.respelled, 1), score.likelyWrong,
              score.likely, 100.0 * score.likelyWrong / std::max(score.likely, 1));
  for (const std::string& miss : score.misses) std::printf("  missed %s\n", miss.c_str());
}

BENCHMARK(BM_RespellingCorpus)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Shows the runs as usual and keeps their times, to print how much faster the index is.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const auto players = run.counters.find("players");
      if (players == run.counters.end()) continue;
      const int count = static_cast<int>(players->second.value);
      // CPU time: a whole Build's wall time is mostly the flush of each roster to the disk,
      // which says nothing of the matching and varies with whatever else the disk is doing.
      const double ms = run.GetAdjustedCPUTime();
      const std::string& name = run.run_name.function_name;
      if (name == "BM_Review" || name == "BM_BuildDryRun") {
        (name == "BM_Review" ? review_ : dryRun_)[count] = ms;
        continue;
      }
      const bool build = name.rfind("BM_Build", 0) == 0;
      const bool plain = name.size() >= 5 && name.compare(name.size() - 5, 5, "Plain") == 0;
      (plain ? plain_ : indexed_)[{build ? "whole Build" : "automatic pass", count}] = ms;
    }
  }

  void PrintSummary() const {
    std::printf("\n%-15s %10s %18s %18s %10s\n", "", "players", "indexed (CPU ms)", "plain (CPU ms)",
                "ratio");
    for (const auto& [key, indexedMs] : indexed_) {
      const auto plain = plain_.find(key);
      if (plain == plain_.end()) {
        std::printf("%-15s %10d %18.3f %18s %10s\n", key.first.c_str(), key.second, indexedMs,
                    "-", "-");
      } else {
        std::printf("%-15s %10d %18.3f %18.3f %9.1fx\n", key.first.c_str(), key.second,
                    indexedMs, plain->second, plain->second / indexedMs);
      }
    }
    std::printf("\n%-15s %10s %18s %18s %10s\n", "", "players", "review (CPU ms)",
                "dry run (CPU ms)", "ratio");
    for (const auto& [count, reviewMs] : review_) {
      const auto dryRun = dryRun_.find(count);
      if (dryRun == dryRun_.end()) continue;
      std::printf("%-15s %10d %18.3f %18.3f %9.2fx\n", "review", count, reviewMs, dryRun->second,
                  reviewMs / dryRun->second);
    }
  }

 private:
  std::map<std::pair<std::string, int>, double> indexed_, plain_;
  std::map<int, double> review_, dryRun_;
};

}  // namespace
}  // namespace tovarin

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tovarin::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
