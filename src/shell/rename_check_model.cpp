#include "shell/rename_check_model.h"

#include "platform/case_blind.h"
#include "platform/input_file.h"
#include "simdata/record_file.h"
#include "shell/sim_text.h"

namespace tovarin {

RenameCheckModel CheckRenames(const BuildParams& params, const TeamList& targetTeams) {
  RenameCheckModel model;
  model.path = params.renamePath;
  // A Build reads a file it cannot open as one without records, and says nothing: here that is
  // the one thing worth saying.
  if (!platform::OpenInputFile(params.renamePath)) {
    model.error = "The rename file " + platform::ResolveCaseBlind(params.renamePath) +
                  " cannot be opened.";
    return model;
  }
  std::vector<PlayerName> source, target;
  try {
    target = LoadPlayerNames(params.targetDataDiskPath + "Players.dat");
    source = LoadPlayerNames(params.sourceDataDiskPath + "Players.dat");
  } catch (const RecordFileError& error) {
    model.error = error.what();
    return model;
  }
  model.check = CheckRenameFile(params.renamePath, source, target, targetTeams);
  model.summary = RenameCheckSummary(model.check);
  for (const RenameFinding& finding : model.check.records) {
    model.rows.push_back({finding.line,
                          "Line " + std::to_string(finding.line) + ": " +
                              finding.effect,
                          false});
    for (const RenameProblem& problem : finding.problems) {
      model.rows.push_back({problem.line,
                            "    " + std::to_string(problem.line) + ":" +
                                std::to_string(problem.column) + ": " +
                                problem.message,
                            true});
    }
  }
  return model;
}

std::string DiagnosticLine(const std::string& path, const RenameProblem& problem) {
  return path + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " +
         DisplayText(problem.message);
}

}  // namespace tovarin
