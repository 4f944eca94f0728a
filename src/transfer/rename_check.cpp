#include "transfer/rename_check.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
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
  char digits[16];
  char* const end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  std::string text;
  text.reserve(p.first.size() + p.last.size() + static_cast<std::size_t>(end - digits) + 5);
  if (!p.first.empty()) {
    text += p.first;
    text += ' ';
  }
  text += p.last;
  text += " (#";
  text.append(digits, static_cast<std::size_t>(end - digits));
  text += ')';
  return text;
}

// The players a mistyped name most likely meant: equal once folded, or else the same folded
// last name and the same folded first initial. Built only when a record names nobody. Keys are
// hashes in sorted arrays, small enough to stay in cache; a hash two keys share by chance costs
// one more comparison.
class Nearest {
 public:
  explicit Nearest(const std::vector<PlayerName>& players) : players_(players) {}

  int Find(const std::string& first, const std::string& last) {
    if (!built_) Build();
    const std::string foldedFirst = FoldName(first);
    const std::string foldedLast = FoldName(last);
    if (foldedLast.empty()) return 0;
    const std::string initial = foldedFirst.substr(0, 1);
    if (const int n = Lookup(byName_, foldedLast, foldedFirst, false); n > 0) return n;
    return Lookup(byInitial_, foldedLast, initial, true);
  }

 private:
  using Index = std::vector<std::pair<std::uint64_t, int>>;  // (hash, number), sorted

  static std::uint64_t Hash(const std::string& last, const std::string& first) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const char c : last) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    h = (h ^ 0x100u) * 1099511628211ull;
    for (const char c : first) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
  }

  // The lowest number whose folded names are these (of the first only its initial, when
  // `initialOnly`).
  int Lookup(const Index& index, const std::string& last, const std::string& first,
             bool initialOnly) const {
    const std::uint64_t h = Hash(last, first);
    for (auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(h, 0));
         it != index.end() && it->first == h; ++it) {
      const PlayerName& p = players_[static_cast<std::size_t>(it->second - 1)];
      const std::string theirs = FoldName(p.first);
      if (FoldName(p.last) == last && (initialOnly ? theirs.substr(0, 1) : theirs) == first) {
        return it->second;
      }
    }
    return 0;
  }

  void Build() {
    for (std::size_t i = 0; i < players_.size(); ++i) {
      const std::string last = FoldName(players_[i].last);
      const std::string first = FoldName(players_[i].first);
      if (last.empty()) continue;
      byName_.emplace_back(Hash(last, first), static_cast<int>(i + 1));
      byInitial_.emplace_back(Hash(last, first.substr(0, 1)), static_cast<int>(i + 1));
    }
    std::sort(byName_.begin(), byName_.end());
    std::sort(byInitial_.begin(), byInitial_.end());
    built_ = true;
  }

  const std::vector<PlayerName>& players_;
  bool built_ = false;
  Index byName_, byInitial_;
};

std::string RecordKey(const RenameRecord& record) {
  std::string key;
  for (const std::string& field : record.fields) key += field + '\0';
  return key;
}

// A record's fields as FNV-1a hashes them, each field closed by a value no byte has.
std::uint64_t RecordHash(const RenameRecord& record) {
  std::uint64_t h = 14695981039346656037ull;
  for (const std::string& field : record.fields) {
    for (const char c : field) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    h = (h ^ 0x100u) * 1099511628211ull;
  }
  return h;
}

std::string FullName(const PlayerName& p) {
  return p.first.empty() ? p.last : p.first + " " + p.last;
}

// A record whose field lost or gained its end (a missing comma, a field cut short) shifts the
// fields after it, up to the first record that starts a line.
struct Shift {
  int record = -1;
  int line = 0;
  bool cut = false;
};

bool Shifts(const RenamePlace& place) {
  return std::any_of(place.fields, place.fields + 4, [](const RenameFieldPlace& f) {
    return f.breakLine > 0 || f.cut;
  });
}

// The shift this record is in, if any; then makes it the shift of the records after it when it
// shifts them.
Shift TakeShift(const RenamePlace& place, int record, Shift& current) {
  if (place.fields[0].startsLine) current = Shift();
  const Shift in = current;
  if (Shifts(place)) {
    const bool broken = std::any_of(place.fields, place.fields + 4,
                                    [](const RenameFieldPlace& f) { return f.breakLine > 0; });
    current = {record, place.fields[0].line, !broken};
  }
  return in;
}

