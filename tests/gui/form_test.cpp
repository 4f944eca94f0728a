// The form driven through its real widgets: start-up from stored settings, the organization
// dialog, pairing by hand, the Build and its question, the checkbox and the file choices.

#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/restore_dialog.h"
#include "gui_fixture.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "support/pairing_script.h"
#include "transfer/backup.h"

namespace tovarin::gui::test {
namespace {

using fixture::BuildTree;

QString Lower(const std::string& text) { return QString::fromLocal8Bit(text).toLower(); }

const QString kRow1 = "City 1  (AL E)", kRow2 = "City 2  (NL E)", kRow3 = "City 3  (AL E)";
const QString kSrc1 = "C1  (AL E)", kSrc2 = "C2  (NL E)";

TEST(GuiStartUp, StoredSetupFillsTheFormInLowerCase) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  EXPECT_TRUE(w.script.titles.empty()) << "no message at a clean start";
  const CTovarinView& view = w.frame->view();

  // The paths show in lower case; the fields keep the case of the directories' names.
  EXPECT_EQ(view.targetOrgPath, w.tree.targetOrg);
  EXPECT_EQ(view.sourceOrgPath, w.tree.sourceOrg);
  EXPECT_EQ(w.c().targetOrgPath->text(), Lower(w.tree.targetOrg));
  EXPECT_EQ(w.c().sourceOrgPath->text(), Lower(w.tree.sourceOrg));
  EXPECT_EQ(w.c().renamePath->text(), Lower(w.tree.dir / "renames.txt"));
  EXPECT_NE(w.c().targetOrgPath->text(), QString::fromStdString(w.tree.targetOrg));
  // The edit shows the start of the path; its tooltip all of it, in its own case.
  EXPECT_EQ(w.c().targetOrgPath->toolTip(), QString::fromStdString(w.tree.targetOrg));
  EXPECT_EQ(w.c().sourceOrgPath->toolTip(), QString::fromStdString(w.tree.sourceOrg));
  EXPECT_EQ(w.c().renamePath->toolTip(), QString::fromStdString(w.tree.dir / "renames.txt"));
  for (QLineEdit* edit : {w.c().targetOrgPath, w.c().sourceOrgPath, w.c().renamePath}) {
    EXPECT_TRUE(edit->isReadOnly());
  }

  EXPECT_EQ(w.c().targetLabel->text(), "Teams - 3");
  EXPECT_EQ(w.c().sourceLabel->text(), "Teams - 2");
  EXPECT_EQ(Rows(*w.c().targetList),
            (QStringList{kRow1 + "\t" + kSrc1, kRow2 + "\t" + kSrc2, kRow3}));
  EXPECT_TRUE(Rows(*w.c().sourceList).isEmpty()) << "both source teams are paired by name";
  EXPECT_EQ(w.c().targetList->currentRow(), 0);
  EXPECT_TRUE(w.c().useFarm->isChecked());
}

TEST(GuiStartUp, MissingOrganizationIsReportedAndLeftEmpty) {
  GuiWindow w;
  w.StoreSetup();
  w.store.WriteString(settings::kFile, settings::kSrcOrg, "ORG00009");
  std::string text;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &text));
  w.Start();
  EXPECT_TRUE(w.script.done());
  EXPECT_EQ(text, "CANNOT OPEN FILE :" + w.tree.sourceDisk + "ORG00009/org.dat\n");
  EXPECT_EQ(w.c().sourceOrgPath->text(), "");
  EXPECT_EQ(w.c().sourceLabel->text(), "Teams - 0");
  EXPECT_EQ(Rows(*w.c().targetList), (QStringList{kRow1, kRow2, kRow3}));
}

