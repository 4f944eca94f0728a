#include "harness/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "support/fixture.h"

namespace fs = std::filesystem;

namespace tovarin::fuzz {
namespace {

// The per-user folders that fixture::KeepPerUserFoldersIn makes, emptied between inputs.
const char* const kPerUserFolders[] = {"config", "data"};

}  // namespace

void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

const std::string& ScratchRoot() {
  static const fixture::TempDir dir;
  static const bool perUser = [] {
    fixture::KeepPerUserFoldersIn(dir);
    return true;
  }();
  static_cast<void>(perUser);
  return dir.path();
}

std::string MakeDir(const std::string& root, const std::string& relative) {
  std::string dir = root + relative;
  fs::create_directories(dir);
  if (!platform::EndsWithSeparator(dir)) dir += platform::kSeparator;
  return dir;
}

std::string FreshDir(const std::string& name) {
  const std::string& root = ScratchRoot();
  for (const char* folder : kPerUserFolders) {
    std::error_code ec;
    if (fs::is_empty(root + folder, ec)) continue;
    fs::remove_all(root + folder);
    MakeDir(root, folder);
  }
  fs::remove_all(root + name);
  return MakeDir(root, name);
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  FUZZ_CHECK(std::fclose(file) == 0 && written);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string_view Pieces::Next(std::size_t cap) {
  if (rest_.size() < 2) {
    rest_ = {};
    return {};
  }
  const std::size_t length = static_cast<unsigned char>(rest_[0]) |
                             (static_cast<std::size_t>(static_cast<unsigned char>(rest_[1])) << 8);
  rest_.remove_prefix(2);
  const std::string_view piece = rest_.substr(0, length);
  rest_.remove_prefix(piece.size());
  return piece.substr(0, cap);
}

std::string_view Pieces::Rest(std::size_t cap) {
  const std::string_view piece = rest_.substr(0, cap);
  rest_ = {};
  return piece;
}

std::string JoinPieces(const std::vector<std::string>& pieces, const std::string& rest) {
  std::string joined;
  for (const std::string& piece : pieces) {
    if (piece.size() > 0xFFFF) std::abort();  // the seed maker's own mistake
    joined += static_cast<char>(piece.size() & 0xFF);
    joined += static_cast<char>(piece.size() >> 8);
    joined += piece;
  }
  return joined + rest;
}

std::vector<std::string_view> Lines(std::string_view text, std::size_t maxLines) {
  std::vector<std::string_view> lines;
  while (!text.empty() && lines.size() < maxLines) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

}  // namespace tovarin::fuzz
