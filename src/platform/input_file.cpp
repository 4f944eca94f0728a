#include "platform/input_file.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>

#include "platform/case_blind.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/system_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tovarin::platform {

#ifdef _WIN32

InputFile OpenInputFile(const std::string& path, long long* size, std::string* why) {
  std::string folder, name;
  SplitLastName(path, folder, name);
  if (IsReservedDeviceName(name)) {
    if (why) *why = kIsADevice;
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  InputFile file(OpenFile(ResolveCaseBlind(path), "rb"));
  if (!file) {
    const DWORD system = GetLastError();
    if (why) *why = system != ERROR_SUCCESS ? SystemErrorText(system) : ErrnoText(errno);
    return nullptr;
  }
  struct _stat64 status {};
  if (_fstat64(_fileno(file.get()), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    if (why) *why = (status.st_mode & _S_IFMT) == _S_IFCHR ? kIsADevice : kNotAPlainFile;
    return nullptr;
  }
  if (size) *size = status.st_size;
  return file;
}

#else

namespace {

bool IsDevice(const struct stat& status) {
  return S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode);
}

}  // namespace

InputFile OpenInputFile(const std::string& path, long long* size, std::string* why) {
  const std::string resolved = ResolveCaseBlind(path);
  struct stat status {};
  if (stat(resolved.c_str(), &status) == 0 && IsDevice(status)) {
    if (why) *why = kIsADevice;
    return nullptr;
  }
  const int fd = open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (why) *why = errno == EISDIR ? kNotAPlainFile : ErrnoText(errno);
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    if (why) *why = IsDevice(status) ? kIsADevice : kNotAPlainFile;
    close(fd);
    return nullptr;
  }
  InputFile file(fdopen(fd, "rb"));
  if (!file) {
    if (why) *why = ErrnoText(errno);
    close(fd);
    return nullptr;
  }
  if (size) *size = static_cast<long long>(status.st_size);
  return file;
}

#endif

}  // namespace tovarin::platform