TEST(GuiOrganizationDialog, ChoosingCancellingAndFailing) {
  GuiWindow w;
  w.store.WriteString(settings::kFile, settings::kBaseDir, w.tree.dir.path());
  w.Start();
  ASSERT_EQ(w.c().targetLabel->text(), "Teams - 0");

  // A first choice: no data disk is preselected, and the organization list holds only the
  // empty entry until a data disk is chosen.
  QStringList disks, organizationsBefore, organizationsAfter;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& picker = dynamic_cast<CIdentifyOrgDlg&>(dialog);
    EXPECT_EQ(picker.windowTitle(), "Identify Target Organization");
    const DialogUnits units(picker.font());
    EXPECT_EQ(picker.size(), QSize(units.X(199), units.Y(114)));  // with the base path's line
    ASSERT_NE(picker.note(), nullptr);
    EXPECT_TRUE(picker.note()->text().startsWith("Data disks in "));
    disks = Entries(*picker.dataDiskList());
    organizationsBefore = Entries(*picker.organizationList());
    EXPECT_EQ(picker.dataDiskList()->currentIndex(), -1);
    ChooseEntry(*picker.dataDiskList(), "LEAGUE.WDD");
    organizationsAfter = Entries(*picker.organizationList());
    EXPECT_EQ(picker.organizationList()->currentText(), "ORG00001");
    QTest::mouseClick(picker.okButton(), Qt::LeftButton);
  });
  w.Click(w.c().targetOrganization);
  EXPECT_EQ(disks, (QStringList{"LEAGUE.WDD", "SRC.WDD"}));
  EXPECT_EQ(organizationsBefore, QStringList{""});
  EXPECT_EQ(organizationsAfter, QStringList{"ORG00001"});
  EXPECT_EQ(w.c().targetOrgPath->text(), Lower(w.tree.targetOrg));
  EXPECT_EQ(w.c().targetLabel->text(), "Teams - 3");

  // An organization without org.dat: its error in a message box, and that side stays empty.
  std::string error;
  w.script.steps.push_back(PickOrganization("SRC.WDD", "ORG00002"));
  w.script.steps.push_back(Answer(QMessageBox::Ok, &error));
  w.Click(w.c().sourceOrganization);
  EXPECT_EQ(error, "CANNOT OPEN FILE :" + w.tree.farmOrg + "org.dat\n");
  EXPECT_EQ(w.c().sourceOrgPath->text(), "");
  EXPECT_EQ(w.c().sourceLabel->text(), "Teams - 0");

  // Opening again preselects what the dialog last took; choosing the same data disk again
  // goes back to its first organization.
  QString preselected;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& picker = dynamic_cast<CIdentifyOrgDlg&>(dialog);
    preselected = picker.organizationList()->currentText();
    ChooseEntry(*picker.dataDiskList(), "SRC.WDD");
    QTest::mouseClick(picker.okButton(), Qt::LeftButton);
  });
  w.Click(w.c().sourceOrganization);
  EXPECT_EQ(preselected, "ORG00002");
  EXPECT_EQ(w.c().sourceOrgPath->text(), Lower(w.tree.sourceOrg));
  EXPECT_EQ(w.c().sourceLabel->text(), "Teams - 2");
  EXPECT_EQ(Rows(*w.c().targetList), (QStringList{kRow1 + "\t" + kSrc1, kRow2 + "\t" + kSrc2,
                                                  kRow3}));

  // Cancel (here by Escape) gives up the target side.
  w.script.steps.push_back([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  w.Click(w.c().targetOrganization);
  EXPECT_EQ(w.c().targetOrgPath->text(), "");
  EXPECT_TRUE(Rows(*w.c().targetList).isEmpty());
  EXPECT_EQ(Rows(*w.c().sourceList), (QStringList{kSrc1, kSrc2}));
  EXPECT_TRUE(w.script.done());
}

// Match, Un Match and Reset by button and by double-click, each step checked on both lists.
TEST(GuiPairing, ButtonsAndDoubleClicks) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  auto rows = [](const QListWidget& list) {
    std::vector<std::string> texts;
    for (const QString& row : Rows(list)) texts.push_back(Std(row));
    return texts;
  };
  using S = fixture::PairingStep;
  for (const S& step : fixture::PairingScript()) {
    for (const auto& [action, row] : step.actions) {
      switch (action) {
        case S::kReset: w.Click(w.c().reset); break;
        case S::kMatch: w.Click(w.c().match); break;
        case S::kUnmatch: w.Click(w.c().unmatch); break;
        case S::kClickSource: w.ClickRow(w.c().sourceList, row); break;
        case S::kClickTarget: w.ClickRow(w.c().targetList, row); break;
        case S::kDoubleClickSource: w.DoubleClickRow(w.c().sourceList, row); break;
        case S::kDoubleClickTarget: w.DoubleClickRow(w.c().targetList, row); break;
      }
    }
    EXPECT_EQ(rows(*w.c().targetList), step.target) << step.what;
    EXPECT_EQ(rows(*w.c().sourceList), step.source) << step.what;
    EXPECT_EQ(w.c().targetList->currentRow(), step.targetSelection) << step.what;
    EXPECT_EQ(w.c().targetLabel->text(), "Teams - 3") << step.what;
    EXPECT_EQ(w.c().sourceLabel->text(), "Teams - 2") << step.what;
  }
  // The lists show the pairs the form holds.
  const TeamList& targets = w.frame->view().targetTeams();
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].partner, nullptr);
  ASSERT_NE(targets[2].partner, nullptr);
  EXPECT_EQ(targets[2].partner->shortName, "C2");
  EXPECT_TRUE(w.script.done());
}

