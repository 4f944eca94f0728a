#include "support/fixture.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/native_path.h"
#include "platform/paths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tovarin::fixture {

namespace {

#ifdef _WIN32
// Letters outside ASCII, one of them outside the Western code page too (paths are UTF-8), in every
// test's folder, so that every test under Windows shows that such names reach the files and come
// back whole.
const std::string kPrefix = "tovarin-test-Qu\xC3\xA9" "bec-\xC5\x81" "ista-";
#else
const std::string kPrefix = "tovarin-test-";
#endif

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path root = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = root / platform::NativePath(kPrefix + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = platform::PathText(candidate) + platform::kSeparator;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only directories behind; make them writable so removal succeeds.
  for (auto it = fs::recursive_directory_iterator(platform::NativePath(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code ignored;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(platform::NativePath(path_), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(platform::NativePath(path_), ec);
}

std::string TempDir::operator/(const std::string& relative) const {
  std::string path = path_ + relative;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(path_.size()), path.end(), '/',
               platform::kSeparator);
  return path;
}

std::string TempDir::MakeDir(const std::string& relative) const {
  std::string dir = *this / relative;
  fs::create_directories(platform::NativePath(dir));
  if (!platform::EndsWithSeparator(dir)) dir += platform::kSeparator;
  return dir;
}

void KeepPerUserFoldersIn(const TempDir& dir) {
#ifdef _WIN32
  // Windows names its folders by itself; the tests keep out of the user's by running in a Wine
  // prefix of their own (tests/CMakeLists.txt).
  (void)dir;
#else
  setenv("XDG_CONFIG_HOME", dir.MakeDir("config").c_str(), 1);
  setenv("XDG_DATA_HOME", dir.MakeDir("data").c_str(), 1);
#endif
}

long long FillingDisk::Write(int fd, const char* data, std::size_t size) const {
  if (room_ < 0) return FileWriter::Write(fd, data, size);
  if (room_ == 0) {
    errno = ENOSPC;
    return -1;
  }
  const long long written =
      FileWriter::Write(fd, data, std::min(size, static_cast<std::size_t>(room_)));
  if (written > 0) room_ -= written;
  return written;
}

sim::Bytes ReadFileBytes(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(platform::NativePath(path), ec)) return {};
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  return sim::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::string& path) {
  const sim::Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(platform::NativePath(path), ec);
}

#ifndef _WIN32
namespace {

bool SetImmutable(const std::string& path, bool on) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

}  // namespace

bool MakeUndeletable(const std::string& path) {
  if (geteuid() == 0) return SetImmutable(path, true);
  return chmod(platform::DirectoryOf(path).c_str(), 0555) == 0;
}

void MakeDeletable(const std::string& path) {
  if (geteuid() == 0) {
    SetImmutable(path, false);
  } else {
    chmod(platform::DirectoryOf(path).c_str(), 0755);
  }
}
#endif

sim::OrgBuilder StandardOrg(int teams, std::int8_t farmOrg) {
  sim::OrgBuilder org;
  org.Organization(farmOrg);
  org.Group(10, 1, "AL").Group(11, 10, "E").Group(20, 1, "NL").Group(21, 20, "E");
  for (int k = 1; k <= teams; ++k) {
    const std::string n = std::to_string(k);
    sim::OrgRecord& team = org.Team(static_cast<std::int16_t>(k), k % 2 ? 11 : 21,
                                    static_cast<std::int16_t>(k - 1), "City " + n + " Club",
                                    "City " + n, "C" + n);
    team.farmTeamId = static_cast<std::int16_t>(100 + k);
  }
  return org;
}

sim::OrgBuilder StandardOrgWithGamesPlayed(int teams, int firstPlayed) {
  const sim::OrgBuilder standard = StandardOrg(teams);
  sim::OrgBuilder played;
  for (sim::OrgRecord record : standard.records()) {
    if (record.kind == 4 && record.id >= firstPlayed) record.gameCountA = 1;
    played.Raw(record);
  }
  return played;
}

std::string InDir(const TempDir& dir, std::string text) {
  const std::string folder = dir.path().substr(0, dir.path().size() - 1);
  for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, folder);
  return text;
}

}  // namespace tovarin::fixture
