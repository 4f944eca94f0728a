#include "support/plain_matching.h"

namespace tovarin::fixture {
namespace {

bool SamePlayer(const PlayerName& a, const PlayerName& b) {
  return a.last == b.last && a.first == b.first;
}

// An empty first name starts with the NUL that ends it, as C text does.
char FirstByte(const std::string& name) { return name.empty() ? '\0' : name[0]; }

bool NearMatch(const PlayerName& a, const PlayerName& b) {
  return a.last == b.last && a.first != b.first && FirstByte(a.first) == FirstByte(b.first);
}

}  // namespace

void AutomaticPassPlain(
    const std::vector<PlayerName>& source, const std::vector<PlayerName>& target, MatchState& state,
    const std::function<void(int sourcePlayer, int nearTargetPlayer)>& onNearMatch) {
  for (std::size_t s = 1; s <= source.size(); ++s) {
    const PlayerName& sourceName = source[s - 1];
    int nearMatch = 0;
    bool paired = false;
    for (std::size_t t = 1; t <= target.size(); ++t) {
      if (state.used[t - 1]) continue;
      if (SamePlayer(sourceName, target[t - 1])) {
        state.playerMap[s] = static_cast<int>(t);
        state.used[t - 1] = 1;
        paired = true;
        break;
      }
      if (nearMatch == 0 && NearMatch(sourceName, target[t - 1])) nearMatch = static_cast<int>(t);
    }
    if (!paired && nearMatch != 0) onNearMatch(static_cast<int>(s), nearMatch);
  }
}

}  // namespace tovarin::fixture
