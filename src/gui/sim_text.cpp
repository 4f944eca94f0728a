#include "gui/sim_text.h"

namespace tovarin::gui {

QString FromWindows1252(const std::string& text) {
  // 0x80-0x9F, where Windows-1252 differs from Latin-1; 0 marks the bytes it leaves undefined.
  static const char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  QString decoded;
  decoded.reserve(static_cast<qsizetype>(text.size()));
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const char16_t high = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : 0;
    decoded += QChar(high ? high : static_cast<char16_t>(byte));
  }
  return decoded;
}

}  // namespace tovarin::gui
