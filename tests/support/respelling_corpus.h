#pragma once

// A league whose target data disk spells some players differently, in every way the review
// knows of and two it did not (a doubled or dropped letter, two letters swapped in the last
// name), with the true pairs known: the review is scored on it by a test and a benchmark.

#include <string>
#include <vector>

#include "simdata/player_file.h"
#include "support/fixture.h"

namespace tovarin::fixture {

struct RespellingCorpus {
  std::vector<PlayerName> source;
  std::vector<PlayerName> target;
  // Index = source player number: the target number of the same person, 0 when retired.
  std::vector<int> truth;
  // Index = source player number: how the target disk spells him ("same", "accent", "swap" ...).
  std::vector<std::string> respelling;
};

// `players` source players, each on the target disk unless retired, with distractors: other
// players of the same last name and first initial. The same seed gives the same corpus.
RespellingCorpus MakeRespellingCorpus(int players, unsigned seed);

struct RespellingScore {
  int respelled = 0;    // players the target disk spells differently
  int bestRight = 0;    // of them, those whose best candidate is the true player
  int likely = 0;       // "likely" candidates offered, to anyone
  int likelyWrong = 0;  // of them, those that are not the true player
  std::vector<std::string> misses;  // "swap: Hernandez Luis -> Hernadnez Luis", a line each
};

// Writes the corpus as a league of 30 teams under `dir`, every source player on a roster, and
// scores the review of a Build of it.
RespellingScore ScoreReview(const RespellingCorpus& corpus, const TempDir& dir);

}  // namespace tovarin::fixture
