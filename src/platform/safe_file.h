#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>

namespace tovarin::platform {

// The steps that change files. Every file Tovarin writes, and every folder and removal of its
// Builds and restores, goes through one, so a caller can put a disk that fails (fills up,
// refuses, breaks) in place of the system's own. Each is the system's own call.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes some of the `size` bytes at `data` to the open file descriptor `fd`: how many were
  // written, or -1 with errno set.
  virtual long long Write(int fd, const char* data, std::size_t size) const;
  // Makes what was written to `fd` durable: 0, or -1 with errno set.
  virtual int Flush(int fd) const;
  // Puts the file `from` in the place of the file `to`, replacing it at once.
  virtual std::error_code Replace(const std::string& from, const std::string& to) const;
  // Creates the folder `path`; std::errc::file_exists when something is there.
  virtual std::error_code MakeDirectory(const std::string& path) const;
  // Removes the file `path`.
  virtual std::error_code Remove(const std::string& path) const;
};

// The system's own writer, for callers that keep a reference.
const FileWriter& SystemFileWriter();

// Replaces the file at `path` piece by piece so that it is either wholly the old file or wholly
// the new one: the bytes go through the writer to a temporary file beside it, every write and the
// flush are checked, and only Commit renames it over the target, so a link in its place is
// replaced, not followed. A file that exists under another letter case is the one replaced; the
// new file keeps the old one's permission bits. A read-only file is not replaced. A writer
// destroyed before Commit leaves the old file as it was.
class SafeFileWriter {
 public:
  // `writer` must outlive this one.
  explicit SafeFileWriter(const FileWriter& writer = SystemFileWriter()) : writer_(writer) {}
  ~SafeFileWriter() { Discard(); }
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Starts the new file. False, with `why`, when the old one is read-only or a folder, or no
  // temporary file can be made beside it.
  bool Open(const std::string& path, std::string* why = nullptr);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends bytes. After a failed write the rest is ignored, and Commit says what failed.
  void Write(const std::string& bytes);
  // Puts the new file in the old one's place. On failure the old file is untouched, the
  // temporary removed, `why` says what failed, and the result is false.
  bool Commit(std::string* why = nullptr);
  // Removes the temporary file; the old file stays.
  void Discard();

 private:
  void Fail(int error);
  void Fail(const std::error_code& error);
  void ReleaseLock();

  const FileWriter& writer_;
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  int lockFd_ = -1;  // holds the temporary's lock until it has its place (POSIX systems)
  bool failed_ = false;
  std::string why_;
};

// The whole of `bytes` through a SafeFileWriter.
bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why = nullptr,
                     const FileWriter& writer = SystemFileWriter());

// The name of the file whose temporary `fileName` is, when it is named exactly as WriteFileSafely
// names its temporaries; empty for any other name.
std::string SafeWriteTemporaryOf(const std::string& fileName);

// Removes the temporary files that an interrupted WriteFileSafely left in `directory` for the
// files that `owned` accepts (given the file's name). A name that only looks like one stays, and
// so does one that a running writer is still writing, in this process or another.
void RemoveSafeWriteTemporaries(const std::string& directory,
                                const std::function<bool(const std::string&)>& owned);

// A write beyond the process's file-size limit then fails with EFBIG, reported like any failed
// write, instead of ending the process with SIGXFSZ. Called once at start-up.
void IgnoreFileSizeLimitSignal();

}  // namespace tovarin::platform
