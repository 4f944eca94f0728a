#include "platform/safe_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/case_blind.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/system_error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/format.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovarin::platform {
namespace {

const char* const kReadOnly = "the file is read-only";

void SetWhy(std::string* why, const std::string& text) {
  if (why) *why = text;
}

#ifndef _WIN32
// Root may write any file, so for root the permission bits themselves decide: a file nobody may
// write is one the user meant to keep.
bool ReadOnly(const std::string& path, const struct stat& status) {
  if (geteuid() == 0) return (status.st_mode & 0222) == 0;
  return access(path.c_str(), W_OK) != 0;
}
#endif

}  // namespace

const FileWriter& SystemFileWriter() {
  static const FileWriter writer;
  return writer;
}

void SafeFileWriter::Fail(int error) {
  if (failed_) return;
  failed_ = true;
#ifdef _WIN32
  // The system's own word when the failure came from a call of the system; the C runtime
  // maps a full disk to errno's "Invalid argument".
  if (const DWORD system = GetLastError(); system != ERROR_SUCCESS) {
    why_ = SystemErrorText(system);
    return;
  }
#endif
  why_ = ErrnoText(error);
}

void SafeFileWriter::Fail(const std::error_code& error) {
  if (!error || failed_) return;
  failed_ = true;
  why_ = ErrorText(error);
}

void SafeFileWriter::Write(const std::string& bytes) {
  if (fd_ < 0 || failed_) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
#ifdef _WIN32
    SetLastError(ERROR_SUCCESS);  // so that Fail tells the system's failure from the writer's
#endif
    const long long n = writer_.Write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
}

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why,
                     const FileWriter& writer) {
  SafeFileWriter file(writer);
  if (!file.Open(path, why)) return false;
  file.Write(bytes);
  return file.Commit(why);
}

void IgnoreFileSizeLimitSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#ifdef _WIN32

namespace {

// A new file beside `target`, opened for writing as a C runtime descriptor (what a FileWriter
// writes to); its name goes to `temp`. -1 with `why` set when none can be made.
int CreateTemporary(const std::string& target, std::string& temp, std::string* why) {
  // ".NAME.tovarin-XXXXXX", as mkstemp names them elsewhere, so either system clears the other's.
  const std::size_t slash = target.find_last_of("\\/");
  const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  const std::string prefix = target.substr(0, nameAt) + "." + target.substr(nameAt) + ".tovarin-";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const unsigned long unique = (GetCurrentProcessId() * 7919ul + GetTickCount() + attempt);
    temp = prefix + Format("%06lx", unique & 0xFFFFFFul);
    const HANDLE file = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
      if (fd >= 0) return fd;
      CloseHandle(file);
      DeleteFileW(WidePath(temp).c_str());
      SetWhy(why, "too many open files");
      return -1;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  SetWhy(why, SystemErrorText(GetLastError()));
  return -1;
}

}  // namespace

long long FileWriter::Write(int fd, const char* data, std::size_t size) const {
  const unsigned int chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(size);
  return _write(fd, data, chunk);
}

// _commit is FlushFileBuffers on the descriptor's handle.
int FileWriter::Flush(int fd) const { return _commit(fd); }

namespace {
std::error_code LastError() { return {static_cast<int>(GetLastError()), std::system_category()}; }
}  // namespace

std::error_code FileWriter::Replace(const std::string& from, const std::string& to) const {
  if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return LastError();
}

std::error_code FileWriter::MakeDirectory(const std::string& path) const {
  if (CreateDirectoryW(WidePath(path).c_str(), nullptr)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return std::make_error_code(std::errc::file_exists);
  }
  return LastError();
}

std::error_code FileWriter::Remove(const std::string& path) const {
  if (DeleteFileW(WidePath(path).c_str())) return {};
  return LastError();
}

bool SafeFileWriter::Open(const std::string& path, std::string* why) {
  Discard();
  failed_ = false;
  why_.clear();
  target_ = ResolveCaseBlind(path);
  if (!IsNativePathText(target_)) {
    SetWhy(why, kNotPathText);
    return false;
  }
  const DWORD attributes = GetFileAttributesW(WidePath(target_).c_str());
  if (target_.empty() || EndsWithSeparator(target_) ||
      (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))) {
    SetWhy(why, ErrnoText(EISDIR));
    return false;
  }
  // Windows would refuse to replace it too; saying so up front names the reason.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetWhy(why, kReadOnly);
    return false;
  }
  fd_ = CreateTemporary(target_, temp_, why);
  if (fd_ < 0) {
    temp_.clear();
    return false;
  }
  return true;
}

