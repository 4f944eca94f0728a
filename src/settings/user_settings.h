#pragma once

// The per-user settings store of this platform, as the window and tovarin-cli both use it.
#include "settings/qt_settings_store.h"

namespace tovarin {
using UserSettingsStore = QtSettingsStore;
}  // namespace tovarin
