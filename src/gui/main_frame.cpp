#include "gui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/about_dialog.h"
#include "gui/control_names.h"
#include "gui/org_dialog.h"
#include "gui/path_text.h"
#include "gui/preview_dialog.h"
#include "gui/restore_dialog.h"
#include "gui/rename_check_dialog.h"
#include "gui/tovarin_form.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/org_location.h"

namespace tovarin::gui {
namespace {

const QString kApplicationTitle = QString::fromLatin1(layout::kApplicationTitle);

bool HasWildcard(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

CMainFrame::CMainFrame(platform::SettingsStore& settings, ModalRunner runModal, QWidget* parent)
    : QMainWindow(parent),
      runModal_(std::move(runModal)),
      form_(new CTovarinForm(this)),
      view_(settings, *this, *form_, layout::SourceTeamColumn()),
      commands_(view_, *this, *this) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(AppIcon());
  setCentralWidget(form_);
  form_->Attach(view_);
  connect(form_, &CTovarinForm::closeRequested, this, &QWidget::close);

  CreateMenus();
  CreateStatusBar();
  SetTitle(document().windowTitle());

  // No sizing border: the window keeps the size that fits the form, menu and status bar.
  ensurePolished();
  setFixedSize(sizeHint());
  qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  // The form's controls call into the view: they go first, while the view is still there.
  delete form_;
}

namespace {

QKeySequence KeyOf(const layout::Shortcut& shortcut) {
  QKeyCombination key = shortcut.letter != 0
                            ? QKeyCombination(Qt::Key(Qt::Key_A + (shortcut.letter - 'A')))
                            : QKeyCombination(Qt::Key(Qt::Key_F1 + (shortcut.functionKey - 1)));
  Qt::KeyboardModifiers modifiers;
  if (shortcut.control) modifiers |= Qt::ControlModifier;
  if (shortcut.shift) modifiers |= Qt::ShiftModifier;
  return QKeySequence(QKeyCombination(modifiers, key.key()));
}

}  // namespace

void CMainFrame::CreateMenus() {
  for (const layout::Menu& menu : layout::MainMenu()) {
    QMenu* bar = menuBar()->addMenu(QString::fromLatin1(menu.title));
    for (const layout::MenuItem& item : menu.items) {
      if (item.command == layout::kSeparator) {
        bar->addSeparator();
        continue;
      }
      // A menu shows what follows a tab as the item's key.
      QString text = QString::fromLatin1(item.text);
      if (*layout::MenuKey(item.command)) text += '\t' + QString::fromLatin1(layout::MenuKey(item.command));
      auto* action = new QAction(text, this);
      action->setStatusTip(QString::fromLatin1(item.prompt));
      action->setCheckable(item.checkable);
      action->setChecked(item.checkable);
      bar->addAction(action);
      actions_[item.command] = action;
    }
  }
  // Keyboard-only commands belong to the window; a key of a menu command goes to its item.
  for (const layout::Shortcut& shortcut : layout::Shortcuts()) {
    QAction*& action = actions_[shortcut.command];
    if (!action) {
      action = new QAction(this);
      addAction(action);
    }
    action->setShortcuts(action->shortcuts() << KeyOf(shortcut));
  }
  for (const auto& [command, action] : actions_) {
    connect(action, &QAction::triggered, this, [this, command = command] { OnCommand(command); });
  }
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  // A menu prompt covers the idle text while it is shown; the idle text returns after it.
  idle_ = new QLabel(QString::fromLatin1(layout::kIdleMessage), bar);
  bar->addWidget(idle_, 1);
  auto indicator = [bar](const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), bar);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
    bar->addPermanentWidget(label);
    return label;
  };
  caps_ = indicator(layout::kCapsIndicator);
  num_ = indicator(layout::kNumIndicator);
  scroll_ = indicator(layout::kScrollIndicator);
  UpdateIndicators();
}

void CMainFrame::UpdateIndicators() {
  const std::vector<QLabel*> labels = indicators();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    labels[i]->setEnabled(platform::LockKeyOn(layout::kIndicators[i].key).value_or(false));
  }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    UpdateIndicators();
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) UpdateIndicators();
  QMainWindow::changeEvent(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Nothing is saved and nothing is asked: the document is never modified.
  if (help_) help_->close();
  event->accept();
}

void CMainFrame::SetTitle(const std::string& title) { setWindowTitle(PathText(title)); }

