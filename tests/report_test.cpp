#include "platform/native_path.h"
#include "transfer/report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/safe_file.h"
#include "support/fixture.h"
#include "transfer/matching.h"

namespace tovarin {
namespace {

using fixture::TempDir;

std::string Spaces(std::size_t n) { return std::string(n, ' '); }

TEST(Report, Headers) {
  EXPECT_EQ(NearMatchHeader(), "    Import FName    Import LName    Export FName    Export LName");
  EXPECT_EQ(NearMatchHeader().size(), 64u);
  EXPECT_EQ(PlayerHeader(), "ImpId ExpId " + Spaces(13) + "Import Player Name");
  EXPECT_EQ(PlayerHeader().size(), 43u);
}

TEST(Report, NearMatchLines) {
  const std::string long16 = "Bartholomewsonn1";  // 16 characters
  struct Case {
    PlayerName source, target;
    std::string line;
  } cases[] = {
      {{"Smith", "John"},
       {"Smith", "Jon"},
       Spaces(11) + "John," + Spaces(10) + "Smith," + Spaces(12) + "Jon," + Spaces(10) + "Smith"},
      {{"Abcdefghijklmno", "Pqrstuvwxyzabcd"},
       {"Abcdefghijklmno", "Pqrstuvwxyzabce"},
       "Pqrstuvwxyzabcd,Abcdefghijklmno,Pqrstuvwxyzabce,Abcdefghijklmno"},
      {{"Smith", long16},
       {"Smith", "Bart"},
       long16 + "," + Spaces(10) + "Smith," + Spaces(11) + "Bart," + Spaces(10) + "Smith"},
      {{"", ""}, {"", ""}, Spaces(15) + "," + Spaces(15) + "," + Spaces(15) + "," + Spaces(15)},
      {{"Van Dyke", "Jo Ann"},
       {"Van Dyke", "Jo"},
       Spaces(9) + "Jo Ann," + Spaces(7) + "Van Dyke," + Spaces(13) + "Jo," + Spaces(7) +
           "Van Dyke"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NearMatchLine(c.source, c.target), c.line) << c.source.first;
  }
  EXPECT_EQ(NearMatchLine({"Smith", "John"}, {"Smith", "Jon"}).size(), 63u);
}

TEST(Report, PlayerLines) {
  struct Case {
    int source, target;
    PlayerName name;
    std::string line;
  } cases[] = {
      {3, 117, {"Smith", "John"}, "    3   117            John           Smith"},
      {1, 0, {"Lee", "Ann"}, "    1     0" + Spaces(13) + "Ann" + Spaces(13) + "Lee"},
      {32000,
       31999,
       {"Abcdefghijklmno", "Abcdefghijklmnop"},
       "32000 31999Abcdefghijklmnop Abcdefghijklmno"},
      {123456,
       1234567,
       {"Smith", "John"},
       "1234561234567" + Spaces(12) + "John" + Spaces(11) + "Smith"},
      {7,
       8,
       {"Smith", "Abcdefghijklmnopq"},  // 17 characters push the last name right
       "    7     8Abcdefghijklmnopq" + Spaces(11) + "Smith"},
      {2, 5, {"", ""}, "    2     5" + Spaces(32)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlayerLine(c.source, c.target, c.name), c.line) << c.source;
  }
  EXPECT_EQ(PlayerLine(3, 117, {"Smith", "John"}).size(), 43u);
  EXPECT_EQ(PlayerLine(7, 8, {"Smith", "Abcdefghijklmnopq"}).size(), 44u);
}

// A near-match line with a comma appended is a rename record pairing the two players it names.
TEST(Report, NearMatchLineReadsBackAsRenameRecord) {
  const std::vector<std::pair<PlayerName, PlayerName>> pairs = {
      {{"Smith", "John"}, {"Smith", "Jon"}},
      {{"Van Dyke", "Jo Ann"}, {"Van Dyke", "Jo"}},
      {{"Abcdefghijklmno", "Pqrstuvwxyzabcdefgh"}, {"Abcdefghijklmno", "Pqrstuvwxyz"}},
      {{"O'Neil", "J."}, {"O'Neil", "J.T."}},
  };
  TempDir dir;
  BuildReport file;
  ASSERT_TRUE(file.Create(dir / "rename.txt"));
  for (const auto& [source, target] : pairs) file.WriteLine(NearMatchLine(source, target) + ",");
  ASSERT_TRUE(file.Commit());

  RenameReader reader(dir / "rename.txt");
  RenameRecord record;
  for (const auto& [source, target] : pairs) {
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.fields[0], source.first);
    EXPECT_EQ(record.fields[1], source.last);
    EXPECT_EQ(record.fields[2], target.first);
    EXPECT_EQ(record.fields[3], target.last);
  }
  EXPECT_FALSE(reader.Next(record));

