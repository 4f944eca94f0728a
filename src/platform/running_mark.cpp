#include "platform/running_mark.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tovarin::platform {

void MarkRunning() {
#ifdef _WIN32
  // Never closed: the system closes it when the process ends.
  CreateMutexW(nullptr, FALSE, kRunningMarkName);
#endif
}

}  // namespace tovarin::platform
