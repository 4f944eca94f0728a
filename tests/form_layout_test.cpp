// The tables both windows are drawn from: dialogs, menu and keys; and the commands they give.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/restore_list.h"
#include "shell/tovarin_doc.h"
#include "support/fixture.h"
#include "tovarin_version.h"

namespace tovarin::layout {
namespace {

TEST(Layout, EveryDialogHasDistinctIdsAContiguousTabOrderAndFitsItself) {
  for (const DialogLayout* dialog :
       {&Form(), &IdentifyOrganizationDialog(), &IdentifyOrganizationDialog(true), &AboutBox(),
        &RestoreBuildDialog(), &PreviewBuildDialog(), &RenameCheckDialog()}) {
    SCOPED_TRACE(dialog->title);
    std::set<int> ids;
    std::vector<int> tabs;
    for (const DialogControl& control : dialog->controls) {
      if (control.id != kNoId) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
      }
      if (control.tabIndex > 0) tabs.push_back(control.tabIndex);
      EXPECT_LE(control.rect.x + control.rect.width, dialog->width) << control.text;
      // A drop-down list's height is that of its list dropped down, which may leave the dialog.
      if (control.kind != ControlKind::kDropDownList) {
        EXPECT_LE(control.rect.y + control.rect.height, dialog->height) << control.text;
      }
    }
    std::sort(tabs.begin(), tabs.end());
    for (std::size_t i = 0; i < tabs.size(); ++i) EXPECT_EQ(tabs[i], static_cast<int>(i) + 1);
  }
}

// The dialogs that can be resized, at their least size, as they open and grown by odd amounts:
// every control within the dialog and clear of the others, the growth shared out whole (the
// Preview's two lists alike), the buttons at the foot.
TEST(Layout, ResizableDialogsKeepEveryControlWholeAndApart) {
  struct Row {
    const DialogLayout& dialog;
    const Resizing& resizing;
    std::vector<int> growing;  // the controls that take the new height, in equal shares
  } rows[] = {
      {PreviewBuildDialog(), PreviewResizing(), {id::kPreviewTeams, id::kPreviewDropped}},
      {RenameCheckDialog(), RenameCheckResizing(), {id::kCheckRows}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dialog.title);
    ASSERT_EQ(row.resizing.anchors.size(), row.dialog.controls.size());
    for (std::size_t i = 0; i < row.resizing.anchors.size(); ++i) {
      EXPECT_EQ(row.resizing.anchors[i].id, row.dialog.controls[i].id) << i;
    }
    EXPECT_LT(row.resizing.minWidth, row.dialog.width);
    EXPECT_LT(row.resizing.minHeight, row.dialog.height);
    const int least[2] = {row.resizing.minWidth - row.dialog.width,
                          row.resizing.minHeight - row.dialog.height};
    for (const auto& [dx, dy] : std::vector<std::pair<int, int>>{
             {least[0], least[1]}, {0, 0}, {1, 1}, {37, 101}, {least[0], 300}}) {
      SCOPED_TRACE(testing::Message() << dx << "x" << dy);
      std::vector<DialogRect> placed;
      for (std::size_t i = 0; i < row.dialog.controls.size(); ++i) {
        const DialogControl& control = row.dialog.controls[i];
        const DialogRect at = Anchored(control.rect, row.resizing.anchors[i], dx, dy);
        EXPECT_GE(at.x, 0) << i;
        EXPECT_GE(at.y, 0) << i;
        EXPECT_GE(at.width, control.kind == ControlKind::kButton ||
                                    control.kind == ControlKind::kDefaultButton
                                ? control.rect.width
                                : 20)
            << i;
        EXPECT_GE(at.height, std::min(control.rect.height, 8)) << i;
        EXPECT_LE(at.x + at.width, row.dialog.width + dx) << i;
        EXPECT_LE(at.y + at.height, row.dialog.height + dy) << i;
        for (std::size_t j = 0; j < placed.size(); ++j) {
          const DialogRect& other = placed[j];
          const bool apart = at.x >= other.x + other.width || other.x >= at.x + at.width ||
                             at.y >= other.y + other.height || other.y >= at.y + at.height;
          EXPECT_TRUE(apart) << i << " and " << j;
        }
        placed.push_back(at);
      }
      int grown = 0;
      for (std::size_t i = 0; i < placed.size(); ++i) {
        const int id = row.dialog.controls[i].id;
        if (std::find(row.growing.begin(), row.growing.end(), id) == row.growing.end()) continue;
        const int growth = placed[i].height - row.dialog.controls[i].rect.height;
        EXPECT_LE(std::abs(growth * static_cast<int>(row.growing.size()) - dy),
                  static_cast<int>(row.growing.size()))
            << id;
        grown += growth;
      }
      // Whatever the lists do not take stays between the last list and the buttons, unchanged.
      const DialogRect& close = placed.back();
      EXPECT_EQ(close.y + close.height, row.dialog.controls.back().rect.y +
                                            row.dialog.controls.back().rect.height + dy);
      EXPECT_LE(std::abs(grown - dy), 1);
    }
  }
}

TEST(Layout, FormTabOrderAndTheRowsOfItsItems) {
  std::vector<std::pair<int, const char*>> focus;
  for (const DialogControl& control : Form().controls) {
    if (control.tabIndex > 0) focus.emplace_back(control.tabIndex, control.text);
  }
  std::sort(focus.begin(), focus.end());
  std::vector<std::string> texts;
  for (const auto& [index, text] : focus) texts.push_back(text);
  EXPECT_EQ(texts, (std::vector<std::string>{"&Target Organization", "&Source Organization",
                                             "R&ename File", "Use Source F&arm Organization", "",
                                             "", "&Build", "&Match", "&Un Match", "&Reset",
                                             "&Cancel"}));
  EXPECT_EQ(FormControl(kTargetListBox).id, id::kTargetList);
  EXPECT_EQ(FormControl(kSourceLabelEdit).id, id::kSourceLabel);
  EXPECT_EQ(FormControl(kSourceTeamHeading).text, std::string("Source Team"));
  EXPECT_EQ(Form().width, 391);
  EXPECT_EQ(Form().height, 261);
}

// The target list's second column starts under "Source Team", 130 units right of the list's
// edge, less the list's border.
TEST(Layout, TheSourceTeamColumnStandsUnderItsHeading) { EXPECT_EQ(SourceTeamColumn(), 129); }

// Identify Organization and About stand where the simulation's own did, to the unit: a
// mistyped coordinate in the table would otherwise pass, as both windows are drawn from it.
// (The form's are pinned the same way by the Qt window's test.)
TEST(Layout, DialogsAtTheirOwnCoordinates) {
  struct Row {
    std::string text;
    int x, y, width, height;
  };
  struct Dialog {
    const DialogLayout& layout;
    std::string title;
    int width, height;
    std::vector<Row> rows;
  };
  const Dialog dialogs[] = {
      {IdentifyOrganizationDialog(), "Identify Organization", 199, 68,
       {{"Data Disk :", 10, 10, 47, 12},
        {"", 63, 10, 127, 42},
        {"Organization :", 10, 28, 47, 12},
        {"", 63, 28, 127, 42},
        {"&OK", 39, 47, 50, 14},
        {"&Cancel", 105, 47, 50, 14}}},
      {AboutBox(), "About Tovarin", 235, 55,
       {{"", 11, 17, 20, 20},
        {"Tovarin Version " TOVARIN_VERSION, 40, 10, 130, 8},
        {"Roster carrier by Didozuza", 40, 25, 130, 8},
        {"OK", 178, 7, 50, 14}}},
  };
  for (const Dialog& expected : dialogs) {
    const DialogLayout& dialog = expected.layout;
    SCOPED_TRACE(expected.title);
    EXPECT_EQ(std::string(dialog.title), expected.title);
    EXPECT_EQ(dialog.width, expected.width);
    EXPECT_EQ(dialog.height, expected.height);
    EXPECT_EQ(std::string(dialog.fontName), "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    ASSERT_EQ(dialog.controls.size(), expected.rows.size());
    for (std::size_t i = 0; i < expected.rows.size(); ++i) {
      const DialogControl& c = dialog.controls[i];
      const Row& row = expected.rows[i];
      EXPECT_EQ(std::string(c.text), row.text) << i;
      EXPECT_EQ(std::vector<int>({c.rect.x, c.rect.y, c.rect.width, c.rect.height}),
                std::vector<int>({row.x, row.y, row.width, row.height}))
          << row.text << " " << i;
    }
  }
}

TEST(Layout, MenuCommandsAndKeysAreDistinctAndPrompted) {
  std::set<int> commands;
  for (const Menu& menu : MainMenu()) {
    for (const MenuItem& item : menu.items) {
      if (item.command == kSeparator) continue;
      EXPECT_TRUE(commands.insert(item.command).second) << item.text;
      EXPECT_NE(std::string(item.prompt), "") << item.text;
      EXPECT_EQ(FindMenuItem(item.command), &item);
    }
  }
  EXPECT_EQ(FindMenuItem(kSeparator), nullptr);
  std::set<std::tuple<bool, bool, char, int>> keys;
  for (const Shortcut& key : Shortcuts()) {
    EXPECT_TRUE(keys.insert({key.control, key.shift, key.letter, key.functionKey}).second);
    EXPECT_NE(key.letter != 0, key.functionKey != 0);
  }
  EXPECT_EQ(FindMenuItem(command::kRestoreBuild)->text, std::string("&Restore Build..."));
}

// The rows in local time (here two hours east of UTC, so the dates turn too), the newest whole
// backup preselected, and Restore offered for whole ones alone.
TEST(RestoreList, NewestFirstWithDamagedOnesMarked) {
  const LocalCalendar twoHoursEast = [](std::time_t moment) {
    moment += 2 * 3600;
    return *std::gmtime(&moment);
  };
  const std::vector<BackupInfo> oldestFirst = {
      {"000001-20261201T100000Z_A.WDD_ORG00001", "/sim/A.WDD/ORG00001/",
       "2026-12-01 10:00:00 UTC", 30, "", "", ""},
      {"000002-20261202T100000Z_A.WDD_ORG00001", "/sim/A.WDD/ORG00001/",
       "2026-12-31 23:00:00 UTC", 30, "", "", ""},
      {"000003-20261202T100000Z_A.WDD_ORG00001", "", "", 0, "its manifest cannot be read", "",
       ""},
      {"000004-20261203T100000Z_B.WDD_ORG00002", "/sim/B.WDD/ORG00002/",
       "2026-12-03 10:00:00 UTC", 1, "", "", "2026-12-04 08:00:00 UTC"},
      // Made by restoring the first: it undoes that restore. An earlier version's local time
      // is shown as it is.
      {"000005-20261205T100000Z_A.WDD_ORG00001", "/sim/A.WDD/ORG00001/",
       "2026-12-05 10:00:00", 30, "", "000001-20261201T100000Z_A.WDD_ORG00001", ""},
  };
  struct Expected {
    std::array<std::string, 3> cells;
    bool canRestore;
    std::string detail;
  } expected[] = {
      {{"2026-12-05 10:00:00 (restore)", "/sim/A.WDD/ORG00001/", "30"}, true,
       "Puts back the 30 rosters of /sim/A.WDD/ORG00001/ as they were before the restore of "
       "2026-12-05 10:00:00."},
      {{"2026-12-03 12:00:00", "/sim/B.WDD/ORG00002/", "1, put back"}, true,
       "Puts back the 1 roster of /sim/B.WDD/ORG00002/ as they were before the Build of "
       "2026-12-03 12:00:00. It was put back on 2026-12-04 10:00:00."},
      {{"000003-20261202T100000Z_A.WDD_ORG00001", "", "damaged"}, false,
       "Damaged, so it cannot be put back: its manifest cannot be read."},
      {{"2027-01-01 01:00:00", "/sim/A.WDD/ORG00001/", "30"}, true,
       "Puts back the 30 rosters of /sim/A.WDD/ORG00001/ as they were before the Build of "
       "2027-01-01 01:00:00."},
      {{"2026-12-01 12:00:00", "/sim/A.WDD/ORG00001/", "30"}, true,
       "Puts back the 30 rosters of /sim/A.WDD/ORG00001/ as they were before the Build of "
       "2026-12-01 12:00:00."},
  };
  const RestoreModel model(oldestFirst, twoHoursEast);
  const std::vector<RestoreRow>& rows = model.rows();
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, oldestFirst[oldestFirst.size() - 1 - i].name);
    EXPECT_EQ(rows[i].cells, expected[i].cells);
    EXPECT_EQ(model.CanRestore(i), expected[i].canRestore);
    EXPECT_EQ(model.Detail(i), expected[i].detail);
  }
  EXPECT_EQ(model.Preselected(), 0u);
  EXPECT_FALSE(model.CanRestore(std::nullopt));
  EXPECT_EQ(model.Detail(std::nullopt), "");
  EXPECT_EQ(RestoreColumns().size(), 3u);

