#include "transfer/rename_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/fixture.h"
#include "transfer/matching.h"

namespace tovarin {
namespace {

using fixture::TempDir;

const std::vector<PlayerName> kSource = {
    {"Smith", "John"}, {"Jones", "Bob"}, {"Lee", "Ann"}, {"Brown", "Tom"}, {"Green", "Al"}};
const std::vector<PlayerName> kTarget = {{"Smith", "Jon"},  {"Jones", "Rob"}, {"Lee", "Anne"},
                                         {"Brown", "Tom"},  {"Park", "Sam"},  {"Green", "Alan"}};

TeamList Teams() {
  TeamList teams(2);
  teams[0].teamIndex = 0;
  teams[0].shortName = "C1";
  teams[0].longName = "City 1 Club";
  teams[1].teamIndex = 1;
  teams[1].shortName = "Lee";
  teams[1].longName = "Lee Town";
  return teams;
}

// What the checker says of one record: "pairs S T", "signs T", or "nothing"; then each problem
// as "LINE:COLUMN: part of its message".
struct Expected {
  std::string action;
  std::vector<std::string> problems;
};

std::string ActionText(const RenameFinding& f) {
  switch (f.action) {
    case RenameAction::kPairs:
      return "pairs " + std::to_string(f.source) + " " + std::to_string(f.target);
    case RenameAction::kSigns:
      return "signs " + std::to_string(f.target);
    case RenameAction::kNothing:
      return "nothing";
  }
  return "";
}

TEST(RenameCheck, SaysWhatTheBuildDoesAndWhatIsWrong) {
  const std::string a49(49, 'a');
  struct Case {
    const char* name;
    std::string content;
    std::vector<Expected> records;
    std::vector<char> dropped = {};  // by source player number
  } cases[] = {
      {"a sound pair", "John,Smith,Jon,Smith,\r\n", {{"pairs 1 1", {}}}},
      {"a sound signing", "C1,,Sam,Park,\n", {{"signs 5", {}}}},
      {"a missing comma runs on and shifts the records after it",
       "John,Smith,Jon,Smith\nBob,Jones,Rob,Jones,\nAnn,Lee,Anne,Lee,\n",
       {{"nothing",
         {"1:21: the fourth field runs across a line break: most likely the comma after "
          "\"Smith\" is missing, and the 2 records after it are shifted"}},
        {"nothing", {}},
        {"nothing", {}}}},
      {"a missing comma at the end of the file",
       "John,Smith,Jon,Smith\r\n",
       {{"nothing", {"1:21: the fourth field runs across a line break: most likely the comma "
                     "after \"Smith\" is missing"}}}},
      {"a field of 49 characters and its comma shift the record after it",
       a49 + ",Smith,Jon,Smith,\n",
       {{"nothing", {"1:1: the first field is cut at 49 characters; what follows begins the "
                     "next field, and the record after it is shifted"}},
        {"nothing", {}}}},
      {"a record takes the exact match of a source player the Build drops",
       "Bob,Jones,Tom,Brown,\n",
       {{"pairs 2 4", {"1:11: takes Tom Brown, who is also source player #4 Tom Brown's exact "
                       "match; #4 will be dropped"}}},
       {0, 0, 0, 0, 1}},
      {"a later record replaces it",
       "John,Smith,Jon,Smith,\nJohn,Smith,Rob,Jones,\n",
       {{"nothing", {"1:1: replaced by the record at line 2; Jon Smith (#1) stays taken"}},
        {"pairs 1 2", {}}}},
      {"its target is claimed by an earlier record",
       "John,Smith,Jon,Smith,\nBob,Jones,Jon,Smith,\n",
       {{"pairs 1 1", {}},
        {"pairs 2 1", {"2:11: Jon Smith (#1) is already claimed by the record at line 1"}}}},
      {"the automatic pass overrides it",
       "Tom,Brown,Sam,Park,\n",
       {{"nothing", {"1:11: overridden: the automatic pass pairs Tom Brown (#4) with Tom Brown "
                     "(#4)"}}}},
      {"a signing whose names are a source player's",
       "Ann,Lee,Sam,Park,\n",
       {{"pairs 3 5", {"1:1: meant to sign a player to Lee, but Ann Lee (#3) is a source "
                       "player of these names, so the signing is lost"}}}},
      {"it names nobody, with the nearest players",
       "JOHN,SMITH,Jon,Smyth,\n",
       {{"nothing", {"1:1: names no source player and no team: \"JOHN SMITH\"; nearest source "
                     "player: John Smith (#1)",
                     "1:12: names no target player: \"Jon Smyth\""}}}},
      {"an identical record",
       "John,Smith,Jon,Smith,\nJohn,Smith,Jon,Smith,\n",
       {{"nothing", {}}, {"pairs 1 1", {"2:1: identical to the record at line 1"}}}},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir / "rename.txt";
    sim::WriteBytes(path, sim::Bytes(c.content.begin(), c.content.end()));
    const TeamList teams = Teams();
    const RenameCheck check = CheckRenameFile(path, kSource, kTarget, teams, c.dropped);

    ASSERT_EQ(check.records.size(), c.records.size());
    int problems = 0;
    for (std::size_t i = 0; i < c.records.size(); ++i) {
      const RenameFinding& found = check.records[i];
      EXPECT_EQ(ActionText(found), c.records[i].action) << "record " << i + 1;
      ASSERT_EQ(found.problems.size(), c.records[i].problems.size()) << "record " << i + 1;
      for (std::size_t p = 0; p < found.problems.size(); ++p) {
        const RenameProblem& got = found.problems[p];
        const std::string text =
            std::to_string(got.line) + ":" + std::to_string(got.column) + ": " + got.message;
        EXPECT_EQ(text.rfind(c.records[i].problems[p], 0), 0u) << text << "\nwanted " << c.records[i].problems[p];
      }
      problems += static_cast<int>(found.problems.size());
    }
    EXPECT_EQ(check.problems, problems);

    // What the checker calls a pairing or a signing is what the Build's two passes make of it.
    MatchState state = NewMatchState(kSource.size(), kTarget.size());
    TeamPlayerLists lists(teams.size());
    RenameReader reader(path);
    RenamePass(reader, kSource, kTarget, teams, state, lists);
    AutomaticPass(kSource, kTarget, state, [](int, int) {});
    for (const RenameFinding& f : check.records) {
      if (f.action == RenameAction::kPairs) {
        EXPECT_EQ(state.playerMap[static_cast<std::size_t>(f.source)], f.target);
      }
      if (f.action == RenameAction::kSigns) {
        const std::vector<int>& list = lists[static_cast<std::size_t>(f.team->teamIndex)];
        EXPECT_NE(std::find(list.begin(), list.end(), f.target), list.end());
      }
    }
  }
}

// A reader of `bytes` whose reads fail once `good` bytes are given.
class FailingReader : public RenameReader {
 public:
  FailingReader(std::string bytes, std::size_t good) : bytes_(std::move(bytes)), good_(good) {}

