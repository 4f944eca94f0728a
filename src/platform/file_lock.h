#pragma once

#include <string>

namespace tovarin::platform {

// An exclusive lock on a lock file, held until Unlock, destruction or the end of the process.
// Two FileLocks on one path exclude each other even inside one process. Never waits.
class FileLock {
 public:
  enum class Result { kLocked, kBusy, kFailed };

  FileLock() = default;
  ~FileLock() { Unlock(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Creates the file at `path` when missing and locks it. kBusy when another holder has it;
  // kFailed, with `why`, when it cannot be created or locked. A symbolic link in its place that
  // leads nowhere is replaced; one that leads to a file is refused.
  Result Lock(const std::string& path, std::string* why = nullptr);

  // Releases the lock and removes the lock file.
  void Unlock();

  bool held() const { return held_; }

 private:
  std::string path_;
  bool held_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace tovarin::platform
