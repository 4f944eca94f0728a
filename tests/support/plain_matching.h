#pragma once

// The automatic pass written as the plain walk over every unused target player for each source
// player: slow, but literal, so it serves as the reference for the indexed pass.

#include <functional>
#include <vector>

#include "transfer/matching.h"

namespace tovarin::fixture {

void AutomaticPassPlain(
    const std::vector<PlayerName>& source, const std::vector<PlayerName>& target, MatchState& state,
    const std::function<void(int sourcePlayer, int nearTargetPlayer)>& onNearMatch);

}  // namespace tovarin::fixture