 protected:
  std::size_t ReadBytes(char* into, std::size_t size, std::string& why) override {
    if (at_ >= good_) {
      why = "Input/output error";
      return 0;
    }
    const std::size_t n = std::min({size, good_ - at_, bytes_.size() - at_});
    std::copy_n(bytes_.data() + at_, n, into);
    at_ += n;
    return n;
  }

 private:
  std::string bytes_;
  std::size_t good_, at_ = 0;
};

// A read that fails is a problem of the file, and the counts say they cover what was read.
TEST(RenameCheck, AReadThatFailsIsAProblem) {
  std::string clean;
  for (int i = 0; i < 1400; ++i) clean += "John,Smith,Jon,Smith,\n";  // 22 bytes each
  struct Case {
    const char* name;
    std::size_t good;
    std::string problem;
    std::string summary;
  } cases[] = {
      {"at the start", 0, "1:1: the file could not be read to its end: Input/output error",
       "0 records read before it failed: 0 pair players, 0 sign players, 0 do nothing; "
       "1 problem"},
      {"part-way, within a record", 8192,
       "373:9: the file could not be read to its end: Input/output error",
       "373 records read before it failed: 1 pairs players, 0 sign players, 372 do nothing; "
       "374 problems"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RenameFinding> findings;
    const RenameCheck check = CheckRenameFile(
        [&] { return std::make_unique<FailingReader>(clean, c.good); }, kSource, kTarget, Teams(),
        {}, [&](const RenameFinding& f) { findings.push_back(f); });
    ASSERT_EQ(check.fileProblems.size(), 1u);
    const RenameProblem& got = check.fileProblems[0];
    EXPECT_EQ(std::to_string(got.line) + ":" + std::to_string(got.column) + ": " + got.message,
              c.problem);
    EXPECT_EQ(RenameCheckSummary(check), c.summary);
    EXPECT_EQ(findings.size(), static_cast<std::size_t>(check.read));
    EXPECT_TRUE(check.records.empty()) << "the findings go to the caller, not into the check";
  }
}

TEST(RenameCheck, Summary) {
  TempDir dir;
  const std::string content = "John,Smith,Jon,Smith,\nC1,,Sam,Park,\nX,Y,Z,W,\nA,B,C,D,\n";
  sim::WriteBytes(dir / "r.txt", sim::Bytes(content.begin(), content.end()));
  const RenameCheck check = CheckRenameFile(dir / "r.txt", kSource, kTarget, Teams());
  EXPECT_EQ(RenameCheckSummary(check),
            "4 records: 1 pairs players, 1 signs players, 2 do nothing; 4 problems");
  EXPECT_EQ(RenameCheckSummary(CheckRenameFile(dir / "missing.txt", kSource, kTarget, Teams())),
            "0 records: 0 pair players, 0 sign players, 0 do nothing; 0 problems");
}

}  // namespace
}  // namespace tovarin
