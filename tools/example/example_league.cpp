#include "tools/example/example_league.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "platform/native_path.h"
#include "platform/paths.h"
#include "simdata/roster_file.h"
#include "simwriter/sim_writer.h"

namespace fs = std::filesystem;

namespace tovarin::example {
namespace {

// splitmix64: the same numbers on every system and standard library, unlike <random>'s
// distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) {
      std::swap(items[i - 1], items[static_cast<std::size_t>(Below(static_cast<int>(i)))]);
    }
  }

 private:
  std::uint64_t state_;
};

const char* const kFirstNames[] = {
    "James", "Robert", "Michael", "William", "David", "Richard", "Joseph", "Thomas", "Charles",
    "Daniel", "Matthew", "Anthony", "Mark", "Donald", "Steven", "Paul", "Andrew", "Joshua",
    "Kevin", "Brian", "George", "Timothy", "Ronald", "Edward", "Jason", "Jeffrey", "Ryan",
    "Jacob", "Gary", "Nicholas", "Eric", "Jonathan", "Stephen", "Larry", "Justin", "Scott",
    "Brandon", "Benjamin", "Samuel", "Gregory", "Frank", "Alexander", "Raymond", "Patrick",
    "Jack", "Dennis", "Jerry", "Tyler", "Aaron", "Jose", "Adam", "Nathan", "Henry", "Douglas",
    "Zachary", "Peter", "Kyle", "Walter", "Ethan", "Jeremy", "Harold", "Keith", "Christian",
    "Roger", "Noah", "Gerald", "Carl", "Terry", "Sean", "Austin", "Arthur", "Lawrence",
    "Jesse", "Dylan", "Bryan", "Joe", "Jordan", "Billy", "Bruce", "Albert", "Willie", "Gabriel",
    "Logan", "Alan", "Juan", "Wayne", "Roy", "Ralph", "Randy", "Eugene", "Vincent", "Russell",
    "Elijah", "Louis", "Bobby", "Philip", "Johnny", "Luis", "Carlos", "Miguel"};

const char* const kLastNames[] = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
    "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
    "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris", "Sanchez",
    "Clark", "Ramirez", "Lewis", "Robinson", "Walker", "Young", "Allen", "King", "Wright",
    "Scott", "Torres", "Nguyen", "Hill", "Flores", "Green", "Adams", "Nelson", "Baker", "Hall",
    "Rivera", "Campbell", "Mitchell", "Carter", "Roberts", "Gomez", "Phillips", "Evans",
    "Turner", "Diaz", "Parker", "Cruz", "Edwards", "Collins", "Reyes", "Stewart", "Morris",
    "Morales", "Murphy", "Cook", "Rogers", "Gutierrez", "Ortiz", "Morgan", "Cooper", "Peterson",
    "Bailey", "Reed", "Kelly", "Howard", "Ramos", "Kim", "Cox", "Ward", "Richardson", "Watson",
    "Brooks", "Chavez", "Wood", "James", "Bennett", "Gray", "Mendoza", "Ruiz", "Hughes",
    "Price", "Alvarez", "Castillo", "Sanders", "Patel", "Myers", "Long", "Ross", "Foster",
    "Jimenez"};

// Players whose name the new data disk writes differently, as last season's and this season's
// first and last names. Their last names are in no list above, so each name is one player's.
// Text is Windows-1252, as the simulation writes it.
struct Respelled {
  const char* first;
  const char* last;
  const char* newFirst;
  const char* newLast;
};
const Respelled kRespelled[] = {
    // Another spelling of the first name, starting with the same letter: a near miss.
    {"Stephen", "Whitaker", "Steven", "Whitaker"},
    {"Jeffrey", "Holloway", "Jeffery", "Holloway"},
    {"Jon", "Mercer", "John", "Mercer"},
    {"Micheal", "Ashby", "Michael", "Ashby"},
    {"Brian", "Calloway", "Bryan", "Calloway"},
    {"Philip", "Dunmore", "Phillip", "Dunmore"},
    // Accents, punctuation, inner spaces and suffixes left out: likely the same player.
    {"Jos\xE9", "Pe\xF1" "a", "Jose", "Pena"},
    {"Pat", "O'Neil", "Pat", "ONeil"},
    {"Luis", "De La Cruz", "Luis", "DeLaCruz"},
    {"Ken", "Griffey Jr.", "Ken", "Griffey"},
    // A nickname for the given name.
    {"Mike", "Kowalski", "Michael", "Kowalski"},
    {"Bob", "Fairbanks", "Robert", "Fairbanks"},
    {"Bill", "Pemberton", "William", "Pemberton"},
};
// Where they are in last season's player file: on major-league and farm rosters alike.
int RespelledIndex(std::size_t k) { return 20 + 97 * static_cast<int>(k); }

struct Club {
  const char* city;
  const char* nickname;
  const char* shortName;
};

