#include "transfer/matching.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tovarin {

void NameKey(const std::string& last, const std::string& first, std::string& key) {
  key.assign(last);
  key.push_back('\0');
  key.append(first);
}

namespace {

// Last name and the first byte of the first name, NUL for an empty one: the players that can be a
// near match of each other share this key.
void InitialKey(const std::string& last, const std::string& first, std::string& key) {
  key.assign(last);
  key.push_back('\0');
  key.push_back(first.empty() ? '\0' : first[0]);
}

// The lowest player number of each pair of names.
std::unordered_map<std::string, int> LowestByName(const std::vector<PlayerName>& players) {
  std::unordered_map<std::string, int> index;
  index.reserve(players.size());
  std::string key;
  for (std::size_t i = 0; i < players.size(); ++i) {
    NameKey(players[i].last, players[i].first, key);
    index.emplace(key, static_cast<int>(i + 1));
  }
  return index;
}

int Lookup(const std::unordered_map<std::string, int>& index, const std::string& key) {
  const auto it = index.find(key);
  return it == index.end() ? 0 : it->second;
}

// Target player numbers in ascending order. Used flags are only ever set, so a cursor past the
// used entries at the front never needs to move back.
struct Bucket {
  std::vector<int> players;
  std::size_t next = 0;

  int FirstUnused(const std::vector<char>& used) {
    while (next < players.size() && used[players[next] - 1]) ++next;
    return next < players.size() ? players[next] : 0;
  }
};

using BucketIndex = std::unordered_map<std::string, Bucket>;

}  // namespace

MatchState NewMatchState(std::size_t sourceCount, std::size_t targetCount) {
  MatchState state;
  state.playerMap.assign(sourceCount + 1, 0);
  state.used.assign(targetCount, 0);
  return state;
}

RenameIndex::RenameIndex(const std::vector<PlayerName>& source,
                         const std::vector<PlayerName>& target, const TeamList& targetTeams)
    : source_(LowestByName(source)), target_(LowestByName(target)), targetTeams_(targetTeams) {
  for (std::size_t i = 0; i < targetTeams.size(); ++i) {
    teams_.emplace(targetTeams[i].shortName, i);
    longestShortName_ = std::max(longestShortName_, targetTeams[i].shortName.size());
  }
}

const TeamEntry* RenameIndex::TeamOf(const RenameRecord& record) const {
  // The first team whose short name is either field: the lower of the two first positions.
  std::size_t first = targetTeams_.size();
  for (int f = 0; f < 2; ++f) {
    if (record.fields[f].size() > longestShortName_) continue;
    if (const auto it = teams_.find(record.fields[f]); it != teams_.end()) {
      first = std::min(first, it->second);
    }
  }
  return first < targetTeams_.size() ? &targetTeams_[first] : nullptr;
}

RenameNames RenameIndex::Find(const RenameRecord& record) const {
  const std::string* f = record.fields;
  RenameNames names;
  std::string key;
  NameKey(f[3], f[2], key);
  names.target = Lookup(target_, key);
  NameKey(f[1], f[0], key);
  names.source = Lookup(source_, key);
  if (names.source == 0) names.team = TeamOf(record);
  return names;
}

RenameEffect EffectOf(const RenameNames& names, std::size_t teamCount) {
  const int s = names.source, t = names.target;
  if (t == 0) return {};
  if (s > 0) return {RenameEffect::kPairs, s, t, -1};
  const TeamEntry* team = names.team;
  if (team == nullptr || team->teamIndex < 0 ||
      static_cast<std::size_t>(team->teamIndex) >= teamCount) {
    return {};
  }
  return {RenameEffect::kSigns, 0, t, team->teamIndex};
}

RenameEffect ApplyRename(const RenameNames& names, MatchState& state, TeamPlayerLists& lists) {
  const RenameEffect effect = EffectOf(names, lists.size());
  switch (effect.kind) {
    case RenameEffect::kPairs:
      state.playerMap[static_cast<std::size_t>(effect.source)] = effect.target;
      break;
    case RenameEffect::kSigns:
      lists[static_cast<std::size_t>(effect.teamIndex)].push_back(effect.target);
      break;
    case RenameEffect::kNothing:
      return effect;
  }
  state.used[static_cast<std::size_t>(effect.target - 1)] = 1;
  return effect;
}

std::vector<RenameEffect> RenamePass(RenameReader& reader, const std::vector<PlayerName>& source,
                                     const std::vector<PlayerName>& target,
                                     const TeamList& targetTeams, MatchState& state,
                                     TeamPlayerLists& lists) {
  std::vector<RenameEffect> effects;
  RenameRecord record;
  if (!reader.Next(record)) return effects;  // spares building the indexes when there is no file

  const RenameIndex index(source, target, targetTeams);
  do {
    effects.push_back(ApplyRename(index.Find(record), state, lists));
  } while (reader.Next(record));
  return effects;
}

void AutomaticPass(const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                   MatchState& state,
                   const std::function<void(int sourcePlayer, int nearTargetPlayer)>& onNearMatch) {
  BucketIndex byName;
  BucketIndex byInitial;
  byName.reserve(target.size());
  std::string key;
  for (std::size_t i = 0; i < target.size(); ++i) {
    const int t = static_cast<int>(i + 1);
    NameKey(target[i].last, target[i].first, key);
    byName[key].players.push_back(t);
    InitialKey(target[i].last, target[i].first, key);
    byInitial[key].players.push_back(t);
  }

  for (std::size_t i = 0; i < source.size(); ++i) {
    const int s = static_cast<int>(i + 1);
    NameKey(source[i].last, source[i].first, key);
    if (const auto it = byName.find(key); it != byName.end()) {
      if (const int t = it->second.FirstUnused(state.used); t > 0) {
        state.playerMap[s] = t;
        state.used[t - 1] = 1;
        continue;
      }
    }
    // With no unused namesake left, every unused player of this bucket has a different first
    // name, so the first of them is the near match a walk in number order would meet first.
    InitialKey(source[i].last, source[i].first, key);
    if (const auto it = byInitial.find(key); it != byInitial.end()) {
      if (const int n = it->second.FirstUnused(state.used); n > 0) onNearMatch(s, n);
    }
  }
}

}  // namespace tovarin
