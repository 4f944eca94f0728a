#include "win32/form_view.h"

#include "shell/form_layout.h"
#include "shell/tovarin_view.h"
#include "win32/dialog_template.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

bool FormView::Create(HWND parent) {
  const DialogTemplate form(layout::Form(), DialogTemplate::kChild);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  return CreateDialogIndirectParamW(instance, form.get(), parent, DialogProcedure<FormView>,
                                    reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR FormView::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return FALSE;  // the frame gives the focus
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_SIZE:
      resized_();
      return FALSE;
    default:
      return FALSE;
  }
}

void FormView::OnInit(HWND dialog) {
  namespace id = layout::id;
  dialog_ = dialog;
  targetOrgPath_ = Edit(dialog, id::kTargetOrgPath);
  sourceOrgPath_ = Edit(dialog, id::kSourceOrgPath);
  renamePath_ = Edit(dialog, id::kRenamePath);
  targetLabel_ = Edit(dialog, id::kTargetLabel);
  sourceLabel_ = Edit(dialog, id::kSourceLabel);
  useFarm_ = CheckBox(dialog, id::kUseFarm);
  targetList_ = ListBox(dialog, id::kTargetList);
  sourceList_ = ListBox(dialog, id::kSourceList);
  tips_.Create(dialog);
  // The dialog manager moves the default outline to a push button that takes the focus, and
  // back to this one when the focus leaves it; without being told, it would leave it behind.
  SendMessageW(dialog, DM_SETDEFID, id::kBuild, 0);
  defaultButton_ = id::kBuild;
}

void FormView::FollowFocus() {
  if (!dialog_) return;
  const HWND focus = GetFocus();
  int wanted = layout::id::kBuild;
  if (focus && GetParent(focus) == dialog_ &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    wanted = GetDlgCtrlID(focus);
  }
  const bool outlined =
      SendMessageW(GetDlgItem(dialog_, wanted), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON;
  if (wanted == defaultButton_ && outlined) return;
  // Every other push button loses the outline, whoever gave it one.
  for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != GetDlgItem(dialog_, wanted) &&
        (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
      SendMessageW(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
  }
  SendMessageW(GetDlgItem(dialog_, wanted), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SendMessageW(dialog_, DM_SETDEFID, static_cast<WPARAM>(wanted), 0);
  defaultButton_ = wanted;
}

void FormView::ShowPath(const Edit& edit, const std::string& path) const {
  edit.Show(path);
  tips_.Set(edit.handle(), path);
}

void FormView::ShowLists(const ListBoxModel& target, const ListBoxModel& source) {
  targetList_.Show(target);
  sourceList_.Show(source);
}

void FormView::TakeSelections() {
  if (!view_) return;
  view_->teamLists.targetList().selected = targetList_.Selection();
  view_->teamLists.sourceList().selected = sourceList_.Selection();
}

void FormView::OnCommand(int id, int code) {
  if (!view_) return;
  TakeSelections();
  switch (id) {
    case layout::id::kTargetList:
      if (code == LBN_DBLCLK) view_->OnDblclkTargetList();
      return;
    case layout::id::kSourceList:
      if (code == LBN_DBLCLK) view_->OnDblclkSourceList();
      return;
    case layout::id::kClose:
      close_();
      return;
    default:
      // Enter and Escape give IDOK and IDCANCEL, which are no commands of the form.
      if (code == BN_CLICKED) view_->OnCommand(id);
      return;
  }
}

}  // namespace tovarin::win32
