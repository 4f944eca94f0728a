// Roster files: the input is the whole file. A load must agree with a literal reading of the
// format, and a loaded roster saved again must give back exactly the bytes it was loaded from
// (anything after the last entry is not part of the roster).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simdata/roster_file.h"
#include "harness/fuzz_support.h"

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kMaxFile = 64 * 1024;

// What a literal reading finds: the entries and the length of the roster's bytes, or no
// roster at all (a file too short for its count or its entries, a negative count or length).
struct Expected {
  bool ok = false;
  std::vector<RosterEntry> entries;
  std::size_t length = 0;
};

Expected ReadPlain(std::string_view file) {
  Expected result;
  std::size_t at = 0;
  auto int16 = [&](std::int16_t& value) {
    if (file.size() - at < 2) return false;
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(
        static_cast<unsigned char>(file[at]) | (static_cast<unsigned char>(file[at + 1]) << 8)));
    at += 2;
    return true;
  };
  std::int16_t count = 0;
  if (!int16(count) || count < 0) return result;
  for (int i = 0; i < count; ++i) {
    RosterEntry entry;
    if (file.size() - at < 2) return result;
    entry.marker1 = static_cast<unsigned char>(file[at]);
    entry.marker2 = static_cast<unsigned char>(file[at + 1]);
    at += 2;
    std::int16_t length = 0;
    if (!int16(length) || length < 0) return result;
    if (file.size() - at < static_cast<std::size_t>(length)) return result;
    entry.name = std::string(file.substr(at, static_cast<std::size_t>(length)));
    at += static_cast<std::size_t>(length);
    if (!int16(entry.player)) return result;
    result.entries.push_back(entry);
  }
  result.ok = true;
  result.length = at;
  return result;
}

void CheckEntries(const RosterFile& roster, const std::vector<RosterEntry>& entries) {
  FUZZ_CHECK(roster.count() == static_cast<int>(entries.size()));
  for (int i = 0; i < roster.count(); ++i) {
    const RosterEntry& got = roster.entry(i);
    const RosterEntry& want = entries[static_cast<std::size_t>(i)];
    FUZZ_CHECK(got.marker1 == want.marker1 && got.marker2 == want.marker2);
    FUZZ_CHECK(got.name == want.name && got.player == want.player);
  }
}

}  // namespace
}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  if (size > kMaxFile) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string dir = FreshDir("roster");
  const std::string path = RosterPath(dir, 1);
  WriteFile(path, file);

  const Expected expected = ReadPlain(file);
  RosterFile roster;
  // Entries of an earlier roster must not survive a load.
  roster.SetMarker(120, 5);
  FUZZ_CHECK(roster.SetName("OLD"));
  FUZZ_CHECK(roster.Append(7));
  std::string why;
  const RosterFile::LoadResult result = roster.Load(path, &why);
  FUZZ_CHECK(result != RosterFile::LoadResult::kCannotOpen);
  if (!expected.ok) {
    FUZZ_CHECK(result == RosterFile::LoadResult::kMalformed);
    FUZZ_CHECK(roster.count() == 0 && !why.empty());
    return 0;
  }
  FUZZ_CHECK(result == RosterFile::LoadResult::kOk);
  CheckEntries(roster, expected.entries);

  const std::string encoded = roster.Encode();
  FUZZ_CHECK(encoded == file.substr(0, expected.length));
  const std::string saved = RosterPath(dir, 2);
  FUZZ_CHECK(roster.Save(saved));
  FUZZ_CHECK(ReadFile(saved) == encoded);

  RosterFile again;
  FUZZ_CHECK(again.Load(saved) == RosterFile::LoadResult::kOk);
  CheckEntries(again, expected.entries);

  // Appends follow the loaded entries with the roster's own markers and name.
  FUZZ_CHECK(roster.Append(12) == (roster.count() < RosterFile::kMaxEntries));
  if (roster.count() > static_cast<int>(expected.entries.size())) {
    const RosterEntry& added = roster.entry(roster.count() - 1);
    FUZZ_CHECK(added.marker1 == 120 && added.marker2 == 5 && added.name == "OLD");
    FUZZ_CHECK(added.player == 12);
  }
  return 0;
}
