#include "pairing/team_list.h"

#include <cstdint>
#include <unordered_map>

#include "simdata/org_file.h"
#include "simdata/record_file.h"

namespace tovarin {

void LoadTeamList(TeamList& list, const std::string& directory, int& farmOrg) {
  list.clear();
  RecordFile records(kOrgRecordSize);
  records.Open(directory + "org.dat");

  // A link names the first record in file order with that id; index them once rather than
  // scanning the file for every team.
  std::unordered_map<std::int16_t, int> firstWithId;
  for (int k = 0; k < records.count(); ++k) {
    records.CheckIndex(k);
    firstWithId.emplace(org_record::Id(records.Record(k)), k);
  }
  auto find = [&](std::int16_t id) -> int {
    auto it = firstWithId.find(id);
    return it == firstWithId.end() ? -1 : it->second;
  };

  TeamList loaded;
  for (int k = 0; k < records.count(); ++k) {
    records.CheckIndex(k);
    const unsigned char* record = records.Record(k);
    const unsigned char kind = org_record::Kind(record);
    if (kind == org_record::kOrganizationKind) {
      farmOrg = org_record::FarmOrgNumber(record);
      continue;
    }
    if (kind != org_record::kTeamKind) continue;

    TeamEntry entry;
    entry.teamIndex = org_record::TeamIndex(record);
    entry.teamId = org_record::Id(record);
    entry.gamesPlayed = org_record::GameCountA(record) + org_record::GameCountB(record);
    entry.name = org_record::Name(record);
    entry.longName = org_record::LongName(record);
    entry.shortName = org_record::ShortName(record);
    entry.farmTeamId = org_record::FarmTeamId(record);

    const int parent = find(org_record::ParentId(record));
    if (parent >= 0) {
      records.CheckIndex(parent);
      entry.parentShortName = org_record::ShortName(records.Record(parent));
      const int grandparent = find(org_record::ParentId(records.Record(parent)));
      if (grandparent >= 0) {
        records.CheckIndex(grandparent);
        entry.grandparentShortName = org_record::ShortName(records.Record(grandparent));
      }
    }
    loaded.push_back(std::move(entry));
  }
  list = std::move(loaded);
}

void PairTeamsByName(TeamList& targetTeams, TeamList& sourceTeams) {
  // Unpaired source entries of each long name, in list order; the front is the next to take.
  std::unordered_map<std::string, std::vector<TeamEntry*>> waiting;
  for (TeamEntry& source : sourceTeams) {
    if (!source.partner) waiting[source.longName].push_back(&source);
  }
  std::unordered_map<std::string, std::size_t> taken;
  for (TeamEntry& target : targetTeams) {
    if (target.partner) continue;
    auto it = waiting.find(target.longName);
    if (it == waiting.end()) continue;
    std::size_t& next = taken[target.longName];
    if (next == it->second.size()) continue;
    TeamEntry* source = it->second[next++];
    target.partner = source;
    source->partner = &target;
  }
}

}  // namespace tovarin
