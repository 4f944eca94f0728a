// The main window: the form's layout and texts, the title and the document shortcuts, the
// menus' prompts, the status bar, the tab order, About and Help, and closing.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTreeWidget>

#include "gui/about_dialog.h"
#include "gui/preview_dialog.h"
#include "gui/rename_check_dialog.h"
#include "tovarin_version.h"
#include "gui_fixture.h"

namespace tovarin::gui::test {
namespace {

QString Text(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

TEST(GuiLayout, ControlsTextsAndPlacesInDialogUnits) {
  GuiWindow w;
  w.Start();
  const CTovarinForm& form = w.frame->form();
  const DialogUnits& u = form.units();
  EXPECT_EQ(form.size(), QSize(u.X(391), u.Y(261)));
  struct Control {
    QWidget* widget;
    QString text;
    QRect units;
  };
  const auto& c = w.c();
  const std::vector<Control> controls = {
      {c.organizationFrame, "", {9, 9, 295, 130}},
      {c.targetOrganization, "&Target Organization", {19, 24, 85, 15}},
      {c.targetOrgPath, "", {109, 24, 187, 15}},
      {c.sourceOrganization, "&Source Organization", {19, 54, 85, 15}},
      {c.sourceOrgPath, "", {109, 54, 187, 15}},
      {c.renameFile, "R&ename File", {19, 84, 85, 15}},
      {c.renamePath, "", {109, 84, 187, 15}},
      {c.useFarm, "Use Source F&arm Organization", {19, 109, 120, 15}},
      {c.buttonFrame, "", {309, 9, 70, 130}},
      {c.build, "&Build", {314, 18, 60, 14}},
      {c.match, "&Match", {314, 39, 60, 14}},
      {c.unmatch, "&Un Match", {314, 58, 60, 14}},
      {c.reset, "&Reset", {315, 95, 60, 14}},
      {c.cancel, "&Cancel", {315, 115, 60, 14}},
      {c.listFrame, "", {9, 138, 370, 112}},
      {c.targetHeading, "Target Organization", {14, 149, 235, 14}},
      {c.targetLabel, "", {14, 164, 130, 14}},
      {c.sourceTeamHeading, "Source Team", {144, 164, 105, 14}},
      {c.targetList, "", {14, 178, 235, 65}},
      {c.sourceHeading, "Source Organization", {254, 149, 119, 14}},
      {c.sourceLabel, "", {254, 164, 119, 14}},
      {c.sourceList, "", {254, 178, 119, 65}},
  };
  for (const Control& control : controls) {
    const QRect expected =
        u.Rect(control.units.x(), control.units.y(), control.units.width(),
               control.units.height());
    const QRect actual = control.widget->geometry();
    SCOPED_TRACE(Std(control.text) + " at " + std::to_string(control.units.x()) + "," +
                 std::to_string(control.units.y()));
    EXPECT_EQ(Text(control.widget), control.text);
    EXPECT_EQ(actual.topLeft(), expected.topLeft());
    if (auto* list = qobject_cast<ListBox*>(control.widget)) {
      // Whole rows only: the list shrinks to the last row that fits.
      const int row = list->fontMetrics().height() + 1;
      const int inside = actual.height() - 2 * list->frameWidth();
      EXPECT_EQ(inside % row, 0);
      EXPECT_LE(actual.height(), expected.height());
      EXPECT_GT(actual.height() + row, expected.height());
    } else {
      EXPECT_EQ(actual.height(), expected.height());
    }
    // Only the checkbox may be wider than designed, to show its whole text.
    if (control.widget == c.useFarm) {
      EXPECT_GE(actual.width(), expected.width());
    } else {
      EXPECT_EQ(actual.width(), expected.width());
    }
    EXPECT_TRUE(control.widget->isEnabled());
  }
  // Build is the default button; the focused push button, if any, takes the outline.
  auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
  EXPECT_TRUE((focused ? focused : c.build)->isDefault());
  for (QLabel* heading : {c.targetHeading, c.sourceTeamHeading, c.sourceHeading}) {
    EXPECT_EQ(heading->frameShadow(), QFrame::Sunken);
  }
  for (QLineEdit* edit : {c.targetLabel, c.sourceLabel}) EXPECT_TRUE(edit->isReadOnly());
}

// Where the `part`-th tab-separated part of `row` is drawn, in the list box's own coordinates;
// -1 when the row has no such part.
int PartX(const ListBox& list, int row, int part) {
  const QListWidgetItem* it = list.item(row);
  if (!it || part < 0) return -1;
  const std::vector<RowPart> parts = LayOutRow(it->text(), list.fontMetrics(), list.tabStops());
  if (static_cast<std::size_t>(part) >= parts.size()) return -1;
  const QRect rect = list.visualItemRect(it);
  return list.viewport()->mapTo(&list, rect.topLeft()).x() + TabbedRowDelegate::kTextMargin +
         parts[static_cast<std::size_t>(part)].x;
}

TEST(GuiLayout, SecondColumnStartsUnderSourceTeamHeading) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  const auto& c = w.c();
  ASSERT_EQ(c.targetList->count(), 3);
  const QPoint part(PartX(*c.targetList, 0, 1), 0);
  const int column = c.targetList->mapTo(&w.frame->form(), part).x();
  const int heading = c.sourceTeamHeading->geometry().left();
  EXPECT_GE(column, heading);
  EXPECT_LE(column, heading + w.frame->form().units().X(6));
  EXPECT_EQ(PartX(*c.targetList, 2, 1), -1) << "an unpaired team has one column";
  EXPECT_TRUE(c.sourceList->tabStops().empty());
}

// The sides of `list` whose frame line is not drawn, as its parent shows it: from just outside
// each edge, halfway along it, inwards to the list's face, no pixel of another colour than the
// face and what lies outside.
std::vector<std::string> EdgesNotDrawn(const QAbstractScrollArea& list) {
  const QImage image = list.parentWidget()->grab().toImage();
  const qreal ratio = image.devicePixelRatio();
  const QRect at = list.geometry();
  const QRgb face = list.viewport()->palette().color(QPalette::Base).rgb();
  const int left = static_cast<int>(at.left() * ratio) - 2;
  const int right = static_cast<int>((at.right() + 1) * ratio) + 1;
  const int top = static_cast<int>(at.top() * ratio) - 2;
  const int bottom = static_cast<int>((at.bottom() + 1) * ratio) + 1;
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  const struct {
    const char* side;
    QPoint from, step;
  } sides[] = {{"left", {left, midY}, {1, 0}},
               {"right", {right, midY}, {-1, 0}},
               {"top", {midX, top}, {0, 1}},
               {"bottom", {midX, bottom}, {0, -1}}};
  std::vector<std::string> missing;
  for (const auto& side : sides) {
    bool line = false;
    QPoint pixel = side.from;
    for (int i = 0; i < 8 && image.pixel(pixel) != face; ++i, pixel += side.step) {
      line = line || image.pixel(pixel) != image.pixel(side.from);
    }
    if (!line) missing.push_back(side.side);
  }
  return missing;
}

// Every list keeps its frame lines at every scale (125% and 150% lost their sides): the form's
// two, Check Rename File's and Preview Build's. Run at 1.25, 1.5 and 2 too.
TEST(GuiLayout, ListFramesDrawnAtEveryScale) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  EXPECT_EQ(EdgesNotDrawn(*w.c().targetList), std::vector<std::string>{});
  EXPECT_EQ(EdgesNotDrawn(*w.c().sourceList), std::vector<std::string>{});
  const std::vector<std::string> dialogs;
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& check = dynamic_cast<CRenameCheckDlg&>(dialog);
    EXPECT_EQ(EdgesNotDrawn(*check.rows()), dialogs);
  });
  w.script.steps.push_back([&](QDialog& dialog) {
    auto& preview = dynamic_cast<CPreviewDlg&>(dialog);
    EXPECT_EQ(EdgesNotDrawn(*preview.teams()), dialogs);
    EXPECT_EQ(EdgesNotDrawn(*preview.dropped()), dialogs);
  });
  w.frame->action(layout::command::kCheckRenameFile)->trigger();
  w.frame->action(layout::command::kPreviewBuild)->trigger();
  EXPECT_TRUE(w.script.done());
}

