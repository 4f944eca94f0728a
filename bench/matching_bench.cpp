// The automatic matching pass, indexed against the plain walk over every target player, on player
// files as two data disks of one league have them: mostly the same players in another order, some
// missing on one side, some new, and some whose first name is spelled differently.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/plain_matching.h"
#include "transfer/matching.h"

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
      const double ms = run.GetAdjustedRealTime();
      (run.run_name.function_name == "BM_Plain" ? plain_ : indexed_)[count] = ms;
    }
  }

  void PrintSummary() const {
    std::printf("\n%10s %14s %14s %10s\n", "players", "indexed (ms)", "plain (ms)", "ratio");
    for (const auto& [count, indexedMs] : indexed_) {
      const auto plain = plain_.find(count);
      if (plain == plain_.end()) {
        std::printf("%10d %14.3f %14s %10s\n", count, indexedMs, "-", "-");
      } else {
        std::printf("%10d %14.3f %14.3f %9.0fx\n", count, indexedMs, plain->second,
                    plain->second / indexedMs);
      }
    }
  }

 private:
  std::map<int, double> indexed_, plain_;
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
