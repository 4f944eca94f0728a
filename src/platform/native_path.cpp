#include "platform/native_path.h"

#include "platform/utf8.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace tovarin::platform {

#ifdef _WIN32
namespace {

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
    const long code = NextCodePoint(text, at);
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
    AppendUtf8(bytes, static_cast<long>(code));
  }
  return bytes;
}

std::string FromAnsiCodePage(const std::string& text) {
  if (text.empty()) return {};
  // Strictly: a byte the code page leaves undefined keeps the text as it was, which no path
  // call then takes, rather than a best guess that could name another file.
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return text;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
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
