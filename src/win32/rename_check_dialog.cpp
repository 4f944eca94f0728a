#include "win32/rename_check_dialog.h"

#include "pairing/list_box.h"
#include "shell/form_layout.h"
#include "shell/sim_text.h"
#include "win32/controls.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

namespace id = layout::id;

void RenameCheckDialog::Run(HWND owner) {
  RunModal(layout::RenameCheckDialog(), owner, *this, DialogTemplate::kModal | WS_THICKFRAME);
}

INT_PTR RenameCheckDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_SIZE:
      anchors_.Follow();
      return TRUE;
    case WM_GETMINMAXINFO:
      anchors_.Limit(*reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == id::kCheckRows && HIWORD(wParam) == LBN_SELCHANGE) {
        ShowLine(dialog);
        return TRUE;
      }
      return EndOnClose(dialog, wParam);
    default:
      return FALSE;
  }
}

void RenameCheckDialog::OnInit(HWND dialog) {
  CenterOnOwner(dialog);
  Control(dialog, id::kCheckFile).SetText(model_.path);
  Control(dialog, id::kCheckSummary).SetText(model_.summary);
  ListBoxModel rows;
  for (const RenameCheckModel::Row& row : model_.rows) rows.rows.push_back({row.text});
  rows.selected = model_.rows.empty() ? -1 : 0;
  const ListBox list(dialog, id::kCheckRows);
  list.Show(rows);
  list.FitWidth();
  anchors_.Place(dialog, layout::RenameCheckResizing());
  ShowLine(dialog);
}

void RenameCheckDialog::ShowLine(HWND dialog) const {
  const int row = ListBox(dialog, id::kCheckRows).Selection();
  Control(dialog, id::kCheckLine)
      .SetText(row < 0 ? "" : DisplayText(model_.rows[static_cast<std::size_t>(row)].text));
}

}  // namespace tovarin::win32
