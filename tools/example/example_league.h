#pragma once

#include <cstdint>
#include <string>

namespace tovarin::example {

// What the example league holds, for the people who run it.
struct ExampleLeague {
  std::string baseDirectory;  // ends with the separator
  std::string sourceOrganization;  // 2025.WDD/ORG00001/
  std::string targetOrganization;  // 2026.WDD/ORG00001/
  std::string renameFile;
  int sourcePlayers = 0;
  int targetPlayers = 0;
};

// Writes a complete, fictional simulation tree into `directory` (created if needed): the
// simulation's executable, two data disks 2025.WDD and 2026.WDD with their player files, on each
// a major-league organization of 30 teams in 2 leagues of 3 divisions with its farm organization
// of 30 affiliates, their rosters, and a rename file for the players whose names changed.
// The same seed always gives the same bytes.
ExampleLeague WriteExampleLeague(const std::string& directory, std::uint64_t seed);

}  // namespace tovarin::example