  // The newest is damaged: the next one is preselected; all damaged: the first, not offered.
  const RestoreModel newestDamaged({oldestFirst[0], oldestFirst[2]}, twoHoursEast);
  EXPECT_EQ(newestDamaged.Preselected(), 1u);
  const RestoreModel allDamaged({oldestFirst[2]}, twoHoursEast);
  EXPECT_EQ(allDamaged.Preselected(), 0u);
  EXPECT_FALSE(allDamaged.CanRestore(allDamaged.Preselected()));
}

TEST(Document, TitleFromItsFileAndAnEmptyFileOnSave) {
  CTovarinDoc doc;
  EXPECT_EQ(doc.windowTitle(), "Untitled - Tovarin");
  fixture::TempDir dir;
  const std::string path = dir / "league.tov";
  std::string why;
  ASSERT_TRUE(doc.Save(path, FormSetup{}, &why)) << why;
  EXPECT_EQ(doc.windowTitle(), "league.tov - Tovarin");
  EXPECT_TRUE(fixture::FileExists(path));
  EXPECT_FALSE(doc.Save(dir / "missing" + platform::kSeparator + "x.tov", FormSetup{}, &why));
  EXPECT_EQ(doc.pathName(), path) << "a failed save keeps the document's file";
  doc.New();
  EXPECT_EQ(doc.title(), "Untitled");
}

}  // namespace
}  // namespace tovarin::layout