bool SafeFileWriter::Commit(std::string* why) {
  if (fd_ < 0) {
    SetWhy(why, why_);
    return false;
  }
  SetLastError(ERROR_SUCCESS);
  if (!failed_ && writer_.Flush(fd_) != 0) Fail(errno);
  SetLastError(ERROR_SUCCESS);
  if (_close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (!failed_) Fail(writer_.Replace(temp_, target_));
  if (failed_) DeleteFileW(WidePath(temp_).c_str());
  temp_.clear();
  SetWhy(why, why_);
  return !failed_;
}

void SafeFileWriter::Discard() {
  if (fd_ < 0) return;
  _close(fd_);
  fd_ = -1;
  DeleteFileW(WidePath(temp_).c_str());
  temp_.clear();
}

// The temporary's exclusive handle is its lock.
void SafeFileWriter::ReleaseLock() {}

#else

long long FileWriter::Write(int fd, const char* data, std::size_t size) const {
  return write(fd, data, size);
}

int FileWriter::Flush(int fd) const { return fsync(fd); }

namespace {
std::error_code Errno() { return {errno, std::generic_category()}; }
}  // namespace

std::error_code FileWriter::Replace(const std::string& from, const std::string& to) const {
  return std::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : Errno();
}

std::error_code FileWriter::MakeDirectory(const std::string& path) const {
  return mkdir(path.c_str(), 0777) == 0 ? std::error_code() : Errno();
}

std::error_code FileWriter::Remove(const std::string& path) const {
  return unlink(path.c_str()) == 0 ? std::error_code() : Errno();
}

bool SafeFileWriter::Open(const std::string& path, std::string* why) {
  Discard();
  failed_ = false;
  why_.clear();
  target_ = ResolveCaseBlind(path);
  struct stat old {};
  const bool found = stat(target_.c_str(), &old) == 0;
  if (target_.empty() || EndsWithSeparator(target_) || (found && S_ISDIR(old.st_mode))) {
    SetWhy(why, ErrnoText(EISDIR));
    return false;
  }
  const bool replacing = found && S_ISREG(old.st_mode);
  if (replacing && ReadOnly(target_, old)) {
    SetWhy(why, kReadOnly);
    return false;
  }
  const std::string directory = DirectoryOf(target_);
  // The temporary is locked while it is written, so that RemoveSafeWriteTemporaries tells it
  // from one a killed writer left. Whoever cleared it between mkstemp and the lock has left the
  // name to another file, or to none: then another is made.
  for (int attempt = 0; fd_ < 0; ++attempt) {
    temp_ = directory + "." + target_.substr(directory.size()) + ".tovarin-XXXXXX";
    const int fd = mkstemp(temp_.data());
    if (fd < 0) {
      SetWhy(why, ErrnoText(errno));
      temp_.clear();
      return false;
    }
    struct stat held {};
    struct stat named {};
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 &&
        lstat(temp_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      fd_ = fd;
      break;
    }
    close(fd);
    if (attempt == 100) {
      SetWhy(why, "the temporary file beside it keeps being removed");
      temp_.clear();
      return false;
    }
  }
  // Holds the lock from Commit's close to its rename; flock belongs to the open file, which
  // this copy keeps open.
  lockFd_ = dup(fd_);
  // The new file keeps the old one's permissions, or gets the usual ones for a new file.
  if (replacing) {
    fchmod(fd_, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
  }
  return true;
}

bool SafeFileWriter::Commit(std::string* why) {
  if (fd_ < 0) {
    SetWhy(why, why_);
    return false;
  }
  if (!failed_ && writer_.Flush(fd_) != 0) Fail(errno);
  if (close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (!failed_) Fail(writer_.Replace(temp_, target_));
  if (failed_) unlink(temp_.c_str());
  ReleaseLock();
  temp_.clear();
  SetWhy(why, why_);
  return !failed_;
}

void SafeFileWriter::Discard() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(temp_.c_str());
  ReleaseLock();
  temp_.clear();
}

void SafeFileWriter::ReleaseLock() {
  if (lockFd_ >= 0) close(lockFd_);
  lockFd_ = -1;
}

#endif

// ".NAME.tovarin-XXXXXX" on every system, so either clears what the other left on a data disk.
// mkstemp fills the six places with letters and digits, the Windows writer with hex digits.
std::string SafeWriteTemporaryOf(const std::string& fileName) {
  const std::string marker = ".tovarin-";
  constexpr std::size_t kUnique = 6;
  const std::size_t size = fileName.size();
  if (size <= marker.size() + kUnique + 1 || fileName[0] != '.' ||
      fileName.compare(size - kUnique - marker.size(), marker.size(), marker) != 0) {
    return "";
  }
  for (std::size_t i = size - kUnique; i < size; ++i) {
    const char c = fileName[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return "";
  }
  return fileName.substr(1, size - kUnique - marker.size() - 1);
}

namespace {

// Removes a temporary that no writer holds. A writer keeps its temporary locked on POSIX systems
// and open without sharing on Windows, where that alone keeps it from being removed.
void RemoveUnheld(const std::filesystem::path& path) {
#ifdef _WIN32
  std::error_code ec;
  std::filesystem::remove(path, ec);
#else
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat held {};
  struct stat named {};
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 &&
      lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
      held.st_ino == named.st_ino) {
    unlink(path.c_str());
  }
  close(fd);
#endif
}

}  // namespace

void RemoveSafeWriteTemporaries(const std::string& directory,
                                const std::function<bool(const std::string&)>& owned) {
  std::error_code ec;
  const std::string resolved = ResolveCaseBlind(directory);
  std::vector<std::filesystem::path> leftovers;
  for (auto it = std::filesystem::directory_iterator(NativePath(resolved), ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    const std::string of = SafeWriteTemporaryOf(PathText(it->path().filename()));
    if (it->is_regular_file(typeError) && !it->is_symlink(typeError) && !of.empty() &&
        owned(of)) {
      leftovers.push_back(it->path());
    }
  }
  for (const auto& path : leftovers) RemoveUnheld(path);
}

}  // namespace tovarin::platform
