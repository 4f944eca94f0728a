#pragma once

#include <windows.h>

#include "shell/rename_check_model.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

// Check Rename File: what a Build does with each record of the rename file and what is wrong with
// it: the shell's RenameCheckModel, drawn from the dialog's table. It can be resized; the rows
// scroll sideways, and the selected one is shown whole under them.
class RenameCheckDialog {
 public:
  explicit RenameCheckDialog(const RenameCheckModel& model) : model_(model) {}
  void Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  void ShowLine(HWND dialog) const;

  const RenameCheckModel& model_;
  DialogAnchors anchors_;
};

}  // namespace tovarin::win32
