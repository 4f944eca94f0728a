#pragma once

#include <windows.h>

#include "shell/rename_check_model.h"

namespace tovarin::win32 {

// Control ids of the Check Rename File dialog.
namespace rename_check_id {
inline constexpr int kFile = 1200;
inline constexpr int kSummary = 1201;
inline constexpr int kRows = 1202;  // a list box: each record, then its problems
}  // namespace rename_check_id

// Check Rename File: what a Build does with each record of the rename file and what is wrong with
// it, drawn from the shell's RenameCheckModel as the Qt window draws it.
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
