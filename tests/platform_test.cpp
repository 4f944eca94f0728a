#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/native_path.h"
#include "platform/case_blind.h"
#include "platform/file_lock.h"
#include "platform/format.h"
#include "platform/input_file.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/system_error.h"
#include "simdata/roster_file.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;

#ifndef _WIN32  // Windows' own lookup ignores case: paths are used as given.
TEST(CaseBlindLookup, ResolvesEachComponentOnARealTree) {
  TempDir dir;
  dir.MakeDir("Sim/League.wdd/Org00001");
  dir.MakeDir("Sim/LEAGUE.WDD");  // a second spelling: sorted order picks "LEAGUE.WDD" first
  sim::WriteBytes(dir / "Sim/League.wdd/Org00001/Org.Dat", {1});
  sim::WriteBytes(dir / "Sim/League.wdd/players.DAT", {2});

  struct Case {
    std::string asked;
    std::string expected;
  } cases[] = {
      // Exact components are taken as they are, even when another spelling sorts first.
      {"Sim/League.wdd/Org00001/Org.Dat", "Sim/League.wdd/Org00001/Org.Dat"},
      {"sim/league.wdd/ORG00001/org.dat", "Sim/LEAGUE.WDD/ORG00001/org.dat"},
      {"Sim/League.wdd/ORG00001/ORG.DAT", "Sim/League.wdd/Org00001/Org.Dat"},
      {"SIM/League.wdd/Players.dat", "Sim/League.wdd/players.DAT"},
      // A missing file keeps its given name; only the existing part is resolved.
      {"SIM/League.wdd/Org00001/T00001RS.ORG", "Sim/League.wdd/Org00001/T00001RS.ORG"},
      {"nothing/here.dat", "nothing/here.dat"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ResolveCaseBlind(dir / c.asked), dir / c.expected) << c.asked;
  }
}
#endif

TEST(CaseBlindLookup, WildcardsAndDirectoryListing) {
  struct Match {
    const char* pattern;
    const char* name;
    bool matches;
  } matches[] = {
      {"*.wdd", "LEAGUE.WDD", true}, {"*.wdd", "league.wdd", true}, {"*.wdd", "x.wddx", false},
      {"ORG*", "org00001", true},    {"ORG*", "ORG", true},         {"ORG*", "XORG1", false},
      {"a?c", "ABC", true},          {"a?c", "ac", false},          {"*a*b", "xxaxxb", true},
  };
  for (const Match& m : matches) {
    EXPECT_EQ(platform::WildcardMatch(m.pattern, m.name), m.matches) << m.pattern << " " << m.name;
  }

  TempDir dir;
  dir.MakeDir("base/One.WDD");
  dir.MakeDir("base/two.wdd");
  dir.MakeDir("base/three.txt");
  sim::WriteBytes(dir / "base/file.wdd", {0});  // a plain file never lists
  auto names = platform::ListSubdirectories(dir / "BASE/", "*.wdd");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"One.WDD", "two.wdd"}));
  EXPECT_TRUE(platform::ListSubdirectories(dir / "missing/", "*").empty());
}

TEST(Paths, SeparatorAndRoot) {
  EXPECT_TRUE(platform::EndsWithSeparator(platform::RootDirectory()));
  EXPECT_EQ(platform::Format("%sT%05dRS.ORG", "x", 7), "xT00007RS.ORG");
#ifdef _WIN32
  EXPECT_EQ(platform::RootDirectory(), "C:\\");
  EXPECT_EQ(FarmRosterPath("C:\\Sim\\L.WDD\\", 2, 101), "C:\\Sim\\L.WDD\\ORG00002\\T00101RS.ORG");
  EXPECT_TRUE(platform::IsSeparator('/'));
  const std::string data = platform::UserDataDirectory();
  EXPECT_TRUE(data.size() > 3 && data.substr(1, 2) == ":\\" && platform::EndsWithSeparator(data))
      << data;
#endif
}

// The picker raises every letter, as Windows' own lists do, and finds the folder again by it.
TEST(CaseBlindLookup, LettersBeyondAscii) {
  struct Case {
    std::string text, upper;
  } cases[] = {
      {"Qu\xC3\xA9" "bec.wdd", "QU\xC3\x89" "BEC.WDD"},
      {"\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9"},  // łódź
      {"\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\x9C\xD0\x98\xD0\xA0"},      // мир
      {"\xCF\x83\xCF\x82", "\xCE\xA3\xCE\xA3"},                          // σς
      {"\xC3\xBF\xC3\x9F", "\xC5\xB8\xC3\x9F"},                          // ÿ, and ß kept
      {"\xE6\x97\xA5" "x", "\xE6\x97\xA5" "X"},                            // 日 kept
      {"qu\xE9" "bec", "QU\xE9" "BEC"},  // not UTF-8: its bytes kept
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToUpper(c.text), c.upper) << c.text;
    EXPECT_TRUE(platform::EqualsIgnoreCase(c.text, c.upper)) << c.text;
  }
  EXPECT_TRUE(platform::StartsWithIgnoreCase("Qu\xC3\xA9" "bec.WDD", "QU\xC3\x89"));
  EXPECT_FALSE(platform::EqualsIgnoreCase("\xC5\x81", "L"));