const Club kClubs[] = {
    {"Harbor City", "Gulls", "HCG"},     {"Pine Ridge", "Lumberjacks", "PRL"},
    {"Red Mesa", "Roadrunners", "RMR"},  {"Cedar Falls", "Otters", "CFO"},
    {"Iron Bay", "Anchors", "IBA"},      {"Silver Lake", "Loons", "SLL"},
    {"Granite Hills", "Rams", "GHR"},    {"Copper Springs", "Miners", "CSM"},
    {"Bluewater", "Herons", "BWH"},      {"Maple Grove", "Owls", "MGO"},
    {"Stone Harbor", "Pilots", "SHP"},   {"Prairie View", "Bison", "PVB"},
    {"Eastbrook", "Foxes", "EBF"},       {"Westfield", "Hawks", "WFH"},
    {"North Point", "Wolves", "NPW"},    {"South Bend Hollow", "Badgers", "SBB"},
    {"Lakeshore", "Mariners", "LSM"},    {"Sunset Valley", "Suns", "SVS"},
    {"Thunder Ridge", "Storm", "TRS"},   {"Oak Harbor", "Acorns", "OHA"},
    {"Riverton", "Rapids", "RVR"},       {"Highland Park", "Highlanders", "HPH"},
    {"Fairview", "Falcons", "FVF"},      {"Brookside", "Beavers", "BSB"},
    {"Clearwater Bay", "Pelicans", "CBP"}, {"Elm City", "Elks", "ECE"},
    {"Goldfield", "Prospectors", "GFP"}, {"Kingsport", "Crowns", "KPC"},
    {"Millbrook", "Millers", "MBM"},     {"Ashford", "Aces", "AFA"},
};

const char* const kLeagues[] = {"AL", "NL"};
const char* const kFarmLeagues[] = {"IL", "PCL"};
const char* const kDivisions[] = {"E", "C", "W"};

constexpr int kTeams = 30;
constexpr int kMajorRoster = 26;
constexpr int kFarmRoster = 20;
constexpr int kFreeAgents = 120;
constexpr int kRetired = 45;
constexpr int kNewPlayers = 60;
constexpr int kMarried = 3;  // last names changed, paired by the rename file

// Team k (0-29) of an organization: ids 10+k (majors) or 110+k (farm), teamIndex k.
sim::OrgBuilder Organization(bool farm, std::int8_t farmOrgNumber) {
  sim::OrgBuilder org;
  org.Organization(farmOrgNumber);
  for (int league = 0; league < 2; ++league) {
    org.Group(static_cast<std::int16_t>(2 + league), 1,
              farm ? kFarmLeagues[league] : kLeagues[league]);
    for (int division = 0; division < 3; ++division) {
      org.Group(static_cast<std::int16_t>(4 + league * 3 + division),
                static_cast<std::int16_t>(2 + league), kDivisions[division]);
    }
  }
  for (int k = 0; k < kTeams; ++k) {
    const Club& club = kClubs[k];
    const int division = 4 + k / 5;  // five teams a division, leagues of fifteen
    std::string longName = std::string(club.city) + " " + club.nickname;
    std::string name = club.city;
    std::string shortName = club.shortName;
    if (farm) {
      longName = std::string(club.city) + " Junior " + club.nickname;
      name = std::string(club.city) + " Jr";
      shortName = std::string(club.shortName).substr(0, 2) + "J";
    }
    sim::OrgRecord& team = org.Team(static_cast<std::int16_t>((farm ? 110 : 10) + k),
                                    static_cast<std::int16_t>(division),
                                    static_cast<std::int16_t>(k), longName, name, shortName);
    team.farmTeamId = farm ? 0 : static_cast<std::int16_t>(110 + k);
  }
  return org;
}

void WriteRoster(const std::string& path, const std::string& dataDisk,
                 const std::vector<int>& players) {
  std::vector<sim::RosterEntry> entries;
  for (int p : players) entries.push_back({120, 5, dataDisk, static_cast<std::int16_t>(p)});
  sim::WriteRosterFile(path, entries);
}

}  // namespace

