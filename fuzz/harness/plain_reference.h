#pragma once

// Literal versions of the rename file's reading and of the rename pass, written straight from
// their rules over the whole file in memory, with no buffering and no index: the fuzz targets
// hold the real ones against them.

#include <string_view>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/player_file.h"
#include "transfer/matching.h"
#include "transfer/rename_file.h"

namespace tovarin::fuzz {

// Every record of a rename file whose bytes are `file`.
std::vector<RenameRecord> ReadRenamePlain(std::string_view file);

void RenamePassPlain(const std::vector<RenameRecord>& records,
                     const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                     const TeamList& targetTeams, MatchState& state, TeamPlayerLists& lists);

}  // namespace tovarin::fuzz
