#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
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

// What one rename record names, found as the rename pass finds it: the source player with the
// lowest number whose last name = field 1 and first name = field 0; only when there is none, the
// first team of the target teams whose short name equals field 0 or else field 1; the target
// player with the lowest number whose last name = field 3 and first name = field 2. 0 or null
// for none.
struct RenameNames {
  int source = 0;
  int target = 0;
  const TeamEntry* team = nullptr;
};

// The indexes the rename pass looks names up in; built once, each look-up costs a record's length.
class RenameIndex {
 public:
  RenameIndex(const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
              const TeamList& targetTeams);
  RenameNames Find(const RenameRecord& record) const;
  // The team a record names in field 0 or 1, whether or not it names a source player.
  const TeamEntry* TeamOf(const RenameRecord& record) const;

 private:
  std::unordered_map<std::string, int> source_, target_;  // NameKey -> lowest number
  std::unordered_map<std::string, std::size_t> teams_;    // short name -> first position
  std::size_t longestShortName_ = 0;  // a longer field names no team, unlooked-up
  const TeamList& targetTeams_;
};

// What the rename pass did with one record.
struct RenameEffect {
  enum Kind { kNothing, kPairs, kSigns } kind = kNothing;
  int source = 0;
  int target = 0;
  int teamIndex = -1;  // the signing team's
};

// What one record does, applied or not, with `teamCount` lists of team players.
RenameEffect EffectOf(const RenameNames& names, std::size_t teamCount);

// Applies one record, as the rename pass does.
RenameEffect ApplyRename(const RenameNames& names, MatchState& state, TeamPlayerLists& lists);

// Applies the rename file's records in file order, as RenameIndex finds their names. A record
// naming a source player and a target player maps the one to the other. A record naming no source
// player but a team and a target player gives the team's list the target player. Either way the
// target player becomes used; used flags do not restrict what a record names. An assignment to a
// teamIndex outside `lists` is dropped. Returns the effect of each record, in file order.
std::vector<RenameEffect> RenamePass(RenameReader& reader, const std::vector<PlayerName>& source,
                                     const std::vector<PlayerName>& target,
                                     const TeamList& targetTeams, MatchState& state,
                                     TeamPlayerLists& lists);

// For each source player in number order, pairs it with the lowest-numbered unused target player
// of equal last and first names, replacing any earlier pairing. When there is none, the
// lowest-numbered unused target player with the same last name and a different first name that
// starts with the same byte is reported through `onNearMatch`, and the source player's entry is
// left as it was.
void AutomaticPass(const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                   MatchState& state,
                   const std::function<void(int sourcePlayer, int nearTargetPlayer)>& onNearMatch);

}  // namespace tovarin
