#include "platform/dialog_units.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tovarin::platform {

int HorizontalDialogBaseUnit() {
#ifdef _WIN32
  return LOWORD(GetDialogBaseUnits());
#else
  return 8;  // the system font's average width on the simulation's platform
#endif
}

}  // namespace tovarin::platform