// Every text whole in the pane that shows it: each menu item's prompt and the idle text in the
// status bar's message pane, each line of Check Rename File (a rename file with long names and
// the longest problems) in the pane under its rows. Run at scales 1, 1.25, 1.5 and 2 too.
TEST(GuiLayout, EveryTextFitsItsPane) {
  GuiWindow w;
  w.StoreSetup();
  const std::string longName(30, 'q');
  sim::WriteBytes(w.tree.dir / "renames.txt",
                  fixture::BuildTree::Text(std::string(49, 'a') + ",Fox,John,Fox,\r\n" +
                                           "Jon,Fox,John,Fox\r\nJon,Fox,John,Fox,\r\n" +
                                           longName + "," + longName + "," + longName + "," +
                                           longName + ",\r\nC3,,Sam,Park,\r\n" +
                                           "C3,,Sam,Park,\r\nJon,Fox,J\xf6hnathan,Foxworthy,\r\n"));
  w.Start();
  CMainFrame& f = *w.frame;
  struct Row {
    std::string what;
    QString text;
    const QWidget* pane;
  };
  std::vector<Row> rows;
  for (const layout::Menu& menu : layout::MainMenu()) {
    for (const layout::MenuItem& item : menu.items) {
      if (item.command != layout::kSeparator) {
        rows.push_back({item.text, QString::fromLatin1(item.prompt), f.statusBar()});
      }
    }
  }
  rows.push_back({"idle", f.idleMessage()->text(), f.statusBar()});
  // The message pane ends where the first indicator begins.
  const int messagePane = f.indicators()[0]->geometry().left() - 4;

  w.script.steps.push_back([&](QDialog& dialog) {
    auto& check = dynamic_cast<CRenameCheckDlg&>(dialog);
    for (int i = 0; i < check.rows()->count(); ++i) {
      rows.push_back({"check line " + std::to_string(i), check.rows()->item(i)->text(),
                      check.line()});
    }
    EXPECT_GE(rows.size(), 20u) << "the records and their problems";
    for (const Row& row : rows) {
      SCOPED_TRACE(row.what + ": " + Std(row.text));
      if (row.pane == f.statusBar()) {
        EXPECT_LE(f.statusBar()->fontMetrics().horizontalAdvance(row.text), messagePane);
      } else {
        check.line()->setText(row.text);
        EXPECT_LE(check.line()->heightForWidth(check.line()->width()), check.line()->height());
      }
    }
  });
  f.action(layout::command::kCheckRenameFile)->trigger();
  EXPECT_TRUE(w.script.done());
}

