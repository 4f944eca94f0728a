// File > Preview Build: the review of a Build on the form's setup, and its pairs added to the
// rename file, driven as a user would; File > Check Rename File.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "gui/preview_dialog.h"
#include "gui/rename_check_dialog.h"
#include "gui_fixture.h"

namespace tovarin::gui::test {
namespace {

QStringList Items(const QTreeWidget& tree) {
  QStringList items;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = tree.topLevelItem(i);
    QStringList columns;
    for (int c = 0; c < item->columnCount(); ++c) columns << item->text(c);
    if (item->data(0, Qt::CheckStateRole).isValid()) columns << "[ ]";
    items << columns.join(" | ");
    for (int k = 0; k < item->childCount(); ++k) items << "  " + item->child(k)->text(0);
  }
  return items;
}

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

// `renameUse` is "U of N", empty without a rename file.
QString Counts(int carried, int dropped, int withCandidates, int empty,
               const QString& renameUse) {
  return QString("Players carried: %1\nPlayers dropped: %2\nDropped players with candidates: "
                 "%3\nTarget teams left empty: %4")
             .arg(carried)
             .arg(dropped)
             .arg(withCandidates)
             .arg(empty) +
         (renameUse.isEmpty() ? "" : "\nRename records the Build would use: " + renameUse);
}

// Checks Jon Fox's candidate and adds it, then hands the dialog to `after`. Without a rename
// file, team 3 receives nobody.
Step PreviewAndAddFox(bool renames, std::function<void(CPreviewDlg&)> after) {
  return [=](QDialog& dialog) {
    auto* preview = qobject_cast<CPreviewDlg*>(&dialog);
    ASSERT_NE(preview, nullptr) << "not the preview";
    EXPECT_EQ(preview->windowTitle(), "Preview Build");
    EXPECT_EQ(preview->counts()->text(), renames ? Counts(5, 2, 1, 0, "1 of 1") : Counts(4, 2, 1, 1, ""));
    QStringList teams = {
        "City 1 Club: 3 players",
        "    John Smith (2), from City 1's roster",
        "    Ann Jones (4), from City 1's roster",
        "    Al Lee (5), from City 1's farm roster",
        "City 2 Club: 1 player",
        "    Bob Brown (1), from City 2's roster",
    };
    if (renames) {
      teams << "City 3 Club: 1 player" << "    Sam Park (7), from the rename file";
    } else {
      teams << "City 3 Club: 0 players";
    }
    EXPECT_EQ(Rows(*preview->teams()), teams);
    EXPECT_EQ(Items(*preview->dropped()), (QStringList{
                                              "Jon Fox | City 1 | John Fox (near miss, 1 letter apart) | [ ]",
                                              "Tim Gray | City 2 | no candidate",
                                          }));
    preview->dropped()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QTest::mouseClick(preview->addButton(), Qt::LeftButton);
    after(*preview);
    QTest::mouseClick(preview->closeButton(), Qt::LeftButton);
  };
}

// The checked player shows as carried once his pair is in the rename file.
void ExpectFoxCarried(CPreviewDlg& preview, bool renames) {
  EXPECT_EQ(preview.counts()->text(), renames ? Counts(6, 1, 0, 0, "2 of 2") : Counts(5, 1, 0, 1, "1 of 1"));
  EXPECT_EQ(Rows(*preview.teams()).mid(0, 5), (QStringList{
                                                   "City 1 Club: 4 players",
                                                   "    John Smith (2), from City 1's roster",
                                                   "    John Fox (3), from City 1's roster",
                                                   "    Ann Jones (4), from City 1's roster",
                                                   "    Al Lee (5), from City 1's farm roster",
                                               }));
  EXPECT_EQ(Items(*preview.dropped()), QStringList{"Tim Gray | City 2 | no candidate"});
}

TEST(GuiPreview, AddsTheCheckedCandidatesToTheRenameFile) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  const std::string renames = w.tree.dir / "renames.txt";
  const sim::Bytes roster = fixture::ReadFileBytes(fixture::BuildTree::RosterName(w.tree.targetOrg, 1));
  w.script.steps.push_back(
      PreviewAndAddFox(true, [](CPreviewDlg& preview) { ExpectFoxCarried(preview, true); }));
  std::string added;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &added, QMessageBox::Information));
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  EXPECT_TRUE(w.script.done());
  EXPECT_EQ(added, "1 pair added to " + renames);
  EXPECT_EQ(fixture::ReadFileText(renames), "C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\n");
  // Nothing else is written: no roster, no report, no setup.
  EXPECT_EQ(fixture::ReadFileBytes(fixture::BuildTree::RosterName(w.tree.targetOrg, 1)), roster);
  EXPECT_FALSE(fixture::FileExists(w.tree.targetDisk + "Tovarin.txt"));
}

