// The rename file's checker: for random files, players and teams, what it says each record does
// is what a Build's two passes make of the file. Every pairing it names stands after them, every
// pairing that stands is named by exactly one record, and the signings it names are each team's
// list in order. Its records are the reader's, each starting where its first field does.
//
// Input: as harness/rename_input.h has it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "harness/fuzz_support.h"
#include "harness/plain_reference.h"
#include "harness/rename_input.h"
#include "transfer/matching.h"
#include "transfer/rename_check.h"
#include "transfer/rename_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  const RenameInput input = ReadRenameInput(data, size);
  const std::string path = FreshDir("rename_check") + "renames.txt";
  WriteFile(path, input.file);

  const RenameCheck check = CheckRenameFile(path, input.source, input.target, input.teams);

  // The Build's matching, its per-team lists sized as the Build sizes them.
  int largestIndex = 0;
  for (const TeamEntry& team : input.teams) largestIndex = std::max(largestIndex, team.teamIndex);
  TeamPlayerLists lists(static_cast<std::size_t>(largestIndex) + 1);
  MatchState state = NewMatchState(input.source.size(), input.target.size());
  {
    RenameReader reader(path);
    RenamePass(reader, input.source, input.target, input.teams, state, lists);
  }
  const std::vector<int> renamed = state.playerMap;
  AutomaticPass(input.source, input.target, state, [](int, int) {});

  const std::vector<RenameRecord> records = ReadRenamePlain(input.file);
  FUZZ_CHECK(check.records.size() == records.size());
  std::vector<int> pairedBy(state.playerMap.size(), 0);
  TeamPlayerLists signings(lists.size());
  int pairs = 0, signs = 0, nothing = 0, problems = 0;
  int line = 1, column = 0;
  for (std::size_t i = 0; i < check.records.size(); ++i) {
    const RenameFinding& f = check.records[i];
    for (int k = 0; k < 4; ++k) FUZZ_CHECK(f.record.fields[k] == records[i].fields[k]);
    FUZZ_CHECK(f.line > line || (f.line == line && f.column > column));
    line = f.line;
    column = f.column;
    for (const RenameProblem& p : f.problems) FUZZ_CHECK(p.line >= 1 && p.column >= 1);
    problems += static_cast<int>(f.problems.size());
    switch (f.action) {
      case RenameAction::kPairs:
        ++pairs;
        FUZZ_CHECK(f.source >= 1 && static_cast<std::size_t>(f.source) < state.playerMap.size());
        FUZZ_CHECK(state.playerMap[static_cast<std::size_t>(f.source)] == f.target);
        FUZZ_CHECK(pairedBy[static_cast<std::size_t>(f.source)]++ == 0);
        break;
      case RenameAction::kSigns:
        ++signs;
        FUZZ_CHECK(f.team != nullptr && f.team->teamIndex >= 0);
        signings[static_cast<std::size_t>(f.team->teamIndex)].push_back(f.target);
        break;
      case RenameAction::kNothing:
        ++nothing;
        break;
    }
  }
  for (std::size_t s = 1; s < state.playerMap.size(); ++s) {
    const bool standing = renamed[s] != 0 && state.playerMap[s] == renamed[s];
    FUZZ_CHECK(standing == (pairedBy[s] == 1));
  }
  FUZZ_CHECK(signings == lists);
  FUZZ_CHECK(pairs == check.pairs && signs == check.signs && nothing == check.nothing);
  FUZZ_CHECK(problems == check.problems);
  return 0;
}
