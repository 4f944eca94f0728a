#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/native_path.h"
#include "platform/running_mark.h"
#include "platform/safe_file.h"
#include "settings/user_settings.h"
#include "transfer/backup.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Whether a person can answer the one question: both its prompt and the answer go through a
// console. (On Windows _isatty also holds for NUL, so the console itself is asked.)
bool OnConsole() {
#ifdef _WIN32
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);
#else
  return isatty(0) && isatty(2);
#endif
}

#ifdef _WIN32
// Output is UTF-8. A console is written in UTF-16, whatever its code page; a pipe or a file gets
// the UTF-8 bytes.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(DWORD which) : handle_(GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = GetConsoleMode(handle_, &mode) != 0;
  }
  ~ConsoleOutput() override { Flush(true); }

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) pending_ += static_cast<char>(c);
    Flush(false);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    pending_.append(data, static_cast<std::size_t>(size));
    Flush(false);
    return size;
  }
  int sync() override {
    Flush(true);
    return 0;
  }

 private:
  // Writes what is pending up to its last line break, or all of it: whole lines, so a console
  // is never handed half of a letter.
  void Flush(bool all) {
    const std::size_t lineEnd = pending_.rfind('\n');
    const std::size_t end = all ? pending_.size() : lineEnd == std::string::npos ? 0 : lineEnd + 1;
    if (end == 0) return;
    DWORD written = 0;
    if (handle_ && handle_ != INVALID_HANDLE_VALUE && console_) {
      const std::wstring wide = tovarin::platform::Widen(pending_.substr(0, end));
      WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else if (handle_ && handle_ != INVALID_HANDLE_VALUE) {
      WriteFile(handle_, pending_.data(), static_cast<DWORD>(end), &written, nullptr);
    }
    pending_.erase(0, end);
  }

  HANDLE handle_;
  bool console_ = false;
  std::string pending_;
};
#endif

}  // namespace

int main(int argc, char** argv) {
  tovarin::platform::MarkRunning();
  tovarin::platform::IgnoreFileSizeLimitSignal();
  const std::vector<std::string> args = tovarin::platform::ProgramArguments(argc, argv);
#ifdef _WIN32
  ConsoleOutput out(STD_OUTPUT_HANDLE), err(STD_ERROR_HANDLE);
  std::streambuf* const oldOut = std::cout.rdbuf(&out);
  std::streambuf* const oldErr = std::cerr.rdbuf(&err);
#endif
  tovarin::UserSettingsStore settings;
  tovarin::cli::Console console{std::cout, std::cerr, std::cin, OnConsole(), settings,
                                tovarin::BackupStore::DefaultRoot()};
  const int status = tovarin::cli::Run(args, console);
  std::cout.flush();
  std::cerr.flush();
#ifdef _WIN32
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
#endif
  return status;
}
