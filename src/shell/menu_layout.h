#pragma once

#include <span>

#include "platform/lock_keys.h"

namespace tovarin::layout {

// Commands of the main window's menu and keyboard.
namespace command {
inline constexpr int kSetBasePath = 32775;
inline constexpr int kSaveSetup = 32777;
inline constexpr int kExit = 32778;
inline constexpr int kRestoreBuild = 32779;
inline constexpr int kPreviewBuild = 32780;
inline constexpr int kCheckRenameFile = 32781;
inline constexpr int kStatusBar = 59393;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kAbout = 57664;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kHelp = 57670;         // F1
inline constexpr int kContextHelp = 57669;  // Shift+F1
}  // namespace command

inline constexpr int kSeparator = 0;

struct MenuItem {
  int command;         // kSeparator for a separator line
  const char* text;    // '&' marks the mnemonic
  const char* prompt;  // shown in the status bar while the item is highlighted
  bool checkable;
};

struct Menu {
  const char* title;
  std::span<const MenuItem> items;
};

// The menu bar, left to right.
std::span<const Menu> MainMenu();
// The item of `command`, or none.
const MenuItem* FindMenuItem(int command);

// The key shown beside a menu item, which does what the item does ("F1" beside Help Topics); empty
// for the others.
const char* MenuKey(int command);

// A key with modifiers that gives a command. The key is a letter ('N') or a function key.
struct Shortcut {
  int command;
  bool control;
  bool shift;
  char letter;      // 0 for a function key
  int functionKey;  // 1 for F1; 0 for a letter
};
std::span<const Shortcut> Shortcuts();

// The status bar: the idle text of its message pane, then its lock-key indicators.
inline constexpr const char* kIdleMessage = "For Help, press F1";
inline constexpr const char* kCapsIndicator = "CAP";
inline constexpr const char* kNumIndicator = "NUM";
inline constexpr const char* kScrollIndicator = "SCRL";
// The indicators in their order on the bar, each with the key it repeats.
struct Indicator {
  platform::LockKey key;
  const char* text;
};
inline constexpr Indicator kIndicators[] = {{platform::LockKey::kCaps, kCapsIndicator},
                                            {platform::LockKey::kNum, kNumIndicator},
                                            {platform::LockKey::kScroll, kScrollIndicator}};

// The window title's application part, and the message boxes' caption.
inline constexpr const char* kApplicationTitle = "Tovarin";
// What a window says when a command ends in an error nobody expected, before the error's text.
inline constexpr const char* kCommandFailed = "The command could not be completed:\n";
// The document's title before it has a file.
inline constexpr const char* kUntitled = "Untitled";

}  // namespace tovarin::layout
