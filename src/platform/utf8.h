#pragma once

#include <string>

namespace tovarin::platform {

// The code point of the UTF-8 sequence that starts at `at`, which moves past it; -1, with `at`
// left alone, when the bytes there are not one. Surrogates pass, in their three-byte form, so
// that a Windows name holding a lone one survives the trip through UTF-8.
long NextCodePoint(const std::string& text, std::size_t& at);

// Appends `code` in UTF-8.
void AppendUtf8(std::string& text, long code);

}  // namespace tovarin::platform
