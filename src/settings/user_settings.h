#pragma once

// The per-user settings store of this platform, as the window and tovarin-cli both use it.
#ifdef _WIN32
#include "settings/registry_settings_store.h"
#else
#include "settings/qt_settings_store.h"
#endif

namespace tovarin {
#ifdef _WIN32
using UserSettingsStore = RegistrySettingsStore;
#else
using UserSettingsStore = QtSettingsStore;
#endif
}  // namespace tovarin