TEST(GuiBuild, GamesPlayedQuestionAnsweredYesAndNo) {
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    GuiWindow w;
    fixture::StandardOrgWithGamesPlayed(3, 2).Write(w.tree.targetOrg);
    BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
    w.StoreSetup();
    w.Start();

    std::string question, done;
    w.script.steps.push_back([&](QDialog& dialog) {
      auto& box = dynamic_cast<QMessageBox&>(dialog);
      EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
      EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
      Answer(yes ? QMessageBox::Yes : QMessageBox::No, &question)(dialog);
    });
    if (yes) w.script.steps.push_back(Answer(QMessageBox::Ok, &done));
    w.Activate();
    w.c().targetList->setFocus();
    QTest::keyClick(w.c().targetList, Qt::Key_Return);  // Enter presses the default button

    EXPECT_EQ(question,
              "Target Organization already has games played.\n"
              "Tovarin clears the rosters of the target teams.\n"
              "Are you sure you wish to continue?");
    EXPECT_TRUE(w.script.done());
    if (yes) {
      EXPECT_EQ(done, w.tree.Completed());
      EXPECT_EQ(w.tree.TargetRoster(1), (std::vector<int>{2, 4, 5}));
      EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{7}));
      EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kThreeLetters), 1)
          << "a completed Build saves the setup";
      EXPECT_EQ(w.c().targetLabel->text(), "Teams - 3");
    } else {
      EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{99}));
      EXPECT_FALSE(fixture::FileExists(w.tree.targetDisk + "Tovarin.txt"));
      EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kThreeLetters), std::nullopt);
      EXPECT_EQ(w.c().targetOrgPath->text(), "");
      EXPECT_EQ(w.c().targetLabel->text(), "Teams - 0");
      EXPECT_TRUE(Rows(*w.c().targetList).isEmpty());
      EXPECT_EQ(Rows(*w.c().sourceList), (QStringList{kSrc1, kSrc2}));
    }
  }
}

// Enter presses the focused button, which alone is outlined, or else Build.
TEST(GuiForm, EnterPressesWhatIsOutlined) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  w.Activate();
  for (QPushButton* button : {w.c().match, w.c().unmatch, w.c().reset}) {
    button->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(button->isDefault()) << button->text().toStdString();
    EXPECT_FALSE(w.c().build->isDefault()) << button->text().toStdString();
    QTest::keyClick(button, Qt::Key_Return);  // a Build would show a dialog the script lacks
  }
  EXPECT_EQ(w.c().sourceList->count(), 2) << "Reset pressed";
  w.c().useFarm->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w.c().build->isDefault());
  EXPECT_FALSE(w.c().reset->isDefault());
  EXPECT_TRUE(w.script.done());
}

TEST(GuiBuild, MissingSourceRosterIsReported) {
  GuiWindow w;
  w.StoreSetup();
  std::remove(BuildTree::RosterName(w.tree.sourceOrg, 2).c_str());
  w.Start();
  std::string text;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &text));
  w.Click(w.c().build);
  EXPECT_EQ(text, "Error while reading file : " + BuildTree::RosterName(w.tree.sourceOrg, 2) +
                      "\nThe Build stopped there, and the rosters it had replaced were put back "
                      "as they were, so no roster was changed.");
  EXPECT_TRUE(w.script.done()) << "no completion message after an error";
}

