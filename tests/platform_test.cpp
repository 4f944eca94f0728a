#include <gtest/gtest.h>

#include <algorithm>

#include "platform/case_blind.h"
#include "platform/file_lock.h"
#include "platform/format.h"
#include "platform/paths.h"
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

}  // namespace
}  // namespace tovarin
