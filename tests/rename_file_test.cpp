#include "transfer/rename_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_lock.h"
#include "platform/paths.h"
#include "support/fixture.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/native_path.h"
#endif

namespace tovarin {
namespace {

using fixture::TempDir;
using Fields = std::array<std::string, 4>;

std::vector<Fields> ReadAll(const std::string& path) {
  RenameReader reader(path);
  std::vector<Fields> records;
  RenameRecord record;
  while (reader.Next(record)) {
    records.push_back({record.fields[0], record.fields[1], record.fields[2], record.fields[3]});
  }
  EXPECT_FALSE(reader.Next(record)) << "the end must stay the end";
  return records;
}

std::vector<Fields> ReadContent(const std::string& content) {
  TempDir dir;
  sim::WriteBytes(dir / "rename.txt", sim::Bytes(content.begin(), content.end()));
  return ReadAll(dir / "rename.txt");
}

TEST(RenameReader, Fields) {
  const std::string a48(48, 'a'), a49(49, 'a');
  struct Case {
    const char* name;
    std::string content;
    std::vector<Fields> records;
  } cases[] = {
      {"one record per line",
       "John,Smith,Jon,Smith,\nAnn,Lee,Anne,Lee,\n",
       {{"John", "Smith", "Jon", "Smith"}, {"Ann", "Lee", "Anne", "Lee"}}},
      {"line breaks mean nothing",
       "John,\nSmith,  Jon,\n\n\tSmith,Ann,Lee,Anne,Lee,",
       {{"John", "Smith", "Jon", "Smith"}, {"Ann", "Lee", "Anne", "Lee"}}},
      {"CR LF reads as LF",
       "John,Smith,Jon,Smith\r\n,Ann,Lee,Anne,Lee\r\n\r\n",
       {{"John", "Smith", "Jon", "Smith\n"}, {"Ann", "Lee", "Anne", "Lee\n\n"}}},
      {"a lone CR stays",
       "Jo\rhn,Smith\r,Jon,Smith\r\r\n,",
       {{"Jo\rhn", "Smith\r", "Jon", "Smith\r\n"}}},
      {"48 characters and the comma", a48 + ",b,c,d,", {{a48, "b", "c", "d"}}},
      {"49 characters: the comma ends an empty next field",
       a49 + ",b,c,d,e,",
       {{a49, "", "b", "c"}, {"d", "e", "", ""}}},
      {"50 characters: the last begins the next field", a49 + "a,b,c,", {{a49, "a", "b", "c"}}},
      {"leading white space does not count towards 49", "  \t" + a49 + ",b,", {{a49, "", "b", ""}}},
      {"CR LF counts as one character",
       std::string(47, 'x') + "\r\ny,b,c,",
       {{std::string(47, 'x') + "\ny", "", "b", "c"}}},
      {"no comma after the last field", "C1,x,Jon,Smith", {{"C1", "x", "Jon", "Smith"}}},
      {"no final comma keeps the line break and white space",
       "C1,x,Jon,Smith\r\n  \t\n",
       {{"C1", "x", "Jon", "Smith\n  \t\n"}}},
      {"a missing final comma runs into the next record",
       "John,Smith,Jon,Smith\nAnn,Lee,Anne,Lee,",
       {{"John", "Smith", "Jon", "Smith\nAnn"}, {"Lee", "Anne", "Lee", ""}}},
      {"white space inside a field and before its comma is kept",
       "  Van Dyke ,\tSmith \t,\n Jon,Smith,",
       {{"Van Dyke ", "Smith \t", "Jon", "Smith"}}},
      {"every white space character is skipped before a field",
       " \t\n\r\v\fJohn,\v\f\tSmith,Jon,Smith,",
       {{"John", "Smith", "Jon", "Smith"}}},
      {"byte 26 ends the file",
       "John,Smith,Jon,Smith,\x1a"
       "Ann,Lee,Anne,Lee,",
       {{"John", "Smith", "Jon", "Smith"}}},
      {"byte 26 inside a field", "John,Smith,Jon,Sm\x1aith,", {{"John", "Smith", "Jon", "Sm"}}},
      {"byte 26 right after a CR",
       "John,Smith,Jon,Smith\r\x1a,",
       {{"John", "Smith", "Jon", "Smith\r"}}},
      {"a partial last record gets empty fields", "John,Smith,\n", {{"John", "Smith", "", ""}}},
      {"a partial last record without comma", "John,Smith,Jon", {{"John", "Smith", "Jon", ""}}},
      {"white space after the last record ends reading",
       "a,b,c,d,  \r\n\t\n",
       {{"a", "b", "c", "d"}}},
      {"empty fields", ",,,,,", {{"", "", "", ""}, {"", "", "", ""}}},
      {"a NUL ends the field's text",
       std::string("Jo\0hn,Smith,Jon,Smith,", 22),
       {{"Jo", "Smith", "Jon", "Smith"}}},
      {"bytes after a NUL still count towards 49",
       std::string(1, '\0') + a48 + ",b,c,",
       {{"", "", "b", "c"}}},
      {"bytes above 127 are plain characters",
       "J\xf6rg,M\xfcller,J\xf8rg,M\xfcller,",
       {{"J\xf6rg", "M\xfcller", "J\xf8rg", "M\xfcller"}}},
      {"white space only", " \t\r\n\v\f \r\n", {}},
      {"empty file", "", {}},
      {"byte 26 first",
       "\x1a"
       "John,Smith,Jon,Smith,",
       {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadContent(c.content), c.records) << c.name;
  }
}

TEST(RenameReader, NoFileGivesNoRecords) {
  TempDir dir;
  EXPECT_TRUE(ReadAll("").empty());
  EXPECT_TRUE(ReadAll(dir / "missing.txt").empty());
  EXPECT_TRUE(ReadAll(dir.path()).empty()) << "a directory";
}

TEST(RenameReader, IgnoresLetterCaseOfTheFileName) {
  TempDir dir;
  const std::string content = "John,Smith,Jon,Smith,";
  sim::WriteBytes(dir / "RENAME.TXT", sim::Bytes(content.begin(), content.end()));
  EXPECT_EQ(ReadAll(dir / "rename.txt"), (std::vector<Fields>{{"John", "Smith", "Jon", "Smith"}}));
}

// A long file read in pieces: with every shift of the lines, a CR LF pair and a lone CR inside a
// field fall across any piece boundary, and no record may be lost, split or merged.
TEST(RenameReader, LongFilesReadWhole) {
  const std::string line = "Jo\rhn,Smith,Jon,Smith\r\n,";
  constexpr int kLines = 12000;  // about 290 KB
  for (std::size_t shift = 0; shift < line.size(); ++shift) {
    std::string content(shift, ' ');
    for (int i = 0; i < kLines; ++i) content += line;
    const std::vector<Fields> records = ReadContent(content);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kLines)) << "shift " << shift;
    for (const Fields& record : records) {
      ASSERT_EQ(record, (Fields{"Jo\rhn", "Smith", "Jon", "Smith\n"})) << "shift " << shift;
    }
  }
}


sim::Bytes Bytes(const std::string& text) { return sim::Bytes(text.begin(), text.end()); }

const RenameRecord kAdded{{"Jon", "Fox", "John", "Fox"}};

// Only a text file of the user's takes records: the simulation's own files, whatever they hold,
// and a file with a NUL byte (which no text file has) are refused and left byte for byte.
TEST(AppendRenameRecords, WritesOnlyTheUsersTextFiles) {
  const struct {
    const char* what;
    std::string file;  // under the test's folder
    std::string bytes;
    std::string why;   // what follows "The rename file PATH "
  } rows[] = {
      {"the target Players.dat", "LEAGUE.WDD/Players.dat", "Smith,John,",
       "is one of the simulation's files, which Tovarin never writes, so nothing was added. "
       "Choose a text file of your own."},
      {"org.dat, spelled in lower case", "LEAGUE.WDD/ORG00001/org.dat", "x",
       "is one of the simulation's files, which Tovarin never writes, so nothing was added. "
       "Choose a text file of your own."},
      {"a roster", "LEAGUE.WDD/ORG00001/T00001RS.ORG", "x",
       "is one of the simulation's files, which Tovarin never writes, so nothing was added. "
       "Choose a text file of your own."},
      {"a text file in an organization folder", "league.wdd/org00002/notes.txt", "a,b,c,d,",
       "is one of the simulation's files, which Tovarin never writes, so nothing was added. "
       "Choose a text file of your own."},
      {"a file with a NUL byte", "renames.txt", std::string("a,b,\0c,d,\r\n", 11),
       "holds a NUL byte, so it is not a text file of rename records; nothing was added."},
      {"a folder in its place", "folder.txt/", "", "could not be read.\n"},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string path = dir / row.file;
    if (platform::EndsWithSeparator(path)) {
      dir.MakeDir(row.file);
    } else {
      dir.MakeDir(row.file.substr(0, row.file.find_last_of('/') + 1));
      sim::WriteBytes(path, Bytes(row.bytes));
    }
    const std::string named = platform::EndsWithSeparator(path) ? path.substr(0, path.size() - 1)
                                                                : path;
    std::string why;
    EXPECT_FALSE(AppendRenameRecords(named, {kAdded}, &why)) << row.what;
    const std::string expected = "The rename file " + named + " " + row.why;
    if (named != path) {
      EXPECT_EQ(why.rfind(expected, 0), 0u) << why;  // and why, in the system's words
    } else {
      EXPECT_EQ(why, expected) << row.what;
    }
    if (!row.bytes.empty()) {
      EXPECT_EQ(fixture::ReadFileText(path), row.bytes) << row.what;
    }
  }
  // Outside the organization folders, a data disk holds rename files like any folder.
  TempDir dir;
  dir.MakeDir("LEAGUE.WDD");
  std::string why;
  EXPECT_TRUE(AppendRenameRecords(dir / "LEAGUE.WDD/renames.txt", {kAdded}, &why)) << why;
}

// Appends to one file take turns: every pair of every append is there at the end.
TEST(AppendRenameRecords, AppendsAtOnceLoseNoPair) {
  TempDir dir;
  const std::string path = dir / "renames.txt";
  constexpr int kAppends = 25;
  auto append = [&](const std::string& who) {
    for (int i = 0; i < kAppends; ++i) {
      std::string why;
      EXPECT_TRUE(AppendRenameRecords(path, {{{who, std::to_string(i), "x", "y"}}}, &why)) << why;
    }
  };
  std::thread first(append, "A");
  std::thread second(append, "B");
  first.join();
  second.join();
  EXPECT_EQ(ReadAll(path).size(), 2u * kAppends);
  EXPECT_FALSE(fixture::FileExists(dir / ".renames.txt.tovarin-lock"));

  // The next append clears what a killed one left of its new file, and nothing else.
  sim::WriteBytes(dir / ".renames.txt.tovarin-Ab12Cd", {1});
  sim::WriteBytes(dir / ".renames.txt.tovarin-bak", {1});
  sim::WriteBytes(dir / ".other.txt.tovarin-Ab12Cd", {1});
  std::string appended;
  ASSERT_TRUE(AppendRenameRecords(path, {kAdded}, &appended)) << appended;
  EXPECT_FALSE(fixture::FileExists(dir / ".renames.txt.tovarin-Ab12Cd"));
  EXPECT_TRUE(fixture::FileExists(dir / ".renames.txt.tovarin-bak"));
  EXPECT_TRUE(fixture::FileExists(dir / ".other.txt.tovarin-Ab12Cd"));

  // One that waits longer than it may gives up, saying so, and adds nothing.
  platform::FileLock other;
  ASSERT_EQ(other.Lock(dir / ".renames.txt.tovarin-lock"), platform::FileLock::Result::kLocked);
  const std::string before = fixture::ReadFileText(path);
  std::string why;
  EXPECT_FALSE(AppendRenameRecords(path, {kAdded}, &why, platform::SystemFileWriter(),
                                   std::chrono::milliseconds(100)));
  EXPECT_EQ(why, "The rename file " + path +
                     " is being written by another Tovarin, so nothing was added. Try again "
                     "when it has finished.");
  EXPECT_EQ(fixture::ReadFileText(path), before);
}

#ifdef _WIN32
// A rename file another program holds open without sharing cannot be read: the Build is told,
// and an append refuses rather than replace it with the new records alone.
TEST(AppendRenameRecords, AFileHeldOpenByAnotherProgram) {
  TempDir dir;
  const std::string path = dir / "renames.txt";
  sim::WriteBytes(path, Bytes("a,b,c,d,\r\n"));
  const HANDLE held = CreateFileW(platform::NativePath(path).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(RenameReader(path).error(), "");
  std::string why;
  EXPECT_FALSE(AppendRenameRecords(path, {kAdded}, &why));
  EXPECT_EQ(why.rfind("The rename file " + path + " could not be read.\n", 0), 0u) << why;
  CloseHandle(held);
  EXPECT_EQ(fixture::ReadFileText(path), "a,b,c,d,\r\n");
  EXPECT_EQ(RenameReader(path).error(), "");
}
#endif

}  // namespace
}  // namespace tovarin

