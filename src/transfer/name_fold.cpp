#include "transfer/name_fold.h"

#include <algorithm>

#include <array>
#include <string_view>
#include <unordered_map>

namespace tovarin {
namespace {

// What each byte of Windows-1252 folds to: nothing, for a byte that separates words.
using FoldTable = std::array<const char*, 256>;

FoldTable MakeFoldTable() {
  FoldTable table{};
  static const char* const kLetters[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                           "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                           "S", "T", "U", "V", "W", "X", "Y", "Z"};
  static const char* const kDigits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int i = 0; i < 26; ++i) table['A' + i] = table['a' + i] = kLetters[i];
  for (int i = 0; i < 10; ++i) table['0' + i] = kDigits[i];
  struct Accented {
    unsigned char first, last;
    const char* base;
  };
  static const Accented kAccented[] = {
      {0x83, 0x83, "F"},  {0x8A, 0x8A, "S"},  {0x8C, 0x8C, "OE"}, {0x8E, 0x8E, "Z"},
      {0x9A, 0x9A, "S"},  {0x9C, 0x9C, "OE"}, {0x9E, 0x9E, "Z"},  {0x9F, 0x9F, "Y"},
      {0xC0, 0xC5, "A"},  {0xC6, 0xC6, "AE"}, {0xC7, 0xC7, "C"},  {0xC8, 0xCB, "E"},
      {0xCC, 0xCF, "I"},  {0xD0, 0xD0, "D"},  {0xD1, 0xD1, "N"},  {0xD2, 0xD6, "O"},
      {0xD8, 0xD8, "O"},  {0xD9, 0xDC, "U"},  {0xDD, 0xDD, "Y"},  {0xDE, 0xDE, "TH"},
      {0xDF, 0xDF, "SS"}, {0xE0, 0xE5, "A"},  {0xE6, 0xE6, "AE"}, {0xE7, 0xE7, "C"},
      {0xE8, 0xEB, "E"},  {0xEC, 0xEF, "I"},  {0xF0, 0xF0, "D"},  {0xF1, 0xF1, "N"},
      {0xF2, 0xF6, "O"},  {0xF8, 0xF8, "O"},  {0xF9, 0xFC, "U"},  {0xFD, 0xFD, "Y"},
      {0xFE, 0xFE, "TH"}, {0xFF, 0xFF, "Y"}};
  for (const Accented& a : kAccented) {
    for (int c = a.first; c <= a.last; ++c) table[static_cast<std::size_t>(c)] = a.base;
  }
  return table;
}

}  // namespace

std::string FoldName(const std::string& name) {
  static const FoldTable table = MakeFoldTable();
  // Where the last few words start in `folded`: enough to strip "Jr III" and the like, without
  // an allocation per name (the review folds every target player's name).
  constexpr std::size_t kKept = 8;
  std::size_t starts[kKept];
  std::size_t words = 0;
  bool inWord = false;
  std::string folded;
  folded.reserve(name.size());
  for (const char c : name) {
    const char* letters = table[static_cast<unsigned char>(c)];
    if (!letters) {
      inWord = false;
      continue;
    }
    if (!inWord) starts[words++ % kKept] = folded.size();
    inWord = true;
    folded += letters;
  }
  // Only a word after another one is a suffix: a player may well be called "Ii".
  const std::size_t total = words;
  while (words > 1 && total - words < kKept) {
    const std::size_t start = starts[(words - 1) % kKept];
    const std::string_view last(folded.data() + start, folded.size() - start);
    if (!(last == "JR" || last == "SR" || last == "II" || last == "III" || last == "IV")) break;
    folded.resize(start);
    --words;
  }
  return folded;
}

int EditDistance(const std::string& a, const std::string& b) {
  // Three rows of the distance table: the one before the previous, the previous, the current.
  std::vector<int> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int change = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return previous[b.size()];
}

const std::vector<std::string>& NicknamesOf(const std::string& foldedFirst) {
  static const std::unordered_map<std::string, std::vector<std::string>> index = [] {
    std::unordered_map<std::string, std::vector<std::string>> map;
    for (const NicknamePair& pair : NicknamePairs()) {
      const std::string name = FoldName(pair.name), nickname = FoldName(pair.nickname);
      map[name].push_back(nickname);
      map[nickname].push_back(name);
    }
    return map;
  }();
  static const std::vector<std::string> none;
  const auto it = index.find(foldedFirst);
  return it == index.end() ? none : it->second;
}

}  // namespace tovarin
