#include "transfer/backup.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "platform/case_blind.h"
#include "platform/format.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/safe_file.h"

namespace fs = std::filesystem;

namespace tovarin {
namespace {

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kManifestTitle = "Tovarin backup";

bool Fail(std::string* why, const std::string& text) {
  if (why) *why = text;
  return false;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::error_code ec;
  const fs::path native = platform::NativePath(path);
  if (!fs::is_regular_file(native, ec)) return false;
  std::ifstream in(native, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::tm LocalTime(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return local;
}

std::string Sanitized(const std::string& label) {
  std::string name;
  for (char c : label) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-';
    name += plain ? c : '_';
  }
  return name;
}

struct ManifestEntry {
  bool present = false;
  std::string stored;    // file name inside the backup
  std::string original;  // where it goes back
};

struct Manifest {
  std::string organization;
  std::string time;
  std::vector<ManifestEntry> entries;
};

bool ReadManifest(const std::string& directory, Manifest& manifest) {
  std::string text;
  if (!ReadWhole(directory + kManifest, text)) return false;
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kManifestTitle) return false;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    if (fields[0] == "organization" && fields.size() == 2) {
      manifest.organization = fields[1];
    } else if (fields[0] == "time" && fields.size() == 2) {
      manifest.time = fields[1];
    } else if (fields[0] == "file" && fields.size() == 3) {
      manifest.entries.push_back({true, fields[1], fields[2]});
    } else if (fields[0] == "absent" && fields.size() == 2) {
      manifest.entries.push_back({false, "", fields[1]});
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string BackupStore::DefaultRoot() {
  const std::string data = platform::UserDataDirectory();
  if (data.empty()) return "";
  const char s = platform::kSeparator;
  return data + "Didozuza" + s + "Tovarin" + s + "backups" + s;
}

bool BackupStore::Create(const std::string& organization, const std::string& label,
                         const std::vector<std::string>& paths, std::string* why) {
  if (root_.empty()) return Fail(why, "no per-user data folder is known to keep backups in");
  std::error_code ec;
  fs::create_directories(platform::NativePath(root_), ec);

  // Named by the time to the millisecond, so names sort oldest first; a name taken already
  // moves on by a millisecond.
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const std::tm local = LocalTime(seconds);
  long long millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                         now.time_since_epoch()).count() % 1000;
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  char shown[32];
  std::strftime(shown, sizeof shown, "%Y-%m-%d %H:%M:%S", &local);
  std::string directory;
  for (int attempt = 0;; ++attempt, ++millis) {
    const std::string name =
        platform::Format("%s-%03lld_%s", stamp, millis % 1000, Sanitized(label).c_str());
    directory = root_ + name;
    if (fs::create_directory(platform::NativePath(directory), ec)) break;
    if (attempt > 1000 || ec) return Fail(why, "cannot create the folder " + directory);
  }
  directory += platform::kSeparator;

  std::string manifest = std::string(kManifestTitle) + "\norganization\t" + organization +
                         "\ntime\t" + shown + "\n";
  std::set<std::string> seen;
  int index = 0;
  for (const std::string& path : paths) {
    const std::string original = platform::ResolveCaseBlind(path);
    if (!seen.insert(original).second) continue;
    if (original.find_first_of("\t\n\r") != std::string::npos) {
      return Fail(why, "cannot record the path " + original);
    }
    std::string bytes;
    std::error_code exists;
    // Only a roster file is kept; whatever else stands there cannot be replaced by the Build.
    if (!fs::is_regular_file(platform::NativePath(original), exists)) {
      manifest += "absent\t" + original + "\n";
      continue;
    }
    const std::string stored =
        platform::Format("%03d_%s", ++index,
                         platform::PathText(platform::NativePath(original).filename()).c_str());
    std::string reason;
    if (!ReadWhole(original, bytes)) return Fail(why, "cannot read " + original);
    if (!platform::WriteFileSafely(directory + stored, bytes, &reason, writer_)) {
      return Fail(why, "cannot write " + directory + stored + ": " + reason);
    }
    manifest += "file\t" + stored + "\t" + original + "\n";
  }
  // The manifest comes last: a backup without one was never finished and is not listed.
  std::string reason;
  if (!platform::WriteFileSafely(directory + kManifest, manifest, &reason, writer_)) {
    return Fail(why, "cannot write " + directory + kManifest + ": " + reason);
  }

  std::vector<BackupInfo> all = List();
  for (std::size_t i = 0; i + kKept < all.size(); ++i) {
    fs::remove_all(platform::NativePath(root_ + all[i].name), ec);
  }
  return true;
}

std::vector<BackupInfo> BackupStore::List() const {
  std::vector<BackupInfo> backups;
  std::error_code ec;
  if (root_.empty()) return backups;
  for (auto it = fs::directory_iterator(platform::NativePath(root_), ec);
       !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError)) continue;
    const std::string name = platform::PathText(it->path().filename());
    Manifest manifest;
    if (!ReadManifest(root_ + name + platform::kSeparator, manifest)) continue;
    backups.push_back({name, manifest.organization, manifest.time, manifest.entries.size()});
  }
  std::sort(backups.begin(), backups.end(),
            [](const BackupInfo& a, const BackupInfo& b) { return a.name < b.name; });
  return backups;
}

bool BackupStore::Restore(const std::string& name, std::string* why, BackupInfo* restored) {
  const std::vector<BackupInfo> all = List();
  if (all.empty()) return Fail(why, "There is no backup to put back.");
  auto chosen = all.end() - 1;
  if (!name.empty()) {
    chosen = std::find_if(all.begin(), all.end(),
                          [&](const BackupInfo& b) { return b.name == name; });
    if (chosen == all.end()) return Fail(why, "There is no backup named " + name + ".");
  }
  const std::string directory = root_ + chosen->name + platform::kSeparator;
  Manifest manifest;
  if (!ReadManifest(directory, manifest)) return Fail(why, "cannot read " + directory + kManifest);

  // Everything is read before anything is replaced, so a damaged backup changes nothing.
  std::vector<std::string> contents(manifest.entries.size());
  for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
    const ManifestEntry& entry = manifest.entries[i];
    if (entry.present && !ReadWhole(directory + entry.stored, contents[i])) {
      return Fail(why, "cannot read " + directory + entry.stored);
    }
  }
  for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
    const ManifestEntry& entry = manifest.entries[i];
    std::string reason;
    if (entry.present) {
      if (!platform::WriteFileSafely(entry.original, contents[i], &reason, writer_)) {
        return Fail(why, "Error writing file " + entry.original + "\n" + reason);
      }
    } else {
      std::error_code ec;
      const std::string created = platform::ResolveCaseBlind(entry.original);
      if (fs::is_regular_file(platform::NativePath(created), ec) &&
          !fs::remove(platform::NativePath(created), ec)) {
        return Fail(why, "cannot remove " + created + ": " + ec.message());
      }
    }
  }
  if (restored) *restored = *chosen;
  return true;
}

}  // namespace tovarin
