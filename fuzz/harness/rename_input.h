#pragma once

// The input of the rename file targets: piece 1 = source players, piece 2 = target players (one
// "last,first" a line), piece 3 = the target teams' short names (one a line, teamIndex from -1
// on), piece 4 = one byte that may move the rename file against the reader's 64 KiB buffer, the
// rest = the rename file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/player_file.h"

namespace tovarin::fuzz {

struct RenameInput {
  std::vector<PlayerName> source;
  std::vector<PlayerName> target;
  TeamList teams;
  std::string file;  // the rename file's bytes
};

RenameInput ReadRenameInput(const std::uint8_t* data, std::size_t size);

}  // namespace tovarin::fuzz
