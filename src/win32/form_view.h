#pragma once

#include <windows.h>

#include <functional>

#include "shell/view_interfaces.h"
#include "win32/controls.h"

namespace tovarin {
class CTovarinView;
}

namespace tovarin::win32 {

// The form, dialog resource 101, built from the form's table as a child of the main window. It
// only shows what CTovarinView tells it and passes the user's commands on.
class FormView : public FormControls {
 public:
  // `close` ends the program: the form's Cancel button. `resized` follows a change of the
  // form's size, as when the system scales it to another monitor's DPI.
  FormView(std::function<void()> close, std::function<void()> resized)
      : close_(std::move(close)), resized_(std::move(resized)) {}

  bool Create(HWND parent);
  // Routes the controls' commands to `view`, which must outlive the form's use.
  void Attach(CTovarinView& view) { view_ = &view; }
  HWND handle() const { return dialog_; }

  void SetRenamePath(const std::string& text) override { ShowPath(renamePath_, text); }
  void SetSourceOrgPath(const std::string& text) override { ShowPath(sourceOrgPath_, text); }
  void SetTargetOrgPath(const std::string& text) override { ShowPath(targetOrgPath_, text); }
  void SetUseFarm(int checked) override { useFarm_.SetChecked(checked != 0); }
  void SetSourceLabel(const std::string& text) override { sourceLabel_.Show(text); }
  void SetTargetLabel(const std::string& text) override { targetLabel_.Show(text); }
  void ShowLists(const ListBoxModel& target, const ListBoxModel& source) override;

  // Before any command: the view takes the selection from its list models.
  void TakeSelections();

  // Keeps Enter and the default outline on the push button that has the focus, or else on
  // Build (see win32::FollowFocus). Called after every message.
  void FollowFocus();

  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  void OnCommand(int id, int code);
  // A path edit shows its path in lower case and only its beginning: the tooltip has all of it,
  // as spelled.
  void ShowPath(const Edit& edit, const std::string& path) const;

  std::function<void()> close_;
  std::function<void()> resized_;
  CTovarinView* view_ = nullptr;
  HWND dialog_ = nullptr;
  Edit targetOrgPath_, sourceOrgPath_, renamePath_, targetLabel_, sourceLabel_;
  CheckBox useFarm_;
  ListBox targetList_, sourceList_;
  ToolTips tips_;
};

}  // namespace tovarin::win32