TEST(GuiWindowFrame, FixedSizeMenusAndTitle) {
  GuiWindow w;
  w.Start();
  CMainFrame& f = *w.frame;
  EXPECT_EQ(f.windowTitle(), "Untitled - Tovarin");
  EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "no sizing border";
  EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_GE(f.centralWidget()->height(), f.form().height());

  QStringList menus;
  for (QAction* menu : f.menuBar()->actions()) {
    QStringList items;
    for (QAction* item : menu->menu()->actions()) {
      items << (item->isSeparator() ? QString("-") : item->text());
    }
    menus << menu->text() + ": " + items.join(" | ");
  }
  EXPECT_EQ(menus, (QStringList{
                       "&File: Set &Base Path | - | &Preview Build... | Check Rena&me File... | Save &Current Setup | &Restore Build... | - "
                       "| E&xit",
                       "&View: &Status Bar",
                       "&Help: &Help Topics\tF1 | - | &About Tovarin...",
                   }));
  EXPECT_TRUE(f.action(layout::command::kStatusBar)->isCheckable());
}

// Ctrl+S names the document through a save dialog and writes it empty; Ctrl+O takes another
// file's name; Ctrl+N goes back to Untitled. Each of the last two re-reads the settings.
TEST(GuiWindowFrame, DocumentShortcutsAndTitle) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  w.Activate();
  CMainFrame& f = *w.frame;

  FileRequest request;
  const std::string saved = w.tree.dir / "league.tov";
  w.script.steps.push_back(ChooseFile(saved, &request));
  QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(request.mode, QFileDialog::AcceptSave);
  EXPECT_EQ(request.proposedName, "Untitled");
  EXPECT_TRUE(fixture::FileExists(saved));
  EXPECT_EQ(fixture::ReadFileText(saved).rfind("Tovarin setup 1\n", 0), 0u);
  EXPECT_EQ(f.windowTitle(), "league.tov - Tovarin");

  // A second save goes to the same file without asking.
  QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(f.windowTitle(), "league.tov - Tovarin");

  w.Click(w.c().reset);
  ASSERT_EQ(w.c().sourceList->count(), 2);
  // A file that is not a setup is refused, and the form keeps what it had.
  std::string refused;
  w.script.steps.push_back(ChooseFile(w.tree.dir / "renames.txt"));
  w.script.steps.push_back(Answer(QMessageBox::Ok, &refused));
  QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(refused, "The file " + w.tree.dir / "renames.txt" +
                         " is not a Tovarin setup, so nothing was opened.");
  EXPECT_EQ(f.windowTitle(), "league.tov - Tovarin");
  EXPECT_EQ(w.c().sourceList->count(), 2);

  w.Click(w.c().useFarm);
  QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(f.windowTitle(), "Untitled - Tovarin");
  EXPECT_TRUE(w.c().useFarm->isChecked()) << "the stored option is read again";
  EXPECT_TRUE(w.script.done());
}

