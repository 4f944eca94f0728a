#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tovarin {

// A player's two names as Tovarin compares and prints them.
struct PlayerName {
  std::string last;
  std::string first;
};

// The names of a 146-byte player record. A length byte is signed: a negative one gives an empty
// name; the last name is at most 15 bytes, the first name never runs past the record's end; each
// ends early at a zero byte. The record is only read.
PlayerName ReadPlayerName(const unsigned char* record);

// A roster names players 1 to 32767, so a Players.dat far beyond that is no player file; this
// bound, twice that, keeps a huge file from being read into memory.
inline constexpr std::size_t kMaxPlayerRecords = 65536;

// Every player of a Players.dat, player number n at index n-1.
// Throws RecordFileError when the file cannot be opened or read, or holds more than
// kMaxPlayerRecords records.
std::vector<PlayerName> LoadPlayerNames(const std::string& path);

}  // namespace tovarin