void CMainFrame::StartUp() { commands_.StartUp(); }

void CMainFrame::ShowStatusBar(bool show) {
  actions_.at(layout::command::kStatusBar)->setChecked(show);
  statusBar()->setVisible(show);
}

std::optional<std::string> CMainFrame::ChooseDocument(DocumentDialog kind,
                                                      const std::string& name) {
  const bool save = kind == DocumentDialog::kSave;
  QFileDialog dialog(this, save ? QStringLiteral("Save As") : QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("All Files (*)"));
  if (!name.empty()) dialog.selectFile(PathText(name));
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return PathBytes(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void CMainFrame::ShowHelp() {
  if (!help_) {
    auto* window = new QDialog(this);
    window->setWindowTitle(QStringLiteral("Tovarin Help"));
    window->setModal(false);
    auto* text = new QTextBrowser(window);
    text->setOpenLinks(false);
    text->setSource(QUrl(QStringLiteral("qrc:/help.html")));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    window->resize(form_->width() * 3 / 4, form_->height());
    help_ = window;
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void CMainFrame::ShowPreview(PreviewSession& preview) {
  CPreviewDlg dialog(preview, this);
  RunModal(dialog);
}

void CMainFrame::ShowRenameCheck(const RenameCheckModel& model) {
  CRenameCheckDlg check(model, this);
  RunModal(check);
}

void CMainFrame::ShowAbout() {
  CAboutDlg about(this);
  RunModal(about);
}

int CMainFrame::RunModal(QDialog& dialog) {
  if (!runModal_) return dialog.exec();
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  return runModal_(dialog);
}

void CMainFrame::ShowMessage(const std::string& text, MessageKind kind) {
  QMessageBox box(kind == MessageKind::kInformation ? QMessageBox::Information : QMessageBox::Warning,
                  kApplicationTitle, PathText(text), QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  RunModal(box);
}

bool CMainFrame::AskYesNo(const std::string& text, Default answer) {
  return Ask(QMessageBox::Warning, text, QMessageBox::Yes, QMessageBox::No,
             answer == Default::kNo);
}

bool CMainFrame::AskOkCancel(const std::string& text) {
  return Ask(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Cancel, false);
}

bool CMainFrame::Ask(QMessageBox::Icon icon, const std::string& text,
                     QMessageBox::StandardButton yes, QMessageBox::StandardButton no,
                     bool noIsDefault) {
  QMessageBox box(icon, kApplicationTitle, PathText(text), yes | no, this);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(noIsDefault ? no : yes);
  RunModal(box);
  return box.clickedButton() == box.button(yes);
}

std::optional<std::string> CMainFrame::ChooseFile(const std::string& initialFile,
                                                  const std::string& defaultExtension,
                                                  const layout::FilePicker& picker) {
  return AskFileName(false, initialFile, defaultExtension, picker);
}

std::optional<std::string> CMainFrame::ChooseNewFile(const std::string& initialFile,
                                                     const std::string& defaultExtension,
                                                     const layout::FilePicker& picker) {
  return AskFileName(true, initialFile, defaultExtension, picker);
}

std::optional<std::string> CMainFrame::AskFileName(bool create, const std::string& initialFile,
                                                   const std::string& defaultExtension,
                                                   const layout::FilePicker& picker) {
  QFileDialog dialog(this, QString::fromLatin1(picker.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // A file to be created is added to when it exists: nothing asks whether to replace it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, create);
  dialog.setAcceptMode(create ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // the chosen file does not have to exist
  dialog.setDefaultSuffix(PathText(defaultExtension));

  // The initial file is a directory and a name, or a pattern such as "*.txt", which the
  // picker's first file type shows.
  const QString initial = PathText(initialFile);
  const QFileInfo info(initial);
  dialog.setDirectory(info.path());
  dialog.setNameFilters(NameFilters(picker));
  if (!HasWildcard(info.fileName())) dialog.selectFile(info.fileName());
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return PathBytes(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

std::optional<std::size_t> CMainFrame::ChooseBackup(const RestoreModel& backups) {
  CRestoreDlg dialog(backups, this);
  if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
}

bool CMainFrame::IdentifyOrganization(OrgLocation& location, const std::string& title) {
  OrgPicker picker(location);
  CIdentifyOrgDlg dialog(picker, QString::fromLatin1(title), this);
  return RunModal(dialog) == QDialog::Accepted;
}

}  // namespace tovarin::gui
