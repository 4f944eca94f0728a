#include "simwriter/sim_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/native_path.h"

namespace tovarin::sim {
namespace {

void Put16(Bytes& bytes, std::size_t offset, std::int16_t value) {
  const auto v = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<unsigned char>(v & 0xFF);
  bytes[offset + 1] = static_cast<unsigned char>(v >> 8);
}

void PutText(Bytes& bytes, std::size_t offset, std::size_t width, const std::string& text) {
  std::fill(bytes.begin() + static_cast<long>(offset),
            bytes.begin() + static_cast<long>(offset + width), 0);
  std::copy_n(text.begin(), std::min(width, text.size()), bytes.begin() + static_cast<long>(offset));
}

}  // namespace

Bytes EncodeOrgRecord(const OrgRecord& r) {
  Bytes bytes(208, r.filler);
  Put16(bytes, 0, r.id);
  Put16(bytes, 2, r.parentId);
  Put16(bytes, 4, r.teamIndex);
  PutText(bytes, 6, 36, r.longName);
  PutText(bytes, 42, 26, r.name);
  PutText(bytes, 68, 5, r.shortName);
  bytes[73] = r.kind;
  Put16(bytes, 74, r.gameCountA);
  Put16(bytes, 76, r.gameCountB);
  Put16(bytes, 88, r.farmTeamId);
  bytes[109] = static_cast<unsigned char>(r.farmOrgNumber);
  return bytes;
}

Bytes EncodePlayer(const Player& p) {
  if (p.last.size() > 15 || 17 + p.first.size() > 146) {
    throw std::invalid_argument("player name does not fit its record: " + p.last);
  }
  Bytes bytes(146, p.filler);
  bytes[0] = static_cast<unsigned char>(p.last.size());
  PutText(bytes, 1, 15, p.last);
  bytes[16] = static_cast<unsigned char>(p.first.size());
  std::copy(p.first.begin(), p.first.end(), bytes.begin() + 17);
  return bytes;
}

Bytes EncodeRoster(const std::vector<RosterEntry>& entries) {
  Bytes bytes(2);
  Put16(bytes, 0, static_cast<std::int16_t>(entries.size()));
  for (const RosterEntry& e : entries) {
    const std::size_t at = bytes.size();
    bytes.resize(at + 6 + e.dataDisk.size());
    bytes[at] = e.marker1;
    bytes[at + 1] = e.marker2;
    Put16(bytes, at + 2, static_cast<std::int16_t>(e.dataDisk.size()));
    std::copy(e.dataDisk.begin(), e.dataDisk.end(), bytes.begin() + static_cast<long>(at + 4));
    Put16(bytes, at + 4 + e.dataDisk.size(), e.player);
  }
  return bytes;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(platform::NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteOrgFile(const std::string& path, const std::vector<OrgRecord>& records) {
  Bytes bytes;
  for (const OrgRecord& r : records) {
    const Bytes one = EncodeOrgRecord(r);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  WriteBytes(path, bytes);
}

void WritePlayersFile(const std::string& path, const std::vector<Player>& players) {
  Bytes bytes;
  bytes.reserve(players.size() * 146);
  for (const Player& p : players) {
    const Bytes one = EncodePlayer(p);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  WriteBytes(path, bytes);
}

void WriteRosterFile(const std::string& path, const std::vector<RosterEntry>& entries) {
  WriteBytes(path, EncodeRoster(entries));
}

OrgBuilder& OrgBuilder::Organization(std::int8_t farmOrgNumber, std::int16_t id) {
  OrgRecord r;
  r.id = id;
  r.kind = 1;
  r.farmOrgNumber = farmOrgNumber;
  records_.push_back(r);
  return *this;
}

OrgBuilder& OrgBuilder::Group(std::int16_t id, std::int16_t parentId,
                              const std::string& shortName) {
  OrgRecord r;
  r.id = id;
  r.parentId = parentId;
  r.kind = 2;
  r.shortName = shortName;
  records_.push_back(r);
  return *this;
}

OrgRecord& OrgBuilder::Team(std::int16_t id, std::int16_t parentId, std::int16_t teamIndex,
                            const std::string& longName, const std::string& name,
                            const std::string& shortName) {
  OrgRecord r;
  r.id = id;
  r.parentId = parentId;
  r.teamIndex = teamIndex;
  r.longName = longName;
  r.name = name;
  r.shortName = shortName;
  r.kind = 4;
  records_.push_back(r);
  return records_.back();
}

OrgBuilder& OrgBuilder::Raw(const OrgRecord& record) {
  records_.push_back(record);
  return *this;
}

void OrgBuilder::Write(const std::string& orgDirectory) const {
  WriteOrgFile(orgDirectory + "org.dat", records_);
}

}  // namespace tovarin::sim
