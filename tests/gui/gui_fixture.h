#pragma once

// The real main window over the real settings store (kept under the test process's own
// XDG_CONFIG_HOME), on a small simulation tree, with a script that plays the user on every
// modal dialog the window opens.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/list_box.h"
#include "gui/main_frame.h"
#include "gui/org_dialog.h"
#include "gui/tovarin_form.h"
#include "settings/qt_settings_store.h"
#include "shell/menu_layout.h"
#include "shell/settings.h"
#include "support/build_tree.h"

// Readable failure messages for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tovarin::gui::test {

using Step = std::function<void(QDialog&)>;

// What the test program's application object was given to show for exceptions that reached it.
inline std::vector<std::string>& UnexpectedErrors() {
  static std::vector<std::string> errors;
  return errors;
}

// Plays the queued steps on the dialogs in the order they open. A dialog that nobody expected
// fails the test and is cancelled.
struct DialogScript {
  std::deque<Step> steps;
  std::vector<QString> titles;  // of every dialog shown, in order

  void operator()(QDialog& dialog) {
    titles.push_back(dialog.windowTitle());
    if (steps.empty()) {
      ADD_FAILURE() << "unexpected dialog \"" << dialog.windowTitle().toStdString() << "\"";
      return;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
  }
  bool done() const { return steps.empty(); }
};

inline std::string Std(const QString& text) { return text.toLocal8Bit().toStdString(); }

// A message box: checks its caption, icon and buttons, records its text, presses `button`.
// Tovarin's own information comes with the information icon, all else with the warning icon.
inline Step Answer(QMessageBox::StandardButton button, std::string* text = nullptr,
                   QMessageBox::Icon icon = QMessageBox::Warning) {
  return [=](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr) << "not a message box: " << Std(dialog.windowTitle());
    EXPECT_EQ(box->windowTitle(), "Tovarin");
    EXPECT_EQ(box->icon(), icon);
    if (text) *text = Std(box->text());
    ASSERT_NE(box->button(button), nullptr);
    QTest::mouseClick(box->button(button), Qt::LeftButton);
  };
}

// A file dialog: records its directory and name filters, then chooses `path` (Cancel when
// empty).
struct FileRequest {
  QString directory;
  QStringList nameFilters;
  QString proposedName;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};
inline Step ChooseFile(const std::string& path, FileRequest* request = nullptr) {
  return [=](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr) << "not a file dialog: " << Std(dialog.windowTitle());
    if (request) {
      request->directory = files->directory().absolutePath();
      request->nameFilters = files->nameFilters();
      request->mode = files->acceptMode();
      const QStringList selected = files->selectedFiles();
      request->proposedName = selected.isEmpty() ? QString() : QFileInfo(selected[0]).fileName();
    }
    if (path.empty()) {
      files->reject();
      return;
    }
    files->selectFile(QString::fromLocal8Bit(path));
    auto* buttons = files->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(files->acceptMode() == QFileDialog::AcceptSave
                                              ? QDialogButtonBox::Save
                                              : QDialogButtonBox::Open);
    ASSERT_NE(accept, nullptr);
    QTest::mouseClick(accept, Qt::LeftButton);
  };
}

// Chooses the entry `text` of a drop-down list as a user does: opens it, moves to the entry
// and confirms it with Enter (also when it is the entry already shown).
inline void ChooseEntry(QComboBox& list, const QString& text) {
  const int index = list.findText(text, Qt::MatchExactly);
  ASSERT_GE(index, 0) << "no entry " << Std(text);
  list.showPopup();
  QAbstractItemView* view = list.view();
  view->setCurrentIndex(view->model()->index(index, list.modelColumn()));
  QTest::keyClick(view, Qt::Key_Return);
  if (view->isVisible()) list.hidePopup();
}

inline QStringList Entries(const QComboBox& list) {
  QStringList entries;
  for (int i = 0; i < list.count(); ++i) entries << list.itemText(i);
  return entries;
}

inline QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

// The Identify Organization dialog: chooses the data disk (when given) and the organization,
// then presses OK.
inline Step PickOrganization(const QString& dataDisk, const QString& organization) {
  return [=](QDialog& dialog) {
    auto* picker = qobject_cast<CIdentifyOrgDlg*>(&dialog);
    ASSERT_NE(picker, nullptr) << "not the organization dialog";
    if (!dataDisk.isEmpty()) ChooseEntry(*picker->dataDiskList(), dataDisk);
    ChooseEntry(*picker->organizationList(), organization);
    QTest::mouseClick(picker->okButton(), Qt::LeftButton);
  };
}

// A window on a BuildTree (source SRC.WDD/ORG00001 with teams C1, C2; target LEAGUE.WDD/ORG00001
// with C1 to C3; C1 and C2 pair by name).
class GuiWindow {
 public:
  GuiWindow() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
              settings::kApplication)
        .clear();
    // Backups of this window's Builds only, also when the tests share one process.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(tree.dir.MakeDir("data")));
  }
  ~GuiWindow() {
    if (frame) frame->close();
  }

  // Stores the whole setup of the tree, as a completed Build would have left it.
  void StoreSetup(bool useFarm = true) { tree.StoreSetup(store, useFarm); }

  void Start() {
    store.Commit(nullptr);  // what the test stored, as a window before this one would have
    // The script plays the user on each dialog; one it leaves open is cancelled.
    frame = std::make_unique<CMainFrame>(store, [this](QDialog& dialog) {
      script(dialog);
      if (dialog.isVisible()) dialog.reject();
      return dialog.result();
    });
    frame->StartUp();
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  }

  // Makes the window the active one, so that its shortcuts and the focus work.
  void Activate() {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  }

  const CTovarinForm::Controls& c() const { return frame->form().controls(); }
  void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void ClickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  void DoubleClickRow(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    // A double-click reaches a list as a press, a release and then the double-click itself.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  std::optional<std::string> Stored(const char* section, const char* name) {
    return store.ReadString(section, name);
  }

  fixture::BuildTree tree;
  QtSettingsStore store;
  DialogScript script;
  std::unique_ptr<CMainFrame> frame;
};

}  // namespace tovarin::gui::test
