#include "shell/menu_layout.h"

#include <array>

namespace tovarin::layout {
namespace {

constexpr std::array<MenuItem, 8> kFileMenu = {{
    {command::kSetBasePath, "Set &Base Path", "Select Your Grandstand base directory", false},
    {kSeparator, "", "", false},
    {command::kPreviewBuild, "&Preview Build...",
     "Shows what a Build would carry and drop, and adds likely players to the rename file", false},
    {command::kCheckRenameFile, "Check Rena&me File...",
     "Says what a Build does with each record of the rename file, and what is wrong with it",
     false},
    {command::kSaveSetup, "Save &Current Setup", "Saves file information into system registry",
     false},
    {command::kRestoreBuild, "&Restore Build...",
     "Puts back the target rosters that a Build replaced", false},
    {kSeparator, "", "", false},
    {command::kExit, "E&xit", "Exits the program", false},
}};

constexpr std::array<MenuItem, 1> kViewMenu = {{
    {command::kStatusBar, "&Status Bar", "Show or hide the status bar", true},
}};

constexpr std::array<MenuItem, 3> kHelpMenu = {{
    {command::kHelpTopics, "&Help Topics", "Explain how to use the Tovarin form", false},
    {kSeparator, "", "", false},
    {command::kAbout, "&About Tovarin...", "Show the program's version and credits", false},
}};

constexpr std::array<Menu, 3> kMenus = {{
    {"&File", kFileMenu},
    {"&View", kViewMenu},
    {"&Help", kHelpMenu},
}};

constexpr std::array<Shortcut, 5> kShortcuts = {{
    {command::kFileNew, true, false, 'N', 0},
    {command::kFileOpen, true, false, 'O', 0},
    {command::kFileSave, true, false, 'S', 0},
    {command::kHelp, false, false, 0, 1},
    {command::kContextHelp, false, true, 0, 1},
}};

}  // namespace

std::span<const Menu> MainMenu() { return kMenus; }

const MenuItem* FindMenuItem(int command) {
  for (const Menu& menu : kMenus) {
    for (const MenuItem& item : menu.items) {
      if (item.command == command && command != kSeparator) return &item;
    }
  }
  return nullptr;
}

std::span<const Shortcut> Shortcuts() { return kShortcuts; }

}  // namespace tovarin::layout
