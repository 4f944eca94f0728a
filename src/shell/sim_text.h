#pragma once

#include <optional>
#include <string>

namespace tovarin {

// The simulation's files hold their names (players, teams, the data disk a roster names) in
// Windows-1252, whatever the system's own code page; Tovarin holds paths and shows text in
// UTF-8. These are the one crossing between the two.

// Simulation text as a person reads it, in UTF-8. The five bytes Windows-1252 leaves undefined
// show as the C1 controls they would be in Latin-1.
std::string DisplayText(const std::string& windows1252);

// UTF-8 text (a folder's name) as the simulation writes it; nothing when a letter has no place
// in Windows-1252. Bytes that are not UTF-8 (a Linux name in another encoding) are kept as they
// are, as earlier versions wrote them.
std::optional<std::string> SimText(const std::string& utf8);

}  // namespace tovarin