ExampleLeague WriteExampleLeague(const std::string& directory, std::uint64_t seed) {
  Random random(seed);
  const char sep = platform::kSeparator;
  std::string base = directory;
  if (!platform::EndsWithSeparator(base)) base += sep;
  const std::string disk25 = base + "2025.WDD" + sep;
  const std::string disk26 = base + "2026.WDD" + sep;
  for (const std::string& org : {disk25 + "ORG00001", disk25 + "ORG00002", disk26 + "ORG00001",
                                 disk26 + "ORG00002"}) {
    fs::create_directories(platform::NativePath(org));
  }
  std::ofstream(platform::NativePath(base + "gstnd32.exe"), std::ios::binary);

  // Last season's players: distinct names, drawn from the lists.
  const int total = kTeams * (kMajorRoster + kFarmRoster) + kFreeAgents;
  std::vector<sim::Player> players;
  std::set<std::pair<std::string, std::string>> taken;
  while (static_cast<int>(players.size()) < total) {
    sim::Player p{kLastNames[random.Below(static_cast<int>(std::size(kLastNames)))],
                  kFirstNames[random.Below(static_cast<int>(std::size(kFirstNames)))]};
    if (taken.insert({p.last, p.first}).second) players.push_back(p);
  }
  // A few carry a name that the new data disk writes differently.
  std::map<int, const Respelled*> respelled;
  for (std::size_t k = 0; k < std::size(kRespelled); ++k) {
    respelled[RespelledIndex(k)] = &kRespelled[k];
    players[static_cast<std::size_t>(RespelledIndex(k))] = {kRespelled[k].last,
                                                            kRespelled[k].first};
  }
  sim::WritePlayersFile(disk25 + "Players.dat", players);

  // Source organization and its farm: numbers in the 2025 player file, from 1.
  sim::OrgBuilder majors = Organization(false, 2);
  majors.Write(disk25 + "ORG00001" + sep);
  Organization(true, 0).Write(disk25 + "ORG00002" + sep);
  for (int k = 0; k < kTeams; ++k) {
    std::vector<int> major, farm;
    for (int i = 0; i < kMajorRoster; ++i) major.push_back(k * kMajorRoster + i + 1);
    for (int i = 0; i < kFarmRoster; ++i) {
      farm.push_back(kTeams * kMajorRoster + k * kFarmRoster + i + 1);
    }
    WriteRoster(RosterPath(disk25 + "ORG00001" + sep, 10 + k), "2025", major);
    WriteRoster(RosterPath(disk25 + "ORG00002" + sep, 110 + k), "2025", farm);
  }

  // The new season: most players again under new numbers, some retired, some new, a few with
  // their first name spelled anew, a few with a new last name.
  std::vector<sim::Player> next;
  std::vector<int> order(players.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::set<int> retired;
  while (static_cast<int>(retired.size()) < kRetired) {
    const int who = random.Below(total);
    if (!respelled.count(who)) retired.insert(who);  // the respelled ones stay
  }
  std::vector<std::pair<sim::Player, sim::Player>> renamed;
  for (int i : order) {
    if (retired.count(i)) continue;
    sim::Player p = players[static_cast<std::size_t>(i)];
    if (const auto it = respelled.find(i); it != respelled.end()) {
      p = {it->second->newLast, it->second->newFirst};
    }
    if (i >= 11 && (i - 11) % 211 == 0 && static_cast<int>(renamed.size()) < kMarried) {
      sim::Player before = p;
      p.last = p.last + "-" + kLastNames[random.Below(static_cast<int>(std::size(kLastNames)))];
      p.last = p.last.substr(0, 15);
      renamed.push_back({before, p});
    }
    next.push_back(p);
  }
  std::vector<sim::Player> rookies;
  while (static_cast<int>(rookies.size()) < kNewPlayers) {
    sim::Player p{kLastNames[random.Below(static_cast<int>(std::size(kLastNames)))],
                  kFirstNames[random.Below(static_cast<int>(std::size(kFirstNames)))]};
    if (taken.insert({p.last, p.first}).second) rookies.push_back(p);
  }
  next.insert(next.end(), rookies.begin(), rookies.end());
  random.Shuffle(next);
  sim::WritePlayersFile(disk26 + "Players.dat", next);

  // The target organization: the same clubs, no games played yet, last season's rosters still
  // in place (the Build replaces them).
  Organization(false, 2).Write(disk26 + "ORG00001" + sep);
  Organization(true, 0).Write(disk26 + "ORG00002" + sep);
  for (int k = 0; k < kTeams; ++k) {
    std::vector<int> old;
    for (int i = 0; i < kMajorRoster; ++i) old.push_back(random.Below(static_cast<int>(next.size())) + 1);
    WriteRoster(RosterPath(disk26 + "ORG00001" + sep, 10 + k), "2026", old);
  }

  // The rename file: the players whose last names changed, then two rookies signed straight to a
  // club, named by its short name.
  std::string renames;
  for (const auto& [before, after] : renamed) {
    renames += before.first + "," + before.last + "," + after.first + "," + after.last + ",\r\n";
  }
  renames += std::string(kClubs[0].shortName) + ",," + rookies[0].first + "," + rookies[0].last +
             ",\r\n";
  renames += std::string(kClubs[7].shortName) + ",," + rookies[1].first + "," + rookies[1].last +
             ",\r\n";
  sim::WriteBytes(base + "renames.txt", sim::Bytes(renames.begin(), renames.end()));

  ExampleLeague league;
  league.baseDirectory = base;
  league.sourceOrganization = disk25 + "ORG00001" + sep;
  league.targetOrganization = disk26 + "ORG00001" + sep;
  league.renameFile = base + "renames.txt";
  league.sourcePlayers = static_cast<int>(players.size());
  league.targetPlayers = static_cast<int>(next.size());
  return league;
}

}  // namespace tovarin::example