// What the look-ups found for one record: the players, and the team its first two fields name
// (a position in the target teams, -1 for none), which it signs to when it names no source player.
struct Found {
  int source = 0;
  int target = 0;
  int team = -1;
};

// The checker's first pass, as a Build's rename pass: what it keeps of each record is its hash
// and what it names, so that the second pass need not look the names up again.
struct FirstPass {
  int count = 0;
  std::vector<std::uint64_t> hashes;
  std::vector<Found> found;
  std::vector<int> lastFor, lastLineFor, lastTargetFor;  // source player -> his last pairing
  std::unordered_map<int, int> shiftedAfter;  // a shifting record -> the records it shifts
  // Records equal to an earlier one: (record, the first of them), in file order; and those
  // first ones.
  std::vector<std::pair<int, int>> sameAs;
  std::vector<int> firsts;
};

// Groups the records by hash: records are spread over buckets by their hashes' top bits, about
// eight a bucket, and each bucket is sorted on its own, in cache.
void FindSameRecords(FirstPass& pass) {
  const std::size_t n = pass.hashes.size();
  int bits = 1;
  while ((std::size_t{1} << bits) < n / 8 + 1) ++bits;
  const int shift = 64 - bits;
  std::vector<std::uint32_t> start((std::size_t{1} << bits) + 1, 0);
  for (const std::uint64_t h : pass.hashes) ++start[(h >> shift) + 1];
  for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
  std::vector<std::uint32_t> order(n);
  {
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
      order[next[pass.hashes[i] >> shift]++] = static_cast<std::uint32_t>(i);
    }
  }
  std::vector<std::pair<std::uint64_t, std::uint32_t>> bucket;
  for (std::size_t b = 0; b + 1 < start.size(); ++b) {
    bucket.clear();
    for (std::uint32_t k = start[b]; k < start[b + 1]; ++k) {
      bucket.emplace_back(pass.hashes[order[k]], order[k]);
    }
    std::sort(bucket.begin(), bucket.end());
    for (std::size_t g = 0; g < bucket.size();) {
      std::size_t end = g + 1;
      while (end < bucket.size() && bucket[end].first == bucket[g].first) ++end;
      if (end - g > 1) pass.firsts.push_back(static_cast<int>(bucket[g].second));
      for (std::size_t k = g + 1; k < end; ++k) {
        pass.sameAs.emplace_back(static_cast<int>(bucket[k].second),
                                 static_cast<int>(bucket[g].second));
      }
      g = end;
    }
  }
  std::sort(pass.sameAs.begin(), pass.sameAs.end());
  std::sort(pass.firsts.begin(), pass.firsts.end());
}

}  // namespace

