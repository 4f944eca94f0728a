#include "win32/rename_check_dialog.h"

#include "pairing/list_box.h"
#include "shell/form_layout.h"
#include "win32/controls.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

namespace id = layout::id;

void RenameCheckDialog::Run(HWND owner) { RunModal(layout::RenameCheckDialog(), owner, *this); }

INT_PTR RenameCheckDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
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
  ListBox(dialog, id::kCheckRows).Show(rows);
}

}  // namespace tovarin::win32
