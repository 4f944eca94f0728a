// Writes well-formed starting inputs for every fuzz target, made with the project's own writers
// of the simulation's files, into DIR/<target>/.
//
//   tovarin_fuzz_seeds DIR

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "harness/build_flags.h"
#include "harness/fuzz_support.h"
#include "support/fixture.h"
#include "simwriter/sim_writer.h"

namespace fs = std::filesystem;

namespace tovarin::fuzz {
namespace {

std::string Str(const sim::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Org(const std::vector<sim::OrgRecord>& records) {
  std::string file;
  for (const sim::OrgRecord& r : records) file += Str(sim::EncodeOrgRecord(r));
  return file;
}
std::string Org(const sim::OrgBuilder& builder) { return Org(builder.records()); }

std::string Players(const std::vector<sim::Player>& players) {
  std::string file;
  for (const sim::Player& p : players) file += Str(sim::EncodePlayer(p));
  return file;
}

std::string Roster(const std::vector<int>& players, const std::string& dataDisk = "SRC") {
  std::vector<sim::RosterEntry> entries;
  for (int p : players) entries.push_back({120, 5, dataDisk, static_cast<std::int16_t>(p)});
  return Str(sim::EncodeRoster(entries));
}

class Seeds {
 public:
  explicit Seeds(std::string root) : root_(std::move(root)) {}
  void Add(const std::string& target, const std::string& bytes) {
    const fs::path dir = fs::path(root_) / target;
    if (counts_[target] == 0) fs::remove_all(dir);  // no seed of an earlier run stays
    fs::create_directories(dir);
    char name[32];
    std::snprintf(name, sizeof name, "seed-%02d", ++counts_[target]);
    WriteFile((dir / name).string(), bytes);
  }

 private:
  std::string root_;
  std::map<std::string, int> counts_;
};

// An organization whose records test the loader's corners: two organization records, a parent
// named twice, a team whose parent is missing, duplicate long names, a name with no NUL.
sim::OrgBuilder OddOrg() {
  sim::OrgBuilder org;
  org.Organization(3).Organization(-7, 2);
  org.Group(10, 1, "AL").Group(10, 2, "XX").Group(11, 10, "EAST");
  org.Team(1, 11, 0, "Reds", "Cincinnati", "CIN");
  org.Team(2, 11, 1, "Reds", "Second Reds", "CN2").gameCountA = 3;
  org.Team(3, 99, 2, "Cubs", "Chicago", "CHC").farmTeamId = 103;
  org.Team(4, 10, 2, std::string(36, 'L'), std::string(26, 'N'), "SHORT");
  sim::OrgRecord other;
  other.id = 5;
  other.kind = 2;
  other.shortName = "K2";
  other.filler = 0xA5;
  org.Raw(other);
  return org;
}

void OrgDatSeeds(Seeds& seeds) {
  const std::string commands("\x08\x09\x02\x10\x03\x05\x06\x04\x07\x05", 10);
  seeds.Add("org_dat", JoinPieces({Org(fixture::StandardOrg(3)), Org(fixture::StandardOrg(2, 2))},
                                  commands));
  seeds.Add("org_dat", JoinPieces({Org(OddOrg()), Org(fixture::StandardOrg(4, 5))}, commands));
  seeds.Add("org_dat", JoinPieces({"", Org(sim::OrgBuilder().Organization(9))}, ""));
  std::string shortLast = Org(OddOrg());
  shortLast.resize(shortLast.size() - 120);  // the last record ends early
  seeds.Add("org_dat", JoinPieces({shortLast, Org(OddOrg())}, commands));
}

const std::vector<sim::Player> kSourcePlayers = {{"Smith", "John"}, {"Jones", "Ann"},
                                                 {"Brown", "Bob"},  {"Lee", "Al"},
                                                 {"Fox", "Jon"},    {"Gray", "Tim"}};
const std::vector<sim::Player> kTargetPlayers = {{"Brown", "Bob"}, {"Smith", "John"},
                                                 {"Fox", "John"},  {"Jones", "Ann"},
                                                 {"Lee", "Al"},    {"New", "Guy"},
                                                 {"Park", "Sam"}};

void PlayersSeeds(Seeds& seeds) {
  seeds.Add("players", Players(kSourcePlayers));
  std::string odd = Players({{"Fifteenletters!", std::string(129, 'f')}, {"", ""}, {"A", "B"}});
  odd[146] = static_cast<char>(0x90);        // a negative last-name length
  odd[146 + 16] = static_cast<char>(0x7F);   // a first name as long as the record allows
  odd[2 * 146 + 16] = 20;                    // runs on into the record's other bytes
  odd += std::string("\x05Gr\0ay", 6);       // a short last record, a zero byte in its name
  seeds.Add("players", odd);
  seeds.Add("players", "");
}

void RosterSeeds(Seeds& seeds) {
  seeds.Add("roster", Roster({12, 300}, "ABCD"));
  seeds.Add("roster", std::string("\0\0", 2));
  seeds.Add("roster", Roster({1, -1, 32767}, "") + "trailing bytes");
  std::vector<sim::RosterEntry> odd = {{0, 255, std::string(48, 'N'), 5}, {7, 7, "X", -32768}};
  seeds.Add("roster", Str(sim::EncodeRoster(odd)));
  std::string shortOne = Roster({1, 2, 3});
  shortOne.resize(shortOne.size() - 5);  // ends inside the last entry
  seeds.Add("roster", shortOne);
  seeds.Add("roster", std::string("\xff\xff", 2));  // a negative count
}

std::string PlayerLines(const std::vector<sim::Player>& players) {
  std::string text;
  for (const sim::Player& p : players) text += p.last + "," + p.first + "\n";
  return text;
}

// A NUL inside a field, and Ctrl-Z, which ends the file before the record after it.
const char kCutAndEnded[] = "Jo\0hn,Smith,Jon,Smith,\x1a,ignored,";

// The rename file targets share their input, and so their seeds.
void RenameSeeds(Seeds& seeds, const std::string& name) {
  const std::string source = PlayerLines(kSourcePlayers);
  const std::string target = PlayerLines(kTargetPlayers);
  const std::string teams = "C1\nC2\nC3\nC4\nC5\n";
  const std::string noShift(1, '\0');
  seeds.Add(name, JoinPieces({source, target, teams, noShift},
                                 "C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\n"));
  // CR LF astride the reader's refill, then a record without its last comma.
  seeds.Add(name, JoinPieces({source, target, teams, std::string(1, '\x03')},
                                 "\r\nJohn,Smith,John,Smith,\r\nC1,x,Guy,New"));
  const std::string nearSource = PlayerLines({{"Smith", "John"}, {"Smith", "John"}, {"Doe", ""},
                                              {"Smith", "Jo"}, {"Kim", "Lee"}});
  const std::string nearTarget = PlayerLines({{"Smith", "Jon"}, {"Smith", "Johnny"},
                                              {"smith", "John"}, {"Smith", "John"}, {"Doe", ""},
                                              {"Kim", "Lee"}, {"Kim", "Leo"}});
  seeds.Add(name,
            JoinPieces({nearSource, nearTarget, "C1\nKim\nC3\n", noShift},
                       std::string(49, 'x') + ",Kim,Lee,Kim,\n  Lee ,Kim,Leo,Kim,\n" +
                           std::string(kCutAndEnded, sizeof kCutAndEnded - 1)));
  seeds.Add(name, JoinPieces({source, target, teams, noShift}, " \t\r\n\f\v "));
  // A missing comma, a record replaced, a target claimed twice, an identical record.
  seeds.Add(name, JoinPieces({source, target, teams, noShift},
                               "John,Smith,John,Smith\nJon,Fox,John,Fox,\nJon,Fox,Sam,Park,\n"
                               "C3,,Sam,Park,\nC3,,Sam,Park,\n"));
}

// A Build seed: flags, both org.dat files, both player files, the rename file, then the roster
// and the farm roster of each source team in list order.
std::string BuildInput(unsigned char flags, const sim::OrgBuilder& target,
                       const sim::OrgBuilder& source, const std::string& renames,
                       const std::vector<std::string>& rosters) {
  std::vector<std::string> pieces = {std::string(1, static_cast<char>(flags)), Org(target),
                                     Org(source), Players(kTargetPlayers),
                                     Players(kSourcePlayers), renames};
  pieces.insert(pieces.end(), rosters.begin(), rosters.end());
  return JoinPieces(pieces, "");
}

void BuildSeeds(Seeds& seeds) {
  const std::string renames = "C3,,Sam,Park,\r\n";
  // The standard tree: farm players, a rename-file assignment, backed up and put back.
  seeds.Add("build", BuildInput(kUseFarm | kBackUp, fixture::StandardOrg(3),
                                fixture::StandardOrg(2, 2), renames,
                                {Roster({1, 5, 2}), Roster({4}), Roster({3, 6}), ""}));
  // A dry run first; a farm organization that is the source's own; games played.
  const sim::OrgBuilder standard = fixture::StandardOrg(3);
  sim::OrgBuilder played;
  for (sim::OrgRecord r : standard.records()) {
    if (r.kind == 4) r.gameCountB = 2;
    played.Raw(r);
  }
  seeds.Add("build", BuildInput(kUseFarm | kDryRunFirst, played, fixture::StandardOrg(2, 1),
                                "Jon,Fox,John,Fox,",
                                {Roster({1, 2, 3, 4, 5, 6, 7, 0, -3}), Roster({6, 6}, "FARM"),
                                 Roster({})}));
  // Two target teams sharing a team index; the second one's partner has no roster; the files are
  // named in lower case; farm players wanted but no farm organization there.
  sim::OrgBuilder shared;
  shared.Organization(0).Group(10, 1, "AL");
  shared.Team(1, 10, 1, "City 1 Club", "One", "C1");
  shared.Team(2, 10, 1, "City 2 Club", "Two", "C2");
  shared.Team(3, 10, 0, "Nobody", "Three", "C3");
  seeds.Add("build", BuildInput(kUseFarm | kBackUp | kNoFarmFolder | kLowerCaseFiles, shared,
                                fixture::StandardOrg(2), "C1,,Guy,New,C2,,Sam,Park,",
                                {Roster({2, 1}), ""}));
  // A negative team index stops the Build before it starts.
  sim::OrgBuilder negative = fixture::StandardOrg(1);
  negative.Team(9, 11, -1, "Bad", "Bad", "B");
  seeds.Add("build", BuildInput(0, negative, fixture::StandardOrg(1), "", {Roster({1})}));
}

// The guardian's choices: bytes of fixed seeds, enough for a few hundred steps each.
void GuardianSeeds(Seeds& seeds) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::mt19937 random(seed);
    std::string bytes(1500, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    seeds.Add("guardian", bytes);
  }
}

}  // namespace
}  // namespace tovarin::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  tovarin::fuzz::Seeds seeds(argv[1]);
  tovarin::fuzz::OrgDatSeeds(seeds);
  tovarin::fuzz::PlayersSeeds(seeds);
  tovarin::fuzz::RosterSeeds(seeds);
  tovarin::fuzz::RenameSeeds(seeds, "rename");
  tovarin::fuzz::RenameSeeds(seeds, "rename_check");
  tovarin::fuzz::BuildSeeds(seeds);
  tovarin::fuzz::GuardianSeeds(seeds);
  return 0;
}
