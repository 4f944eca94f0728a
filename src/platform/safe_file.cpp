#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/case_blind.h"
#include "platform/native_path.h"

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

void SetWhy(std::string* why, const std::string& text) {
  if (why) *why = text;
}

// Writes all of `bytes`, retrying short writes; false with errno set when the writer gives up.
bool WriteAll(const FileWriter& writer, int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long long n = writer.Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

const FileWriter& SystemFileWriter() {
  static const FileWriter writer;
  return writer;
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
    const HANDLE file = CreateFileW(Widen(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
      if (fd >= 0) return fd;
      CloseHandle(file);
      DeleteFileW(Widen(temp).c_str());
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

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why,
                     const FileWriter& writer) {
  const std::string target = ResolveCaseBlind(path);
  // Windows would refuse to replace it too; saying so up front names the reason.
  const DWORD attributes = GetFileAttributesW(Widen(target).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetWhy(why, "the file is read-only");
    return false;
  }
  std::string temp;
  const int fd = CreateTemporary(target, temp, why);
  if (fd < 0) return false;
  // _commit is FlushFileBuffers on the descriptor's handle.
  bool ok = WriteAll(writer, fd, bytes) && _commit(fd) == 0;
  if (!ok) SetWhy(why, std::strerror(errno));
  if (_close(fd) != 0 && ok) {
    SetWhy(why, std::strerror(errno));
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

long long FileWriter::Write(int fd, const char* data, std::size_t size) const {
  return write(fd, data, size);
}

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why,
                     const FileWriter& writer) {
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

  bool ok = WriteAll(writer, fd, bytes);
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

// ".NAME.tovarin-XXXXXX" from mkstemp, "NAME.tovarin-tmp" on Windows; both are cleared on either
// system, as a data disk may have been written from the other.
bool IsSafeWriteTemporary(const std::string& fileName) {
  const std::string windows = ".tovarin-tmp";
  const std::string posix = ".tovarin-";
  const std::size_t size = fileName.size();
  if (size > windows.size() && fileName.compare(size - windows.size(), windows.size(), windows) == 0) {
    return true;
  }
  constexpr std::size_t kUnique = 6;
  return size > posix.size() + kUnique + 1 && fileName[0] == '.' &&
         fileName.compare(size - kUnique - posix.size(), posix.size(), posix) == 0;
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
