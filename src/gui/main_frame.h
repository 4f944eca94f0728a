#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/settings_store.h"
#include "shell/frame_commands.h"
#include "shell/tovarin_view.h"
#include "shell/view_interfaces.h"

class QAction;
class QDialog;
class QLabel;

namespace tovarin::gui {

class CTovarinForm;

// The main window: menu, shortcuts, status bar and the form, with the dialogs that the form's
// commands ask for. It cannot be resized; it is as large as the form needs.
class CMainFrame : public QMainWindow, public ViewDialogs, public FrameWindow {
  Q_OBJECT
 public:
  // Every modal dialog (message boxes, file dialogs, Identify Organization, About, Preview) is
  // run by `runModal`, given the dialog already shown; it returns the dialog's result. Without
  // one, each runs its own event loop as usual. A test plays the user there.
  using ModalRunner = std::function<int(QDialog&)>;
  explicit CMainFrame(platform::SettingsStore& settings, ModalRunner runModal = {},
                      QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The document's first initial update: settings, team lists, controls. Run before showing.
  void StartUp();

  CTovarinForm& form() { return *form_; }
  CTovarinView& view() { return view_; }
  const CTovarinDoc& document() const { return commands_.document(); }
  // The action of a menu item or a shortcut, by its command; null for no such command.
  QAction* action(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
  }
  // The message pane's idle text and the CAP, NUM and SCRL indicators.
  QLabel* idleMessage() const { return idle_; }
  std::vector<QLabel*> indicators() const { return {caps_, num_, scroll_}; }
  // The help window, once it has been asked for.
  QWidget* helpWindow() const { return help_; }

  void ShowMessage(const std::string& text, MessageKind kind) override;
  bool AskYesNo(const std::string& text, Default answer) override;
  bool AskOkCancel(const std::string& text) override;
  std::optional<std::string> ChooseFile(const std::string& initialFile,
                                        const std::string& defaultExtension,
                                        const layout::FilePicker& picker) override;
  std::optional<std::string> ChooseNewFile(const std::string& initialFile,
                                           const std::string& defaultExtension,
                                           const layout::FilePicker& picker) override;
  bool IdentifyOrganization(OrgLocation& location, const std::string& title) override;
  std::optional<std::size_t> ChooseBackup(const RestoreModel& backups) override;

  void SetTitle(const std::string& title) override;
  void ShowStatusBar(bool show) override;
  void ShowHelp() override;
  void ShowAbout() override;
  void ShowPreview(PreviewSession& preview) override;
  void ShowRenameCheck(const RenameCheckModel& model) override;
  std::optional<std::string> ChooseDocument(DocumentDialog kind,
                                            const std::string& name) override;
  void Close() override { close(); }

  // A command of the menu or the keyboard, by its id.
  void OnCommand(int command) { commands_.OnCommand(command); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateStatusBar();
  int RunModal(QDialog& dialog);
  // A question with the buttons `yes` and `no`, `yes` the default unless `noIsDefault`; true
  // for `yes`.
  bool Ask(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButton yes,
           QMessageBox::StandardButton no, bool noIsDefault);
  std::optional<std::string> AskFileName(bool create, const std::string& initialFile,
                                         const std::string& defaultExtension,
                                         const layout::FilePicker& picker);
  void UpdateIndicators();

  ModalRunner runModal_;
  CTovarinForm* form_;
  CTovarinView view_;
  FrameCommands commands_;
  std::map<int, QAction*> actions_;
  QLabel* idle_ = nullptr;
  QLabel* caps_ = nullptr;
  QLabel* num_ = nullptr;
  QLabel* scroll_ = nullptr;
  QWidget* help_ = nullptr;
};

}  // namespace tovarin::gui