#ifndef _WIN32
  TempDir dir;
  dir.MakeDir("Qu\xC3\xA9" "bec.wdd");
  EXPECT_EQ(platform::ResolveCaseBlind(dir / "QU\xC3\x89" "BEC.WDD"),
            dir / "Qu\xC3\xA9" "bec.wdd");
#endif
}

// The names a Build writes and compares come from the folders as the system spells them.
TEST(Paths, AsTheSystemSpellsThem) {
  const std::string sep(1, platform::kSeparator);
  struct Split {
    std::string path, folder, name;
  } splits[] = {
      {"a" + sep + "B.WDD" + sep + "ORG1" + sep + sep, "a" + sep + "B.WDD" + sep, "ORG1"},
      {"ORG1", "", "ORG1"},
      {sep, sep, ""},
#ifdef _WIN32
      {"\\\\srv\\share\\L.WDD\\", "\\\\srv\\share\\", "L.WDD"},
      {"\\\\?\\Z:\\L.WDD\\ORG1", "\\\\?\\Z:\\L.WDD\\", "ORG1"},
#endif
  };
  for (const Split& c : splits) {
    std::string folder, name;
    platform::SplitLastName(c.path, folder, name);
    EXPECT_EQ(folder + "|" + name, c.folder + "|" + c.name) << c.path;
  }

  for (const char* name : {"CON", "nul", "NUL.WDD", "com1", "COM9.x.y", "LPT1 ", "AUX. ",
                           "COM\xC2\xB9"}) {
    EXPECT_TRUE(platform::IsReservedDeviceName(name)) << name;
  }
  for (const char* name : {"CONSOLE", "COM10", "LPT", "XNUL", "ORG00001", "2026.WDD", ""}) {
    EXPECT_FALSE(platform::IsReservedDeviceName(name)) << name;
  }

  TempDir dir;
  dir.MakeDir("League.wdd/ORG00001");
  const std::string real = *platform::SpelledOnDisk(dir.path());
  EXPECT_EQ(platform::SpelledOnDisk(dir / "nothing"), std::nullopt);
  EXPECT_EQ(platform::SpelledOnDisk(""), std::nullopt);
  std::vector<std::string> ways = {
      "League.wdd" + sep + "ORG00001" + sep,
      "League.wdd" + sep + ".." + sep + "League.wdd" + sep + "ORG00001",
#ifndef _WIN32
      "LEAGUE.WDD/org00001",
#endif
  };
  for (const std::string& way : ways) {
    EXPECT_EQ(platform::SpelledOnDisk(dir / way),
              real + sep + "League.wdd" + sep + "ORG00001") << way;
  }
#ifndef _WIN32
  // A link is the folder the user reached: it keeps its own name, never its target's.
  std::filesystem::create_directory_symlink("League.wdd", dir / "Alias.WDD");
  for (const std::string way : {"Alias.WDD/ORG00001", "ALIAS.WDD/org00001/"}) {
    EXPECT_EQ(platform::SpelledOnDisk(dir / way), real + "/Alias.WDD/ORG00001") << way;
  }
  EXPECT_EQ(platform::SpelledOnDisk(dir / "Alias.WDD/../League.wdd"), real + "/League.wdd");
#endif

  const struct {
    std::string path;
    bool absolute;
  } absolutes[] = {
      {"a" + sep + "b", false}, {"", false},
#ifdef _WIN32
      {"\\a", false},  // from the current drive's root: not a full path
      {"C:\\a", true},  {"C:a", false}, {"\\\\srv\\share\\a", true}, {"\\\\srv", false},
      {"\\\\?\\C:\\a\\", true}, {"\\\\?\\UNC\\srv\\share\\a", true}, {"//srv/share/a", true},
#else
      {"/a", true},
#endif
  };
  for (const auto& c : absolutes) EXPECT_EQ(platform::IsAbsolutePath(c.path), c.absolute) << c.path;
}

