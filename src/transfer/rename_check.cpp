#include "transfer/rename_check.h"

#include <algorithm>
#include <unordered_map>

#include "transfer/matching.h"
#include "transfer/name_fold.h"

namespace tovarin {
namespace {

const char* const kFieldNames[4] = {"first", "second", "third", "fourth"};

// A field in quotes, its control characters spelled out so that a message stays on one line.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      const char* const hex = "0123456789ABCDEF";
      quoted += std::string("\\x") + hex[(c >> 4) & 0xF] + hex[c & 0xF];
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string FieldsName(const std::string& first, const std::string& last) {
  return Quoted(first.empty() || last.empty() ? first + last : first + " " + last);
}

std::string PlayerText(const std::vector<PlayerName>& players, int number) {
  const PlayerName& p = players[static_cast<std::size_t>(number - 1)];
  return (p.first.empty() ? p.last : p.first + " " + p.last) + " (#" + std::to_string(number) + ")";
}

std::string LineText(const RenameFinding& finding) {
  return "line " + std::to_string(finding.line);
}

// The players a mistyped name most likely meant: equal once folded, or else the same folded
// last name and the same folded first initial. Built only when a record names nobody.
class Nearest {
 public:
  explicit Nearest(const std::vector<PlayerName>& players) : players_(players) {}

  int Find(const std::string& first, const std::string& last) {
    if (!built_) Build();
    const std::string foldedFirst = FoldName(first);
    const std::string foldedLast = FoldName(last);
    if (foldedLast.empty()) return 0;
    if (const auto it = byName_.find(foldedLast + '\0' + foldedFirst); it != byName_.end()) {
      return it->second;
    }
    const std::string initial = foldedFirst.substr(0, 1);
    if (const auto it = byInitial_.find(foldedLast + '\0' + initial); it != byInitial_.end()) {
      return it->second;
    }
    return 0;
  }

 private:
  void Build() {
    for (std::size_t i = 0; i < players_.size(); ++i) {
      const std::string last = FoldName(players_[i].last);
      const std::string first = FoldName(players_[i].first);
      if (last.empty()) continue;
      byName_.emplace(last + '\0' + first, static_cast<int>(i + 1));
      byInitial_.emplace(last + '\0' + first.substr(0, 1), static_cast<int>(i + 1));
    }
    built_ = true;
  }

