#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/settings_store.h"
#include "shell/tovarin_doc.h"
#include "shell/tovarin_view.h"
#include "shell/view_interfaces.h"

class QAction;
class QDialog;
class QLabel;

namespace tovarin::gui {

class CTovarinForm;

// The main window: menu, shortcuts, status bar and the form, with the dialogs that the form's
// commands ask for. It cannot be resized; it is as large as the form needs.
class CMainFrame : public QMainWindow, public ViewDialogs {
  Q_OBJECT
 public:
  explicit CMainFrame(platform::SettingsStore& settings, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The document's first initial update: settings, team lists, controls. Run before showing.
  void StartUp();

  // Every modal dialog (message boxes, file dialogs, Identify Organization, About) goes to
  // `hook` instead of its own event loop: the dialog is shown, the hook plays the user on it,
  // and a dialog the hook leaves open is cancelled. Without a hook the dialogs run as usual.
  using ModalHook = std::function<void(QDialog&)>;
  void SetModalHook(ModalHook hook) { modalHook_ = std::move(hook); }

  CTovarinForm& form() { return *form_; }
  CTovarinView& view() { return view_; }
  const CTovarinDoc& document() const { return doc_; }
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
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseFile(const std::string& initialFile,
                                        const std::string& defaultExtension) override;
  bool IdentifyOrganization(OrgLocation& location) override;

  // A command of the menu or the keyboard, by its id.
  void OnCommand(int command);
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnHelp();
  void OnAbout();
  void OnPreviewBuild();
  void OnCheckRenameFile();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateStatusBar();
  int RunModal(QDialog& dialog);
  void UpdateTitle();
  void UpdateIndicators();

  CTovarinDoc doc_;
  CTovarinForm* form_;
  CTovarinView view_;
  ModalHook modalHook_;
  std::map<int, QAction*> actions_;
  QLabel* idle_ = nullptr;
  QLabel* caps_ = nullptr;
  QLabel* num_ = nullptr;
  QLabel* scroll_ = nullptr;
  QWidget* help_ = nullptr;
};

}  // namespace tovarin::gui
