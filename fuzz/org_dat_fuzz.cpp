// org.dat: two organization files (target and source) are loaded into team lists, paired by name,
// reloaded through the form's TeamLists, and then pushed through pairing commands taken from the
// rest of the input. Every field of every entry is checked against a literal reading of the
// records, and the pairs against a literal walk of the pairing rule.
//
// Input: piece 1 = target org.dat, piece 2 = source org.dat, the rest = commands, one per byte.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pairing/team_list.h"
#include "pairing/team_lists.h"
#include "simdata/record_file.h"
#include "harness/fuzz_support.h"

namespace tovarin::fuzz {
namespace {

constexpr std::size_t kRecord = kOrgRecordSize;
constexpr std::size_t kMaxOrgFile = 48 * kRecord;
constexpr std::size_t kMaxCommands = 64;
constexpr int kNoFarm = -1000;  // no int8 farm number has this value

std::int16_t Int16At(const std::string& record, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(
      static_cast<unsigned char>(record[at]) | (static_cast<unsigned char>(record[at + 1]) << 8)));
}

std::string TextAt(const std::string& record, std::size_t at, std::size_t width) {
  const std::string field = record.substr(at, width);
  return field.substr(0, field.find('\0'));
}

// The file's records, the last one zero-filled when short.
std::vector<std::string> Records(std::string_view file) {
  std::vector<std::string> records;
  for (std::size_t at = 0; at < file.size(); at += kRecord) {
    std::string record(file.substr(at, kRecord));
    record.resize(kRecord, '\0');
    records.push_back(record);
  }
  return records;
}

// Index of the first record with this id, -1 for none.
int FirstWithId(const std::vector<std::string>& records, std::int16_t id) {
  for (std::size_t k = 0; k < records.size(); ++k) {
    if (Int16At(records[k], 0) == id) return static_cast<int>(k);
  }
  return -1;
}

// The list LoadTeamList must give for `file`, and the farm number it must leave.
TeamList ExpectedList(std::string_view file, int& farmOrg) {
  const std::vector<std::string> records = Records(file);
  TeamList list;
  for (const std::string& r : records) {
    const unsigned char kind = static_cast<unsigned char>(r[73]);
    if (kind == 1) farmOrg = static_cast<signed char>(r[109]);
    if (kind != 4) continue;
    TeamEntry e;
    e.teamId = Int16At(r, 0);
    e.teamIndex = Int16At(r, 4);
    e.gamesPlayed = Int16At(r, 74) + Int16At(r, 76);
    e.longName = TextAt(r, 6, 36);
    e.name = TextAt(r, 42, 26);
    e.shortName = TextAt(r, 68, 5);
    e.farmTeamId = Int16At(r, 88);
    if (const int parent = FirstWithId(records, Int16At(r, 2)); parent >= 0) {
      e.parentShortName = TextAt(records[parent], 68, 5);
      if (const int grand = FirstWithId(records, Int16At(records[parent], 2)); grand >= 0) {
        e.grandparentShortName = TextAt(records[grand], 68, 5);
      }
    }
    list.push_back(e);
  }
  return list;
}

void CheckSameEntries(const TeamList& got, const TeamList& want) {
  FUZZ_CHECK(got.size() == want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    const TeamEntry& g = got[i];
    const TeamEntry& w = want[i];
    FUZZ_CHECK(g.teamIndex == w.teamIndex && g.teamId == w.teamId);
    FUZZ_CHECK(g.gamesPlayed == w.gamesPlayed && g.farmTeamId == w.farmTeamId);
    FUZZ_CHECK(g.name == w.name && g.longName == w.longName && g.shortName == w.shortName);
    FUZZ_CHECK(g.parentShortName == w.parentShortName);
    FUZZ_CHECK(g.grandparentShortName == w.grandparentShortName);
  }
}

// Index in `other` of each entry's partner, -1 for none.
std::vector<int> PartnerIndexes(const TeamList& list, const TeamList& other) {
  std::vector<int> indexes;
  for (const TeamEntry& e : list) {
    if (e.partner == nullptr) {
      indexes.push_back(-1);
      continue;
    }
    FUZZ_CHECK(e.partner >= other.data() && e.partner < other.data() + other.size());
    indexes.push_back(static_cast<int>(e.partner - other.data()));
  }
  return indexes;
}

// The pairs PairTeamsByName must make between freshly loaded lists: each target entry in turn
// takes the first source entry of equal long name that nobody has taken.
std::vector<int> ExpectedPairs(const TeamList& target, const TeamList& source) {
  std::vector<int> pairs(target.size(), -1);
  std::vector<bool> taken(source.size(), false);
  for (std::size_t t = 0; t < target.size(); ++t) {
    for (std::size_t s = 0; s < source.size(); ++s) {
      if (!taken[s] && target[t].longName == source[s].longName) {
        taken[s] = true;
        pairs[t] = static_cast<int>(s);
        break;
      }
    }
  }
  return pairs;
}

void CheckMutual(const TeamList& target, const TeamList& source) {
  const std::vector<int> forward = PartnerIndexes(target, source);
  const std::vector<int> backward = PartnerIndexes(source, target);
  for (std::size_t t = 0; t < forward.size(); ++t) {
    if (forward[t] >= 0) FUZZ_CHECK(backward[static_cast<std::size_t>(forward[t])] == int(t));
  }
  for (std::size_t s = 0; s < backward.size(); ++s) {
    if (backward[s] >= 0) FUZZ_CHECK(forward[static_cast<std::size_t>(backward[s])] == int(s));
  }
}

// The form's invariants: pairs are mutual, the target box has a row per target entry, the source
// box one per unpaired source entry, each row showing its own entry, and the labels count all.
void CheckLists(const TeamLists& lists) {
  const TeamList& target = lists.targetTeams();
  const TeamList& source = lists.sourceTeams();
  CheckMutual(target, source);
  const ListBoxModel& targetBox = lists.targetList();
  FUZZ_CHECK(targetBox.rows.size() == target.size());
  for (std::size_t i = 0; i < target.size(); ++i) {
    FUZZ_CHECK(targetBox.rows[i].entry == &target[i]);
    FUZZ_CHECK(targetBox.rows[i].text == TargetRowText(target[i]));
  }
  const ListBoxModel& sourceBox = lists.sourceList();
  std::size_t row = 0;
  for (const TeamEntry& s : source) {
    if (s.partner) continue;
    FUZZ_CHECK(row < sourceBox.rows.size() && sourceBox.rows[row].entry == &s);
    FUZZ_CHECK(sourceBox.rows[row].text == SourceRowText(s));
    ++row;
  }
  FUZZ_CHECK(row == sourceBox.rows.size());
  for (const ListBoxModel* box : {&targetBox, &sourceBox}) {
    FUZZ_CHECK(box->selected >= -1 && box->selected < static_cast<int>(box->rows.size()));
  }
  FUZZ_CHECK(lists.targetLabel() == TeamsLabel(target.size()));
  FUZZ_CHECK(lists.sourceLabel() == TeamsLabel(source.size()));
}

void Load(TeamList& list, const std::string& dir, std::string_view file, int& farmOrg) {
  int expectedFarm = farmOrg;
  const TeamList expected = ExpectedList(file, expectedFarm);
  LoadTeamList(list, dir, farmOrg);
  FUZZ_CHECK(farmOrg == expectedFarm);
  CheckSameEntries(list, expected);
  for (const TeamEntry& e : list) FUZZ_CHECK(e.partner == nullptr);
}

}  // namespace
}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovarin;
  using namespace tovarin::fuzz;
  Pieces pieces(data, size);
  const std::string_view targetFile = pieces.Next(kMaxOrgFile);
  const std::string_view sourceFile = pieces.Next(kMaxOrgFile);
  const std::string_view commands = pieces.Rest(kMaxCommands);

  const std::string root = FreshDir("org");
  const std::string targetDir = MakeDir(root, "LEAGUE.WDD/ORG00001");
  const std::string sourceDir = MakeDir(root, "SRC.WDD/ORG00001");
  WriteFile(targetDir + "org.dat", targetFile);
  WriteFile(sourceDir + "org.dat", sourceFile);

  // The loader and the pairing on their own.
  TeamList target, source;
  int targetFarm = kNoFarm, sourceFarm = kNoFarm;
  Load(target, targetDir, targetFile, targetFarm);
  Load(source, sourceDir, sourceFile, sourceFarm);
  const std::vector<int> expectedPairs = ExpectedPairs(target, source);
  PairTeamsByName(target, source);
  FUZZ_CHECK(PartnerIndexes(target, source) == expectedPairs);
  CheckMutual(target, source);

  // A list paired with a copy of itself: every entry takes its own twin, duplicates included.
  TeamList twin = source;
  for (TeamEntry& e : twin) e.partner = nullptr;
  TeamList self = twin;
  PairTeamsByName(self, twin);
  for (std::size_t i = 0; i < self.size(); ++i) FUZZ_CHECK(self[i].partner == &twin[i]);

  // The form's lists: the same pairs after a reload, kept through a reload of the same paths,
  // whatever the pairing commands did in between.
  TeamLists lists(8);
  std::string targetPath = targetDir, sourcePath = sourceDir;
  int farm = kNoFarm;
  auto unexpected = [](const std::string&) { FUZZ_CHECK(!"no load error expected"); };
  lists.Reload(targetPath, sourcePath, farm, unexpected);
  FUZZ_CHECK(farm == sourceFarm && targetPath == targetDir && sourcePath == sourceDir);
  CheckSameEntries(lists.targetTeams(), target);
  CheckSameEntries(lists.sourceTeams(), source);
  FUZZ_CHECK(PartnerIndexes(lists.targetTeams(), lists.sourceTeams()) == expectedPairs);
  CheckLists(lists);
  // After a refill the first row is selected unless the box is empty.
  FUZZ_CHECK(lists.targetList().selected == (lists.targetList().rows.empty() ? -1 : 0));
  FUZZ_CHECK(lists.sourceList().selected == (lists.sourceList().rows.empty() ? -1 : 0));

  // A selection is any row of its box, or none.
  auto pick = [](ListBoxModel& box, unsigned char c) {
    box.selected = static_cast<int>((c >> 3) % (box.rows.size() + 1)) - 1;
  };
  for (const char byte : commands) {
    const unsigned char c = static_cast<unsigned char>(byte);
    switch (c & 7) {
      case 0: pick(lists.targetList(), c); break;
      case 1: pick(lists.sourceList(), c); break;
      case 2: {
        TeamEntry* t = lists.targetList().SelectedEntry();
        TeamEntry* s = lists.sourceList().SelectedEntry();
        const bool sourceWasFree = s && !s->partner;
        FUZZ_CHECK(lists.Match() == (t && s));
        if (t && sourceWasFree) FUZZ_CHECK(t->partner == s && s->partner == t);
        break;
      }
      case 3: {
        TeamEntry* t = lists.targetList().SelectedEntry();
        FUZZ_CHECK(lists.Unmatch() == (t != nullptr));
        if (t) FUZZ_CHECK(t->partner == nullptr);
        break;
      }
      case 4:
        FUZZ_CHECK(lists.Reset());
        for (const TeamEntry& e : lists.targetTeams()) FUZZ_CHECK(e.partner == nullptr);
        break;
      case 5: lists.DoubleClickTarget(); break;
      case 6: {
        const std::vector<int> before = PartnerIndexes(lists.targetTeams(), lists.sourceTeams());
        lists.Reload(targetPath, sourcePath, farm, unexpected);
        FUZZ_CHECK(PartnerIndexes(lists.targetTeams(), lists.sourceTeams()) == before);
        break;
      }
      default:
        // Another source organization, here the target's own file: every pair is made afresh.
        sourcePath = sourcePath == sourceDir ? targetDir : sourceDir;
        lists.Reload(targetPath, sourcePath, farm, unexpected);
        FUZZ_CHECK(PartnerIndexes(lists.targetTeams(), lists.sourceTeams()) ==
                   ExpectedPairs(lists.targetTeams(), lists.sourceTeams()));
        break;
    }
    CheckLists(lists);
  }
  return 0;
}
