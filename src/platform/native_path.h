#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace tovarin::platform {

// Paths are held as bytes, as the simulation's files and the settings hold them: on Windows in
// the ANSI code page. These turn them into the system's own paths and back, so that on Windows
// every call reaches the wide-character functions and names outside ASCII survive.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// std::fopen on a path held as bytes.
std::FILE* OpenFile(const std::string& path, const char* mode);

#ifdef _WIN32
// ANSI code page bytes to UTF-16 and back. A character the code page lacks becomes '?'.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
#endif

}  // namespace tovarin::platform
