// What a screen reader hears of the window and its dialogs, and what a keyboard user sees of the
// focus.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QTreeWidget>
#include <set>

#include "gui/preview_dialog.h"
#include "gui/rename_check_dialog.h"
#include "gui/restore_dialog.h"
#include "gui_fixture.h"
#include "support/fixture.h"

namespace tovarin::gui::test {
namespace {

// The controls under `root` that a user can act on and a screen reader would have no name for,
// each as its role and where it lies.
QStringList Unnamed(QWidget& root) {
  static const std::set<QAccessible::Role> kInteractive = {
      QAccessible::PushButton, QAccessible::CheckBox, QAccessible::ComboBox,
      QAccessible::EditableText, QAccessible::List, QAccessible::Table, QAccessible::Tree};
  static const std::set<QAccessible::Role> kViews = {QAccessible::List, QAccessible::Table,
                                                     QAccessible::Tree};
  QStringList missing;
  std::function<void(QAccessibleInterface*, const QString&)> walk =
      [&](QAccessibleInterface* node, const QString& path) {
        if (!node || node->state().invisible) return;
        // On Linux a drop-down's name is its value, and the label tied to it names it.
        const bool named = node->role() == QAccessible::ComboBox
                               ? !node->relations(QAccessible::Label).isEmpty()
                               : !node->text(QAccessible::Name).trimmed().isEmpty();
        if (kInteractive.count(node->role()) && !named) {
          missing << path + " role " + QString::number(node->role(), 16);
        }
        if (kViews.count(node->role())) return;  // its cells are named by their text
        for (int i = 0; i < node->childCount(); ++i) {
          walk(node->child(i), path + "/" + QString::number(i));
        }
      };
  walk(QAccessible::queryAccessibleInterface(&root), root.windowTitle());
  return missing;
}

QString Name(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// Each interactive control of the form and of every dialog has a name, and the ones without a
// text of their own are named after their heading, label or button; a target row reads as seen;
// file choosers say what they choose; Preview's rows without a candidate are not checkable.
TEST(GuiAccessibility, EveryControlOfEveryWindowHasAName) {
  GuiWindow w;
  fixture::BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
  w.StoreSetup();
  w.Start();
  const auto& c = w.c();
  EXPECT_EQ(Unnamed(*w.frame), QStringList{});
  EXPECT_EQ(Name(c.targetOrgPath), "Target Organization path");
  EXPECT_EQ(Name(c.renamePath), "Rename File path");
  EXPECT_EQ(Name(c.sourceLabel), "Source Organization team count");
  EXPECT_EQ(Name(c.targetList), "Target Organization teams");
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(c.targetList);
  ASSERT_EQ(list->childCount(), 3);
  EXPECT_EQ(list->child(0)->text(QAccessible::Name),
            "City 1 (AL E), source team C1 (AL E)");
  EXPECT_EQ(list->child(2)->text(QAccessible::Name), "City 3 (AL E)");  // no partner

  QStringList dialogs;
  auto walkDialog = [&](QDialog& dialog) {
    dialogs << dialog.windowTitle();
    EXPECT_EQ(Unnamed(dialog), QStringList{}) << Std(dialog.windowTitle());
  };
  std::vector<QAccessible::State> cells;
  w.script.steps.push_back([&](QDialog& dialog) {
    walkDialog(dialog);
    auto& preview = dynamic_cast<CPreviewDlg&>(dialog);
    EXPECT_EQ(Name(preview.dropped()), "Dropped players and their best candidates");
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(preview.dropped());
    for (int row = 0; row < preview.dropped()->topLevelItemCount(); ++row) {
      cells.push_back(table->tableInterface()->cellAt(row, 0)->state());
    }
    dialog.reject();
  });
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  ASSERT_EQ(cells.size(), 2u);  // Jon Fox has a candidate, Tim Gray none
  EXPECT_TRUE(cells[0].checkable);
  EXPECT_FALSE(cells[1].checkable);

  w.script.steps.push_back([&](QDialog& dialog) { walkDialog(dialog); dialog.reject(); });
  w.frame->action(layout::command::kCheckRenameFile)->trigger();

  w.script.steps.push_back(Answer(QMessageBox::Ok));  // the Build is done
  w.Click(c.build);
  w.script.steps.push_back([&](QDialog& dialog) { walkDialog(dialog); dialog.reject(); });
  w.frame->action(layout::command::kRestoreBuild)->trigger();
  w.script.steps.push_back([&](QDialog& dialog) { walkDialog(dialog); dialog.reject(); });
  w.frame->action(layout::command::kAbout)->trigger();

  QStringList comboNames;
  w.script.steps.push_back([&](QDialog& dialog) {
    walkDialog(dialog);
    for (QComboBox* combo : dialog.findChildren<QComboBox*>()) {
      const auto labels =
          QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
      ASSERT_EQ(labels.size(), 1);
      comboNames << combo->accessibleName() + " by " + labels[0].first->text(QAccessible::Name);
    }
    dialog.reject();
  });
  w.Click(c.sourceOrganization);
  EXPECT_EQ(comboNames,
            (QStringList{"Data Disk by Data Disk :", "Organization by Organization :"}));

  FileRequest base, renames;
  w.script.steps.push_back([&](QDialog& dialog) {
    dialogs << dialog.windowTitle();
    ChooseFile("", &base)(dialog);
  });
  w.frame->action(layout::command::kSetBasePath)->trigger();
  w.script.steps.push_back([&](QDialog& dialog) {
    dialogs << dialog.windowTitle();
    ChooseFile("", &renames)(dialog);
  });
  w.Click(c.renameFile);
  EXPECT_TRUE(w.script.done());
  EXPECT_EQ(dialogs, (QStringList{"Preview Build", "Check Rename File", "Restore Build",
                                  "About Tovarin", "Identify Source Organization",
                                  "Choose gstnd32.exe", "Choose Rename File"}));
  EXPECT_EQ(base.nameFilters, (QStringList{"Grandstand (gstnd32.exe)", "All files (*)"}));
  EXPECT_EQ(renames.nameFilters, (QStringList{"Text files (*.txt)", "All files (*)"}));
}

QImage Drawn(QWidget* widget) { return widget->grab().toImage(); }

// The focused control is drawn otherwise than the same control without the focus: the team
// lists and the buttons Enter presses (Build, OK, Close). A list that takes the focus with no
// row selected selects its first.
TEST(GuiFocus, TheFocusedControlIsDrawnApart) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  w.Activate();
  const auto& c = w.c();
  c.targetList->setCurrentRow(0);
  w.Click(c.unmatch);  // the source list has a row then
  for (ListBox* list : {c.targetList, c.sourceList}) {
    list->setCurrentRow(0);
    c.useFarm->setFocus();
    const QImage without = Drawn(list);
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    EXPECT_NE(Drawn(list), without) << Std(list->accessibleName());
  }
  c.useFarm->setFocus();  // Build stays the default button, outlined
  const QImage build = Drawn(c.build);
  c.build->setFocus();
  EXPECT_NE(Drawn(c.build), build);

  c.targetList->setCurrentRow(-1);
  ASSERT_EQ(w.frame->view().teamLists.targetList().selected, -1);
  c.useFarm->setFocus();
  QTest::keyClick(c.useFarm, Qt::Key_Tab);
  ASSERT_TRUE(c.targetList->hasFocus());
  EXPECT_EQ(c.targetList->currentRow(), 0);
  EXPECT_EQ(w.frame->view().teamLists.targetList().selected, 0);

  // The dialogs' buttons that Enter presses: OK in Identify Organization, Close in Preview.
  auto focusDiffers = [](QDialog& dialog, QPushButton* button, QWidget* other) {
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isActiveWindow(); }));
    other->setFocus();
    const QImage without = Drawn(button);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_NE(Drawn(button), without) << Std(button->text());
  };
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& preview = dynamic_cast<CPreviewDlg&>(dialog);
    focusDiffers(preview, preview.closeButton(), preview.teams());
    // Tab to the dropped players, none selected: the first is.
    ASSERT_FALSE(preview.dropped()->selectionModel()->hasSelection());
    preview.teams()->setFocus();
    QTest::keyClick(preview.teams(), Qt::Key_Tab);
    ASSERT_TRUE(preview.dropped()->hasFocus());
    EXPECT_TRUE(preview.dropped()->topLevelItem(0)->isSelected());
    dialog.reject();
  });
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& picker = dynamic_cast<CIdentifyOrgDlg&>(dialog);
    focusDiffers(picker, picker.okButton(), picker.organizationList());
    dialog.reject();
  });
  w.Click(c.targetOrganization);
  EXPECT_TRUE(w.script.done());
}

}  // namespace
}  // namespace tovarin::gui::test
