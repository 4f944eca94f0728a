#include "shell/sim_text.h"

#include "platform/utf8.h"

namespace tovarin {
namespace {

// 0x80-0x9F, where Windows-1252 differs from Latin-1; 0 marks the bytes it leaves undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string DisplayText(const std::string& windows1252) {
  std::string text;
  text.reserve(windows1252.size());
  for (const char c : windows1252) {
    const auto byte = static_cast<unsigned char>(c);
    const char16_t high = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : 0;
    platform::AppendUtf8(text, high ? high : byte);
  }
  return text;
}

std::optional<std::string> SimText(const std::string& utf8) {
  std::string bytes;
  for (std::size_t at = 0; at < utf8.size();) {
    const long code = platform::NextCodePoint(utf8, at);
    if (code < 0) return utf8;  // not UTF-8: bytes of the file system's own
    const bool undefined = code >= 0x80 && code < 0xA0 && kHigh[code - 0x80] == 0;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF) || undefined) {
      bytes += static_cast<char>(code);
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32; ++i) {
      if (kHigh[i] != 0 && kHigh[i] == code) found = i;
    }
    if (found < 0) return std::nullopt;
    bytes += static_cast<char>(0x80 + found);
  }
  return bytes;
}

}  // namespace tovarin
