#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/player_file.h"
#include "transfer/rename_file.h"

namespace tovarin {

// The pairing of source players with target players during one Build.
struct MatchState {
  // Index = source player number (entry 0 unused); value = target player number, 0 for none.
  std::vector<int> playerMap;
  // Index = target player number - 1; set once that target player has been taken.
  std::vector<char> used;
};

MatchState NewMatchState(std::size_t sourceCount, std::size_t targetCount);

// The key of a pair of names in the players' indexes. Names never hold a NUL byte, so a NUL
// between them keys the pair unambiguously. Written into `key`, whose storage a caller reuses.
void NameKey(const std::string& last, const std::string& first, std::string& key);

// The players each target team receives, indexed by teamIndex.
using TeamPlayerLists = std::vector<std::vector<int>>;

// Applies the rename file's records in file order. A record naming a source player (lowest number
// with last name = field 1 and first name = field 0) and a target player (lowest number with last
// name = field 3 and first name = field 2) maps the one to the other. Only when no source player
// matches, the first team of `targetTeams` whose short name equals field 0 or else field 1
// receives the target player in its list. Either way the target player becomes used; used flags
// do not restrict what a record names. An assignment to a teamIndex outside `lists` is dropped.
void RenamePass(RenameReader& reader, const std::vector<PlayerName>& source,
                const std::vector<PlayerName>& target, const TeamList& targetTeams,
                MatchState& state, TeamPlayerLists& lists);

// For each source player in number order, pairs it with the lowest-numbered unused target player
// of equal last and first names, replacing any earlier pairing. When there is none, the
// lowest-numbered unused target player with the same last name and a different first name that
// starts with the same byte is reported through `onNearMatch`, and the source player's entry is
// left as it was.
void AutomaticPass(const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                   MatchState& state,
                   const std::function<void(int sourcePlayer, int nearTargetPlayer)>& onNearMatch);

}  // namespace tovarin
