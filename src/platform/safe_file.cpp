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

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/format.h"
#else
#include <fcntl.h>
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
  why_ = std::strerror(error);
}

void SafeFileWriter::Write(const std::string& bytes) {
  if (fd_ < 0 || failed_) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
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
  SetWhy(why, SystemMessage(GetLastError()));
  return -1;
}

}  // namespace

long long FileWriter::Write(int fd, const char* data, std::size_t size) const {
  const unsigned int chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(size);
  return _write(fd, data, chunk);
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
    SetWhy(why, std::strerror(EISDIR));
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
  // _commit is FlushFileBuffers on the descriptor's handle.
  if (!failed_ && _commit(fd_) != 0) Fail(errno);
  if (_close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (!failed_ && !MoveFileExW(WidePath(temp_).c_str(), WidePath(target_).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failed_ = true;
    why_ = SystemMessage(GetLastError());
  }
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

#else

long long FileWriter::Write(int fd, const char* data, std::size_t size) const {
  return write(fd, data, size);
}

bool SafeFileWriter::Open(const std::string& path, std::string* why) {
  Discard();
  failed_ = false;
  why_.clear();
  target_ = ResolveCaseBlind(path);
  struct stat old {};
  const bool found = stat(target_.c_str(), &old) == 0;
  if (target_.empty() || EndsWithSeparator(target_) || (found && S_ISDIR(old.st_mode))) {
    SetWhy(why, std::strerror(EISDIR));
    return false;
  }
  const bool replacing = found && S_ISREG(old.st_mode);
  if (replacing && ReadOnly(target_, old)) {
    SetWhy(why, kReadOnly);
    return false;
  }
  const std::string directory = DirectoryOf(target_);
  temp_ = directory + "." + target_.substr(directory.size()) + ".tovarin-XXXXXX";
  fd_ = mkstemp(temp_.data());
  if (fd_ < 0) {
    SetWhy(why, std::strerror(errno));
    temp_.clear();
    return false;
  }
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
  if (!failed_ && fsync(fd_) != 0) Fail(errno);
  if (close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (!failed_ && std::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  if (failed_) unlink(temp_.c_str());
  temp_.clear();
  SetWhy(why, why_);
  return !failed_;
}

void SafeFileWriter::Discard() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(temp_.c_str());
  temp_.clear();
}

#endif

// ".NAME.tovarin-XXXXXX" on every system, so either clears what the other left on a data disk.
bool IsSafeWriteTemporary(const std::string& fileName) {
  const std::string marker = ".tovarin-";
  constexpr std::size_t kUnique = 6;
  const std::size_t size = fileName.size();
  return size > marker.size() + kUnique + 1 && fileName[0] == '.' &&
         fileName.compare(size - kUnique - marker.size(), marker.size(), marker) == 0;
}

void RemoveSafeWriteTemporaries(const std::string& directory) {
  std::error_code ec;
  const std::string resolved = ResolveCaseBlind(directory);
  std::vector<std::filesystem::path> leftovers;
  for (auto it = std::filesystem::directory_iterator(NativePath(resolved), ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && !it->is_symlink(typeError) &&
        IsSafeWriteTemporary(PathText(it->path().filename()))) {
      leftovers.push_back(it->path());
    }
  }
  for (const auto& path : leftovers) std::filesystem::remove(path, ec);
}

}  // namespace tovarin::platform
