#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace tovarin::platform {

// A path is UTF-8 bytes inside Tovarin on every system (on Linux, whatever bytes the file system
// holds). These turn one into the system's own path and back: on Windows into UTF-16, so every
// call reaches the wide-character functions and no name passes through the ANSI code page.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// std::fopen on a path held as bytes.
std::FILE* OpenFile(const std::string& path, const char* mode);

// The program's arguments (without its name), in UTF-8: on Windows as the system holds them, in
// UTF-16, not as the C runtime narrows them into the ANSI code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Whether the system can be given `path` as it is: on Windows it must be UTF-8; on Linux any
// bytes name a file.
bool IsNativePathText(const std::string& path);

// Why a path that is not such text cannot be used.
inline constexpr const char* kNotPathText = "the path is not valid UTF-8";

#ifdef _WIN32
// UTF-8 to UTF-16, strictly: false for bytes that are not UTF-8. Lone surrogates, which Windows
// file names may hold, travel in their three-byte form (as they come out of Narrow).
bool ToWide(const std::string& text, std::wstring& wide);

// A path for a wide call. Bytes that are not UTF-8 become '|', which no file name can hold, so
// the call fails rather than reach another file.
std::wstring WidePath(const std::string& path);

// Text for the screen: bytes that are not UTF-8 show as U+FFFD.
std::wstring Widen(const std::string& text);

// UTF-16 to UTF-8, without loss.
std::string Narrow(const std::wstring& text);

// Text in the system's ANSI code page, as earlier versions stored paths, to UTF-8.
std::string FromAnsiCodePage(const std::string& text);
#endif

}  // namespace tovarin::platform
