#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/settings_store.h"
#include "shell/frame_commands.h"
#include "shell/tovarin_view.h"
#include "shell/view_interfaces.h"
#include "win32/controls.h"
#include "win32/form_view.h"

namespace tovarin::win32 {

// The main window: menu, keyboard shortcuts, status bar and the form, with the dialogs that the
// form's commands ask for. It has no sizing border; it is as large as the form needs.
class MainFrame : public ViewDialogs, public FrameWindow {
 public:
  MainFrame(platform::SettingsStore& settings, HINSTANCE instance);
  ~MainFrame() override;
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // Creates the window, its form and status bar, runs the document's first initial update
  // and shows the window. False when a window cannot be created.
  bool Create(int showCommand);
  // Runs the messages of the thread until the window is gone.
  int Run();

  HWND handle() const { return window_; }
  HWND form() const { return form_.handle(); }
  HWND statusBar() const { return statusBar_.handle(); }
  CTovarinView& view() { return view_; }

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
  void Close() override { DestroyWindow(window_); }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnCommand(int command);
  void OnActivate(bool active);
  void OnMenuSelect(int item, UINT flags, HMENU menu);
  void UpdateIndicators();
  void FitToForm();
  HWND Owner() const;
  enum class FileDialog { kOpen, kSave, kCreate };
  std::optional<std::string> AskFileName(FileDialog kind, const std::string& initialFile,
                                         const std::string& defaultExtension,
                                         const layout::FilePicker* picker = nullptr);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HWND focused_ = nullptr;  // the form's control that had the focus when the window was left
  StatusBar statusBar_;
  FormView form_;
  CTovarinView view_;
  FrameCommands commands_;
};

// Registers the main window's class and the common controls; once per process.
bool RegisterMainFrameClass(HINSTANCE instance);

}  // namespace tovarin::win32
