// tovarin_guardian_tests [--seeds N | --seed S] [--steps K]
//
// Runs the guardian on seeds 1 to N (default: about twenty seconds' worth), or on seed S alone
// with its steps printed as they go, so that a failure can be replayed. Exits 1 on the first
// broken invariant, printing the seed, its steps and what broke.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "guardian/guardian.h"
#include "support/fixture.h"

namespace {

// Seeds that broke an invariant on the code of their day, run first every time: 1, a Build
// removed a user's file named like a temporary; 2, Save after Open emptied the opened file; 8, a
// Build after Set Base Path wrote the other league; 10, a side that Set Base Path could not load
// was stored all the same; 11, a Build that failed part-way left rosters replaced; 21, a Build
// that failed removed the oldest backup.
constexpr unsigned long long kRegressions[] = {1, 2, 8, 10, 11, 21};

int RunSeed(unsigned long long seed, int steps, bool trace) {
  tovarin::guardian::SeededChoices choices(seed);
  const std::string broken = tovarin::guardian::Run(choices, steps, trace);
  if (broken.empty()) return 0;
  std::cout << "guardian: seed " << seed << " (replay: --seed " << seed << ")\n" << broken;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  tovarin::fixture::KeepPerUserFoldersIn(home);
  long long seeds = 50;
  long long seed = -1;
  int steps = 60;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool valued = i + 1 < argc;
    if (arg == "--seeds" && valued) {
      seeds = std::atoll(argv[++i]);
    } else if (arg == "--seed" && valued) {
      seed = std::atoll(argv[++i]);
    } else if (arg == "--steps" && valued) {
      steps = std::atoi(argv[++i]);
    } else {
      std::cout << "Usage: tovarin_guardian_tests [--seeds N | --seed S] [--steps K]\n";
      return arg == "--help" || arg == "-h" ? 0 : 2;
    }
  }
  if (seed >= 0) return RunSeed(static_cast<unsigned long long>(seed), steps, true);
  for (const unsigned long long regression : kRegressions) {
    if (RunSeed(regression, steps, false) != 0) return 1;
  }
  for (long long s = 1; s <= seeds; ++s) {
    const auto seed = static_cast<unsigned long long>(s);
    if (std::find(std::begin(kRegressions), std::end(kRegressions), seed) !=
        std::end(kRegressions)) {
      continue;
    }
    if (RunSeed(seed, steps, false) != 0) return 1;
  }
  std::cout << "guardian: " << seeds << " seeds of " << steps << " steps, every invariant held\n";
  return 0;
}