RenameCheck CheckRenameFile(const RenameReaderOpener& open, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams,
                            const std::vector<char>& dropped,
                            const std::function<void(const RenameFinding&)>& onFinding) {
  RenameCheck check;
  int largestIndex = 0;
  for (const TeamEntry& team : targetTeams) largestIndex = std::max(largestIndex, team.teamIndex);
  TeamPlayerLists lists(static_cast<std::size_t>(largestIndex) + 1);
  MatchState state = NewMatchState(source.size(), target.size());
  std::optional<RenameIndex> index;

  // The rename pass, record by record, as a Build runs it.
  FirstPass pass;
  pass.lastFor.assign(source.size() + 1, -1);
  pass.lastLineFor.assign(source.size() + 1, 0);
  pass.lastTargetFor.assign(source.size() + 1, 0);
  RenameRecord record;
  RenamePlace place;
  {
    const std::unique_ptr<RenameReader> reader = open();
    Shift shift;
    while (reader->Next(record, place)) {
      if (!index) index.emplace(source, target, targetTeams);
      const int i = pass.count++;
      pass.hashes.push_back(RecordHash(record));
      const RenameNames names = index->Find(record);
      const TeamEntry* team = names.source == 0 ? names.team : index->TeamOf(record);
      pass.found.push_back({names.source, names.target,
                            team ? static_cast<int>(team - targetTeams.data()) : -1});
      const RenameEffect effect = ApplyRename(names, state, lists);
      if (effect.kind == RenameEffect::kPairs) {
        const auto s = static_cast<std::size_t>(effect.source);
        pass.lastFor[s] = i;
        pass.lastLineFor[s] = place.fields[0].line;
        pass.lastTargetFor[s] = effect.target;
      }
      if (const Shift in = TakeShift(place, i, shift); in.record >= 0) {
        ++pass.shiftedAfter[in.record];
      }
    }
    if (!reader->error().empty()) {
      check.readToItsEnd = false;
      check.fileProblems.push_back(
          {reader->line(), reader->column(),
           reader->readFailure().empty() ? "the file could not be read: " + reader->error()
                                         : "the file could not be read to its end: " +
                                               reader->readFailure()});
    }
  }
  if (pass.count == 0) {
    check.problems = static_cast<int>(check.fileProblems.size());
    return check;
  }
  AutomaticPass(source, target, state, [](int, int) {});
  FindSameRecords(pass);

  // Source players the Build drops, by their names: a record that takes a target player of
  // those names took what the automatic pass would have given one of them.
  std::unordered_map<std::string, std::vector<int>> droppedByName;
  std::string key;
  for (std::size_t s = 1; s < dropped.size() && s <= source.size(); ++s) {
    if (dropped[s] == 0 || state.playerMap[s] != 0) continue;
    NameKey(source[s - 1].last, source[s - 1].first, key);
    droppedByName[key].push_back(static_cast<int>(s));
  }

  // The second pass reads the records again and says what the first made of each.
  const std::unique_ptr<RenameReader> reader = open();
  std::vector<int> claimLine(target.size() + 1, 0);  // target player -> first record using him
  std::unordered_map<int, std::pair<std::size_t, int>> firstSeen;  // -> its key's hash, line
  std::size_t sameAt = 0;
  const std::hash<std::string> keyHash;
  Nearest nearestSource(source), nearestTarget(target);
  Shift shift;
  RenameFinding finding;
  for (int i = 0; i < pass.count; ++i) {
    if (!reader->Next(record, place) ||
        RecordHash(record) != pass.hashes[static_cast<std::size_t>(i)]) {
      if (check.readToItsEnd) {
        check.readToItsEnd = false;
        check.fileProblems.push_back(
            {reader->line(), reader->column(),
             reader->readFailure().empty()
                 ? "the file changed while it was checked; check it again"
                 : "the file could not be read to its end: " + reader->readFailure()});
      }
      break;
    }
    const Found& names = pass.found[static_cast<std::size_t>(i)];
    const TeamEntry* signingTeam =
        names.team >= 0 ? &targetTeams[static_cast<std::size_t>(names.team)] : nullptr;
    RenameNames found;
    found.source = names.source;
    found.target = names.target;
    found.team = names.source == 0 ? signingTeam : nullptr;
    const RenameEffect effect = EffectOf(found, lists.size());
    // One finding, reused: its strings keep their storage from record to record.
    finding.action = RenameAction::kNothing;
    finding.source = finding.target = 0;
    finding.team = nullptr;
    finding.problems.clear();
    finding.line = place.fields[0].line;
    finding.column = place.fields[0].column;
    for (int f = 0; f < 4; ++f) finding.record.fields[f].assign(record.fields[f]);
    // A field missing at the end of the file has no place: the record's start stands for it.
    auto problem = [&](int field, std::string message) {
      const RenameFieldPlace& at =
          place.fields[field].line > 0 ? place.fields[field] : place.fields[0];
      finding.problems.push_back({at.line, at.column, std::move(message)});
    };

    const Shift in = TakeShift(place, i, shift);
    const bool shifted = in.record >= 0;
    bool sourceRanOn = false, targetRanOn = false;
    std::string shiftedText;  // told once, with the first field that shifts the records after
    if (const auto it = pass.shiftedAfter.find(i); it != pass.shiftedAfter.end()) {
      const int after = it->second;
      shiftedText = ", and the " +
                    (after == 1 ? std::string("record") : std::to_string(after) + " records") +
                    " after it " + (after == 1 ? "is" : "are") + " shifted";
    }
    for (int f = 0; f < 4; ++f) {
      const RenameFieldPlace& field = place.fields[f];
      if (field.breakLine > 0) {
        (f < 2 ? sourceRanOn : targetRanOn) = true;
        const std::string& text = record.fields[f];
        std::string before = text.substr(0, text.find('\n'));
        before.erase(before.find_last_not_of(" \t\r\v\f") + 1);
        finding.problems.push_back({field.breakLine, field.breakColumn,
                                    "the " + std::string(kFieldNames[f]) +
                                        " field runs across a line break: most likely the comma "
                                        "after " +
                                        Quoted(before) + " is missing" + shiftedText});
        shiftedText.clear();
      }
      if (field.cut) {
        // The fields after it are each one along: the names they give are not the ones meant.
        if (f < 2) sourceRanOn = true;
        targetRanOn = true;
        problem(f, "the " + std::string(kFieldNames[f]) + " field is cut at " +
                       std::to_string(RenameReader::kMaxField) +
                       " characters; what follows begins the next field" + shiftedText);
        shiftedText.clear();
      }
    }

    // Equal hashes only point at the record to compare with; a second hash of the whole text
    // tells whether the two are the same.
    int identicalLine = 0;
    const bool first = std::binary_search(pass.firsts.begin(), pass.firsts.end(), i);
    const bool later = sameAt < pass.sameAs.size() && pass.sameAs[sameAt].first == i;
    const std::size_t text = first || later ? keyHash(RecordKey(record)) : 0;
    if (later) {
      const auto seen = firstSeen.find(pass.sameAs[sameAt++].second);
      if (seen != firstSeen.end() && seen->second.first == text) {
        identicalLine = seen->second.second;
      }
    }
    if (first) firstSeen.emplace(i, std::make_pair(text, finding.line));
    if (identicalLine > 0) {
      problem(0, "identical to the record at line " + std::to_string(identicalLine));
    }

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
      int& claimer = claimLine[static_cast<std::size_t>(t)];
      if (claimer == 0) {
        claimer = finding.line;
      } else if (identicalLine == 0) {
        problem(2, PlayerText(target, t) + " is already claimed by the record at line " +
                       std::to_string(claimer));
      }
      const PlayerName& taken = target[static_cast<std::size_t>(t - 1)];
      NameKey(taken.last, taken.first, key);
      const auto namesakes = droppedByName.find(key);
      if (identicalLine == 0 && namesakes != droppedByName.end()) {
        for (const int s : namesakes->second) {
          const std::string number = "#" + std::to_string(s);
          problem(2, "takes " + FullName(taken) + ", who is also source player " + number + " " +
                         FullName(source[static_cast<std::size_t>(s - 1)]) +
                         "'s exact match; " + number + " will be dropped");
        }
      }
    }

    switch (effect.kind) {
      case RenameEffect::kPairs: {
        const auto s = static_cast<std::size_t>(effect.source);
        const int now = state.playerMap[s];
        if (pass.lastFor[s] != i) {
          const std::string later = "line " + std::to_string(pass.lastLineFor[s]);
          if (pass.lastTargetFor[s] == t) {
            finding.effect = "does nothing: the record at " + later + " pairs them again";
          } else {
            finding.effect = "does nothing: the record at " + later + " replaces it";
            problem(0, "replaced by the record at " + later + "; " + PlayerText(target, t) +
                           " stays taken, so the automatic pass cannot pair him");
          }
        } else if (now != t) {
          finding.effect = "does nothing: the automatic pass pairs " +
                           PlayerText(source, effect.source) + " with " + PlayerText(target, now) +
                           " instead";
          problem(2, "overridden: the automatic pass pairs " + PlayerText(source, effect.source) +
                         " with " + PlayerText(target, now) +
                         ", an unused target player of the same name");
        } else {
          finding.action = RenameAction::kPairs;
          finding.source = effect.source;
          finding.target = t;
          finding.effect =
              "pairs " + PlayerText(source, effect.source) + " with " + PlayerText(target, t);
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
          finding.effect = std::string("does nothing: it is shifted by the ") +
                           (in.cut ? "field cut short" : "missing comma") + " at line " +
                           std::to_string(in.line);
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
    ++check.read;
    check.problems += static_cast<int>(finding.problems.size());
    onFinding(finding);
  }
  check.problems += static_cast<int>(check.fileProblems.size());
  return check;
}

RenameCheck CheckRenameFile(const std::string& path, const std::vector<PlayerName>& source,
                            const std::vector<PlayerName>& target, const TeamList& targetTeams,
                            const std::vector<char>& dropped) {
  std::vector<RenameFinding> records;
  RenameCheck check = CheckRenameFile(
      [&path] { return std::make_unique<RenameReader>(path); }, source, target, targetTeams,
      dropped, [&records](const RenameFinding& finding) { records.push_back(finding); });
  check.records = std::move(records);
  return check;
}

std::string RenameCheckSummary(const RenameCheck& check) {
  auto count = [](int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  return count(check.read, "record", "records") +
         (check.readToItsEnd ? "" : " read before it failed") + ": " +
         count(check.pairs, "pairs players", "pair players") + ", " +
         count(check.signs, "signs players", "sign players") + ", " +
         count(check.nothing, "does nothing", "do nothing") + "; " +
         count(check.problems, "problem", "problems");
}

}  // namespace tovarin
