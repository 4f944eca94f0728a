#pragma once

#include <windows.h>

#include "shell/rename_check_model.h"

namespace tovarin::win32 {

// Check Rename File: what a Build does with each record of the rename file and what is wrong with
// it: the shell's RenameCheckModel, drawn from the dialog's table.
class RenameCheckDialog {
 public:
  explicit RenameCheckDialog(const RenameCheckModel& model) : model_(model) {}
  void Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);

  const RenameCheckModel& model_;
};

}  // namespace tovarin::win32