TEST(GuiPreview, AsksWhereToCreateARenameFileWhenTheFormHasNone) {
  GuiWindow w;
  w.StoreSetup();
  w.store.WriteString(settings::kFile, settings::kRename, "");
  w.Start();
  const std::string created = w.tree.dir / "new renames.txt";
  FileRequest request;
  w.script.steps.push_back(PreviewAndAddFox(false, [&](CPreviewDlg& preview) {
    EXPECT_EQ(request.proposedName, "renames.txt");
    EXPECT_EQ(request.directory.toStdString() + "/", w.tree.targetDisk);
    ExpectFoxCarried(preview, false);
  }));
  w.script.steps.push_back(ChooseFile(created, &request));
  std::string added;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &added, QMessageBox::Information));
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  EXPECT_TRUE(w.script.done());
  // A dialog that creates the file, not one that opens an existing one.
  EXPECT_EQ(request.mode, QFileDialog::AcceptSave);
  EXPECT_EQ(added, "1 pair added to " + created);
  EXPECT_EQ(fixture::ReadFileText(created), "Jon,Fox,John,Fox,\r\n");
  EXPECT_EQ(w.frame->view().renamePath, created);
  EXPECT_EQ(w.c().renamePath->text(), QString::fromStdString(created).toLower());
}

// Without organizations, Preview Build and Check Rename File refuse as Build does; without a
// rename file, Check Rename File asks for one.
TEST(GuiRenameCheck, RefusedWithoutOrganizationsOrRenameFile) {
  GuiWindow w;
  w.Start();
  std::string preview, check;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &preview));
  w.script.steps.push_back(Answer(QMessageBox::Ok, &check));
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  w.frame->action(layout::command::kCheckRenameFile)->trigger();
  EXPECT_TRUE(w.script.done());
  EXPECT_EQ(preview, "Choose a target organization first.");
  EXPECT_EQ(check, "Choose a target organization first.");

  GuiWindow without;
  without.StoreSetup();
  without.store.WriteString(settings::kFile, settings::kRename, "");
  without.Start();
  without.script.steps.push_back(Answer(QMessageBox::Ok, &check));
  without.frame->action(layout::command::kCheckRenameFile)->trigger();
  EXPECT_TRUE(without.script.done());
  EXPECT_EQ(check, "Choose a rename file first.");
}

// Each record with what the Build does with it, its problems under it, and the summary.
TEST(GuiRenameCheck, ShowsEveryRecordAndItsProblems) {
  GuiWindow w;
  w.StoreSetup();
  sim::WriteBytes(w.tree.dir / "renames.txt",
                  fixture::BuildTree::Text("C3,,Sam,Park,\r\nJon,Fox,J\xf6hn,Fox,\r\n"));
  w.Start();
  w.script.steps.push_back([](QDialog& dialog) {
    auto* check = qobject_cast<CRenameCheckDlg*>(&dialog);
    ASSERT_NE(check, nullptr) << "not the check";
    EXPECT_EQ(check->windowTitle(), "Check Rename File");
    EXPECT_EQ(check->summary()->text(),
              "2 records: 0 pair players, 1 signs players, 1 does nothing; 1 problem");
    QStringList rows;
    for (int i = 0; i < check->rows()->count(); ++i) {
      rows << check->rows()->item(i)->text() + " @" +
                  check->rows()->item(i)->data(Qt::UserRole).toString();
    }
    EXPECT_EQ(rows, (QStringList{
                        "Line 1: signs Sam Park (#7) to C3 (City 3 Club) @1",
                        "Line 2: does nothing: it names no target player @2",
                        QString::fromUtf8("    2:9: names no target player: \"J\xc3\xb6hn Fox\"; "
                                          "nearest target player: John Fox (#3) @2"),
                    }));
    QTest::mouseClick(check->closeButton(), Qt::LeftButton);
  });
  w.frame->action(layout::command::kCheckRenameFile)->trigger();
  EXPECT_TRUE(w.script.done());
}

}  // namespace
}  // namespace tovarin::gui::test
