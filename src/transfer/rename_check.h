#pragma once

#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/player_file.h"
#include "transfer/rename_file.h"

namespace tovarin {

// What a Build does with one rename record, once both passes have run.
enum class RenameAction { kPairs, kSigns, kNothing };

// A place in the rename file and what is wrong there. Texts hold names as the files have them
// (Windows-1252); whoever shows them decodes them.
struct RenameProblem {
  int line = 0;
  int column = 0;
  std::string message;
};

struct RenameFinding {
  int line = 0;  // where the record starts
  int column = 0;
  RenameRecord record;
  RenameAction action = RenameAction::kNothing;
  int source = 0;  // the source player a pairing gives a target player
  int target = 0;  // the target player paired or signed
  const TeamEntry* team = nullptr;  // the team a signing gives him
  // "pairs John Smith (#12) with Jon Smith (#40)", "signs Jon Smith (#40) to C3 (City 3 Club)",
  // or "does nothing: " and why.
  std::string effect;
  std::vector<RenameProblem> problems;
};

struct RenameCheck {
  std::vector<RenameFinding> records;  // in file order
  int pairs = 0;
  int signs = 0;
  int nothing = 0;
  int problems = 0;
};

// Reads the rename file at `path` as a Build does, with the same reader and the same look-ups,
// and says for each record what the Build does with it and what is wrong with it. A file that
// cannot be opened reads as one without records, as in a Build. Writes nothing; the work grows
// with the sizes of the files, not with their product.
RenameCheck CheckRenameFile(const std::string& path, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams);

// "N records: P pair players, S sign players, D do nothing; K problems".
std::string RenameCheckSummary(const RenameCheck& check);

}  // namespace tovarin
