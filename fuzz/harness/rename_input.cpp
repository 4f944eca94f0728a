#include "harness/rename_input.h"

#include <string_view>

#include "harness/fuzz_support.h"

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kMaxPlayers = 64;
constexpr std::size_t kMaxTeams = 8;
constexpr std::size_t kMaxRenameFile = 8 * 1024;
constexpr std::size_t kReaderBuffer = 64 * 1024;

// Text as a name read from a record holds it: up to a zero byte, never longer than its field.
std::string AsName(std::string_view text, std::size_t width) {
  text = text.substr(0, text.find('\0'));
  return std::string(text.substr(0, width));
}

std::vector<PlayerName> Players(std::string_view text) {
  std::vector<PlayerName> players;
  for (const std::string_view line : Lines(text, kMaxPlayers)) {
    const std::size_t comma = line.find(',');
    const std::string_view last = line.substr(0, comma);
    const std::string_view first =
        comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    players.push_back({AsName(last, 15), AsName(first, 129)});
  }
  return players;
}

TeamList Teams(std::string_view text) {
  TeamList teams;
  int index = -1;
  for (const std::string_view line : Lines(text, kMaxTeams)) {
    TeamEntry team;
    team.teamIndex = index++;
    team.teamId = index;
    team.shortName = AsName(line, 5);
    teams.push_back(team);
  }
  return teams;
}

}  // namespace

RenameInput ReadRenameInput(const std::uint8_t* data, std::size_t size) {
  Pieces pieces(data, size);
  RenameInput input;
  input.source = Players(pieces.Next(4096));
  input.target = Players(pieces.Next(4096));
  input.teams = Teams(pieces.Next(256));
  const std::string_view shift = pieces.Next(1);
  input.file = std::string(pieces.Rest(kMaxRenameFile));
  // Blank lines ahead of the records put a CR LF pair, or any byte, across the reader's refill.
  if (!shift.empty() && (shift[0] & 1)) {
    const std::size_t before = static_cast<unsigned char>(shift[0]) >> 1;
    input.file.insert(0, kReaderBuffer - before, '\n');
  }
  return input;
}

}  // namespace tovarin::fuzz