// File > Restore Build lists the backups and puts back what the chosen Build replaced, after
// asking.
TEST(GuiBuild, RestoreBuild) {
  GuiWindow w;
  BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
  w.StoreSetup();
  w.Start();
  std::string nothing;
  w.script.steps.push_back(Answer(QMessageBox::Ok, &nothing));
  w.frame->action(layout::command::kRestoreBuild)->trigger();
  EXPECT_EQ(nothing, "There is no Build to restore.");

  w.script.steps.push_back(Answer(QMessageBox::Ok));  // Build Completed Successfully!
  w.Click(w.c().build);
  ASSERT_EQ(w.tree.TargetRoster(3), (std::vector<int>{7}));

  std::string question, restored;
  QStringList row;
  QString detail;
  bool canRestore = false;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& restore = dynamic_cast<CRestoreDlg&>(dialog);
    EXPECT_EQ(restore.windowTitle(), "Restore Build");
    ASSERT_EQ(restore.list()->topLevelItemCount(), 1);
    for (int column = 0; column < 3; ++column) {
      row << restore.list()->topLevelItem(0)->text(column);
      // Each column as wide as its text: the time and the path were cut.
      EXPECT_GE(restore.list()->columnWidth(column),
                restore.list()->fontMetrics().horizontalAdvance(row.back()))
          << column;
    }
    detail = restore.detail()->text();
    canRestore = restore.restoreButton()->isEnabled();
    QTest::mouseClick(restore.restoreButton(), Qt::LeftButton);
  });
  w.script.steps.push_back(Answer(QMessageBox::Yes, &question));
  w.script.steps.push_back(Answer(QMessageBox::Ok, &restored, QMessageBox::Information));
  w.frame->action(layout::command::kRestoreBuild)->trigger();
  EXPECT_TRUE(canRestore);
  ASSERT_EQ(row.size(), 3);
  EXPECT_FALSE(row[0].endsWith(" UTC")) << "local time: " << Std(row[0]);
  EXPECT_EQ(row[1], QString::fromStdString(w.tree.targetOrg));
  EXPECT_EQ(row[2], "3");
  EXPECT_TRUE(detail.startsWith("Puts back the 3 rosters of ")) << Std(detail);
  EXPECT_NE(question.find("Put back the 3 rosters"), std::string::npos) << question;
  EXPECT_NE(restored.find(" as they were before the Build of "), std::string::npos) << restored;
  EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{99}));
  EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(w.tree.targetOrg, 1)));
  EXPECT_TRUE(w.script.done());

  // The restore's own backup, now the newest, damaged: the Build's is preselected; the damaged
  // one offers no Restore, and chosen by a double-click it is refused with why.
  const std::vector<BackupInfo> kept = BackupStore(w.frame->view().backupDirectory).List();
  ASSERT_EQ(kept.size(), 2u);
  const std::string damaged = w.frame->view().backupDirectory + kept[1].name + "/manifest.txt";
  std::filesystem::remove(platform::NativePath(damaged));
  std::filesystem::create_directory(platform::NativePath(damaged));
  int preselected = -1;
  bool offered = true;
  std::string refused;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& restore = dynamic_cast<CRestoreDlg&>(dialog);
    preselected = restore.list()->indexOfTopLevelItem(restore.list()->currentItem());
    QTreeWidgetItem* first = restore.list()->topLevelItem(0);
    restore.list()->setCurrentItem(first);
    offered = restore.restoreButton()->isEnabled();
    const QPoint at = restore.list()->visualItemRect(first).center();
    QTest::mouseClick(restore.list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(restore.list()->viewport(), Qt::LeftButton, {}, at);
  });
  w.script.steps.push_back(Answer(QMessageBox::Ok, &refused));
  w.frame->action(layout::command::kRestoreBuild)->trigger();
  EXPECT_EQ(preselected, 1);
  EXPECT_FALSE(offered);
  EXPECT_EQ(refused, "The backup " + kept[1].name +
                         " is damaged: its manifest cannot be read.\nNothing was put back.");
  EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{99}));
  EXPECT_TRUE(w.script.done());
}

TEST(GuiCheckbox, TogglesTheFarmOptionWhichOnlySaveStores) {
  GuiWindow w;
  w.StoreSetup(/*useFarm=*/true);
  w.Start();
  QCheckBox* box = w.c().useFarm;
  for (const int expected : {0, 1, 0}) {
    w.Click(box);
    EXPECT_EQ(w.frame->view().useFarm, expected);
    EXPECT_EQ(box->isChecked(), expected == 1);
  }
  EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kUseFarm), 1) << "not saved by a click";

  w.frame->action(layout::command::kFileNew)->trigger();  // re-reads the stored settings
  EXPECT_TRUE(box->isChecked());
  w.Click(box);
  w.frame->action(layout::command::kSaveSetup)->trigger();
  EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kUseFarm), 0);
  EXPECT_EQ(w.Stored(settings::kFile, settings::kTgtOrg), "ORG00001");
}

