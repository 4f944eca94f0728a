#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tovarin::platform {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using InputFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file at `path` (an existing one under another letter case too) for reading in binary.
// Anything but a regular file (a folder, a FIFO, a device, a link to one) counts as a file that
// cannot be opened, and opening never waits: a FIFO without a writer would hold the program
// forever. A device is never opened at all (on Windows also one named CON, NUL.txt, COM1 and
// the like, wherever it seems to lie), since opening one may wait or act. `size`, when given,
// receives the file's length. Null when it cannot be opened, with `why` saying why.
InputFile OpenInputFile(const std::string& path, long long* size = nullptr,
                        std::string* why = nullptr);

// What OpenInputFile says of a file that is there but is none.
inline constexpr const char* kNotAPlainFile = "it is not a plain file";
// What it says of a device.
inline constexpr const char* kIsADevice = "it is a device";

}  // namespace tovarin::platform
