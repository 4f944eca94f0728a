#pragma once

#include <cstddef>
#include <string>

namespace tovarin::platform {

// Replaces the file at `path` with `bytes` so that it is either wholly the old file or wholly the
// new one: the bytes go to a temporary file beside it, every write and the flush are checked, and
// only then is it renamed over the target. A file that exists under another letter case is the one
// replaced. On failure the old file is untouched, the temporary removed, `why` (when given) says
// what failed, and the result is false.
bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* why = nullptr);

namespace testing {
// Makes every write of WriteFileSafely fail, as a full disk would, once `bytes` bytes have been
// written in all. A negative value turns this off.
void FailWritesAfter(long long bytes);
}  // namespace testing

}  // namespace tovarin::platform
