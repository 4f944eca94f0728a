#include "platform/input_file.h"

#include <sys/stat.h>
#include <sys/types.h>

#include "platform/case_blind.h"
#include "platform/native_path.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tovarin::platform {

#ifdef _WIN32

InputFile OpenInputFile(const std::string& path, long long* size) {
  InputFile file(OpenFile(ResolveCaseBlind(path), "rb"));
  if (!file) return nullptr;
  struct _stat64 status {};
  if (_fstat64(_fileno(file.get()), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    return nullptr;
  }
  if (size) *size = status.st_size;
  return file;
}

#else

InputFile OpenInputFile(const std::string& path, long long* size) {
  const int fd = open(ResolveCaseBlind(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  InputFile file(fdopen(fd, "rb"));
  if (!file) {
    close(fd);
    return nullptr;
  }
  if (size) *size = static_cast<long long>(status.st_size);
  return file;
}

#endif

}  // namespace tovarin::platform
