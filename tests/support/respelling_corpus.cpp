#include "support/respelling_corpus.h"

#include <algorithm>
#include <random>
#include <set>
#include <utility>

#include "pairing/team_list.h"
#include "simdata/roster_file.h"
#include "support/fixture.h"
#include "transfer/name_fold.h"
#include "transfer/review.h"

namespace tovarin::fixture {
namespace {

std::string LastName(std::mt19937& random) {
  static const char* const kSyllables[] = {
      "an",  "ber", "cor", "dal", "en",  "fitz", "gar", "hol", "ing", "jor", "kel", "lan",
      "mar", "ney", "ols", "per", "ros", "son",  "ter", "vin", "wes", "bak", "tor", "mel"};
  std::string name;
  const int count = 2 + static_cast<int>(random() % 2);
  for (int i = 0; i < count; ++i) name += kSyllables[random() % std::size(kSyllables)];
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name.substr(0, 13);  // room for a letter more
}

const char* const kFirstNames[] = {
    "John",   "James",  "Robert", "Michael", "William", "David",   "Richard", "Joseph",
    "Thomas", "Daniel", "Mark",   "Paul",    "Andrew",  "Kevin",   "Brian",   "George",
    "Edward", "Ronald", "Timothy", "Jason",  "Jeffrey", "Ryan",    "Gary",    "Eric",
    "Carlos", "Luis",   "Miguel", "Pedro",   "Kenneth", "Hideki",  "Stephen", "Philip",
    "Samuel", "Walter", "Henry",  "Arthur",  "Douglas", "Raymond", "Gregory", "Patrick"};

// Spellings of one first name that start alike and are not a nickname pair.
const std::pair<const char*, const char*> kVariants[] = {
    {"Stephen", "Steven"}, {"Jeffrey", "Jeffery"}, {"Philip", "Phillip"}, {"Brian", "Bryan"},
    {"Michael", "Micheal"}, {"John", "Jon"},       {"Gregory", "Gregroy"}, {"Douglas", "Douglass"}};

// Each kind of respelling: takes the true name, gives the target disk's; false when it does not
// apply to this name.
bool Respell(const std::string& kind, PlayerName& name, std::mt19937& random) {
  std::string& last = name.last;
  if (kind == "accent") {
    const std::size_t at = last.find_first_of("aeon", 1);
    if (at == std::string::npos) return false;
    const char accented[] = {'\xE1', '\xE9', '\xF3', '\xF1'};
    last[at] = accented[std::string("aeon").find(last[at])];
  } else if (kind == "case") {
    for (char& c : last) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  } else if (kind == "punctuation") {
    last.insert(1, "'");
  } else if (kind == "space") {
    last.insert(last.size() / 2, " ");
  } else if (kind == "suffix") {
    last += " Jr.";
  } else if (kind == "initial") {
    name.first += " " + std::string(1, static_cast<char>('A' + random() % 26)) + ".";
  } else if (kind == "nickname") {
    const std::vector<NicknamePair>& pairs = NicknamePairs();
    const NicknamePair& pair = pairs[random() % pairs.size()];
    name.first = pair.nickname;  // the source spelling is set to pair.name by the caller
  } else if (kind == "variant") {
    for (const auto& [a, b] : kVariants) {
      if (name.first == a) {
        name.first = b;
        return true;
      }
    }
    return false;
  } else if (kind == "double") {
    const std::size_t at = 1 + random() % (last.size() - 1);
    last.insert(at, 1, last[at]);
  } else if (kind == "drop") {
    last.erase(1 + random() % (last.size() - 1), 1);
  } else if (kind == "swap") {
    const std::size_t at = 1 + random() % (last.size() - 2);
    if (last[at] == last[at + 1]) return false;
    std::swap(last[at], last[at + 1]);
  }
  return true;
}

}  // namespace

RespellingCorpus MakeRespellingCorpus(int players, unsigned seed) {
  static const char* const kKinds[] = {"accent", "case",   "punctuation", "space",
                                       "suffix", "initial", "nickname",   "variant",
                                       "double", "drop",   "swap"};
  std::mt19937 random(seed);
  RespellingCorpus corpus;
  corpus.truth.assign(1, 0);
  corpus.respelling.assign(1, "");
  std::set<std::pair<std::string, std::string>> folded;  // every person a name of his own
  std::vector<std::pair<PlayerName, int>> target;        // name, source number
  while (static_cast<int>(corpus.source.size()) < players) {
    PlayerName name{LastName(random), kFirstNames[random() % std::size(kFirstNames)]};
    const unsigned roll = random() % 100;
    std::string kind = "same";
    if (roll < 50) kind = kKinds[roll % std::size(kKinds)];
    if (kind == "nickname") {
      const std::vector<NicknamePair>& pairs = NicknamePairs();
      const NicknamePair& pair = pairs[random() % pairs.size()];
      name.first = pair.name;
    }
    if (!folded.insert({FoldName(name.last), FoldName(name.first)}).second) continue;
    PlayerName spelled = name;
    if (kind == "nickname") {
      for (const NicknamePair& pair : NicknamePairs()) {
        if (name.first == pair.name) spelled.first = pair.nickname;
      }
    } else if (kind != "same" && !Respell(kind, spelled, random)) {
      kind = "same";
    }
    corpus.source.push_back(name);
    const int s = static_cast<int>(corpus.source.size());
    corpus.respelling.push_back(kind);
    corpus.truth.push_back(0);
    if (roll >= 97) continue;  // retired
    target.push_back({spelled, s});
    // A namesake with the same first initial, now and then: someone else.
    if (random() % 10 == 0) {
      PlayerName other{name.last, kFirstNames[random() % std::size(kFirstNames)]};
      if (other.first[0] == name.first[0] &&
          folded.insert({FoldName(other.last), FoldName(other.first)}).second) {
        target.push_back({other, 0});
      }
    }
  }
  std::shuffle(target.begin(), target.end(), random);
  for (std::size_t i = 0; i < target.size(); ++i) {
    corpus.target.push_back(target[i].first);
    if (target[i].second > 0) {
      corpus.truth[static_cast<std::size_t>(target[i].second)] = static_cast<int>(i + 1);
    }
  }
  return corpus;
}

RespellingScore ScoreReview(const RespellingCorpus& corpus, const TempDir& dir) {
  const std::string sourceOrg = dir.MakeDir("SRC.WDD/ORG00001");
  const std::string targetOrg = dir.MakeDir("TGT.WDD/ORG00001");
  const std::string source = dir.MakeDir("SRC.WDD"), target = dir.MakeDir("TGT.WDD");
  auto players = [](const std::vector<PlayerName>& names) {
    std::vector<sim::Player> list;
    for (const PlayerName& n : names) list.push_back({n.last, n.first});
    return list;
  };
  sim::WritePlayersFile(source + "Players.dat", players(corpus.source));
  sim::WritePlayersFile(target + "Players.dat", players(corpus.target));
  constexpr int kTeams = 30;
  StandardOrg(kTeams).Write(sourceOrg);
  StandardOrg(kTeams).Write(targetOrg);
  std::vector<std::vector<sim::RosterEntry>> rosters(kTeams);
  for (std::size_t s = 1; s <= corpus.source.size(); ++s) {
    rosters[s % kTeams].push_back({120, 5, "SRC", static_cast<std::int16_t>(s)});
  }
  for (int team = 1; team <= kTeams; ++team) {
    sim::WriteRosterFile(RosterPath(sourceOrg, team), rosters[static_cast<std::size_t>(team - 1)]);
  }
  TeamList targetTeams, sourceTeams;
  int farmOrg = 0;
  LoadTeamList(targetTeams, targetOrg, farmOrg);
  LoadTeamList(sourceTeams, sourceOrg, farmOrg);
  PairTeamsByName(targetTeams, sourceTeams);
  BuildParams params;
  params.targetDataDiskPath = target;
  params.targetOrganizationPath = targetOrg;
  params.targetDataDiskName = "TGT.WDD";
  params.targetOrgPath = targetOrg;
  params.sourceDataDiskPath = source;
  params.sourceOrganizationPath = sourceOrg;
  const Review review = RunReview(params, targetTeams);

  RespellingScore score;
  for (std::size_t s = 1; s < corpus.truth.size(); ++s) {
    if (corpus.truth[s] != 0 && corpus.respelling[s] != "same") ++score.respelled;
  }
  for (const DroppedPlayer& player : review.dropped) {
    const auto s = static_cast<std::size_t>(player.sourcePlayer);
    const int truth = corpus.truth[s];
    for (const Candidate& c : player.candidates) {
      if (c.kind != CandidateKind::kLikely) continue;
      ++score.likely;
      if (c.target != truth) ++score.likelyWrong;
    }
    if (truth == 0) continue;
    const Candidate* best = player.best();
    if (best && best->target == truth) {
      ++score.bestRight;
    } else {
      const PlayerName& t = corpus.target[static_cast<std::size_t>(truth - 1)];
      score.misses.push_back(corpus.respelling[s] + ": " + player.name.last + " " +
                             player.name.first + " -> " + t.last + " " + t.first +
                             (best ? ", offered " + best->name.last + " " + best->name.first
                                   : ", no candidate"));
    }
  }
  return score;
}

}  // namespace tovarin::fixture
