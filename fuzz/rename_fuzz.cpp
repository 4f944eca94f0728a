// Rename file and player matching: the rename file is read by RenameReader and by a literal
// reading of its rules; the rename pass and the automatic pass then run on small player lists and
// a few target teams, and must agree with their literal versions, down to every near match.
//
// Input: as harness/rename_input.h has it. Last, a pair is added to the file, which must then
// read as before with that pair after it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "harness/fuzz_support.h"
#include "harness/plain_reference.h"
#include "harness/rename_input.h"
#include "support/plain_matching.h"
#include "transfer/matching.h"
#include "transfer/rename_file.h"

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kTeamLists = 4;  // teamIndex runs from -1, so some fall outside

using NearMatches = std::vector<std::pair<int, int>>;

void CheckState(const MatchState& state, std::size_t targetCount) {
  for (std::size_t s = 1; s < state.playerMap.size(); ++s) {
    const int t = state.playerMap[s];
    FUZZ_CHECK(t >= 0 && static_cast<std::size_t>(t) <= targetCount);
    if (t > 0) FUZZ_CHECK(state.used[static_cast<std::size_t>(t - 1)]);
  }
  FUZZ_CHECK(state.playerMap[0] == 0);
}

}  // namespace
}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  const RenameInput input = ReadRenameInput(data, size);
  const std::vector<PlayerName>& source = input.source;
  const std::vector<PlayerName>& target = input.target;
  const TeamList& teams = input.teams;
  const std::string& file = input.file;

  const std::string path = FreshDir("rename") + "renames.txt";
  WriteFile(path, file);

  const std::vector<RenameRecord> expected = ReadRenamePlain(file);
  {
    RenameReader reader(path);
    RenameRecord record;
    std::size_t n = 0;
    while (reader.Next(record)) {
      FUZZ_CHECK(n < expected.size());
      for (int f = 0; f < 4; ++f) FUZZ_CHECK(record.fields[f] == expected[n].fields[f]);
      ++n;
    }
    FUZZ_CHECK(n == expected.size());
    FUZZ_CHECK(!reader.Next(record));  // the end stays the end
  }

  MatchState state = NewMatchState(source.size(), target.size());
  TeamPlayerLists lists(kTeamLists);
  {
    RenameReader reader(path);
    RenamePass(reader, source, target, teams, state, lists);
  }
  MatchState plainState = NewMatchState(source.size(), target.size());
  TeamPlayerLists plainLists(kTeamLists);
  RenamePassPlain(expected, source, target, teams, plainState, plainLists);
  FUZZ_CHECK(state.playerMap == plainState.playerMap);
  FUZZ_CHECK(state.used == plainState.used);
  FUZZ_CHECK(lists == plainLists);
  CheckState(state, target.size());

  NearMatches near, plainNear;
  AutomaticPass(source, target, state, [&](int s, int t) { near.emplace_back(s, t); });
  fixture::AutomaticPassPlain(source, target, plainState,
                              [&](int s, int t) { plainNear.emplace_back(s, t); });
  FUZZ_CHECK(state.playerMap == plainState.playerMap);
  FUZZ_CHECK(state.used == plainState.used);
  FUZZ_CHECK(near == plainNear);
  CheckState(state, target.size());
  for (const auto& [s, t] : near) {
    const PlayerName& a = source[static_cast<std::size_t>(s - 1)];
    const PlayerName& b = target[static_cast<std::size_t>(t - 1)];
    FUZZ_CHECK(a.last == b.last && a.first != b.first);
  }

  // A pair added to the file keeps every byte, leaves every record as it was read, and reads
  // back after them; a Ctrl-Z stays after it. A file with a NUL byte is no text file, and is
  // left as it is.
  const RenameRecord added{{"Jon", "Fox", "John", "Fox"}};
  std::string why;
  if (file.find('\0') != std::string::npos) {
    FUZZ_CHECK(!AppendRenameRecords(path, {added}, &why));
    FUZZ_CHECK(ReadFile(path) == file);
    return 0;
  }
  FUZZ_CHECK(AppendRenameRecords(path, {added}, &why));
  const std::string after = ReadFile(path);
  const std::size_t end = std::min(file.find('\x1a'), file.size());
  FUZZ_CHECK(after.compare(0, end, file, 0, end) == 0);
  FUZZ_CHECK(after.size() >= file.size() &&
             after.compare(after.size() - (file.size() - end), file.size() - end, file, end) == 0);
  const std::vector<RenameRecord> reread = ReadRenamePlain(after);
  FUZZ_CHECK(reread.size() == expected.size() + 1);
  for (std::size_t n = 0; n < reread.size(); ++n) {
    const RenameRecord& want = n < expected.size() ? expected[n] : added;
    for (int f = 0; f < 4; ++f) FUZZ_CHECK(reread[n].fields[f] == want.fields[f]);
  }
  return 0;
}
