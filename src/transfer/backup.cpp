#include "transfer/backup.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "platform/case_blind.h"
#include "platform/native_path.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/system_error.h"
#include "simdata/roster_file.h"
#include "transfer/write_lock.h"

namespace fs = std::filesystem;

namespace tovarin {
namespace {

// Paths are held as bytes; the file system takes them through the wide-character calls.
fs::path N(const std::string& path) { return platform::NativePath(path); }

constexpr const char* kManifest = "manifest.txt";
// When the backup was last put back; beside the manifest, which stays as it was written.
constexpr const char* kPutBackMark = "restored.txt";
constexpr const char* kManifestTitle = "Tovarin backup";
// The bounds of a manifest, which its writer keeps too, so that whatever a Build writes reads
// back: one line per roster file, and team numbers are 16 bits, so an organization names at
// most 65,536 of them; a line holds one path, and the longest a system allows is Windows'
// 32,767 UTF-16 units, 3 UTF-8 bytes each at most.
constexpr std::size_t kManifestEntries = 65536;
constexpr std::size_t kManifestLine = 128 * 1024;
// Where a backup being pruned is set aside: no longer a backup's name, so never listed or put
// back, even when part of it cannot be removed.
constexpr const char* kPrunedPrefix = "pruned-";

bool Fail(std::string* why, const std::string& text) {
  if (why) *why = text;
  return false;
}

// Reads a regular file of at most `limit` bytes.
bool ReadWhole(const std::string& path, std::string& bytes,
               std::uintmax_t limit = static_cast<std::uintmax_t>(-1)) {
  std::error_code ec;
  if (!fs::is_regular_file(N(path), ec) || fs::file_size(N(path), ec) > limit || ec) return false;
  std::ifstream in(N(path), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// A file the backup holds itself: no link that could lead out of it.
bool IsOwnFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(N(path), ec));
}

// FNV-1a, 64 bits: catches a changed byte, which is all a backup's checksum is for.
std::string Checksum(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return platform::Format("fnv1a64:%016llx", static_cast<unsigned long long>(hash));
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

bool AllDigits(const std::string& text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                     text.begin() + static_cast<std::ptrdiff_t>(from + count),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// The sequence number of a folder named "NNNNNN-YYYYMMDDTHHMMSSZ_label", as digits without leading
// zeros, of any length, so that every number a backup is given reads back; empty for any other
// name, such as "YYYYMMDD-HHMMSS-mmm_label" of the backups made before sequence numbers.
std::string SequenceOf(const std::string& name) {
  const std::size_t dash = name.find('-');
  if (dash == std::string::npos || dash == 0 || !AllDigits(name, 0, dash) ||
      !AllDigits(name, dash + 1, 8) || name.compare(dash + 9, 1, "T") != 0 ||
      !AllDigits(name, dash + 10, 6) || name.compare(dash + 16, 2, "Z_") != 0) {
    return "";
  }
  const std::size_t first = name.find_first_not_of('0');
  return first < dash ? name.substr(first, dash - first) : "";
}

// Numbers written as digits without leading zeros.
bool LessNumber(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string NextNumber(std::string number) {
  for (std::size_t i = number.size(); i-- > 0;) {
    if (number[i] != '9') {
      ++number[i];
      return number;
    }
    number[i] = '0';
  }
  return "1" + number;
}

// Folders of this store: named as a backup, now or before sequence numbers.
bool IsBackupName(const std::string& name) {
  const bool old = AllDigits(name, 0, 8) && name.compare(8, 1, "-") == 0 &&
                   AllDigits(name, 9, 6) && name.compare(15, 1, "-") == 0 &&
                   AllDigits(name, 16, 3) && name.compare(19, 1, "_") == 0;
  return old || !SequenceOf(name).empty();
}

// Oldest first: by sequence number, and the older backups without one by name, before them all.
bool Older(const BackupInfo& a, const BackupInfo& b) {
  const std::string sa = SequenceOf(a.name), sb = SequenceOf(b.name);
  return sa != sb ? LessNumber(sa, sb) : a.name < b.name;
}

// A time as backups show it, "YYYY-MM-DD HH:MM:SS UTC".
std::string ShownTime(const std::tm& utc) {
  char shown[32];
  std::strftime(shown, sizeof shown, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return shown;
}

std::tm UtcTime(std::time_t when) {
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &when);
#else
  gmtime_r(&when, &utc);
#endif
  return utc;
}

// Removes a folder of the store with all it holds. Its copies may have been made read-only,
// which on Windows keeps a file from being deleted; they are the store's own, so they go too.
bool RemoveFolder(const std::string& folder, std::error_code* error) {
  std::error_code ec;
  fs::remove_all(N(folder), ec);
  if (!ec) return true;
  std::error_code walk;
  for (auto it = fs::recursive_directory_iterator(N(folder), walk);
       !walk && it != fs::recursive_directory_iterator(); it.increment(walk)) {
    std::error_code ignored;
    if (!it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
  }
  ec.clear();
  fs::remove_all(N(folder), ec);
  if (error) *error = ec;
  return !ec;
}

struct ManifestEntry {
  bool present = false;
  std::string stored;    // file name inside the backup
  bool checked = false;  // size and checksum recorded (older backups have neither)
  std::uintmax_t size = 0;
  std::string checksum;
  std::string original;  // where it goes back
};

struct Manifest {
  std::string organization;
  std::string time;
  std::string restoring;
  std::vector<ManifestEntry> entries;
};

// A name the backup itself may hold: no folder part, no way out of the backup's folder.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name != kManifest &&
         name.find_first_of("/\\:") == std::string::npos;
}

// An absolute folder path without "." or ".." in it.
bool IsPlainFolder(const std::string& folder) {
  if (!platform::EndsWithSeparator(folder) || !platform::IsAbsolutePath(folder)) return false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (!platform::IsSeparator(folder[i])) continue;
    const std::string component = folder.substr(start, i - start);
    if (component == "." || component == "..") return false;
    start = i + 1;
  }
  return true;
}

// `path` names a roster file right inside `organization`, as spelled or as found on disk.
bool IsRosterOf(const std::string& organization, const std::string& path) {
  const std::string folder = platform::DirectoryOf(path);
  return IsRosterFileName(path.substr(folder.size())) &&
         (folder == organization ||
          platform::ResolveCaseBlind(folder) == platform::ResolveCaseBlind(organization));
}

// A path as a manifest holds it. Earlier versions wrote paths on Windows in the ANSI code page;
// one that is not UTF-8 is read so.
std::string StoredPath(const std::string& text) {
#ifdef _WIN32
  if (!platform::IsNativePathText(text)) return platform::FromAnsiCodePage(text);
#endif
  return text;
}

// Reads the manifest of the backup in `directory`, trusting it only within bounds: copies inside
// the backup, originals that are rosters of the recorded organization. Empty when it is whole,
// otherwise what is wrong with it.
std::string ReadManifest(const std::string& directory, bool sequenced, Manifest& manifest) {
  std::ifstream in;
  if (IsOwnFile(directory + kManifest)) in.open(N(directory + kManifest), std::ios::binary);
  if (!in.is_open()) return "its manifest cannot be read";
  // A line longer than any a Build writes is damage, found without holding it whole.
  std::vector<char> buffer(kManifestLine + 2);
  auto next = [&](std::string& line) {
    if (!in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()))) return false;
    // Without its line break only at the end of the file.
    line.assign(buffer.data(), static_cast<std::size_t>(in.gcount() - (in.eof() ? 0 : 1)));
    return true;
  };
  std::string line;
  if (!next(line) || line != kManifestTitle) return "its manifest is not one";
  // Rosters are put back where they are found without regard to letter case, so two spellings
  // of one roster name the same file. Every entry lies in the one organization (checked below),
  // so its file name, in one case, is the file it puts back.
  std::set<std::string> originals;
  for (int number = 2;; ++number) {
    if (!next(line)) {
      if (in.eof() && !in.bad() && in.gcount() == 0) break;
      return platform::Format("line %d of its manifest cannot be read", number);
    }
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    for (std::string& field : fields) field = StoredPath(field);
    ManifestEntry entry;
    if (fields[0] == "organization" && fields.size() == 2 && manifest.organization.empty() &&
        IsPlainFolder(fields[1])) {
      manifest.organization = fields[1];
      continue;
    }
    if (fields[0] == "time" && fields.size() == 2) {
      manifest.time = fields[1];
      continue;
    }
    if (fields[0] == "restoring" && fields.size() == 2 && IsBackupName(fields[1])) {
      manifest.restoring = fields[1];
      continue;
    }
    if (fields[0] == "file" && fields.size() == 5 && AllDigits(fields[2], 0, fields[2].size()) &&
        !fields[2].empty() && fields[2].size() < 19) {
      entry = {true, fields[1], true, std::stoull(fields[2]), fields[3], fields[4]};
    } else if (fields[0] == "file" && fields.size() == 3 && !sequenced) {
      entry = {true, fields[1], false, 0, "", fields[2]};
    } else if (fields[0] == "absent" && fields.size() == 2) {
      entry.original = fields[1];
    } else {
      return platform::Format("line %d of its manifest cannot be read", number);
    }
    if (entry.present && !IsPlainName(entry.stored)) {
      return "its manifest names the copy " + entry.stored + ", which is not in the backup";
    }
    if (manifest.organization.empty() || !IsRosterOf(manifest.organization, entry.original)) {
      return "its manifest names " + entry.original + ", which is not a roster of " +
             (manifest.organization.empty() ? "its organization" : manifest.organization);
    }
    const std::string fileName =
        platform::ToUpper(entry.original.substr(platform::DirectoryOf(entry.original).size()));
    if (!originals.insert(fileName).second) {
      return "its manifest names " + entry.original + " twice";
    }
    if (manifest.entries.size() == kManifestEntries) {
      return platform::Format("its manifest names more than %d rosters",
                              static_cast<int>(kManifestEntries));
    }
    manifest.entries.push_back(std::move(entry));
  }
  if (manifest.organization.empty()) return "its manifest names no organization";
  return "";
}

// What stands at `path` before a restore: the file's bytes, or nothing.
struct Before {
  bool untouched = false;  // neither replaced nor removed
  bool present = false;
  std::string bytes;
};

}  // namespace

std::string BackupEvent(const BackupInfo& backup) {
  return (backup.restoring.empty() ? "the Build of " : "the restore of ") + backup.time;
}

BackupStore::BackupStore(std::string root, const platform::FileWriter& writer, Clock now)
    : root_(std::move(root)), writer_(writer), now_(std::move(now)) {
  if (!now_) now_ = [] { return std::chrono::system_clock::now(); };
}

std::string BackupStore::DefaultRoot() {
  const std::string data = platform::UserDataDirectory();
  if (data.empty()) return "";
  const char s = platform::kSeparator;
  return data + "Didozuza" + s + "Tovarin" + s + "backups" + s;
}

bool BackupStore::Create(const std::string& organization, const std::string& label,
                         const std::vector<std::string>& paths, std::string* why,
                         std::string* made, const std::string& restoring) {
  if (made) made->clear();
  if (root_.empty()) return Fail(why, "no per-user data folder is known to keep backups in");
  if (paths.empty()) return true;
  // The organization as it is spelled on disk, so that every original lies inside it.
  std::string resolvedOrganization = platform::ResolveCaseBlind(organization);
  if (!platform::EndsWithSeparator(resolvedOrganization)) {
    resolvedOrganization += platform::kSeparator;
  }
  std::error_code ec;
  fs::create_directories(N(root_), ec);

  std::string sequence = "0";
  for (auto it = fs::directory_iterator(N(root_), ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const std::string found = SequenceOf(platform::PathText(it->path().filename()));
    if (LessNumber(sequence, found)) sequence = found;
  }
  const std::tm utc = UtcTime(std::chrono::system_clock::to_time_t(now_()));
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
  const std::string shown = ShownTime(utc);
  std::string name;
  for (int attempt = 0;; ++attempt) {
    sequence = NextNumber(sequence);
    const std::string number = std::string(sequence.size() < 6 ? 6 - sequence.size() : 0, '0') +
                               sequence;
    name = number + "-" + stamp + "_" + Sanitized(label);
    const std::error_code made = writer_.MakeDirectory(root_ + name);
    if (!made) break;
    if (attempt > 100 || made != std::errc::file_exists) {
      return Fail(why, "cannot create the folder " + root_ + name + ": " +
                           platform::ErrorText(made));
    }
  }
  const std::string directory = root_ + name + platform::kSeparator;
  // A backup that cannot be finished is no use to anyone; it goes at once, not at the next Build.
  auto fail = [&](const std::string& text) {
    std::error_code ignored;
    RemoveFolder(root_ + name, &ignored);
    return Fail(why, text);
  };

  std::string manifest = std::string(kManifestTitle) + "\norganization\t" + resolvedOrganization +
                         "\ntime\t" + shown + "\n" +
                         (restoring.empty() ? "" : "restoring\t" + restoring + "\n");
  std::set<std::string> seen;
  int index = 0;
  // A manifest that its reader would refuse is no backup.
  constexpr std::size_t kLongestFields = 128;  // "file", the copy's name, size and checksum
  if (resolvedOrganization.size() + kLongestFields > kManifestLine) {
    return fail("cannot record " + resolvedOrganization + ": its path is too long");
  }
  for (const std::string& path : paths) {
    const std::string original = platform::ResolveCaseBlind(path);
    if (!seen.insert(original).second) continue;
    if (seen.size() > kManifestEntries) {
      return fail(platform::Format("cannot record more than %d rosters in one backup",
                                        static_cast<int>(kManifestEntries)));
    }
    if (!IsRosterOf(resolvedOrganization, original) ||
        original.size() + kLongestFields > kManifestLine ||
        original.find_first_of("\t\n\r") != std::string::npos) {
      return fail("cannot record " + original + " as a roster of " + resolvedOrganization);
    }
    // Only a roster file is kept; whatever else stands there cannot be replaced by the Build.
    if (!fs::is_regular_file(N(original), ec)) {
      manifest += "absent\t" + original + "\n";
      continue;
    }
    const std::string stored =
        platform::Format("%03d_%s", ++index, platform::PathText(N(original).filename()).c_str());
    std::string bytes;
    std::string reason;
    if (!ReadWhole(original, bytes)) {
      return fail("cannot read " + original);
    }
    if (!platform::WriteFileSafely(directory + stored, bytes, &reason, writer_)) {
      return fail("cannot write " + directory + stored + ": " + reason);
    }
    manifest += "file\t" + stored + "\t" + std::to_string(bytes.size()) + "\t" + Checksum(bytes) +
                "\t" + original + "\n";
  }
  // The manifest comes last: a backup without one was never finished and is not listed.
  std::string reason;
  if (!platform::WriteFileSafely(directory + kManifest, manifest, &reason, writer_)) {
    return fail("cannot write " + directory + kManifest + ": " + reason);
  }
  if (made) *made = name;
  return true;
}

void BackupStore::PruneOld(const std::string& keep, std::vector<std::string>* notes) {
  std::vector<BackupInfo> all = List();
  std::size_t excess = all.size() > kKept ? all.size() - kKept : 0;
  for (const BackupInfo& backup : all) {
    if (excess == 0) break;
    if (backup.name == keep) continue;  // the one just made stays, whatever the others say
    std::string reason;
    if (!Prune(backup.name, &reason) && notes) {
      notes->push_back("The old backup " + root_ + backup.name + " could not be removed: " +
                       reason);
    }
    --excess;
  }
}

bool BackupStore::Prune(const std::string& name, std::string* why) {
  const std::string aside = kPrunedPrefix + name;
  std::error_code ec;
  fs::rename(N(root_ + name), N(root_ + aside), ec);
  if (ec) return Fail(why, platform::ErrorText(ec));
  if (RemoveFolder(root_ + aside, &ec)) return true;
  return Fail(why, platform::ErrorText(ec) + "\nWhat is left of it is in " + root_ + aside);
}

void BackupStore::Discard(const std::string& name) {
  std::error_code ec;
  if (IsBackupName(name)) RemoveFolder(root_ + name, &ec);
}

void BackupStore::RemoveUnfinished() {
  std::error_code ec;
  if (root_.empty()) return;
  std::vector<std::string> unfinished;
  for (auto it = fs::directory_iterator(N(root_), ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeError;
    const std::string name = platform::PathText(it->path().filename());
    if (!it->is_directory(typeError) || it->is_symlink(typeError)) continue;
    if ((IsBackupName(name) && !fs::exists(fs::symlink_status(it->path() / kManifest, typeError))) ||
        name.rfind(kPrunedPrefix, 0) == 0) {
      unfinished.push_back(name);
    }
  }
  for (const std::string& name : unfinished) RemoveFolder(root_ + name, &ec);
}

std::vector<BackupInfo> BackupStore::List() const {
  std::vector<BackupInfo> backups;
  std::error_code ec;
  if (root_.empty()) return backups;
  for (auto it = fs::directory_iterator(N(root_), ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError) || it->is_symlink(typeError)) continue;
    const std::string name = platform::PathText(it->path().filename());
    if (!IsBackupName(name)) continue;  // the user's own, or what pruning could not remove
    const std::string directory = root_ + name + platform::kSeparator;
    if (!fs::exists(fs::symlink_status(N(directory + kManifest), typeError))) continue;  // unfinished
    Manifest manifest;
    const std::string damage = ReadManifest(directory, !SequenceOf(name).empty(), manifest);
    std::string putBack;
    if (IsOwnFile(directory + kPutBackMark) && ReadWhole(directory + kPutBackMark, putBack, 64)) {
      putBack = putBack.substr(0, putBack.find('\n'));
    }
    backups.push_back({name, manifest.organization, manifest.time, manifest.entries.size(),
                       damage, manifest.restoring, putBack});
  }
  std::sort(backups.begin(), backups.end(), Older);
  return backups;
}

bool BackupStore::Restore(const std::string& name, std::string* why, BackupInfo* restored) {
  std::error_code ec;
  if (root_.empty() || !fs::is_directory(N(root_), ec)) {
    return Fail(why, "There is no backup to put back.");
  }
  WriteLock lock;
  if (!lock.LockBackups(root_, why)) return false;
  return PutBack(name, why, restored, &lock);
}

bool BackupStore::RestoreLocked(const std::string& name, std::string* why) {
  return PutBack(name, why, nullptr, nullptr);
}

bool BackupStore::PutBack(const std::string& name, std::string* why, BackupInfo* restored,
                          WriteLock* lock) {
  std::error_code ec;
  const std::vector<BackupInfo> all = List();
  if (all.empty()) return Fail(why, "There is no backup to put back.");
  auto chosen = all.end() - 1;
  if (!name.empty()) {
    chosen = std::find_if(all.begin(), all.end(),
                          [&](const BackupInfo& b) { return b.name == name; });
    if (chosen == all.end()) return Fail(why, "There is no backup named " + name + ".");
  }
  const std::string which =
      name.empty() ? "The newest backup, " + chosen->name + "," : "The backup " + chosen->name;
  auto damaged = [&](const std::string& damage) {
    return Fail(why, which + " is damaged: " + damage + ".\nNothing was put back.");
  };
  const std::string directory = root_ + chosen->name + platform::kSeparator;
  Manifest manifest;
  std::string damage = ReadManifest(directory, !SequenceOf(chosen->name).empty(), manifest);
  if (!damage.empty()) return damaged(damage);

  // Every copy is read and checked, and every file it replaces read, before anything changes.
  const std::size_t count = manifest.entries.size();
  std::vector<std::string> contents(count);
  for (std::size_t i = 0; i < count; ++i) {
    const ManifestEntry& entry = manifest.entries[i];
    if (!entry.present) continue;
    const bool whole =
        IsOwnFile(directory + entry.stored) &&
        ReadWhole(directory + entry.stored, contents[i],
                  entry.checked ? entry.size : static_cast<std::uintmax_t>(-1)) &&
        (!entry.checked ||
         (contents[i].size() == entry.size && Checksum(contents[i]) == entry.checksum));
    if (!whole) return damaged("the copy of " + entry.original + " is missing or has changed");
  }
  if (!fs::is_directory(N(platform::ResolveCaseBlind(manifest.organization)), ec)) {
    return Fail(why, "The folder " + manifest.organization + " is missing.\nNothing was put back.");
  }
  if (lock && !lock->LockOrganization(manifest.organization, why)) return false;
  std::vector<std::string> targets(count);
  std::vector<Before> before(count);
  for (std::size_t i = 0; i < count; ++i) {
    targets[i] = platform::ResolveCaseBlind(manifest.entries[i].original);
    const fs::file_status status = fs::status(N(targets[i]), ec);
    if (!fs::exists(status)) continue;
    // A Build creates only roster files: whatever else stands where it found none stays.
    if (!manifest.entries[i].present && !fs::is_regular_file(status)) {
      before[i].untouched = true;
      continue;
    }
    if (!fs::is_regular_file(status) || !ReadWhole(targets[i], before[i].bytes)) {
      return Fail(why, targets[i] +
                           " cannot be put back: it is not a file that can be read.\n"
                           "Nothing was put back.");
    }
    before[i].present = true;
    // A roster already as the backup has it is left alone, even when it cannot be replaced
    // (read-only): that is how a failed Build finds the rosters it never reached.
    before[i].untouched = manifest.entries[i].present && before[i].bytes == contents[i];
  }

  // The rosters as they are now, so that the restore can be undone; a rollback of a failed Build
  // (no lock given) puts back the backup it has just made, and needs none.
  std::string made;
  if (lock) {
    const std::size_t labelAt = chosen->name.find('_');
    const std::string label = labelAt == std::string::npos ? "" : chosen->name.substr(labelAt + 1);
    std::string reason;
    if (!Create(manifest.organization, label, targets, &reason, &made, chosen->name)) {
      return Fail(why, "The target rosters could not be backed up, so none was put back.\n" +
                           reason);
    }
  }

  // Puts file `i` into the state `present`/`bytes`.
  auto put = [&](std::size_t i, bool present, const std::string& bytes, std::string* reason) {
    if (before[i].untouched) return true;
    if (present) return platform::WriteFileSafely(targets[i], bytes, reason, writer_);
    std::error_code missing;
    if (!fs::exists(fs::symlink_status(N(targets[i]), missing))) return true;
    const std::error_code removed = writer_.Remove(targets[i]);
    if (!removed) return true;
    *reason = platform::ErrorText(removed);
    return false;
  };
  for (std::size_t i = 0; i < count; ++i) {
    std::string reason;
    if (put(i, manifest.entries[i].present, contents[i], &reason)) continue;
    std::string message = "Error writing file " + targets[i] + "\n" + reason + "\n";
    std::string stuck;
    for (std::size_t j = i; j-- > 0;) {
      std::string ignored;
      if (!put(j, before[j].present, before[j].bytes, &ignored)) stuck += "\n" + targets[j];
    }
    message += stuck.empty() ? "The rosters put back before it were returned to how they were, "
                               "so nothing was put back."
                             : "These rosters could not be returned to how they were before "
                               "the restore:" + stuck;
    if (stuck.empty() && !made.empty()) Discard(made);
    return Fail(why, message);
  }
  if (lock) {
    // A restore that found every roster as the backup has it changed nothing to undo.
    bool changed = false;
    for (std::size_t i = 0; i < count; ++i) {
      changed = changed || (!before[i].untouched &&
                            (manifest.entries[i].present || before[i].present));
    }
    if (!changed) Discard(made);
    std::string ignored;
    platform::WriteFileSafely(directory + kPutBackMark,
                              ShownTime(UtcTime(std::chrono::system_clock::to_time_t(now_()))) +
                                  "\n",
                              &ignored, writer_);
  }
  if (restored) *restored = *chosen;
  return true;
}

}  // namespace tovarin
