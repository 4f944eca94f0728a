#pragma once

#include <functional>
#include <memory>
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
  std::vector<RenameFinding> records;  // in file order, when the caller keeps them
  int read = 0;  // records checked
  int pairs = 0;
  int signs = 0;
  int nothing = 0;
  int problems = 0;  // of the records and of the file
  // What is wrong with the file as a whole: it could not be read, or not to its end (then the
  // counts cover only the records before), or it changed while it was checked.
  std::vector<RenameProblem> fileProblems;
  bool readToItsEnd = true;
};

// The rename file's reader, opened afresh on each call: the checker reads the file twice.
using RenameReaderOpener = std::function<std::unique_ptr<RenameReader>()>;

// Reads the rename file as a Build does, with the same reader and the same look-ups, and gives
// `onFinding` for each record, in file order, what the Build does with it and what is wrong with
// it. A file that cannot be opened reads as one without records, as in a Build, but one that is
// there and cannot be read, or not to its end, is a problem. `dropped` flags by number the source
// players the Build drops from the rosters it reads (empty when not known): a record that takes
// one's exact match is a problem. Writes nothing; the file is streamed, the work grows with the
// sizes of the files, not with their product, and memory with a few bytes per record.
RenameCheck CheckRenameFile(const RenameReaderOpener& open, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams,
                            const std::vector<char>& dropped,
                            const std::function<void(const RenameFinding&)>& onFinding);

// The same on the file at `path`, keeping every finding in `records`.
RenameCheck CheckRenameFile(const std::string& path, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams,
                            const std::vector<char>& dropped = {});

// "N records: P pair players, S sign players, D do nothing; K problems", and when the file could
// not be read to its end, "N records read before it failed: ...".
std::string RenameCheckSummary(const RenameCheck& check);

}  // namespace tovarin
