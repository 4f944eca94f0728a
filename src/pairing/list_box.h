#pragma once

#include <string>
#include <vector>

#include "pairing/team_list.h"

namespace tovarin {

// What a list box holds: rows of text, each referring to the entry it shows, the selected row and
// the tab stops (in dialog units). The screen draws it and reports the user's selection into it.
struct ListBoxModel {
  struct Row {
    std::string text;
    TeamEntry* entry = nullptr;
  };
  std::vector<Row> rows;
  int selected = -1;  // -1: none
  std::vector<int> tabStops;

  // The selected row's entry, or none when no row is selected.
  TeamEntry* SelectedEntry() const {
    return (selected >= 0 && selected < static_cast<int>(rows.size()))
               ? rows[static_cast<std::size_t>(selected)].entry
               : nullptr;
  }
};

}  // namespace tovarin
