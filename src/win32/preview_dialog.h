#pragma once

#include <windows.h>

#include <commctrl.h>  // needs windows.h first

#include <utility>
#include <vector>

#include "shell/preview.h"
#include "transfer/review.h"
#include "win32/controls.h"

namespace tovarin {
class CTovarinView;
}

namespace tovarin::win32 {

// Control ids of the Preview Build dialog.
namespace preview_id {
inline constexpr int kCounts = 1100;
inline constexpr int kTeams = 1101;    // a list box: each team's heading, then its players
inline constexpr int kDropped = 1102;  // a list view: player, source team, best candidate
inline constexpr int kAdd = 1103;
inline constexpr int kRefresh = 1104;
inline constexpr int kTeamsLabel = 1105;
inline constexpr int kDroppedLabel = 1106;
}  // namespace preview_id

// Preview Build: what a Build on the form's setup would carry and drop, and the likely players
// for the dropped ones, which "Add to Rename File" writes into the rename file. It draws the
// shell's PreviewModel, as the Qt window does, and writes nothing else.
class PreviewDialog {
 public:
  explicit PreviewDialog(CTovarinView& view) : view_(view) {}
  void Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  // The lists grow with the dialog, half its new height each; the buttons keep to its foot.
  void OnSize();
  void FitCandidateColumn() const;
  // Runs the review again and draws it.
  void Refresh();
  void ShowDropped();
  void AddToRenameFile();
  // Only a row whose candidate can go into the rename file has a checkbox to tick.
  bool AllowChange(const NMLISTVIEW& change) const;

  CTovarinView& view_;
  HWND dialog_ = nullptr;
  SIZE initial_{};                  // the client size as built, also the smallest
  std::vector<std::pair<HWND, RECT>> placed_;  // each control where the template put it
  Review review_;
  PreviewModel model_;
};

}  // namespace tovarin::win32
