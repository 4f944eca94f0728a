#pragma once

#include <string>
#include <vector>

#include "transfer/review.h"

namespace tovarin {

class CTovarinView;

// The review of a Build as the Preview Build dialog shows it, in text. Both windows' dialogs draw
// it; the command line prints the same texts.
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

// The Preview Build dialog's state and commands, the same in every window: the review on the
// form's setup, and the checked candidates added to the rename file.
class PreviewSession {
 public:
  explicit PreviewSession(CTovarinView& view) : view_(view) {}

  // Runs the review again.
  void Refresh();
  const PreviewModel& model() const { return model_; }
  // The counts, a line each, then what the Build would note besides (an unreadable rename
  // file); or why the review could not be made. UTF-8: it may name a file.
  std::string CountsText() const;
  // The target teams as one list: each team's heading, then its players, indented.
  std::vector<std::string> TeamRows() const;
  // Whether any dropped player has a candidate that can go into the rename file.
  bool AnyAcceptable() const;
  // Adds the best candidates of the dropped players at `rows` of model().dropped to the rename
  // file, and runs the review again when they were written: they are carried now. True then.
  bool AddToRenameFile(const std::vector<std::size_t>& rows);

 private:
  CTovarinView& view_;
  Review review_;
  PreviewModel model_;
};

}  // namespace tovarin
