#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "transfer/build.h"
#include "transfer/rename_check.h"

namespace tovarin {

// The check of a rename file as the Check Rename File dialog and tovarin-cli renames show it. Row
// texts hold names as the files do, in Windows-1252, as PreviewModel's do; the path is UTF-8.
struct RenameCheckModel {
  std::string error;  // why the file could not be checked; empty when it was
  std::string path;   // the rename file
  RenameCheck check;
  // "N records: P pair players, S sign players, D do nothing; K problems".
  std::string summary;
  // A line for each record, "Line 3: pairs John Smith (#12) with Jon Smith (#40)", then one for
  // each of its problems, "    3:21: the fourth field runs across a line break ...".
  struct Row {
    int line = 0;  // the record's line, or the problem's
    std::string text;
    bool problem = false;
  };
  std::vector<Row> rows;
};

// Checks the rename file of `params` against the players and teams a Build on them would have,
// and the players it would drop. With `onFinding`, each record's finding goes there as it is
// made, and neither the check's records nor the rows keep it.
RenameCheckModel CheckRenames(const BuildParams& params, const TeamList& targetTeams,
                              const std::function<void(const RenameFinding&)>& onFinding = {});

// A problem in the form editors jump to: "FILE:LINE:COLUMN: message".
std::string DiagnosticLine(const std::string& path, const RenameProblem& problem);

}  // namespace tovarin
