#include <gtest/gtest.h>

#include "simdata/record_file.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RecordFileError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(RecordFile, CountsOrderAndShortLastRecord) {
  TempDir dir;
  struct Case {
    std::size_t bytes;
    int count;
  } cases[] = {{0, 0}, {208, 1}, {209, 2}, {207, 1}, {250 * 208, 250}};
  for (const Case& c : cases) {
    sim::Bytes bytes(c.bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i / 208 + 1);
    sim::WriteBytes(dir / "f.dat", bytes);
    RecordFile file(kOrgRecordSize);
    file.Open(dir / "f.dat");
    ASSERT_EQ(file.count(), c.count) << c.bytes;
    for (int i = 0; i < file.count(); ++i) {
      file.CheckIndex(i);
      EXPECT_EQ(file.Record(i)[0], i + 1);  // file order
    }
    if (c.bytes % 208 != 0) {
      // The short last record's missing bytes are zero.
      const unsigned char* last = file.Record(file.count() - 1);
      EXPECT_EQ(last[c.bytes % 208 - 1], file.count());
      EXPECT_EQ(last[207], 0);
    }
  }
}

TEST(RecordFile, OpenAppendsToWhatIsHeld) {
  TempDir dir;
  sim::WriteBytes(dir / "a.dat", sim::Bytes(146 * 2, 1));
  RecordFile file(kPlayerRecordSize);
  file.Open(dir / "a.dat");
  file.Open(dir / "a.dat");
  EXPECT_EQ(file.count(), 4);
}

TEST(RecordFile, Messages) {
  TempDir dir;
  sim::WriteBytes(dir / "empty.dat", {});
  sim::WriteBytes(dir / "three.dat", sim::Bytes(3 * 146));
  dir.MakeDir("adir");

  RecordFile empty(kPlayerRecordSize);
  empty.Open(dir / "empty.dat");
  RecordFile three(kPlayerRecordSize);
  three.Open(dir / "three.dat");

  struct Case {
    std::string name;
    std::function<void()> action;
    std::string message;
  } cases[] = {
      {"missing file", [&] { RecordFile(kOrgRecordSize).Open(dir / "nope.dat"); },
       "CANNOT OPEN FILE :" + (dir / "nope.dat") + "\n"},
      {"a directory", [&] { RecordFile(kOrgRecordSize).Open(dir / "adir"); },
       "CANNOT OPEN FILE :" + (dir / "adir") + "\n"},
      {"empty, index 0", [&] { empty.CheckIndex(0); }, "Illegal array subscript: 0 not in [0..-1]"},
      {"index -1", [&] { three.CheckIndex(-1); }, "Illegal array subscript: -1 not in [0..2]"},
      {"index count", [&] { three.CheckIndex(3); }, "Illegal array subscript: 3 not in [0..2]"},
      {"index 0", [&] { three.CheckIndex(0); }, "(no error)"},
      {"index count-1", [&] { three.CheckIndex(2); }, "(no error)"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf(c.action), c.message) << c.name;
}

TEST(RecordFile, FailedOpenLeavesTheArrayAsItWas) {
  TempDir dir;
  sim::WriteBytes(dir / "one.dat", sim::Bytes(208));
  RecordFile file(kOrgRecordSize);
  file.Open(dir / "one.dat");
  EXPECT_THROW(file.Open(dir / "missing.dat"), RecordFileError);
  EXPECT_EQ(file.count(), 1);
}

}  // namespace
}  // namespace tovarin
