#include "platform/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/case_blind.h"
#include "platform/paths.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/native_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovarin::platform {
namespace {

long long g_failAfter = -1;
long long g_written = 0;

// How many of `size` bytes may still be written before the injected fault strikes.
std::size_t Allowed(std::size_t size) {
  if (g_failAfter < 0) return size;
  const long long left = g_failAfter - g_written;
  return left <= 0 ? 0 : static_cast<std::size_t>(left) < size ? static_cast<std::size_t>(left)
                                                                 : size;
}

void SetWhy(std::string* why, const std::string& text) {
  if (why) *why = text;
}

}  // namespace

namespace testing {
void FailWritesAfter(long long bytes) {
  g_failAfter = bytes;
  g_written = 0;
}
}  // namespace testing

#ifdef _WIN32

namespace {

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L'.' || message.back() == L' ')) {
    message.pop_back();
  }
  return message.empty() ? Format("system error %lu", error) : Narrow(message);
}

// A new file beside `target`, opened for writing; its name goes to `temp`.
HANDLE CreateTemporary(const std::string& target, std::string& temp) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target + Format(".tovarin-%lx-%lx", GetCurrentProcessId(), GetTickCount() + attempt);
    file = CreateFileW(Widen(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  return file;
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why) {
  const std::string target = ResolveCaseBlind(path);
  // Windows would refuse to replace it too; saying so up front names the reason.
  const DWORD attributes = GetFileAttributesW(Widen(target).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetWhy(why, "the file is read-only");
    return false;
  }
  std::string temp;
  HANDLE file = CreateTemporary(target, temp);
  if (file == INVALID_HANDLE_VALUE) {
    SetWhy(why, SystemMessage(GetLastError()));
    return false;
  }
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const std::size_t chunk = Allowed(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (chunk == 0) {
      SetLastError(ERROR_DISK_FULL);
      ok = false;
    } else if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &written,
                          nullptr) || written == 0) {
      ok = false;
    }
    done += written;
    g_written += written;
  }
  if (ok && !FlushFileBuffers(file)) ok = false;
  if (!ok) SetWhy(why, SystemMessage(GetLastError()));
  if (!CloseHandle(file) && ok) {
    SetWhy(why, SystemMessage(GetLastError()));
    ok = false;
  }
  if (ok && !MoveFileExW(Widen(temp).c_str(), Widen(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SetWhy(why, SystemMessage(GetLastError()));
    ok = false;
  }
  if (!ok) DeleteFileW(Widen(temp).c_str());
  return ok;
}

#else

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why) {
  const std::string target = ResolveCaseBlind(path);
  const std::size_t slash = target.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = directory + "." + name + ".tovarin-XXXXXX";

  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    SetWhy(why, std::strerror(errno));
    return false;
  }
  // The new file keeps the old one's permissions, or gets the usual ones for a new file.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }

  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const std::size_t chunk = Allowed(bytes.size() - done);
    if (chunk == 0) {
      errno = ENOSPC;
      ok = false;
      break;
    }
    const ssize_t n = write(fd, bytes.data() + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
    g_written += n;
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (!ok) SetWhy(why, std::strerror(errno));
  if (close(fd) != 0 && ok) {
    SetWhy(why, std::strerror(errno));
    ok = false;
  }
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
    SetWhy(why, std::strerror(errno));
    ok = false;
  }
  if (!ok) unlink(temp.c_str());
  return ok;
}

#endif

}  // namespace tovarin::platform
