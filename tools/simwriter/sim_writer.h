#pragma once

// Writers of the simulation's files from plain values: org.dat, Players.dat and roster files.
// Shared by the tests' fixtures and the example-league generator.

#include <cstdint>
#include <string>
#include <vector>

namespace tovarin::sim {

using Bytes = std::vector<unsigned char>;

// One 208-byte org.dat record. Strings longer than their field are written whole into it,
// without a NUL (a malformed field), never past it.
struct OrgRecord {
  std::int16_t id = 0;
  std::int16_t parentId = 0;
  std::int16_t teamIndex = 0;
  std::string longName;   // 36 bytes
  std::string name;       // 26 bytes
  std::string shortName;  // 5 bytes
  unsigned char kind = 0;
  std::int16_t gameCountA = 0;
  std::int16_t gameCountB = 0;
  std::int16_t farmTeamId = 0;
  std::int8_t farmOrgNumber = 0;
  unsigned char filler = 0;  // every byte that Tovarin does not read
};

// One player: last and first names, written with their length bytes.
struct Player {
  std::string last;
  std::string first;
  unsigned char filler = 0;  // the rest of the record
};

// One roster entry as stored.
struct RosterEntry {
  unsigned char marker1 = 120;
  unsigned char marker2 = 5;
  std::string dataDisk;
  std::int16_t player = 0;
};

Bytes EncodeOrgRecord(const OrgRecord& record);
Bytes EncodePlayer(const Player& player);
Bytes EncodeRoster(const std::vector<RosterEntry>& entries);

void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteOrgFile(const std::string& path, const std::vector<OrgRecord>& records);
void WritePlayersFile(const std::string& path, const std::vector<Player>& players);
void WriteRosterFile(const std::string& path, const std::vector<RosterEntry>& entries);

// Builds the records of an organization: its organization record, the grouping records
// (leagues, divisions) and the teams, in the order they are added.
class OrgBuilder {
 public:
  // The organization record, id 1 unless given.
  OrgBuilder& Organization(std::int8_t farmOrgNumber, std::int16_t id = 1);
  // A grouping record (league, division) under `parentId`.
  OrgBuilder& Group(std::int16_t id, std::int16_t parentId, const std::string& shortName);
  // A team record; the rest of the fields through the returned reference.
  OrgRecord& Team(std::int16_t id, std::int16_t parentId, std::int16_t teamIndex,
                  const std::string& longName, const std::string& name,
                  const std::string& shortName);
  OrgBuilder& Raw(const OrgRecord& record);

  const std::vector<OrgRecord>& records() const { return records_; }
  void Write(const std::string& orgDirectory) const;  // writes orgDirectory + "org.dat"

 private:
  std::vector<OrgRecord> records_;
};

}  // namespace tovarin::sim