  std::vector<PlayerName> source, target;
  for (const auto& [s, t] : pairs) {
    source.push_back(s);
    target.insert(target.begin(), t);  // numbered the other way round
  }
  RenameReader again(dir / "rename.txt");
  MatchState state = NewMatchState(source.size(), target.size());
  TeamPlayerLists lists(1);
  RenamePass(again, source, target, {}, state, lists);
  EXPECT_EQ(state.playerMap, (std::vector<int>{0, 4, 3, 2, 1}));
}

TEST(BuildReport, WritesCrLfLinesAndPutsThemInPlaceOnCommit) {
  TempDir dir;
  BuildReport report;
  EXPECT_FALSE(report.IsOpen());
  ASSERT_TRUE(report.Create(dir / "Tovarin.txt"));
  EXPECT_TRUE(report.IsOpen());
  report.WriteLine("first");
  const std::string filler(BuildReport::kBlockSize - 9, 'x');
  report.WriteLine(filler);
  report.WriteLine("");
  report.WriteLine("a\nb");
  EXPECT_FALSE(fixture::FileExists(dir / "Tovarin.txt")) << "nothing is in place before Commit";
  EXPECT_TRUE(report.Commit());
  EXPECT_FALSE(report.IsOpen());
  report.WriteLine("after closing");
  EXPECT_EQ(fixture::ReadFileText(dir / "Tovarin.txt"), "first\r\n" + filler + "\r\n\r\na\nb\r\n");
}

// What is in the report's place afterwards: the new report whole, or the old file as it was.
TEST(BuildReport, WholeOrNotAtAll) {
  const std::string old = "an older and much longer report\r\n";
  struct Case {
    std::string name;
    std::string existing;  // the file in place, by this name
    bool link;             // ...reached through a link named Tovarin.txt
    long long room;        // bytes the disk takes, or -1
    bool commit;
    std::string why;  // empty when written
  } cases[] = {
      {"another letter case", "TOVARIN.TXT", false, -1, true, ""},
#ifndef _WIN32  // links need privileges there
      {"a link to another file", "elsewhere.txt", true, -1, true, ""},
#endif
      {"a full disk", "Tovarin.txt", false, 100000, true, "No space left on device"},
      {"no Commit", "Tovarin.txt", false, -1, false, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    sim::WriteBytes(dir / c.existing, sim::Bytes(old.begin(), old.end()));
    if (c.link) {
      std::filesystem::create_symlink(platform::NativePath(dir / c.existing),
                                      platform::NativePath(dir / "Tovarin.txt"));
    }
    const fixture::FillingDisk disk(c.room);
    std::string why;
    bool written = false;
    {
      BuildReport report(disk);
      ASSERT_TRUE(report.Create(dir / "Tovarin.txt")) << c.name;
      for (int i = 0; i < 5000; ++i) report.WriteLine(std::string(40, 'x'));
      if (c.commit) written = report.Commit(&why);
    }
    EXPECT_EQ(written, c.commit && c.why.empty()) << c.name;
    EXPECT_EQ(why, c.why) << c.name;
    const std::string now = fixture::ReadFileText(dir / (c.link ? "Tovarin.txt" : c.existing));
    EXPECT_EQ(now.size(), written ? 5000u * 42 : old.size()) << c.name;
    if (c.link) {
      EXPECT_EQ(fixture::ReadFileText(dir / c.existing), old) << c.name << ": the link is replaced";
      EXPECT_FALSE(std::filesystem::is_symlink(platform::NativePath(dir / "Tovarin.txt"))) << c.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(dir.path())), {}), c.link ? 2 : 1)
        << c.name << ": no temporary file stays";
  }
}

TEST(BuildReport, CannotBeCreated) {
  TempDir dir;
  for (const std::string& path : {dir / "missing/Tovarin.txt", dir.path()}) {
    BuildReport report;
    std::string why;
    EXPECT_FALSE(report.Create(path, &why)) << path;
    EXPECT_FALSE(why.empty()) << path;
    EXPECT_FALSE(report.IsOpen()) << path;
    report.WriteLine("nowhere");
    EXPECT_FALSE(report.Commit());
  }
  EXPECT_FALSE(fixture::FileExists(dir / "missing"));
}

// The report as a Build writes it: near-match section, then the player section, with no blank
// line between them.
TEST(BuildReport, WholeReport) {
  const std::vector<PlayerName> source = {{"Smith", "John"}, {"Lee", "Ann"}, {"Ray", "Bob"}};
  const std::vector<PlayerName> target = {{"Lee", "Ann"}, {"Smith", "Jon"}};
  TempDir dir;
  BuildReport report;
  ASSERT_TRUE(report.Create(dir / "Tovarin.txt"));
  MatchState state = NewMatchState(source.size(), target.size());
  report.WriteLine(NearMatchHeader());
  AutomaticPass(source, target, state, [&](int s, int t) {
    report.WriteLine(NearMatchLine(source[s - 1], target[t - 1]));
  });
  report.WriteLine(PlayerHeader());
  for (std::size_t s = 1; s <= source.size(); ++s) {
    report.WriteLine(PlayerLine(static_cast<int>(s), state.playerMap[s], source[s - 1]));
  }
  ASSERT_TRUE(report.Commit());
  EXPECT_EQ(fixture::ReadFileText(dir / "Tovarin.txt"),
            "    Import FName    Import LName    Export FName    Export LName\r\n"
            "           John,          Smith,            Jon,          Smith\r\n"
            "ImpId ExpId              Import Player Name\r\n"
            "    1     0            John           Smith\r\n"
            "    2     1             Ann             Lee\r\n"
            "    3     0             Bob             Ray\r\n");
}

}  // namespace
}  // namespace tovarin