  const std::vector<PlayerName>& players_;
  bool built_ = false;
  std::unordered_map<std::string, int> byName_, byInitial_;  // lowest number of each key
};

std::string RecordKey(const RenameRecord& record) {
  std::string key;
  for (const std::string& field : record.fields) key += field + '\0';
  return key;
}

// Every record of the file and where its fields lie.
struct ReadRecord {
  RenameRecord record;
  RenamePlace place;
};

std::vector<ReadRecord> ReadAll(const std::string& path) {
  std::vector<ReadRecord> records;
  RenameReader reader(path);
  ReadRecord next;
  while (reader.Next(next.record, next.place)) records.push_back(next);
  return records;
}

}  // namespace

RenameCheck CheckRenameFile(const std::string& path, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams) {
  RenameCheck check;
  const std::vector<ReadRecord> read = ReadAll(path);
  if (read.empty()) return check;

  // The rename pass, record by record, as a Build runs it.
  int largestIndex = 0;
  for (const TeamEntry& team : targetTeams) largestIndex = std::max(largestIndex, team.teamIndex);
  TeamPlayerLists lists(static_cast<std::size_t>(largestIndex) + 1);
  MatchState state = NewMatchState(source.size(), target.size());
  const RenameIndex index(source, target, targetTeams);
  std::vector<RenameNames> names;
  std::vector<RenameEffect> effects;
  for (const ReadRecord& r : read) {
    names.push_back(index.Find(r.record));
    effects.push_back(ApplyRename(names.back(), state, lists));
  }
  AutomaticPass(source, target, state, [](int, int) {});

  std::vector<int> lastFor(source.size() + 1, -1);    // source player -> last record pairing him
  std::vector<int> claimedBy(target.size() + 1, -1);  // target player -> first record using him
  std::unordered_map<std::string, int> firstSame;     // a record's fields -> its first record
  for (std::size_t i = 0; i < effects.size(); ++i) {
    if (effects[i].kind == RenameEffect::kPairs) {
      lastFor[static_cast<std::size_t>(effects[i].source)] = static_cast<int>(i);
    }
  }
  Nearest nearestSource(source), nearestTarget(target);
  // Records shifted by a missing comma: their names are the wrong fields, so what they name (or
  // fail to) is not worth a problem of its own; the missing comma's problem counts them.
  std::vector<int> shiftedBy(read.size(), -1);
  for (std::size_t i = 0; i < read.size(); ++i) {
    const RenameFieldPlace* fields = read[i].place.fields;
    if (std::none_of(fields, fields + 4, [](const RenameFieldPlace& f) { return f.breakLine > 0; }))
      continue;
    for (std::size_t j = i + 1; j < read.size() && !read[j].place.fields[0].startsLine; ++j) {
      shiftedBy[j] = static_cast<int>(i);
    }
  }

  for (std::size_t i = 0; i < read.size(); ++i) {
    const RenameRecord& record = read[i].record;
    const RenamePlace& place = read[i].place;
    const RenameEffect& effect = effects[i];
    const RenameNames& found = names[i];
    RenameFinding finding;
    finding.line = place.fields[0].line;
    finding.column = place.fields[0].column;
    finding.record = record;
    // A field missing at the end of the file has no place: the record's start stands for it.
    auto problem = [&](int field, std::string message) {
      const RenameFieldPlace& at =
          place.fields[field].line > 0 ? place.fields[field] : place.fields[0];
      finding.problems.push_back({at.line, at.column, std::move(message)});
    };

    const bool shifted = shiftedBy[i] >= 0;
    bool sourceRanOn = false, targetRanOn = false;
    for (int f = 0; f < 4; ++f) {
      const RenameFieldPlace& field = place.fields[f];
      if (field.breakLine > 0) {
        (f < 2 ? sourceRanOn : targetRanOn) = true;
        const std::string& text = record.fields[f];
        std::string before = text.substr(0, text.find('\n'));
        before.erase(before.find_last_not_of(" \t\r\v\f") + 1);
        int after = 0;
        for (std::size_t j = i + 1; j < read.size() && shiftedBy[j] == static_cast<int>(i); ++j) {
          ++after;
        }
        std::string message = "the " + std::string(kFieldNames[f]) +
                              " field runs across a line break: most likely the comma after " +
                              Quoted(before) + " is missing";
        if (after > 0) {
          message += ", and the " +
                     (after == 1 ? std::string("record") : std::to_string(after) + " records") +
                     " after it " + (after == 1 ? "is" : "are") + " shifted";
        }
        finding.problems.push_back({field.breakLine, field.breakColumn, message});
      }
      if (field.cut) {
        problem(f, "the " + std::string(kFieldNames[f]) + " field is cut at " +
                           std::to_string(RenameReader::kMaxField) +
                           " characters; what follows begins the next field");
      }
    }

    const auto [same, firstOfThese] = firstSame.emplace(RecordKey(record), static_cast<int>(i));
    const RenameFinding* identical =
        firstOfThese ? nullptr : &check.records[static_cast<std::size_t>(same->second)];
    if (identical) problem(0, "identical to the record at " + LineText(*identical));

    const TeamEntry* signingTeam = index.TeamOf(record);
    if (found.source > 0 && signingTeam != nullptr) {
      problem(0,
              "meant to sign a player to " + signingTeam->shortName + ", but " +
                  PlayerText(source, found.source) +
                  " is a source player of these names, so the signing is lost");
    }
    if (found.source == 0 && found.team == nullptr && !shifted && !sourceRanOn) {
      std::string message = "names no source player and no team: " +
                            FieldsName(record.fields[0], record.fields[1]);
      if (const int n = nearestSource.Find(record.fields[0], record.fields[1]); n > 0) {
        message += "; nearest source player: " + PlayerText(source, n);
      }
      problem(0, message);
    }
    if (found.target == 0 && !shifted && !targetRanOn) {
      std::string message = "names no target player: " +
                            FieldsName(record.fields[2], record.fields[3]);
      if (const int n = nearestTarget.Find(record.fields[2], record.fields[3]); n > 0) {
        message += "; nearest target player: " + PlayerText(target, n);
      }
      problem(2, message);
    }

    const int t = effect.target;
    if (t > 0) {
      int& claimer = claimedBy[static_cast<std::size_t>(t)];
      if (claimer < 0) {
        claimer = static_cast<int>(i);
      } else if (!identical) {
        problem(2, PlayerText(target, t) + " is already claimed by the record at " +
                                     LineText(check.records[static_cast<std::size_t>(claimer)]));
      }
    }

    switch (effect.kind) {
      case RenameEffect::kPairs: {
        const int s = effect.source;
        const int last = lastFor[static_cast<std::size_t>(s)];
        const int now = state.playerMap[static_cast<std::size_t>(s)];
        if (last != static_cast<int>(i)) {
          const std::string later =
              "line " + std::to_string(read[static_cast<std::size_t>(last)].place.fields[0].line);
          if (effects[static_cast<std::size_t>(last)].target == t) {
            finding.effect = "does nothing: the record at " + later + " pairs them again";
          } else {
            finding.effect = "does nothing: the record at " + later + " replaces it";
            problem(0, "replaced by the record at " + later + "; " +
                                         PlayerText(target, t) +
                                         " stays taken, so the automatic pass cannot pair him");
          }
        } else if (now != t) {
          finding.effect = "does nothing: the automatic pass pairs " + PlayerText(source, s) +
                           " with " + PlayerText(target, now) + " instead";
          problem(2, "overridden: the automatic pass pairs " +
                                       PlayerText(source, s) + " with " + PlayerText(target, now) +
                                       ", an unused target player of the same name");
        } else {
          finding.action = RenameAction::kPairs;
          finding.source = s;
          finding.target = t;
          finding.effect = "pairs " + PlayerText(source, s) + " with " + PlayerText(target, t);
        }
        break;
      }
      case RenameEffect::kSigns:
        finding.action = RenameAction::kSigns;
        finding.target = t;
        finding.team = found.team;
        finding.effect = "signs " + PlayerText(target, t) + " to " + found.team->shortName + " (" +
                         found.team->longName + ")";
        break;
      case RenameEffect::kNothing:
        if (shifted) {
          finding.effect = "does nothing: it is shifted by the missing comma at line " +
                           std::to_string(check.records[static_cast<std::size_t>(shiftedBy[i])].line);
        } else if (found.source == 0 && found.team != nullptr && found.target > 0) {
          finding.effect = "does nothing: its team's index is not valid";
        } else if (found.source > 0 || found.team != nullptr) {
          finding.effect = "does nothing: it names no target player";
        } else if (found.target > 0) {
          finding.effect = "does nothing: it names no source player and no team";
        } else {
          finding.effect = "does nothing: it names nobody";
        }
        break;
    }

    switch (finding.action) {
      case RenameAction::kPairs:
        ++check.pairs;
        break;
      case RenameAction::kSigns:
        ++check.signs;
        break;
      case RenameAction::kNothing:
        ++check.nothing;
        break;
    }
    check.problems += static_cast<int>(finding.problems.size());
    check.records.push_back(std::move(finding));
  }
  return check;
}

std::string RenameCheckSummary(const RenameCheck& check) {
  auto count = [](int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  return count(static_cast<int>(check.records.size()), "record", "records") + ": " +
         count(check.pairs, "pairs players", "pair players") + ", " +
         count(check.signs, "signs players", "sign players") + ", " +
         count(check.nothing, "does nothing", "do nothing") + "; " +
         count(check.problems, "problem", "problems");
}

}  // namespace tovarin
