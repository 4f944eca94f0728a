#include "harness/plain_reference.h"

#include <string>

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kMaxField = 49;

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The file as a text-mode read gives it: CR LF becomes LF and byte 26 ends it.
std::string TextModeBytes(std::string_view file) {
  std::string text;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == 26) break;
    if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') continue;
    text += file[i];
  }
  return text;
}

// Lowest player number with these names, 0 for none.
int Lowest(const std::vector<PlayerName>& players, const std::string& last,
           const std::string& first) {
  for (std::size_t i = 0; i < players.size(); ++i) {
    if (players[i].last == last && players[i].first == first) return static_cast<int>(i + 1);
  }
  return 0;
}

}  // namespace

std::vector<RenameRecord> ReadRenamePlain(std::string_view file) {
  const std::string text = TextModeBytes(file);
  std::size_t at = 0;
  auto readField = [&](std::string& field) {
    field.clear();
    while (at < text.size() && IsWhiteSpace(text[at])) ++at;
    if (at == text.size()) return false;
    std::string raw;
    while (at < text.size() && raw.size() < kMaxField) {
      const char c = text[at++];
      if (c == ',') break;
      raw += c;
    }
    field = raw.substr(0, raw.find('\0'));
    return true;
  };

  std::vector<RenameRecord> records;
  for (;;) {
    RenameRecord record;
    int read = 0;
    while (read < 4 && readField(record.fields[read])) ++read;
    if (read == 0) break;
    records.push_back(record);
    if (read < 4) break;
  }
  return records;
}

void RenamePassPlain(const std::vector<RenameRecord>& records,
                     const std::vector<PlayerName>& source, const std::vector<PlayerName>& target,
                     const TeamList& targetTeams, MatchState& state, TeamPlayerLists& lists) {
  for (const RenameRecord& record : records) {
    const std::string* f = record.fields;
    const int t = Lowest(target, f[3], f[2]);
    if (const int s = Lowest(source, f[1], f[0]); s > 0) {
      if (t > 0) {
        state.playerMap[static_cast<std::size_t>(s)] = t;
        state.used[static_cast<std::size_t>(t - 1)] = 1;
      }
      continue;
    }
    for (const TeamEntry& team : targetTeams) {
      if (team.shortName != f[0] && team.shortName != f[1]) continue;
      if (t > 0 && team.teamIndex >= 0 &&
          static_cast<std::size_t>(team.teamIndex) < lists.size()) {
        state.used[static_cast<std::size_t>(t - 1)] = 1;
        lists[static_cast<std::size_t>(team.teamIndex)].push_back(t);
      }
      break;
    }
  }
}

}  // namespace tovarin::fuzz
