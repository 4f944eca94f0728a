#pragma once

#include <string>
#include <vector>

namespace tovarin {

// One team of an organization as the form lists it.
struct TeamEntry {
  int teamIndex = 0;
  int teamId = 0;  // the number of its roster file
  int gamesPlayed = 0;
  std::string name;
  std::string longName;
  std::string shortName;
  std::string grandparentShortName;
  std::string parentShortName;
  int farmTeamId = 0;
  TeamEntry* partner = nullptr;  // the paired entry of the other list
};

// A team list in org.dat file order. It is only ever emptied or built whole, so pointers to its
// entries (partners, list-box rows) stay valid until the next reload of that side.
using TeamList = std::vector<TeamEntry>;

// Empties `list` and fills it from directory + "org.dat". An organization record stores its farm
// organization number in `farmOrg` (the last one wins; none leaves it as it was). A parent or
// grandparent that no record names gives an empty short name.
// Throws RecordFileError; the list is then empty.
void LoadTeamList(TeamList& list, const std::string& directory, int& farmOrg);

// Pairs each unpaired target entry with the first unpaired source entry of equal long name
// (exact bytes), in list order on both sides. Pairs are always mutual.
void PairTeamsByName(TeamList& targetTeams, TeamList& sourceTeams);

}  // namespace tovarin
