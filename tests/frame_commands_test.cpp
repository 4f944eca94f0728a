// The main window's own commands, the same for every window: the document, the status bar and
// Preview Build's session, over a recording window.

#include <gtest/gtest.h>

#include <deque>

#include "shell/frame_commands.h"
#include "shell/menu_layout.h"
#include "shell/preview.h"
#include "support/build_tree.h"

namespace tovarin {
namespace {

namespace c = layout::command;
using fixture::BuildTree;

struct FakeFrame : FrameWindow {
  std::vector<std::string> log;                  // what the window was asked to do, in order
  std::deque<std::optional<std::string>> files;  // the documents chosen; Cancel when none is left
  std::vector<std::string> previewCounts;        // the counts of each preview shown

  void SetTitle(const std::string& title) override { log.push_back("title " + title); }
  void ShowStatusBar(bool show) override { log.push_back(show ? "bar on" : "bar off"); }
  void ShowHelp() override { log.push_back("help"); }
  void ShowAbout() override { log.push_back("about"); }
  void ShowPreview(PreviewSession& preview) override {
    previewCounts.push_back(preview.CountsText());
  }
  void ShowRenameCheck(const RenameCheckModel&) override { log.push_back("check"); }
  std::optional<std::string> ChooseDocument(DocumentDialog kind,
                                            const std::string& name) override {
    log.push_back((kind == DocumentDialog::kSave ? "save as " : "open ") + name);
    if (files.empty()) return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
  }
  void Close() override { log.push_back("close"); }
};

TEST(FrameCommands, DocumentStatusBarHelpAndExit) {
  BuildTree t;
  t.StoreSetup(t.store);
  FakeFrame window;
  FrameCommands frame(t.view, t.dialogs, window);
  frame.StartUp();
  EXPECT_EQ(t.view.targetTeams().size(), 3u) << "the start reads the stored setup";

  const std::string saved = t.dir / "league.tov";
  const std::string nowhere = t.dir / "no such folder/league.tov";
  window.files = {std::nullopt, saved, nowhere, t.dir / "renames.txt"};
  for (const int command : {c::kFileSave, c::kFileSave, c::kFileSave, c::kStatusBar,
                            c::kStatusBar, c::kContextHelp, c::kAbout, c::kExit}) {
    frame.OnCommand(command);
  }
  // The second save goes to the document's own file without asking.
  EXPECT_EQ(window.log, (std::vector<std::string>{
                            "title Untitled - Tovarin", "save as Untitled", "save as Untitled",
                            "title league.tov - Tovarin", "title league.tov - Tovarin", "bar off",
                            "bar on", "help", "about", "close"}));
  EXPECT_EQ(fixture::ReadFileText(saved), "");
  EXPECT_TRUE(t.dialogs.messages.empty());

  // A document saved where no folder is keeps its title and says so; opening reads nothing
  // from the file, and New forgets it.
  window.log.clear();
  FrameCommands other(t.view, t.dialogs, window);
  window.files = {nowhere, t.dir / "renames.txt"};
  for (const int command : {c::kFileSave, c::kFileOpen, c::kFileNew}) other.OnCommand(command);
  EXPECT_EQ(t.dialogs.messages, std::vector<std::string>{kSaveFailed});
  EXPECT_EQ(window.log, (std::vector<std::string>{"save as Untitled", "open ",
                                                  "title renames.txt - Tovarin",
                                                  "title Untitled - Tovarin"}));
  EXPECT_EQ(fixture::ReadFileText(t.dir / "renames.txt"), "C3,,Sam,Park,\r\n");
}

// Preview Build: refused as Build is without organizations; otherwise the session adds the
// checked rows' candidates by their source players, and shows them carried.
TEST(FrameCommands, PreviewSessionAddsTheCheckedRows) {
  BuildTree bare;
  FakeFrame window;
  FrameCommands refused(bare.view, bare.dialogs, window);
  refused.StartUp();
  refused.OnCommand(c::kPreviewBuild);
  EXPECT_TRUE(window.previewCounts.empty());
  EXPECT_EQ(bare.dialogs.messages, std::vector<std::string>{"Choose a target organization first."});

  BuildTree t;
  t.Start();
  FrameCommands frame(t.view, t.dialogs, window);
  frame.OnCommand(c::kPreviewBuild);
  ASSERT_EQ(window.previewCounts.size(), 1u);

  PreviewSession preview(t.view);
  preview.Refresh();
  ASSERT_EQ(preview.model().dropped.size(), 2u);
  EXPECT_EQ(preview.model().dropped[0].player, "Jon Fox");
  EXPECT_TRUE(preview.AnyAcceptable());
  EXPECT_EQ(preview.TeamRows()[0], "City 1 Club: 3 players");
  EXPECT_EQ(preview.TeamRows()[1], "    John Smith (2), from City 1's roster");

  struct Case {
    std::vector<std::size_t> rows;
    bool added;
    std::size_t droppedAfter;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, false, 2, ""},
      {{7}, false, 2, ""},  // no such row
      {{1}, false, 2, "Not added to the rename file:\n#6: Tim Gray has no candidate"},
      {{1, 0}, true, 1, "1 pair added to " + (t.dir / "renames.txt")},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.rows.size());
    t.dialogs.messages.clear();
    EXPECT_EQ(preview.AddToRenameFile(test.rows), test.added);
    EXPECT_EQ(preview.model().dropped.size(), test.droppedAfter);
    EXPECT_EQ(t.dialogs.messages.empty() ? "" : t.dialogs.messages.back(), test.message);
  }
  EXPECT_EQ(fixture::ReadFileText(t.dir / "renames.txt"), "C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\n");

  // A rename file that cannot be read is told under the counts, as the Build would tell it.
  t.view.renamePath = t.dir.MakeDir("renames folder");
  preview.Refresh();
  const std::string counts = preview.CountsText();
  EXPECT_NE(counts.find("Target teams left empty: 1\nRename records the Build would use: 0 of 0\n"
                        "The rename file could not be read: " + t.view.renamePath),
            std::string::npos)
      << counts;
}

}  // namespace
}  // namespace tovarin
