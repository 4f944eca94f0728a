#include "platform/system_error.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "platform/format.h"
#include "platform/native_path.h"
#endif

namespace tovarin::platform {

std::string ErrnoText(int error) { return std::strerror(error); }

#ifdef _WIN32

std::string SystemErrorText(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", text ? length : 0);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L'.' || message.back() == L' ')) {
    message.pop_back();
  }
  return message.empty() ? Format("system error %lu", error) : Narrow(message);
}

std::string ErrorText(const std::error_code& error) {
  if (error.category() == std::system_category()) {
    return SystemErrorText(static_cast<unsigned long>(error.value()));
  }
  return error.message();
}

#else

std::string ErrorText(const std::error_code& error) { return error.message(); }

#endif

}  // namespace tovarin::platform
