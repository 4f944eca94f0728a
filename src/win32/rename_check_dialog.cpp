#include "win32/rename_check_dialog.h"

#include <array>

#include "pairing/list_box.h"
#include "win32/controls.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {
namespace {

using K = layout::ControlKind;
namespace id = rename_check_id;

// The Qt dialog's size and order, in the dialog units of the form's font.
constexpr std::array<layout::DialogControl, 4> kCheck = {{
    {id::kFile, K::kText, "", {7, 7, 406, 8}, 0},
    {id::kSummary, K::kText, "", {7, 19, 406, 8}, 0},
    {id::kRows, K::kListBox, "", {7, 31, 406, 184}, 1},
    {layout::id::kOk, K::kDefaultButton, "Close", {363, 220, 50, 14}, 2},
}};

const layout::DialogLayout& CheckLayout() {
  static const layout::DialogLayout dialog{0,        "Check Rename File", 420, 240,
                                           "MS Sans Serif", 8,            kCheck};
  return dialog;
}

}  // namespace

void RenameCheckDialog::Run(HWND owner) { RunModal(CheckLayout(), owner, *this); }

INT_PTR RenameCheckDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, IDOK); return TRUE;
        default: return FALSE;
      }
    default:
      return FALSE;
  }
}

void RenameCheckDialog::OnInit(HWND dialog) {
  Control(dialog, id::kFile).SetText(model_.path);
  Control(dialog, id::kSummary).SetText(model_.summary);
  ListBoxModel rows;
  for (const RenameCheckModel::Row& row : model_.rows) rows.rows.push_back({row.text});
  ListBox(dialog, id::kRows).Show(rows);
}

}  // namespace tovarin::win32
