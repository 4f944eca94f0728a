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
  EXPECT_EQ(fixture::ReadFileText(saved),
            "Tovarin setup 1\nTgtBase=" + t.dir.path() + "\nTgtDataDisk=LEAGUE.WDD\n"
            "TgtOrg=ORG00001\nSrcBase=" + t.dir.path() + "\nSrcDataDisk=SRC.WDD\nSrcOrg=ORG00001\n"
            "Rename=" + t.dir / "renames.txt" + "\nUseFarm=1\nThreeLetters=1\nSmartInitials=1\n");
  EXPECT_TRUE(t.dialogs.messages.empty());
}

// A document is a setup: Open takes one into the form, and neither Open nor Save touches a file
// that is not one (1.0.4's Save emptied whatever file the document had been opened from).
TEST(FrameCommands, OpenAndSaveKeepSetupsAndNothingElse) {
  BuildTree t;
  t.StoreSetup(t.store);
  const std::string setup = t.dir / "league.tov";
  const std::string players = t.targetDisk + "Players.dat";
  const sim::Bytes playersBefore = fixture::ReadFileBytes(players);
  sim::WriteBytes(t.dir / "empty.tov", {});
  sim::WriteBytes(t.dir / "cut.tov", BuildTree::Text("Tovarin setup 1\nTgtBase=/x\n"));
  const std::string folder = t.dir.MakeDir("folder.tov");
  FakeFrame window;
  FrameCommands frame(t.view, t.dialogs, window);
  frame.StartUp();
  window.files = {setup};
  frame.OnCommand(c::kFileSave);
  t.view.OnReset();
  t.view.targetOrgPath.clear();  // as when the target organization is given up
  t.view.ReloadTeamLists();
  t.view.useFarm = 0;
  const std::string notSetup = " is not a Tovarin setup, so nothing was opened.";
  const struct {
    std::string open;
    std::string message;  // "" when it opens
    std::size_t targetTeams;
  } rows[] = {
      {t.dir / "renames.txt", "The file " + t.dir / "renames.txt" + notSetup, 0},
      {players, "The file " + players + notSetup, 0},
      {t.dir / "cut.tov",
       "The setup " + t.dir / "cut.tov" + " is damaged: some of its lines are missing.", 0},
      // Said as a stored setup that cannot be read is, then why.
      {folder, std::string(kSetupNotRead) + folder + "\n", 0},
      {setup, "", 3},                // back to the saved form
      {t.dir / "empty.tov", "", 3},  // 1.0.4's empty document: the stored setup
  };
  for (const auto& row : rows) {
    t.dialogs.messages.clear();
    window.files = {row.open};
    frame.OnCommand(c::kFileOpen);
    if (row.message.empty()) {
      EXPECT_EQ(t.dialogs.messages, std::vector<std::string>{}) << row.open;
    } else {
      ASSERT_EQ(t.dialogs.messages.size(), 1u) << row.open;
      EXPECT_EQ(t.dialogs.messages[0].rfind(row.message, 0), 0u) << t.dialogs.messages[0];
    }
    EXPECT_EQ(t.view.targetTeams().size(), row.targetTeams) << row.open;
  }
  EXPECT_EQ(t.view.useFarm, 1);

  // Saved over a file that is no setup, or where no folder is, nothing is written.
  for (const std::string& path : {players, t.dir / "no such folder/league.tov"}) {
    FrameCommands other(t.view, t.dialogs, window);
    t.dialogs.messages.clear();
    window.files = {path};
    other.OnCommand(c::kFileSave);
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].rfind(path == players ? "The file " + players +
                                                                " is not a Tovarin setup, so it "
                                                                "was not replaced."
                                                          : std::string(kSaveFailed),
                                          0),
              0u)
        << t.dialogs.messages[0];
  }
  EXPECT_EQ(fixture::ReadFileBytes(players), playersBefore);
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

  // Another Tovarin gives John Fox to Tim Gray between the listing and the adding: the choice,
  // checked again under the rename file's lock, is refused, and the other's record stays alone.
  const std::string renames = t.dir / "renames.txt";
  const sim::Bytes before = fixture::ReadFileBytes(renames);
  sim::WriteBytes(renames, BuildTree::Text("C3,,Sam,Park,\r\nTim,Gray,John,Fox,\r\n"));
  EXPECT_FALSE(preview.AddToRenameFile({0}));
  EXPECT_EQ(fixture::ReadFileText(renames), "C3,,Sam,Park,\r\nTim,Gray,John,Fox,\r\n");
  ASSERT_FALSE(t.dialogs.messages.empty());
  EXPECT_EQ(t.dialogs.messages.back().rfind("The rename file " + renames +
                                                " was changed while the pairs were chosen, so "
                                                "nothing was added; review again.\n#5: ",
                                            0),
            0u)
      << t.dialogs.messages.back();
  sim::WriteBytes(renames, before);

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
