#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "simdata/roster_file.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::FillingDisk;
using fixture::ReadFileBytes;
using fixture::TempDir;

sim::Bytes Hex(std::initializer_list<int> values) {
  sim::Bytes bytes;
  for (int v : values) bytes.push_back(static_cast<unsigned char>(v));
  return bytes;
}

TEST(RosterFile, WorkedExampleByteForByte) {
  TempDir dir;
  RosterFile roster;
  roster.SetMarker(120, 5);
  ASSERT_TRUE(roster.SetName("ABCD"));
  ASSERT_TRUE(roster.Append(12));
  ASSERT_TRUE(roster.Append(300));
  ASSERT_TRUE(roster.Save(dir / "T00001RS.ORG"));
  EXPECT_EQ(ReadFileBytes(dir / "T00001RS.ORG"),
            Hex({0x02, 0x00, 0x78, 0x05, 0x04, 0x00, 0x41, 0x42, 0x43, 0x44, 0x0C, 0x00, 0x78,
                 0x05, 0x04, 0x00, 0x41, 0x42, 0x43, 0x44, 0x2C, 0x01}));
}

TEST(RosterFile, ComposedShapes) {
  TempDir dir;
  RosterFile empty;
  ASSERT_TRUE(empty.Save(dir / "empty.org"));
  EXPECT_EQ(ReadFileBytes(dir / "empty.org"), Hex({0, 0}));

  RosterFile unnamed;  // an empty name gives 6-byte entries
  unnamed.SetMarker(120, 5);
  ASSERT_TRUE(unnamed.SetName(""));
  unnamed.Append(1);
  unnamed.Append(32767);
  ASSERT_TRUE(unnamed.Save(dir / "unnamed.org"));
  EXPECT_EQ(ReadFileBytes(dir / "unnamed.org"),
            Hex({2, 0, 120, 5, 0, 0, 1, 0, 120, 5, 0, 0, 0xFF, 0x7F}));

  RosterFile loaded;
  ASSERT_EQ(loaded.Load(dir / "empty.org"), RosterFile::LoadResult::kOk);
  EXPECT_EQ(loaded.count(), 0);
}

TEST(RosterFile, LoadSaveRoundTripKeepsMarkersAndNames) {
  TempDir dir;
  const std::vector<sim::RosterEntry> entries = {
      {120, 5, "LEAGUE", 7}, {1, 2, "", 300}, {0xFF, 0, "X", -4}, {9, 9, std::string(60, 'n'), 2}};
  sim::WriteRosterFile(dir / "in.org", entries);
  RosterFile roster;
  ASSERT_EQ(roster.Load(dir / "in.org"), RosterFile::LoadResult::kOk);
  ASSERT_EQ(roster.count(), 4);
  EXPECT_EQ(roster.entry(2).marker1, 0xFF);
  EXPECT_EQ(roster.entry(2).player, -4);
  EXPECT_EQ(roster.entry(3).name, std::string(60, 'n'));
  ASSERT_TRUE(roster.Save(dir / "out.org"));
  EXPECT_EQ(ReadFileBytes(dir / "out.org"), ReadFileBytes(dir / "in.org"));

  // Clear keeps the markers and name for appends.
  roster.SetMarker(120, 5);
  roster.SetName("AB");
  roster.Clear();
  roster.Append(3);
  EXPECT_EQ(roster.Encode(), std::string("\x01\x00\x78\x05\x02\x00" "AB\x03\x00", 10));
}

TEST(RosterFile, MalformedFilesFailWithAReason) {
  TempDir dir;
  const sim::Bytes good = sim::EncodeRoster({{120, 5, "AB", 1}, {120, 5, "AB", 2}});
  struct Case {
    std::string name;
    sim::Bytes bytes;
    std::string why;
  } cases[] = {
      {"empty file", {}, "the file is too short to hold a roster"},
      {"one byte", {1}, "the file is too short to hold a roster"},
      {"negative count", Hex({0xFF, 0xFF}), "the roster's count is negative (-1)"},
      {"count beyond the entries", Hex({3, 0}), "the file ends inside entry 1 of 3"},
      {"cut inside a name", sim::Bytes(good.begin(), good.begin() + 14),
       "the file ends inside entry 2 of 2"},
      {"cut inside a number", sim::Bytes(good.begin(), good.end() - 1),
       "the file ends inside entry 2 of 2"},
      {"negative name length", Hex({1, 0, 120, 5, 0xFE, 0xFF, 1, 0}),
       "entry 1 has a negative name length (-2)"},
  };
  for (const Case& c : cases) {
    sim::WriteBytes(dir / "bad.org", c.bytes);
    RosterFile roster;
    roster.SetMarker(1, 1);
    roster.Append(5);
    std::string why;
    EXPECT_EQ(roster.Load(dir / "bad.org", &why), RosterFile::LoadResult::kMalformed) << c.name;
    EXPECT_EQ(why, c.why) << c.name;
    EXPECT_EQ(roster.count(), 0) << c.name << ": nothing half-read";
  }
  RosterFile roster;
  EXPECT_EQ(roster.Load(dir / "missing.org"), RosterFile::LoadResult::kCannotOpen);
  EXPECT_EQ(roster.Load(dir.path()), RosterFile::LoadResult::kCannotOpen);
}

