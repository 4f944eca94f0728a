#include "simdata/player_file.h"

#include <algorithm>
#include <cstring>

#include "simdata/record_file.h"

namespace tovarin {
namespace {

std::string NameText(const unsigned char* record, std::size_t lengthOffset, int maxLength) {
  const int declared = static_cast<signed char>(record[lengthOffset]);
  const int length = std::clamp(declared, 0, maxLength);
  const unsigned char* text = record + lengthOffset + 1;
  const void* zero = std::memchr(text, 0, static_cast<std::size_t>(length));
  const std::size_t size = zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - text)
                                : static_cast<std::size_t>(length);
  return std::string(reinterpret_cast<const char*>(text), size);
}

}  // namespace

PlayerName ReadPlayerName(const unsigned char* record) {
  constexpr int kLastMax = 15;
  constexpr int kFirstMax = static_cast<int>(kPlayerRecordSize) - 17;
  return {NameText(record, 0, kLastMax), NameText(record, 16, kFirstMax)};
}

std::vector<PlayerName> LoadPlayerNames(const std::string& path) {
  RecordFile file(kPlayerRecordSize);
  file.Open(path, kMaxPlayerRecords, "; a roster can name only players 1 to 32767");
  std::vector<PlayerName> names;
  names.reserve(static_cast<std::size_t>(file.count()));
  for (int i = 0; i < file.count(); ++i) {
    file.CheckIndex(i);
    names.push_back(ReadPlayerName(file.Record(i)));
  }
  return names;
}

}  // namespace tovarin
