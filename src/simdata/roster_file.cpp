#include "simdata/roster_file.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/case_blind.h"
#include "platform/format.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/safe_file.h"

namespace tovarin {
namespace {

bool ReadInt16(std::istream& in, std::int16_t& value) {
  unsigned char bytes[2];
  if (!in.read(reinterpret_cast<char*>(bytes), 2)) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
  return true;
}

void PutInt16(std::string& out, std::int16_t value) {
  const auto v = static_cast<std::uint16_t>(value);
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

RosterFile::LoadResult Fail(RosterFile::LoadResult result, std::string* why,
                            const std::string& text) {
  if (why) *why = text;
  return result;
}

}  // namespace

RosterFile::LoadResult RosterFile::Load(const std::string& path, std::string* why) {
  Clear();
  const std::string resolved = platform::ResolveCaseBlind(path);
  std::error_code ec;
  std::ifstream in;
  const std::filesystem::path native = platform::NativePath(resolved);
  if (!std::filesystem::is_directory(native, ec)) in.open(native, std::ios::binary);
  if (!in.is_open()) return Fail(LoadResult::kCannotOpen, why, "the file cannot be opened");

  std::int16_t count = 0;
  if (!ReadInt16(in, count)) {
    return Fail(LoadResult::kMalformed, why, "the file is too short to hold a roster");
  }
  if (count < 0) {
    return Fail(LoadResult::kMalformed, why,
                platform::Format("the roster's count is negative (%d)", count));
  }
  std::vector<RosterEntry> loaded;
  loaded.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    RosterEntry entry;
    unsigned char markers[2];
    std::int16_t length = 0;
    if (!in.read(reinterpret_cast<char*>(markers), 2) || !ReadInt16(in, length)) {
      return Fail(LoadResult::kMalformed, why,
                  platform::Format("the file ends inside entry %d of %d", i + 1, count));
    }
    if (length < 0) {
      return Fail(LoadResult::kMalformed, why,
                  platform::Format("entry %d has a negative name length (%d)", i + 1, length));
    }
    entry.marker1 = markers[0];
    entry.marker2 = markers[1];
    entry.name.resize(static_cast<std::size_t>(length));
    if ((length > 0 && !in.read(entry.name.data(), length)) || !ReadInt16(in, entry.player)) {
      return Fail(LoadResult::kMalformed, why,
                  platform::Format("the file ends inside entry %d of %d", i + 1, count));
    }
    loaded.push_back(std::move(entry));
  }
  entries_ = std::move(loaded);
  return LoadResult::kOk;
}

std::string RosterFile::Encode() const {
  std::string out;
  PutInt16(out, static_cast<std::int16_t>(entries_.size()));
  for (const RosterEntry& e : entries_) {
    out += static_cast<char>(e.marker1);
    out += static_cast<char>(e.marker2);
    PutInt16(out, static_cast<std::int16_t>(e.name.size()));
    out += e.name;
    PutInt16(out, e.player);
  }
  return out;
}

bool RosterFile::Save(const std::string& path, std::string* why,
                      const platform::FileWriter& writer) const {
  return platform::WriteFileSafely(path, Encode(), why, writer);
}

void RosterFile::SetMarker(unsigned char marker1, unsigned char marker2) {
  marker1_ = marker1;
  marker2_ = marker2;
}

bool RosterFile::SetName(const std::string& name) {
  if (name.size() > kNameCapacity) return false;
  name_ = name;
  return true;
}

bool RosterFile::Append(int player) {
  if (player < INT16_MIN || player > INT16_MAX || count() >= kMaxEntries) return false;
  entries_.push_back({marker1_, marker2_, name_, static_cast<std::int16_t>(player)});
  return true;
}

std::string RosterPath(const std::string& orgDirectory, int team) {
  return platform::Format("%sT%05dRS.ORG", orgDirectory.c_str(), team);
}

bool IsRosterFileName(const std::string& name) {
  constexpr std::size_t kFixed = 7;  // "T" and "RS.ORG"
  if (name.size() < kFixed + 5 || name.size() > kFixed + 11 ||
      !platform::StartsWithIgnoreCase(name, "T") ||
      !platform::EqualsIgnoreCase(name.substr(name.size() - 6), "RS.ORG")) {
    return false;
  }
  const std::string number = name.substr(1, name.size() - kFixed);
  if (number.find_first_not_of("-0123456789") != std::string::npos) return false;
  const long long team = std::strtoll(number.c_str(), nullptr, 10);
  return team >= INT_MIN && team <= INT_MAX &&
         platform::Format("%05d", static_cast<int>(team)) == number;
}

std::string FarmRosterPath(const std::string& dataDiskDirectory, int org, int team) {
  return platform::Format("%sORG%05d%cT%05dRS.ORG", dataDiskDirectory.c_str(), org,
                          platform::kSeparator, team);
}

}  // namespace tovarin
