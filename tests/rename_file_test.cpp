#include "transfer/rename_file.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/fixture.h"

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

}  // namespace
}  // namespace tovarin