// Links are POSIX's own here.
#ifndef _WIN32
namespace tovarin {
namespace {

// A rename file that is a link is written through, as an editor would: the file it shares gets
// the pair and the link stays a link. A link that leads nowhere, or to itself, is refused.
TEST(AppendRenameRecords, ALinkIsWrittenThrough) {
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string shared = dir / "shared/renames.txt";
  dir.MakeDir("shared");
  sim::WriteBytes(shared, Bytes("a,b,c,d,\n"));
  fs::create_symlink(shared, dir / "mine.txt");
  std::string why;
  ASSERT_TRUE(AppendRenameRecords(dir / "mine.txt", {kAdded}, &why)) << why;
  EXPECT_EQ(fixture::ReadFileText(shared), "a,b,c,d,\nJon,Fox,John,Fox,\n");
  EXPECT_TRUE(fs::is_symlink(dir / "mine.txt"));

  fs::create_symlink(dir / "gone.txt", dir / "dangling.txt");
  fs::create_symlink(dir / "self.txt", dir / "self.txt");
  dir.MakeDir("LEAGUE.WDD");
  sim::WriteBytes(dir / "LEAGUE.WDD/Players.dat", Bytes("x"));
  fs::create_symlink(dir / "LEAGUE.WDD/Players.dat", dir / "players-link.txt");
  for (const char* link : {"dangling.txt", "self.txt"}) {
    EXPECT_FALSE(AppendRenameRecords(dir / link, {kAdded}, &why)) << link;
    EXPECT_EQ(why, "The rename file " + dir / link +
                       " is a link that leads to no file, so nothing was added.");
    EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
  }
  EXPECT_FALSE(fixture::FileExists(dir / "gone.txt"));
  EXPECT_FALSE(AppendRenameRecords(dir / "players-link.txt", {kAdded}, &why));
  EXPECT_EQ(fixture::ReadFileText(dir / "LEAGUE.WDD/Players.dat"), "x");
}

}  // namespace
}  // namespace tovarin
#endif
