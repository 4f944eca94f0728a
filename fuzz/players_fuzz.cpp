// Players.dat: the input is the whole file. Every player's names must be what the record's
// length bytes allow, with a short last record zero-filled.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "simdata/player_file.h"
#include "simdata/record_file.h"
#include "harness/fuzz_support.h"

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kRecord = kPlayerRecordSize;
constexpr std::size_t kMaxFile = 256 * kRecord;

// A name as its length byte gives it: a negative length is empty, the length is cut to the
// field, and the name ends early at a zero byte.
std::string Name(const std::string& record, std::size_t lengthAt, int maxLength) {
  const int length = std::clamp(static_cast<int>(static_cast<signed char>(record[lengthAt])), 0,
                                maxLength);
  const std::string text = record.substr(lengthAt + 1, static_cast<std::size_t>(length));
  return text.substr(0, text.find('\0'));
}

}  // namespace
}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  if (size > kMaxFile) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string path = FreshDir("players") + "Players.dat";
  WriteFile(path, file);

  const std::vector<PlayerName> names = LoadPlayerNames(path);
  FUZZ_CHECK(names.size() == (size + kRecord - 1) / kRecord);
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string record(file.substr(i * kRecord, kRecord));
    record.resize(kRecord, '\0');
    const PlayerName& got = names[i];
    FUZZ_CHECK(got.last == Name(record, 0, 15));
    FUZZ_CHECK(got.first == Name(record, 16, static_cast<int>(kRecord) - 17));
    const PlayerName direct = ReadPlayerName(reinterpret_cast<const unsigned char*>(record.data()));
    FUZZ_CHECK(direct.last == got.last && direct.first == got.first);
  }
  return 0;
}
