#include "platform/file_lock.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "platform/native_path.h"
#include "platform/system_error.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovarin::platform {

#ifdef _WIN32

// An exclusive open is the lock: nobody else can open the file while the handle lives, and the
// system deletes it when the handle closes, also when the process is killed.
FileLock::Result FileLock::Lock(const std::string& path, std::string* why) {
  Unlock();
  if (!IsNativePathText(path)) {
    if (why) *why = kNotPathText;
    return Result::kFailed;
  }
  HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return Result::kBusy;
    if (why) *why = SystemErrorText(error);
    return Result::kFailed;
  }
  handle_ = handle;
  path_ = path;
  held_ = true;
  return Result::kLocked;
}

void FileLock::Unlock() {
  if (!held_) return;
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  held_ = false;
}

#else

// flock belongs to the open file description, so two opens exclude each other in one process
// too. The file is removed on release while still locked; whoever opened it meanwhile finds on
// locking that the path no longer names the file it holds, and opens it again.
FileLock::Result FileLock::Lock(const std::string& path, std::string* why) {
  Unlock();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno == ELOOP) {
      // A link is never a lock that a holder made. One that leads nowhere is replaced; one that
      // leads to a file is left to the user, who may have put it there.
      struct stat target {};
      struct stat link {};
      if (stat(path.c_str(), &target) != 0 && lstat(path.c_str(), &link) == 0 &&
          S_ISLNK(link.st_mode)) {
        unlink(path.c_str());
        continue;
      }
      if (why) *why = "it is a symbolic link, not a lock file; remove the link and try again";
      return Result::kFailed;
    }
    if (fd < 0) {
      if (why) *why = std::strerror(errno);
      return Result::kFailed;
    }
    int locked;
    do {
      locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      const int error = errno;
      close(fd);
      if (error == EWOULDBLOCK) return Result::kBusy;
      if (why) *why = std::strerror(error);
      return Result::kFailed;
    }
    struct stat held {};
    struct stat named {};
    if (fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      fd_ = fd;
      path_ = path;
      held_ = true;
      return Result::kLocked;
    }
    close(fd);
  }
  if (why) *why = "the lock file keeps being replaced";
  return Result::kFailed;
}

void FileLock::Unlock() {
  if (!held_) return;
  unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
  held_ = false;
}

#endif

}  // namespace tovarin::platform
