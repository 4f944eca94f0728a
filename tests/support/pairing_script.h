#pragma once

// The pairing that both windows' tests play on a BuildTree's form: Reset, Match, Un Match and
// double-clicks, each step with the rows both lists show after it.

#include <string>
#include <utility>
#include <vector>

namespace tovarin::fixture {

// The rows of the BuildTree's teams.
inline const std::string kTargetRow1 = "City 1  (AL E)", kTargetRow2 = "City 2  (NL E)",
                         kTargetRow3 = "City 3  (AL E)";
inline const std::string kSourceRow1 = "C1  (AL E)", kSourceRow2 = "C2  (NL E)";

struct PairingStep {
  enum Action { kReset, kMatch, kUnmatch, kClickSource, kClickTarget, kDoubleClickSource,
                kDoubleClickTarget };
  const char* what;
  std::vector<std::pair<Action, int>> actions;  // with the row a click goes to
  std::vector<std::string> target;
  std::vector<std::string> source;
  int targetSelection;
};

inline const std::vector<PairingStep>& PairingScript() {
  using S = PairingStep;
  const std::string& t1 = kTargetRow1;
  const std::string& t2 = kTargetRow2;
  const std::string& t3 = kTargetRow3;
  const std::string& s1 = kSourceRow1;
  const std::string& s2 = kSourceRow2;
  static const std::vector<PairingStep> steps = {
      {"Reset", {{S::kReset, 0}}, {t1, t2, t3}, {s1, s2}, 0},
      {"Match C2 with the first target team",
       {{S::kClickSource, 1}, {S::kMatch, 0}},
       {t1 + "\t" + s2, t2, t3}, {s1}, 1},
      {"double-click C1: paired with the next target team",
       {{S::kDoubleClickSource, 0}},
       {t1 + "\t" + s2, t2 + "\t" + s1, t3}, {}, 2},
      {"double-click a paired target team: unmatched",
       {{S::kDoubleClickTarget, 0}},
       {t1, t2 + "\t" + s1, t3}, {s2}, 0},
      {"Un Match the selected target team",
       {{S::kClickTarget, 1}, {S::kUnmatch, 0}},
       {t1, t2, t3}, {s1, s2}, 1},
      {"double-click an unpaired target team: matched with the selected source team",
       {{S::kClickSource, 1}, {S::kDoubleClickTarget, 2}},
       {t1, t2, t3 + "\t" + s2}, {s1}, 0},
  };
  return steps;
}

}  // namespace tovarin::fixture
