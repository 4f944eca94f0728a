#include "shell/rename_check_model.h"

#include "platform/case_blind.h"
#include "platform/input_file.h"
#include "transfer/rename_file.h"
#include "simdata/record_file.h"
#include "shell/sim_text.h"

namespace tovarin {

namespace {

// The source players a Build on `params` drops from the rosters it reads, by number; empty when
// that Build would fail.
class DropWatch : public BuildObserver {
 public:
  void OnMatched(const std::vector<PlayerName>& source, const std::vector<PlayerName>&,
                 const MatchState&) override {
    dropped.assign(source.size() + 1, 0);
  }
  void OnDropped(const TeamEntry&, const TeamEntry&, RosterSource, int sourcePlayer) override {
    if (sourcePlayer > 0 && static_cast<std::size_t>(sourcePlayer) < dropped.size()) {
      dropped[static_cast<std::size_t>(sourcePlayer)] = 1;
    }
  }
  std::vector<char> dropped;
};

std::vector<char> DroppedPlayers(BuildParams params, const TeamList& targetTeams) {
  params.dryRun = true;
  DropWatch watch;
  return RunBuild(params, targetTeams, &watch).ok ? watch.dropped : std::vector<char>();
}

}  // namespace

RenameCheckModel CheckRenames(const BuildParams& params, const TeamList& targetTeams,
                              const std::function<void(const RenameFinding&)>& onFinding) {
  RenameCheckModel model;
  model.path = params.renamePath;
  // A Build reads a file it cannot open as one without records, and says nothing of a missing
  // one: here that is the one thing worth saying.
  std::string why;
  if (!platform::OpenInputFile(params.renamePath, nullptr, &why)) {
    model.error = RenameFileUnreadable(params.renamePath, why);
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
  const std::vector<char> dropped = DroppedPlayers(params, targetTeams);
  if (onFinding) {
    model.check = CheckRenameFile(
        [&params] { return std::make_unique<RenameReader>(params.renamePath); }, source, target,
        targetTeams, dropped, onFinding);
  } else {
    model.check = CheckRenameFile(params.renamePath, source, target, targetTeams, dropped);
  }
  model.summary = RenameCheckSummary(model.check);
  for (const RenameFinding& finding : model.check.records) {
    model.rows.push_back(
        {finding.line, "Line " + std::to_string(finding.line) + ": " + finding.effect, false});
    for (const RenameProblem& problem : finding.problems) {
      model.rows.push_back({problem.line,
                            "    " + std::to_string(problem.line) + ":" +
                                std::to_string(problem.column) + ": " + problem.message,
                            true});
    }
  }
  for (const RenameProblem& problem : model.check.fileProblems) {
    model.rows.push_back({problem.line,
                          std::to_string(problem.line) + ":" + std::to_string(problem.column) +
                              ": " + problem.message,
                          true});
  }
  return model;
}

std::string DiagnosticLine(const std::string& path, const RenameProblem& problem) {
  return path + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " +
         DisplayText(problem.message);
}

}  // namespace tovarin
