#pragma once

#include <string>
#include <vector>

namespace tovarin {

// A name as a person would read it: letters in upper case, the accented letters of Windows-1252
// (the code page the simulation writes names in) as their base letters (Æ, Œ and ß as two),
// digits kept, and every other byte (space, apostrophe, period, hyphen ...) dropped; a trailing
// Jr, Sr, II, III or IV after another word is left out. "O'Neil" and "ONEIL", "De La Cruz" and
// "Delacruz", "Peña" and "Pena", "Griffey Jr." and "Griffey" fold alike.
std::string FoldName(const std::string& name);

// The fewest insertions, deletions, substitutions and swaps of neighbouring bytes that turn `a`
// into `b` (each edited once at most): "Hernandez" and "Hernadnez" are 1 apart.
int EditDistance(const std::string& a, const std::string& b);

// A given name and one of its common short forms, as the shipped list holds them.
struct NicknamePair {
  const char* name;
  const char* nickname;
};

// The shipped list, compiled in from resources/nicknames.txt.
const std::vector<NicknamePair>& NicknamePairs();

// The folded first names that the shipped list pairs with the folded `first`, either way round.
const std::vector<std::string>& NicknamesOf(const std::string& foldedFirst);

}  // namespace tovarin
