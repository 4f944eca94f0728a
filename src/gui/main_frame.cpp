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

#ifdef _WIN32
#include <windows.h>
#endif

#include "gui/about_dialog.h"
#include "gui/org_dialog.h"
#include "gui/tovarin_form.h"
#include "platform/dialog_units.h"
#include "shell/org_location.h"

namespace tovarin::gui {
namespace {

const QString kApplicationTitle = QStringLiteral("Tovarin");

enum class LockKey { kCaps, kNum, kScroll };

// Whether a lock key is on; nothing where the platform does not tell (Qt has no portable way,
// and X11 would need its keyboard extension for three small lights).
std::optional<bool> LockKeyOn(LockKey key) {
#ifdef _WIN32
  const int code = key == LockKey::kCaps  ? VK_CAPITAL
                   : key == LockKey::kNum ? VK_NUMLOCK
                                          : VK_SCROLL;
  return (GetKeyState(code) & 1) != 0;
#else
  (void)key;
  return std::nullopt;
#endif
}

QString FromLocal(const std::string& text) { return QString::fromLocal8Bit(text); }
std::string ToLocal(const QString& text) { return text.toLocal8Bit().toStdString(); }

bool HasWildcard(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

CMainFrame::CMainFrame(platform::SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent),
      form_(new CTovarinForm(this)),
      view_(settings, *this, *form_, platform::HorizontalDialogBaseUnit()) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(AppIcon());
  setCentralWidget(form_);
  form_->Attach(view_);
  connect(form_, &CTovarinForm::closeRequested, this, &QWidget::close);

  CreateMenus();
  CreateStatusBar();
  UpdateTitle();

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

void CMainFrame::CreateMenus() {
  auto item = [this](QMenu* menu, const char* text, const char* prompt) {
    auto* action = new QAction(QString::fromLatin1(text), this);
    action->setStatusTip(QString::fromLatin1(prompt));
    if (menu) menu->addAction(action);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  actions_.setBasePath = item(file, "Set &Base Path", "Select Your Grandstand base directory");
  file->addSeparator();
  actions_.saveSetup =
      item(file, "Save &Current Setup", "Saves file information into system registry");
  actions_.restoreLastBuild = item(file, "&Restore Last Build...",
                                   "Puts back the target rosters that the last Build replaced");
  file->addSeparator();
  actions_.exit = item(file, "E&xit", "Exits the program");

  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  actions_.statusBar = item(viewMenu, "&Status Bar", "Show or hide the status bar");
  actions_.statusBar->setCheckable(true);
  actions_.statusBar->setChecked(true);

  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  actions_.helpTopics = item(helpMenu, "&Help Topics", "Explain how to use the Tovarin form");
  helpMenu->addSeparator();
  actions_.about = item(helpMenu, "&About Tovarin...", "Show the program's version and credits");

  // Keyboard-only commands: they belong to the window, not to a menu.
  auto key = [this, &item](QList<QKeySequence> keys) {
    QAction* action = item(nullptr, "", "");
    action->setShortcuts(keys);
    addAction(action);
    return action;
  };
  actions_.fileNew = key({QKeySequence(Qt::CTRL | Qt::Key_N)});
  actions_.fileOpen = key({QKeySequence(Qt::CTRL | Qt::Key_O)});
  actions_.fileSave = key({QKeySequence(Qt::CTRL | Qt::Key_S)});
  actions_.help = key({QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)});

  connect(actions_.setBasePath, &QAction::triggered, this, [this] { view_.SetBasePath(); });
  connect(actions_.saveSetup, &QAction::triggered, this, [this] { view_.SaveSettings(); });
  connect(actions_.restoreLastBuild, &QAction::triggered, this,
          [this] { view_.OnRestoreLastBuild(); });
  connect(actions_.exit, &QAction::triggered, this, &QWidget::close);
  connect(actions_.statusBar, &QAction::toggled, this,
          [this](bool on) { statusBar()->setVisible(on); });
  connect(actions_.helpTopics, &QAction::triggered, this, &CMainFrame::OnHelp);
  connect(actions_.about, &QAction::triggered, this, &CMainFrame::OnAbout);
  connect(actions_.fileNew, &QAction::triggered, this, &CMainFrame::OnFileNew);
  connect(actions_.fileOpen, &QAction::triggered, this, &CMainFrame::OnFileOpen);
  connect(actions_.fileSave, &QAction::triggered, this, &CMainFrame::OnFileSave);
  connect(actions_.help, &QAction::triggered, this, &CMainFrame::OnHelp);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  // A menu prompt covers the idle text while it is shown; the idle text returns after it.
  idle_ = new QLabel(QStringLiteral("For Help, press F1"), bar);
  bar->addWidget(idle_, 1);
  auto indicator = [bar](const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), bar);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
    bar->addPermanentWidget(label);
    return label;
  };
  caps_ = indicator("CAP");
  num_ = indicator("NUM");
  scroll_ = indicator("SCRL");
  UpdateIndicators();
}

void CMainFrame::UpdateIndicators() {
  caps_->setEnabled(LockKeyOn(LockKey::kCaps).value_or(false));
  num_->setEnabled(LockKeyOn(LockKey::kNum).value_or(false));
  scroll_->setEnabled(LockKeyOn(LockKey::kScroll).value_or(false));
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

void CMainFrame::UpdateTitle() {
  setWindowTitle(doc_.title() + QStringLiteral(" - ") + kApplicationTitle);
}

void CMainFrame::StartUp() { OnFileNew(); }

void CMainFrame::OnFileNew() {
  doc_.New();
  UpdateTitle();
  view_.OnInitialUpdate();
}

void CMainFrame::OnFileOpen() {
  QFileDialog dialog(this, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("All Files (*)"));
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // The document reads nothing: the file only names it.
  doc_.SetPathName(dialog.selectedFiles().first());
  UpdateTitle();
  view_.OnInitialUpdate();
}

void CMainFrame::OnFileSave() {
  QString path = doc_.pathName();
  if (path.isEmpty()) {
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("All Files (*)"));
    dialog.selectFile(doc_.title());
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path = dialog.selectedFiles().first();
  }
  if (!doc_.Save(path)) {
    ShowMessage("Failed to save document.", MessageKind::kError);
    return;
  }
  UpdateTitle();
}

void CMainFrame::OnHelp() {
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

void CMainFrame::OnAbout() {
  CAboutDlg about(this);
  RunModal(about);
}

int CMainFrame::RunModal(QDialog& dialog) {
  if (!modalHook_) return dialog.exec();
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  modalHook_(dialog);
  if (dialog.isVisible()) dialog.reject();
  return dialog.result();
}

void CMainFrame::ShowMessage(const std::string& text, MessageKind /*kind*/) {
  QMessageBox box(QMessageBox::Warning, kApplicationTitle, FromLocal(text), QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  RunModal(box);
}

bool CMainFrame::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, kApplicationTitle, FromLocal(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  RunModal(box);
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

std::optional<std::string> CMainFrame::ChooseFile(const std::string& initialFile,
                                                  const std::string& defaultExtension) {
  QFileDialog dialog(this, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // the chosen file does not have to exist
  dialog.setDefaultSuffix(FromLocal(defaultExtension));

  // The initial file is a directory and a name, or a pattern such as "*.txt" that the list
  // shows alone.
  const QString initial = FromLocal(initialFile);
  const QFileInfo info(initial);
  dialog.setDirectory(info.path());
  if (HasWildcard(info.fileName())) {
    dialog.setNameFilter(info.fileName());
  } else {
    dialog.setNameFilter(QStringLiteral("All Files (*)"));
    dialog.selectFile(info.fileName());
  }
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return ToLocal(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

bool CMainFrame::IdentifyOrganization(OrgLocation& location) {
  OrgPicker picker(location);
  CIdentifyOrgDlg dialog(picker, this);
  return RunModal(dialog) == QDialog::Accepted;
}

}  // namespace tovarin::gui
