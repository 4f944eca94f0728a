#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/case_blind.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
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

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why) {
  const std::string target = ResolveCaseBlind(path);
  const std::string temp = target + ".tovarin-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) {
    SetWhy(why, std::strerror(errno));
    return false;
  }
  const std::size_t allowed = Allowed(bytes.size());
  bool ok = std::fwrite(bytes.data(), 1, allowed, file) == allowed && allowed == bytes.size();
  g_written += static_cast<long long>(allowed);
  ok = ok && std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
  if (!ok) SetWhy(why, "the disk refused the data (it may be full)");
  ok = (std::fclose(file) == 0) && ok;
  if (ok && !MoveFileExA(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SetWhy(why, "the file could not be replaced");
    ok = false;
  }
  if (!ok) std::remove(temp.c_str());
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
