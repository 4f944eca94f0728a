#include "platform/lock_keys.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tovarin::platform {

std::optional<bool> LockKeyOn(LockKey key) {
#ifdef _WIN32
  const int code = key == LockKey::kCaps  ? VK_CAPITAL
                   : key == LockKey::kNum ? VK_NUMLOCK
                                          : VK_SCROLL;
  return (GetKeyState(code) & 1) != 0;  // the toggle bit, not whether it is held down
#else
  (void)key;
  return std::nullopt;
#endif
}

}  // namespace tovarin::platform
