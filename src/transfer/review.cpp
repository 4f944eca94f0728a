#include "transfer/review.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "platform/format.h"
#include "transfer/name_fold.h"

namespace tovarin {
namespace {

// A name a rename field gives back as it was written: no comma or Ctrl-Z ending it early, no
// white space at its start (skipped), no CR LF (read as LF), and short enough that the field
// does not end before its comma.
bool FitsRenameField(const std::string& name) {
  // The last character a field can hold ends it before its comma.
  constexpr std::size_t kLongest = RenameReader::kMaxField - 1;
  if (name.size() > kLongest) return false;
  if (!name.empty() && std::string_view(" \t\n\r\v\f").find(name.front()) != std::string_view::npos)
    return false;
  return name.find(',') == std::string::npos && name.find('\x1a') == std::string::npos &&
         name.find("\r\n") == std::string::npos;
}

bool SameName(const PlayerName& a, const PlayerName& b) {
  return a.last == b.last && a.first == b.first;
}

// A folded first name behind a mark byte, so that an empty string means "not folded yet".
std::string MarkedFirst(const std::string& folded) {
  std::string marked(1, '\x01');
  marked += folded;
  return marked;
}

std::string KeyOf(const PlayerName& name) {
  std::string key;
  NameKey(name.last, name.first, key);
  return key;
}

// Gathers the dry run's rosters and dropped entries, and finds the candidates of each dropped
// player from indexes built on the first drop.
class Reviewer : public BuildObserver {
 public:
  explicit Reviewer(Review& review) : review_(review) {}

  void OnMatched(const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                 const MatchState& state) override {
    source_ = &source;
    target_ = &target;
    state_ = &state;
  }

  void OnDropped(const TeamEntry&, const TeamEntry& partner, RosterSource from,
                 int sourcePlayer) override {
    const auto [it, added] = droppedAt_.emplace(sourcePlayer, review_.dropped.size());
    if (!added) {
      ++review_.dropped[it->second].entries;
      return;
    }
    DroppedPlayer player;
    player.sourcePlayer = sourcePlayer;
    player.sourceTeam = partner.name + (from == RosterSource::kFarmRoster ? " (farm)" : "");
    player.entries = 1;
    if (sourcePlayer > 0 && static_cast<std::size_t>(sourcePlayer) <= source_->size()) {
      player.name = (*source_)[static_cast<std::size_t>(sourcePlayer - 1)];
      FindCandidates(player);
    }
    review_.dropped.push_back(std::move(player));
  }

  void OnRoster(const TeamEntry& team, const std::string& path,
                const std::vector<RosterPlayer>& players) override {
    review_.teams.push_back({&team, path, players});
  }

 private:
  void BuildIndexes() {
    const std::vector<PlayerName>& target = *target_;
    foldedFirst_.resize(target.size());
    byFoldedLast_.reserve(target.size());
    for (std::size_t i = 0; i < target.size(); ++i) {
      std::string last = FoldName(target[i].last);
      if (!last.empty()) byFoldedLast_[std::move(last)].push_back(static_cast<int>(i + 1));
    }
    // Each folded last name under itself and under every name one deletion from it: two names
    // one edit apart always share a key, so respellings are found without a walk over all pairs.
    // Keys are hashes, kept in one sorted array: a hash that two names share by chance costs
    // one more EditDistance, and nothing is allocated per key.
    for (const auto& entry : byFoldedLast_) {
      const std::string* last = &entry.first;
      ForEachDeletion(*last, [&](std::uint64_t key) { byDeletion_.push_back({key, last}); });
    }
    std::sort(byDeletion_.begin(), byDeletion_.end(), ByKey);
    owner_.assign(target.size() + 1, 0);
    for (std::size_t s = 1; s < state_->playerMap.size(); ++s) {
      const int t = state_->playerMap[s];
      if (t > 0) owner_[static_cast<std::size_t>(t)] = static_cast<int>(s);
    }
    // A rename record names the lowest-numbered source player of its names: for each name that
    // an unpaired source player has, the lowest number that has it.
    const std::vector<PlayerName>& source = *source_;
    for (std::size_t s = 1; s <= source.size(); ++s) {
      if (state_->playerMap[s] == 0) lowestSource_.emplace(KeyOf(source[s - 1]), 0);
    }
    for (std::size_t s = 1; s <= source.size() && !lowestSource_.empty(); ++s) {
      const auto it = lowestSource_.find(KeyOf(source[s - 1]));
      if (it != lowestSource_.end() && it->second == 0) it->second = static_cast<int>(s);
    }
    indexed_ = true;
  }

  static bool ByKey(const std::pair<std::uint64_t, const std::string*>& a,
                    const std::pair<std::uint64_t, const std::string*>& b) {
    return a.first < b.first;
  }

