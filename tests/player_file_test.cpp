#include <gtest/gtest.h>

#include "simdata/player_file.h"
#include "simdata/record_file.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;

TEST(PlayerName, LimitsAndDamagedLengths) {
  struct Case {
    std::string name;
    std::function<void(sim::Bytes&)> edit;
    std::string last, first;
  } cases[] = {
      {"plain", [](sim::Bytes&) {}, "Smith", "John"},
      {"15-character last name", [](sim::Bytes& r) {
         r[0] = 15;
         for (int i = 1; i <= 15; ++i) r[i] = 'A';
       }, std::string(15, 'A'), "John"},
      {"zero byte inside a name", [](sim::Bytes& r) { r[3] = 0; }, "Sm", "John"},
      {"negative last length", [](sim::Bytes& r) { r[0] = 0xFF; }, "", "John"},
      {"negative first length", [](sim::Bytes& r) { r[16] = 0x80; }, "Smith", ""},
      {"last length above 15 is clipped", [](sim::Bytes& r) {
         r[0] = 40;
         for (int i = 1; i <= 15; ++i) r[i] = 'B';
       }, std::string(15, 'B'), "John"},
      {"first name running to the record's end", [](sim::Bytes& r) {
         r[16] = 127;
         for (int i = 17; i < 146; ++i) r[i] = 'C';
       }, "Smith", std::string(127, 'C')},
      {"length 0", [](sim::Bytes& r) { r[16] = 0; }, "Smith", ""},
  };
  for (const Case& c : cases) {
    sim::Bytes record = sim::EncodePlayer({"Smith", "John", 'x'});
    c.edit(record);
    const sim::Bytes before = record;
    const PlayerName name = ReadPlayerName(record.data());
    EXPECT_EQ(name.last, c.last) << c.name;
    EXPECT_EQ(name.first, c.first) << c.name;
    EXPECT_EQ(record, before) << c.name << ": taking a name must not change the record";
  }
}

TEST(PlayerFile, LoadsByPlayerNumber) {
  TempDir dir;
  sim::WritePlayersFile(dir / "Players.dat", {{"Smith", "John"}, {"Jones", "Ann"}});
  const auto names = LoadPlayerNames(dir / "PLAYERS.DAT");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].last, "Jones");
  EXPECT_EQ(names[1].first, "Ann");

  sim::WriteBytes(dir / "empty.dat", {});
  EXPECT_TRUE(LoadPlayerNames(dir / "empty.dat").empty());

  // A short last record is still a player, its missing bytes zero.
  sim::Bytes bytes = sim::EncodePlayer({"Smith", "John"});
  const sim::Bytes second = sim::EncodePlayer({"Lee", "Al"});
  bytes.insert(bytes.end(), second.begin(), second.begin() + 18);
  sim::WriteBytes(dir / "short.dat", bytes);
  const auto shortNames = LoadPlayerNames(dir / "short.dat");
  ASSERT_EQ(shortNames.size(), 2u);
  EXPECT_EQ(shortNames[1].last, "Lee");
  EXPECT_EQ(shortNames[1].first, "A");  // the rest of "Al" was cut off

  EXPECT_THROW(LoadPlayerNames(dir / "none.dat"), RecordFileError);
}

}  // namespace
}  // namespace tovarin