#ifdef _WIN32
// A path crosses into the wide calls and back whole, whatever its letters; bytes that are not
// UTF-8 never reach a file.
TEST(Paths, UnicodeAndNothingElse) {
  const std::string names[] = {"Qu\xC3\xA9" "bec", "\xC5\x81ista", "\xE6\x97\xA5\xE6\x9C\xAC",
                               "\xF0\x9F\x8E\xBE", "\xED\xA0\x80"};  // the last, a lone surrogate
  for (const std::string& name : names) {
    std::wstring wide;
    EXPECT_TRUE(platform::ToWide(name, wide)) << name;
    EXPECT_EQ(platform::Narrow(wide), name);
    EXPECT_EQ(platform::PathText(platform::NativePath(name)), name);
  }
  EXPECT_EQ(platform::Narrow(L"\u0141ista"), "\xC5\x81ista");
  std::wstring wide;
  for (const std::string bad : {"Qu\xE9" "bec", "\xC5", "\xC0\x80", "\xF5\x80\x80\x80"}) {
    EXPECT_FALSE(platform::ToWide(bad, wide)) << bad;
    EXPECT_NE(platform::WidePath(bad).find(L'|'), std::wstring::npos) << bad;
  }

  TempDir dir;
  std::string why;
  EXPECT_FALSE(platform::WriteFileSafely(dir / "Qu\xE9" "bec.txt", "x", &why));
  EXPECT_EQ(why, platform::kNotPathText);
  EXPECT_TRUE(platform::WriteFileSafely(dir / "\xC5\x81ista.txt", "x", &why)) << why;
  EXPECT_TRUE(fixture::FileExists(dir / "\xC5\x81ista.txt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(dir.path())),
                          {}),
            1);
}
#endif

TEST(Locking, FileLockExcludesEveryOtherHolder) {
  using Result = platform::FileLock::Result;
  TempDir dir;
  const std::string path = dir / "Tovarin.lock";
  sim::WriteBytes(path, {});  // left by a killed holder: the file alone locks nothing

  platform::FileLock first;
  platform::FileLock second;
  ASSERT_EQ(first.Lock(path), Result::kLocked);
  EXPECT_EQ(second.Lock(path), Result::kBusy);  // another open of the same file, same process
  EXPECT_FALSE(second.held());
  first.Unlock();
  EXPECT_FALSE(fixture::FileExists(path));
  ASSERT_EQ(second.Lock(path), Result::kLocked);
  EXPECT_EQ(first.Lock(path), Result::kBusy);
  { platform::FileLock third; }  // one never locked releases nothing
  EXPECT_EQ(first.Lock(path), Result::kBusy);

  std::string why;
  EXPECT_EQ(first.Lock(dir / "missing/Tovarin.lock", &why), Result::kFailed);
  EXPECT_FALSE(why.empty());
}

#ifdef _WIN32
// A write the system refuses is told in the system's words (a full disk, not errno's "Invalid
// argument"); a writer's own failure keeps its errno text.
TEST(SafeFile, WindowsErrorsInTheSystemsWords) {
  struct FullDisk : platform::FileWriter {
    long long Write(int, const char*, std::size_t) const override {
      SetLastError(ERROR_DISK_FULL);
      errno = EINVAL;
      return -1;
    }
  };
  TempDir dir;
  std::string why;
  EXPECT_FALSE(platform::WriteFileSafely(dir / "T00001RS.ORG", "bytes", &why, FullDisk()));
  EXPECT_EQ(why, platform::SystemErrorText(ERROR_DISK_FULL));
  EXPECT_NE(why, std::strerror(EINVAL));
  EXPECT_FALSE(platform::WriteFileSafely(dir / "T00002RS.ORG", "bytes", &why,
                                         fixture::FillingDisk(0)));
  EXPECT_EQ(why, std::strerror(ENOSPC));
  EXPECT_FALSE(fixture::FileExists(dir / "T00001RS.ORG"));
}
#endif

}  // namespace
}  // namespace tovarin

