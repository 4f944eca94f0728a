#pragma once

#include <cstddef>
#include <string>

namespace tovarin::platform {

// Writes bytes into an open file. Every file Tovarin writes goes through one, so a caller can put
// a disk that fails (fills up, refuses) in place of the system's own.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes some of the `size` bytes at `data` to the open file descriptor `fd`: how many were
  // written, or -1 with errno set. The system's own write.
  virtual long long Write(int fd, const char* data, std::size_t size) const;
};

// The system's own writer, for callers that keep a reference.
const FileWriter& SystemFileWriter();

// Replaces the file at `path` with `bytes` so that it is either wholly the old file or wholly the
// new one: the bytes go through `writer` to a temporary file beside it, every write and the flush
// are checked, and only then is it renamed over the target. A file that exists under another
// letter case is the one replaced. On failure the old file is untouched, the temporary removed,
// `why` (when given) says what failed, and the result is false.
bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why = nullptr,
                     const FileWriter& writer = SystemFileWriter());

// True for the name of a temporary file that WriteFileSafely makes beside its target.
bool IsSafeWriteTemporary(const std::string& fileName);

// Removes the temporary files that an interrupted WriteFileSafely left in `directory`. Only for a
// caller that keeps every other writer out of that directory.
void RemoveSafeWriteTemporaries(const std::string& directory);

}  // namespace tovarin::platform