TEST(GuiStatusBar, PromptsWhileAMenuItemIsHighlighted) {
  GuiWindow w;
  w.Start();
  CMainFrame& f = *w.frame;
  QStatusBar* bar = f.statusBar();
  EXPECT_TRUE(f.idleMessage()->isVisible());
  EXPECT_EQ(f.idleMessage()->text(), "For Help, press F1");
  QStringList indicators;
  for (QLabel* label : f.indicators()) indicators << label->text();
  EXPECT_EQ(indicators, (QStringList{"CAP", "NUM", "SCRL"}));

  w.Activate();
  namespace c = layout::command;
  const std::vector<std::pair<QAction*, QString>> prompts = {
      {f.action(c::kSetBasePath), "Select Your Grandstand base directory"},
      {f.action(c::kSaveSetup), "Saves file information into the settings file"},
      {f.action(c::kRestoreBuild), ""},
      {f.action(c::kPreviewBuild), ""},
      {f.action(c::kExit), "Exits the program"},
      {f.action(c::kStatusBar), "Show or hide the status bar"},
      {f.action(c::kHelpTopics), ""},
      {f.action(c::kAbout), ""},
  };
  for (const auto& [action, prompt] : prompts) {
    SCOPED_TRACE(Std(action->text()));
    // Open the item's menu from the menu bar and highlight the item, as the mouse would.
    QMenu* menu = nullptr;
    for (QAction* title : f.menuBar()->actions()) {
      if (title->menu()->actions().contains(action)) menu = title->menu();
    }
    ASSERT_NE(menu, nullptr);
    f.menuBar()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(menu->isVisible());
    menu->setActiveAction(action);
    if (!prompt.isEmpty()) {
      EXPECT_EQ(bar->currentMessage(), prompt);
    }
    EXPECT_FALSE(bar->currentMessage().isEmpty()) << "every menu item has a prompt";
    EXPECT_FALSE(f.idleMessage()->isVisible());
    // Leaving the menu takes the prompt away; the idle text returns.
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::keyClick(f.menuBar(), Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(bar->currentMessage(), "");
    EXPECT_TRUE(f.idleMessage()->isVisible());
  }

  f.action(c::kStatusBar)->trigger();
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(f.action(c::kStatusBar)->isChecked());
  f.action(c::kStatusBar)->trigger();
  EXPECT_TRUE(bar->isVisible());
}

TEST(GuiTabOrder, TabVisitsTheControlsInOrder) {
  GuiWindow w;
  w.StoreSetup();
  w.Start();
  w.Activate();
  const auto& c = w.c();
  const std::vector<QWidget*> expected = {
      c.targetOrganization, c.sourceOrganization, c.renameFile, c.useFarm, c.targetList,
      c.sourceList,         c.build,              c.match,      c.unmatch, c.reset,
      c.cancel,             c.targetOrganization};
  c.targetOrganization->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), c.targetOrganization);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected[i])
        << "after " << i << " Tab(s): " << Std(QApplication::focusWidget()->objectName());
  }
}

