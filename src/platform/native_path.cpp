#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace tovarin::platform {

#ifdef _WIN32
namespace {

// Decodes one UTF-8 sequence at `at`; -1 when the bytes there are not one. Surrogates are let
// through so that a Windows name holding a lone one survives the trip through UTF-8.
long DecodeAt(const std::string& text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  std::size_t length;
  long code, least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return -1;
  }
  if (at + length > text.size()) return -1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return -1;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF) return -1;
  at += length;
  return code;
}

void Append(std::wstring& wide, long code) {
  if (code >= 0x10000) {
    code -= 0x10000;
    wide += static_cast<wchar_t>(0xD800 + (code >> 10));
    wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
  } else {
    wide += static_cast<wchar_t>(code);
  }
}

// UTF-8 to UTF-16, with `invalid` in place of each byte that begins no sequence.
bool Decode(const std::string& text, std::wstring& wide, wchar_t invalid) {
  wide.clear();
  wide.reserve(text.size());
  bool valid = true;
  for (std::size_t at = 0; at < text.size();) {
    const long code = DecodeAt(text, at);
    if (code < 0) {
      valid = false;
      wide += invalid;
      ++at;
    } else {
      Append(wide, code);
    }
  }
  return valid;
}

}  // namespace

bool ToWide(const std::string& text, std::wstring& wide) { return Decode(text, wide, L'|'); }

std::wstring WidePath(const std::string& path) {
  std::wstring wide;
  Decode(path, wide, L'|');
  return wide;
}

std::wstring Widen(const std::string& text) {
  std::wstring wide;
  Decode(text, wide, 0xFFFD);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned long code = static_cast<unsigned short>(text[i]);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
      const unsigned long low = static_cast<unsigned short>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (code >> 18));
      bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

std::string FromAnsiCodePage(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return Narrow(wide);
}

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; list && i < count; ++i) arguments.push_back(Narrow(list[i]));
  LocalFree(list);
  return arguments;
}

bool IsNativePathText(const std::string& path) {
  std::wstring wide;
  return ToWide(path, wide);
}

std::filesystem::path NativePath(const std::string& path) {
  return std::filesystem::path(WidePath(path));
}

std::string PathText(const std::filesystem::path& path) { return Narrow(path.native()); }

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(WidePath(path).c_str(), Widen(mode).c_str());
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool IsNativePathText(const std::string&) { return true; }

std::filesystem::path NativePath(const std::string& path) { return std::filesystem::path(path); }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

#endif

}  // namespace tovarin::platform
