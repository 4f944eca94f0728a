#pragma once

namespace tovarin::platform {

// The name of the mark, as the installer's script names it too.
inline constexpr const wchar_t* kRunningMarkName = L"Local\\Didozuza.Tovarin.Running";

// Marks this process as a running Tovarin until it ends, however it ends: on Windows a named
// mutex, which the installer and the uninstaller look for before they replace or remove the
// programs. Nothing on other systems, where a package manager replaces files in use safely.
void MarkRunning();

}  // namespace tovarin::platform
