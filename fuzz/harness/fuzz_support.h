#pragma once

// What every fuzz target shares: a private scratch folder per process, the per-user folders
// pointed into it, the split of one input into several files, and a check that stops the run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin::fuzz {

// Reports a broken expectation and aborts, so that libFuzzer (or the replay) sees a crash.
[[noreturn]] void Fail(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::tovarin::fuzz::Fail(#condition, __FILE__, __LINE__))

// The process's scratch folder, ending with the separator; created on the first call, which also
// points XDG_CONFIG_HOME and XDG_DATA_HOME into it so nothing reaches the real user's folders.
// Removed when the process exits normally.
const std::string& ScratchRoot();

// ScratchRoot() + `name`, emptied (or created) and ending with the separator. The per-user
// folders are made again, empty, as everything written by the previous input goes.
std::string FreshDir(const std::string& name);

// Creates `relative` and its parents under `root`; returns it ending with the separator.
std::string MakeDir(const std::string& root, const std::string& relative);

void WriteFile(const std::string& path, std::string_view bytes);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// One input read as several pieces: each is a 16-bit little-endian length followed by that many
// bytes (fewer when the input ends first). Pieces past the end are empty.
class Pieces {
 public:
  Pieces(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next piece, cut to at most `cap` bytes (the cut bytes are skipped).
  std::string_view Next(std::size_t cap);
  // Everything not yet taken, cut to at most `cap` bytes.
  std::string_view Rest(std::size_t cap);
  bool empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// The inverse of Pieces, for the seed maker: every piece with its length but the last, which is
// taken by Rest().
std::string JoinPieces(const std::vector<std::string>& pieces, const std::string& rest);

// Names given one per line, as the text pieces of the matching targets hold them.
std::vector<std::string_view> Lines(std::string_view text, std::size_t maxLines);

}  // namespace tovarin::fuzz