  // Calls `use` with the hash of `name` and of each name one deletion from it.
  template <class Use>
  static void ForEachDeletion(const std::string& name, Use use) {
    const auto hash = [&name](std::size_t skip) {
      std::uint64_t h = 14695981039346656037ull;  // FNV-1a
      for (std::size_t i = 0; i < name.size(); ++i) {
        if (i == skip) continue;
        h = (h ^ static_cast<unsigned char>(name[i])) * 1099511628211ull;
      }
      return h;
    };
    use(hash(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (i > 0 && name[i] == name[i - 1]) continue;  // the same name as the deletion before
      use(hash(i));
    }
  }

  // The folded last names of target players one edit from `last`.
  std::vector<const std::string*> Respellings(const std::string& last) {
    std::vector<const std::string*> found;
    ForEachDeletion(last, [&](std::uint64_t key) {
      auto it = std::lower_bound(byDeletion_.begin(), byDeletion_.end(),
                                 std::pair<std::uint64_t, const std::string*>{key, nullptr}, ByKey);
      for (; it != byDeletion_.end() && it->first == key; ++it) {
        const std::string* other = it->second;
        if (*other != last && std::find(found.begin(), found.end(), other) == found.end() &&
            EditDistance(last, *other) == 1) {
          found.push_back(other);
        }
      }
    });
    return found;
  }

  const std::string& FoldedFirst(int t) {
    std::string& folded = foldedFirst_[static_cast<std::size_t>(t - 1)];
    if (folded.empty()) {
      folded = MarkedFirst(FoldName((*target_)[static_cast<std::size_t>(t - 1)].first));
    }
    return folded;
  }

  void FindCandidates(DroppedPlayer& player) {
    if (!indexed_) BuildIndexes();
    const std::string foldedLast = FoldName(player.name.last);
    const std::string folded = FoldName(player.name.first);
    const std::string first = MarkedFirst(folded);
    std::vector<std::string> nicknames;
    for (const std::string& n : NicknamesOf(folded)) nicknames.push_back(MarkedFirst(n));
    const bool sourceWritable =
        FitsRenameField(player.name.first) && FitsRenameField(player.name.last) &&
        lowestSource_[KeyOf(player.name)] == player.sourcePlayer;
    const auto isNickname = [&](int t) {
      return std::find(nicknames.begin(), nicknames.end(), FoldedFirst(t)) != nicknames.end();
    };

    const std::vector<PlayerName>& target = *target_;
    // The players of one folded last name; `respelled` when it is one edit from his.
    const auto consider = [&](const std::vector<int>& bucket, bool respelled) {
      for (const int t : bucket) {
        const PlayerName& name = target[static_cast<std::size_t>(t - 1)];
        Candidate c;
        if (respelled) {
          if (FoldedFirst(t) != first && !isNickname(t)) continue;
          c.kind = CandidateKind::kRespelled;
        } else if (FoldedFirst(t) == first) {
          c.kind = CandidateKind::kLikely;
        } else if (isNickname(t)) {
          c.kind = CandidateKind::kNickname;
        } else if (name.last == player.name.last && name.first != player.name.first &&
                   !name.first.empty() && !player.name.first.empty() &&
                   name.first[0] == player.name.first[0]) {
          c.kind = CandidateKind::kNearMiss;
        } else {
          continue;
        }
        c.target = t;
        c.name = name;
        c.distance = EditDistance(folded, FoldedFirst(t).substr(1));
        if (state_->used[static_cast<std::size_t>(t - 1)]) {
          c.takenBy = owner_[static_cast<std::size_t>(t)];
          if (c.takenBy == 0) {
            c.takenBy = Candidate::kTakenByRename;
          } else {
            c.takenByName = (*source_)[static_cast<std::size_t>(c.takenBy - 1)];
          }
        }
        // The bucket holds every namesake of t (they share its last name), lowest number first.
        const bool lowestTarget = std::none_of(bucket.begin(), bucket.end(), [&](int other) {
          return other < t && SameName(target[static_cast<std::size_t>(other - 1)], name);
        });
        c.writable = sourceWritable && lowestTarget && FitsRenameField(name.first) &&
                     FitsRenameField(name.last);
        player.candidates.push_back(std::move(c));
      }
    };
    if (foldedLast.empty()) return;
    if (const auto bucket = byFoldedLast_.find(foldedLast); bucket != byFoldedLast_.end()) {
      consider(bucket->second, false);
    }
    for (const std::string* last : Respellings(foldedLast)) consider(byFoldedLast_[*last], true);
    std::stable_sort(player.candidates.begin(), player.candidates.end(),
                     [](const Candidate& a, const Candidate& b) {
                       if (a.taken() != b.taken()) return !a.taken();
                       if (a.kind != b.kind) return a.kind < b.kind;
                       if (a.distance != b.distance) return a.distance < b.distance;
                       return a.target < b.target;
                     });
  }

  Review& review_;
  const std::vector<PlayerName>* source_ = nullptr;
  const std::vector<PlayerName>* target_ = nullptr;
  const MatchState* state_ = nullptr;
  std::unordered_map<int, std::size_t> droppedAt_;

  bool indexed_ = false;
  std::unordered_map<std::string, std::vector<int>> byFoldedLast_;  // ascending numbers
  // (hash of a folded last name or of one deletion from it, that last name), sorted.
  std::vector<std::pair<std::uint64_t, const std::string*>> byDeletion_;
  std::vector<std::string> foldedFirst_;  // folded on demand, behind a mark byte
  std::vector<int> owner_;                // target number -> the source player paired with it
  std::unordered_map<std::string, int> lowestSource_;
};

}  // namespace

const char* CandidateKindName(CandidateKind kind) {
  switch (kind) {
    case CandidateKind::kLikely:
      return "likely";
    case CandidateKind::kNickname:
      return "nickname";
    case CandidateKind::kRespelled:
      return "respelled";
    case CandidateKind::kNearMiss:
      return "near miss";
  }
  return "";
}

Review RunReview(BuildParams params, const TeamList& targetTeams) {
  Review review;
  params.dryRun = true;
  Reviewer reviewer(review);
  const BuildResult result = RunBuild(params, targetTeams, &reviewer);
  review.ok = result.ok;
  review.error = result.error;
  if (!result.ok) return review;
  review.notes = result.notes;
  review.counts.carried = result.playersCarried;
  review.counts.renameFile = result.renameFile;
  review.counts.renameRecords = result.renameRecords;
  review.counts.renameRecordsUsed = result.renameRecordsUsed;
  review.counts.dropped = static_cast<int>(review.dropped.size());
  for (const DroppedPlayer& player : review.dropped) {
    if (!player.candidates.empty()) ++review.counts.withCandidates;
  }
  for (const TeamReview& team : review.teams) {
    if (team.players.empty()) ++review.counts.emptyTeams;
  }
  return review;
}

std::string FullName(const PlayerName& name) {
  return name.first.empty() ? name.last : name.first + " " + name.last;
}

std::string CandidateText(const Candidate& candidate) {
  std::string text = FullName(candidate.name) + " (" + CandidateKindName(candidate.kind);
  if (candidate.kind == CandidateKind::kNearMiss) {
    text += ", " + std::to_string(candidate.distance) +
            (candidate.distance == 1 ? " letter apart" : " letters apart");
  }
  text += ")";
  if (candidate.takenBy == Candidate::kTakenByRename) {
    text += ", taken by the rename file";
  } else if (candidate.taken()) {
    text += ", taken by " + FullName(candidate.takenByName);
  } else if (!candidate.writable) {
    text += ", not for the rename file";
  }
  return text;
}

Acceptance AcceptBest(const Review& review, const std::vector<int>& sourcePlayers) {
  Acceptance acceptance;
  std::unordered_map<int, const DroppedPlayer*> dropped;
  for (const DroppedPlayer& player : review.dropped) dropped.emplace(player.sourcePlayer, &player);
  std::unordered_map<int, int> given;  // target player -> the source player who took him
  // A player chosen again is taken once, and the repeat said once.
  std::unordered_map<int, int> times, seen;  // source player -> how often he is chosen, so far
  for (const int number : sourcePlayers) ++times[number];
  for (const int number : sourcePlayers) {
    const std::string tag = platform::Format("#%d: ", number);
    const auto it = dropped.find(number);
    if (const int count = ++seen[number]; count > 1) {
      if (count == 2) {
        const int total = times[number];
        acceptance.refused.push_back(tag + "given " +
                                     (total == 2 ? std::string("twice")
                                                 : std::to_string(total) + " times"));
      }
      continue;
    }
    if (it == dropped.end()) {
      acceptance.refused.push_back(tag + "not a dropped player");
      continue;
    }
    const DroppedPlayer& player = *it->second;
    const Candidate* best = player.best();
    const std::string who = player.name.last.empty() && player.name.first.empty()
                                ? "player " + std::to_string(player.sourcePlayer)
                                : FullName(player.name);
    if (!best) {
      acceptance.refused.push_back(tag + who + " has no candidate");
    } else if (!best->acceptable()) {
      acceptance.refused.push_back(tag + who + ": " + CandidateText(*best));
    } else if (const auto [at, added] = given.emplace(best->target, number); !added) {
      acceptance.refused.push_back(tag + FullName(best->name) + " is already given to #" +
                                   std::to_string(at->second));
    } else {
      acceptance.records.push_back(
          {{player.name.first, player.name.last, best->name.first, best->name.last}});
    }
  }
  return acceptance;
}

}  // namespace tovarin
