#pragma once

#include <optional>

namespace tovarin::platform {

// The three keys whose lights the status bar repeats.
enum class LockKey { kCaps, kNum, kScroll };

// Whether a lock key is on; nothing where the system does not tell (on Linux the window has no
// portable way, and X11 would need its keyboard extension for three small lights).
std::optional<bool> LockKeyOn(LockKey key);

}  // namespace tovarin::platform