TEST(RosterFile, NumbersAndNamesThatDoNotFitAreRefused) {
  RosterFile roster;
  EXPECT_FALSE(roster.Append(32768));
  EXPECT_FALSE(roster.Append(-32769));
  EXPECT_EQ(roster.count(), 0);
  EXPECT_TRUE(roster.SetName(std::string(48, 'a')));
  EXPECT_FALSE(roster.SetName(std::string(49, 'a')));
  EXPECT_EQ(roster.Encode().size(), 2u);
  for (int i = 0; i < RosterFile::kMaxEntries; ++i) ASSERT_TRUE(roster.Append(1));
  EXPECT_FALSE(roster.Append(1));  // a 32768th entry would wrap the count
  EXPECT_EQ(roster.count(), 32767);
  // The name stays the last one accepted.
  EXPECT_EQ(roster.entry(0).name, std::string(48, 'a'));
}

TEST(RosterFile, SaveFailuresLeaveTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir / "T00001RS.ORG";
  sim::WriteRosterFile(path, {{120, 5, "OLD", 1}});
  const sim::Bytes old = ReadFileBytes(path);
  RosterFile roster;
  roster.SetMarker(120, 5);
  roster.SetName("NEW");
  for (int i = 1; i <= 50; ++i) roster.Append(i);

  for (long long after : {0LL, 1LL, 100LL}) {  // a disk that fills up at various points
    std::string why;
    EXPECT_FALSE(roster.Save(path, &why, FillingDisk(after))) << after;
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(ReadFileBytes(path), old) << after;
  }
  EXPECT_FALSE(roster.Save(dir / "no-such-dir/T00001RS.ORG"));
  dir.MakeDir("T00002RS.ORG");  // a directory where the file should be
  EXPECT_FALSE(roster.Save(dir / "T00002RS.ORG"));
  // Nothing but the original file and that directory is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(dir.path())), {}),
            2);

#ifdef _WIN32
  // Windows keeps read-only files, not folders: a roster with that attribute stays as it is.
  const std::filesystem::path readOnly = platform::NativePath(path);
#else
  if (geteuid() == 0) return;  // root writes into read-only directories anyway
  const std::filesystem::path readOnly = platform::NativePath(dir.path());
#endif
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::string why;
  EXPECT_FALSE(roster.Save(path, &why));
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(ReadFileBytes(path), old);
  EXPECT_FALSE(why.empty());
}

TEST(RosterFile, ReplacesAFileNamedInAnotherCase) {
  TempDir dir;
  const std::string org = dir.MakeDir("Org00001");
  sim::WriteRosterFile(org + "t00007rs.org", {{120, 5, "OLD", 1}});
  RosterFile roster;
  roster.Append(9);
  ASSERT_TRUE(roster.Save(RosterPath(dir / "ORG00001/", 7)));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(platform::NativePath(org)), {}), 1);
  EXPECT_EQ(ReadFileBytes(org + "t00007rs.org"), Hex({1, 0, 0, 0, 0, 0, 9, 0}));

  RosterFile loaded;
  EXPECT_EQ(loaded.Load(dir / "ORG00001/T00007RS.ORG"), RosterFile::LoadResult::kOk);
  EXPECT_EQ(loaded.entry(0).player, 9);
}

TEST(RosterFile, PathRules) {
  EXPECT_EQ(RosterPath("/d/ORG00001/", 7), "/d/ORG00001/T00007RS.ORG");
  EXPECT_EQ(RosterPath("", 12345), "T12345RS.ORG");
  const std::string sep(1, platform::kSeparator);
  EXPECT_EQ(FarmRosterPath("/d/L.WDD/", 2, 101), "/d/L.WDD/ORG00002" + sep + "T00101RS.ORG");
  // What a backup's manifest may name: exactly what RosterPath writes, in any letter case.
  for (const char* name : {"T00007RS.ORG", "t00007rs.org", "T-0001RS.ORG", "T123456RS.ORG"}) {
    EXPECT_TRUE(IsRosterFileName(name)) << name;
  }
  for (const char* name : {"T0007RS.ORG", "T000007RS.ORG", "T0000xRS.ORG", "T00007RS.ORGX",
                           "org.dat", "../T00001RS.ORG", "T+0001RS.ORG", ""}) {
    EXPECT_FALSE(IsRosterFileName(name)) << name;
  }
}

}  // namespace
}  // namespace tovarin