// Permission bits, links, FIFOs and file-size limits are POSIX's own.
#ifndef _WIN32
namespace tovarin {
namespace {

// What a safe replacement does with the file it finds in the target's place: a read-only one
// stays, a link is replaced and its target left alone, permission bits carry over.
TEST(SafeFile, WhatItFindsInThePlace) {
  struct Case {
    std::string name;
    std::function<void(const std::string& path, const std::string& dir)> place;
    bool written;
    std::string why;
    unsigned mode;  // of the file at the path afterwards
  } cases[] = {
      {"nothing there", [](const std::string&, const std::string&) {}, true, "", 0644},
      {"a plain file 0640",
       [](const std::string& p, const std::string&) {
         sim::WriteBytes(p, {'o', 'l', 'd'});
         chmod(p.c_str(), 0640);
       },
       true, "", 0640},
      {"a read-only file 0444",
       [](const std::string& p, const std::string&) {
         sim::WriteBytes(p, {'o', 'l', 'd'});
         chmod(p.c_str(), 0444);
       },
       false, "the file is read-only", 0444},
      {"a file only its group may write (0060)",
       [](const std::string& p, const std::string&) {
         sim::WriteBytes(p, {'o', 'l', 'd'});
         chmod(p.c_str(), geteuid() == 0 ? 0060 : 0660);
       },
       true, "", 0},
      {"a link to another file",
       [](const std::string& p, const std::string& dir) {
         sim::WriteBytes(dir + "elsewhere", {'o', 'l', 'd'});
         symlink((dir + "elsewhere").c_str(), p.c_str());
       },
       true, "", 0644},
      {"a FIFO", [](const std::string& p, const std::string&) { mkfifo(p.c_str(), 0600); }, true,
       "", 0644},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir / "file";
    c.place(path, dir.path());
    const mode_t mask = umask(022);
    std::string why;
    EXPECT_EQ(platform::WriteFileSafely(path, "new", &why), c.written) << c.name;
    umask(mask);
    EXPECT_EQ(why, c.why) << c.name;
    EXPECT_EQ(fixture::ReadFileText(path), c.written ? "new" : "old") << c.name;
    struct stat status {};
    ASSERT_EQ(lstat(path.c_str(), &status), 0) << c.name;
    EXPECT_TRUE(S_ISREG(status.st_mode)) << c.name;
    if (c.mode != 0) {
      EXPECT_EQ(status.st_mode & 07777, c.mode) << c.name;
    }
    if (fixture::FileExists(dir / "elsewhere")) {
      EXPECT_EQ(fixture::ReadFileText(dir / "elsewhere"), "old") << c.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(dir.path())), {}),
              fixture::FileExists(dir / "elsewhere") ? 2 : 1)
        << c.name << ": no temporary file stays";
  }
}

// Under a file-size limit a write fails with EFBIG and says so; the process lives on.
TEST(SafeFile, FileSizeLimit) {
  TempDir dir;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::IgnoreFileSizeLimitSignal();
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string why;
    const bool written = platform::WriteFileSafely(dir / "big", std::string(10000, 'x'), &why);
    _exit(!written && why == std::strerror(EFBIG) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fixture::FileExists(dir / "big"));
}

// Anything but a regular file reads as a file that cannot be opened, at once.
TEST(InputFile, OnlyRegularFilesOpen) {
  TempDir dir;
  sim::WriteBytes(dir / "plain", {1, 2, 3});
  mkfifo((dir / "fifo").c_str(), 0600);
  symlink("/dev/zero", (dir / "zero").c_str());
  symlink((dir / "fifo").c_str(), (dir / "to-fifo").c_str());
  dir.MakeDir("folder");
  long long size = -1;
  EXPECT_NE(platform::OpenInputFile(dir / "PLAIN", &size), nullptr);
  EXPECT_EQ(size, 3);
  for (const char* name : {"fifo", "zero", "to-fifo", "folder", "missing"}) {
    EXPECT_EQ(platform::OpenInputFile(dir / name), nullptr) << name;
  }
}

// A lock file that is a link was made by no holder. One that leads nowhere (or to itself) is
// replaced; one that leads to a file is left, and the message names it and what to do.
TEST(Locking, ALinkInPlaceOfTheLock) {
  using Result = platform::FileLock::Result;
  TempDir dir;
  sim::WriteBytes(dir / "shared.txt", {7});
  symlink((dir / "gone").c_str(), (dir / "dangling.lock").c_str());
  symlink((dir / "self.lock").c_str(), (dir / "self.lock").c_str());
  symlink((dir / "shared.txt").c_str(), (dir / "file.lock").c_str());
  for (const char* name : {"dangling.lock", "self.lock"}) {
    platform::FileLock lock;
    std::string why;
    EXPECT_EQ(lock.Lock(dir / name, &why), Result::kLocked) << name << why;
    EXPECT_FALSE(std::filesystem::is_symlink(dir / name)) << name;
  }
  EXPECT_FALSE(fixture::FileExists(dir / "gone"));

  platform::FileLock lock;
  std::string why;
  EXPECT_EQ(lock.Lock(dir / "file.lock", &why), Result::kFailed);
  EXPECT_EQ(why, "it is a symbolic link, not a lock file; remove the link and try again");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "file.lock"));
  EXPECT_EQ(fixture::ReadFileBytes(dir / "shared.txt"), sim::Bytes{7});
}

}  // namespace
}  // namespace tovarin
#endif
