#pragma once

#include <windows.h>

#include <commctrl.h>  // needs windows.h first

#include <utility>
#include <vector>

#include "shell/preview.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

// Preview Build: draws the shell's PreviewSession from the dialog's table, and hands it the
// ticked rows for "Add to Rename File". It can be resized; its lists grow.
class PreviewDialog {
 public:
  explicit PreviewDialog(PreviewSession& preview) : preview_(preview) {}
  void Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  void OnSize();
  void FitCandidateColumn() const;
  void Show();
  void ShowDropped();
  void AddToRenameFile();
  // Only a row whose candidate can go into the rename file has a checkbox to tick.
  bool AllowChange(const NMLISTVIEW& change) const;

  PreviewSession& preview_;
  HWND dialog_ = nullptr;
  DialogAnchors anchors_;
};

}  // namespace tovarin::win32
