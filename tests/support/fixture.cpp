#include "support/fixture.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace tovarin::fixture {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path root = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = root / ("tovarin-test-" + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string() + platform::kSeparator;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only directories behind; make them writable so removal succeeds.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code ignored;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::MakeDir(const std::string& relative) const {
  fs::create_directories(path_ + relative);
  std::string dir = path_ + relative;
  if (!platform::EndsWithSeparator(dir)) dir += platform::kSeparator;
  return dir;
}

void KeepPerUserFoldersIn(const TempDir& dir) {
  const std::string config = dir.MakeDir("config");
  const std::string data = dir.MakeDir("data");
#ifdef _WIN32
  _putenv_s("LOCALAPPDATA", data.c_str());
#else
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
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
  if (!fs::is_regular_file(path, ec)) return {};
  std::ifstream in(path, std::ios::binary);
  return sim::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::string& path) {
  const sim::Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

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