TEST(GuiAboutAndHelp, AboutBoxAndHelpWindow) {
  GuiWindow w;
  w.Start();
  w.Activate();
  QStringList texts;
  bool hasIcon = false;
  w.script.steps.push_back([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "About Tovarin");
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (!label->pixmap().isNull()) hasIcon = true;
      if (!label->text().isEmpty()) texts << label->text();
    }
    auto& about = dynamic_cast<CAboutDlg&>(dialog);
    EXPECT_EQ(about.okButton()->text(), "OK");
    QTest::mouseClick(about.okButton(), Qt::LeftButton);
  });
  w.frame->action(layout::command::kAbout)->trigger();
  EXPECT_TRUE(w.script.done());
  EXPECT_TRUE(hasIcon);
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(texts[0], QStringLiteral("Tovarin Version " TOVARIN_VERSION));

  for (const QKeySequence& key :
       {QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)}) {
    if (w.frame->helpWindow()) w.frame->helpWindow()->close();
    w.Activate();
    QTest::keySequence(w.frame.get(), key);
    ASSERT_NE(w.frame->helpWindow(), nullptr) << Std(key.toString());
    EXPECT_TRUE(w.frame->helpWindow()->isVisible()) << Std(key.toString());
  }
  w.frame->helpWindow()->close();
  w.frame->action(layout::command::kHelpTopics)->trigger();
  EXPECT_TRUE(w.frame->helpWindow()->isVisible());
  auto* text = w.frame->helpWindow()->findChild<QTextBrowser*>();
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->toPlainText().contains("Un Match")) << "the help text is built in";
}

// Exit, the form's Cancel and the close box end the program without saving what changed.
TEST(GuiClose, EveryWayOutSavesNothing) {
  const std::vector<std::pair<const char*, std::function<void(GuiWindow&)>>> ways = {
      {"Exit", [](GuiWindow& w) { w.frame->action(layout::command::kExit)->trigger(); }},
      {"Cancel", [](GuiWindow& w) { w.Click(w.c().cancel); }},
      {"close box", [](GuiWindow& w) { w.frame->close(); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    GuiWindow w;
    w.StoreSetup();
    w.Start();
    w.Click(w.c().useFarm);
    w.script.steps.push_back([](QDialog& dialog) { dialog.reject(); });
    w.Click(w.c().targetOrganization);  // cancelled: the target side is given up
    close(w);
    EXPECT_FALSE(w.frame->isVisible());
    EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kUseFarm), 1);
    EXPECT_EQ(w.Stored(settings::kFile, settings::kTgtOrg), "ORG00001");
    EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kThreeLetters), std::nullopt);
  }
}

}  // namespace
}  // namespace tovarin::gui::test

namespace tovarin::gui::test {
namespace {

// An exception that a command lets through is told to the user, and the window goes on.
TEST(GuiErrors, AnExceptionFromACommandIsShownNotFatal) {
  struct Throwing : QObject {
    bool event(QEvent*) override { throw std::runtime_error("the disk caught fire"); }
  } throwing;
  UnexpectedErrors().clear();
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  EXPECT_EQ(UnexpectedErrors(),
            (std::vector<std::string>{"The command could not be completed:\nthe disk caught fire"}));
}

}  // namespace
}  // namespace tovarin::gui::test
