#include "shell/menu_layout.h"

#include <array>

namespace tovarin::layout {
namespace {

// Where Save Current Setup stores it: the registry on Windows, a settings file elsewhere.
#ifdef _WIN32
constexpr const char* kSavePrompt = "Saves file information into system registry";
#else
constexpr const char* kSavePrompt = "Saves file information into the settings file";
#endif

constexpr std::array<MenuItem, 8> kFileMenu = {{
    {command::kSetBasePath, "Set &Base Path", "Select Your Grandstand base directory", false},
    {kSeparator, "", "", false},
    // Our own prompts are short enough for the status bar of the smallest window.
    {command::kPreviewBuild, "&Preview Build...", "Shows what a Build would carry and drop",
     false},
    {command::kCheckRenameFile, "Check Rena&me File...", "Checks each record of the rename file",
     false},
    {command::kSaveSetup, "Save &Current Setup", kSavePrompt, false},
    {command::kRestoreBuild, "&Restore Build...", "Puts back the rosters a Build replaced",
     false},
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

const char* MenuKey(int command) { return command == command::kHelpTopics ? "F1" : ""; }

}  // namespace tovarin::layout
