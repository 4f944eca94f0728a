#pragma once

#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "transfer/build.h"
#include "transfer/rename_file.h"

namespace tovarin {

// How a target player may be the same person as a dropped source player, best first.
enum class CandidateKind {
  kLikely,    // the names are equal once folded (FoldName)
  kNickname,  // the first names are a known pair, the folded last names equal
  kRespelled,  // the folded last names one edit apart, the first names equal or a known pair
  kNearMiss,  // as the report has it: the same last name, first names with the same first byte
};

// "likely", "nickname", "respelled", "near miss".
const char* CandidateKindName(CandidateKind kind);

struct Candidate {
  int target = 0;  // target player number
  PlayerName name;
  CandidateKind kind = CandidateKind::kLikely;
  // How far apart the folded first names are (EditDistance); ranks candidates of one kind.
  int distance = 0;
  // Whom the Build gives this target player already: a source player's number, kTakenByRename
  // for a team assignment (or an overridden pairing) of the rename file, 0 when nobody.
  int takenBy = 0;
  PlayerName takenByName;
  // Whether a rename record would name these two players: each name fits a field, and neither
  // has a namesake of lower number that a record would name instead.
  bool writable = true;

  static constexpr int kTakenByRename = -1;
  bool taken() const { return takenBy != 0; }
  bool acceptable() const { return !taken() && writable; }
};

// A source player whose roster entries no target player takes.
struct DroppedPlayer {
  int sourcePlayer = 0;  // may lie outside the source player file: then without name
  PlayerName name;
  std::string sourceTeam;  // the first roster dropping him: the team's name, "(farm)" after it
  int entries = 0;         // roster entries dropped, on every team
  // Free ones first, each group ranked by kind, then by how alike the first names are, then by
  // target number.
  std::vector<Candidate> candidates;

  const Candidate* best() const { return candidates.empty() ? nullptr : &candidates.front(); }
};

// A target team and the players the Build would give it, in order.
struct TeamReview {
  const TeamEntry* team = nullptr;
  std::string rosterPath;
  std::vector<RosterPlayer> players;
};

struct ReviewCounts {
  int carried = 0;         // roster entries the Build would write
  int dropped = 0;         // source players dropped
  int withCandidates = 0;  // dropped players with at least one candidate
  int emptyTeams = 0;      // target teams that would receive nobody
  bool renameFile = false;  // a rename file is chosen
  int renameRecords = 0;    // its records
  int renameRecordsUsed = 0;  // those the Build would use (see BuildResult)
};

// What a Build on these parameters would do, computed by the Build itself as a dry run, with
// candidates for every dropped player. Nothing is written.
struct Review {
  bool ok = false;
  std::string error;  // the Build's message when not ok
  std::vector<TeamReview> teams;
  std::vector<DroppedPlayer> dropped;  // in the order the Build meets them
  ReviewCounts counts;
  std::vector<std::string> notes;  // what the Build would say besides (an unreadable rename file)
};

Review RunReview(BuildParams params, const TeamList& targetTeams);

// "First Last".
std::string FullName(const PlayerName& name);

// A candidate as a line shows it: "Michael Smith (nickname)", "Jon Smith (near miss, 1 letter
// apart)", with ", taken by Mike Smith"
// (or ", taken by the rename file") when another has him, and ", not for the rename file"
// when no record can name the pair.
std::string CandidateText(const Candidate& candidate);

// The rename records that give chosen dropped players their best candidate.
struct Acceptance {
  std::vector<RenameRecord> records;  // source names, then target names
  std::vector<std::string> refused;   // one line for each choice that gives no record
};

// `sourcePlayers` are source player numbers of review.dropped: a number that names no dropped
// player is refused, as is a player whose best candidate is taken, cannot be named by a record,
// or was given to a player chosen before him. Numbers, not positions in a listing, so that a
// review made again between listing and choosing never writes another player's pair.
Acceptance AcceptBest(const Review& review, const std::vector<int>& sourcePlayers);

}  // namespace tovarin