// The first start offers Set Base Path; until a base path holds data disks, Identify
// Organization says so under its lists.
TEST(GuiFirstStart, OffersSetBasePathAndTheDialogSaysWhenNoDataDiskIsFound) {
  auto offer = [](QMessageBox::StandardButton button, std::string* text) {
    return [=](QDialog& dialog) {
      auto* box = qobject_cast<QMessageBox*>(&dialog);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), "Tovarin");
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
      ASSERT_NE(box->button(QMessageBox::Cancel), nullptr);
      *text = Std(box->text());
      QTest::mouseClick(box->button(button), Qt::LeftButton);
    };
  };
  const fixture::TempDir empty;
  GuiWindow w;
  w.Start();
  std::string text;
  w.script.steps.push_back(offer(QMessageBox::Cancel, &text));
  w.frame->view().GuideFirstStart();
  EXPECT_EQ(text, kFirstStartMessage);
  EXPECT_EQ(w.frame->view().targetLocation.BaseDirectory(), platform::RootDirectory());

  // OK opens Set Base Path; here on a folder without data disks.
  FileRequest request;
  w.script.steps.push_back(offer(QMessageBox::Ok, &text));
  w.script.steps.push_back(ChooseFile(empty / kSimulationExecutable, &request));
  w.frame->view().GuideFirstStart();
  EXPECT_EQ(request.proposedName, kSimulationExecutable);
  EXPECT_EQ(w.frame->view().targetLocation.BaseDirectory(), empty.path());

  QString note;
  QSize size, expected;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& picker = dynamic_cast<CIdentifyOrgDlg&>(dialog);
    ASSERT_NE(picker.note(), nullptr);
    note = picker.note()->text();
    const DialogUnits units(picker.font());
    size = picker.size();
    expected = QSize(units.X(199), units.Y(114));
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  w.Click(w.c().targetOrganization);
  EXPECT_EQ(note, QString::fromStdString("No data disk (a folder ending in .WDD) was found in " +
                                         empty.path() +
                                         ". Use File > Set Base Path to choose gstnd32.exe in "
                                         "the folder where Grandstand is installed."));
  EXPECT_EQ(size, expected);

  // A stored base path: nothing is offered at the next start.
  w.frame->action(layout::command::kSaveSetup)->trigger();
  w.frame->view().GuideFirstStart();
  EXPECT_TRUE(w.script.done());
}

// Both file choices of the form: what the dialog proposes, and what OK and Cancel give.
TEST(GuiFiles, RenameFileAndBasePath) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  const QString base = QString::fromStdString(w.tree.dir.path()).chopped(1);

  FileRequest request;
  w.script.steps.push_back(ChooseFile(w.tree.dir / "Other.TXT", &request));
  w.Click(w.c().renameFile);
  EXPECT_EQ(request.directory, base);
  EXPECT_EQ(request.nameFilters, (QStringList{"Text files (*.txt)", "All files (*)"}));
  EXPECT_EQ(w.frame->view().renamePath, w.tree.dir / "Other.TXT");
  EXPECT_EQ(w.c().renamePath->text(), Lower(w.tree.dir / "Other.TXT"));

  w.script.steps.push_back(ChooseFile(""));
  w.Click(w.c().renameFile);
  EXPECT_EQ(w.frame->view().renamePath, "");
  EXPECT_EQ(w.c().renamePath->text(), "");

  // Set Base Path: the executable's folder, also when the file does not exist yet.
  // The form follows it at once: a base without those organizations says so and shows none.
  const fixture::TempDir other;
  w.script.steps.push_back(ChooseFile(other / kSimulationExecutable, &request));
  w.script.steps.push_back(Answer(QMessageBox::Ok));  // the target org.dat is not there
  w.script.steps.push_back(Answer(QMessageBox::Ok));  // nor the source's
  w.frame->action(layout::command::kSetBasePath)->trigger();
  EXPECT_EQ(request.directory, base);
  EXPECT_EQ(request.proposedName, kSimulationExecutable);
  EXPECT_EQ(w.frame->view().targetLocation.BaseDirectory(), other.path());
  EXPECT_EQ(w.frame->view().sourceLocation.BaseDirectory(), other.path());
  EXPECT_EQ(w.c().targetOrgPath->text(), "");
  EXPECT_EQ(w.c().targetList->count(), 0);
  EXPECT_TRUE(w.script.done());
}

// Team names come from the simulation's files, in Windows-1252 whatever the locale: é and the
// bytes where Windows-1252 differs from Latin-1 (€, Œ) show as such, as in the preview.
TEST(GuiLists, TeamNamesAreWindows1252) {
  CTovarinForm form;
  ListBoxModel model;
  model.rows.push_back({"Montr\xE9" "al \x80\x8C"});
  form.ShowLists(model, model);
  EXPECT_EQ(form.controls().targetList->item(0)->text(), QString::fromUtf8("Montréal €Œ"));
  EXPECT_EQ(form.controls().sourceList->item(0)->text(), QString::fromUtf8("Montréal €Œ"));
}

}  // namespace
}  // namespace tovarin::gui::test
