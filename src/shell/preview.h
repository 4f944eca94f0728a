#pragma once

#include <string>
#include <vector>

#include "transfer/review.h"

namespace tovarin {

// The review of a Build as the Preview Build dialog shows it, in text. The Qt dialog draws it,
// and so would a Win32 one; the command line prints the same texts.
struct PreviewModel {
  // "Players carried: N", "Players dropped: N", "Dropped players with candidates: N",
  // "Target teams left empty: N", and with a rename file "Rename records the Build would use: U
  // of N".
  std::vector<std::string> counts;

  struct Team {
    std::string heading;               // "Harbor City Gulls: 26 players"
    std::vector<std::string> players;  // "Pat Smith (12), from Harbor City's roster"
  };
  std::vector<Team> teams;

  struct Dropped {
    int sourcePlayer = 0;   // his number, which choosing him gives AcceptBest
    std::string player;     // "Pat O'Neil", or "player 1234 (not in the player file)"
    std::string team;       // the source team whose roster drops him
    std::string candidate;  // CandidateText of the best one, or "no candidate"
    bool acceptable = false;  // the best candidate can go into the rename file
  };
  std::vector<Dropped> dropped;
};

PreviewModel MakePreview(const Review& review);

// "   #12 Pat O'Neil, Harbor City: Pat ONeil (likely)", with his source player number.
std::string DroppedLine(const PreviewModel& model, std::size_t index);

}  // namespace tovarin
