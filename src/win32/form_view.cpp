#include "win32/form_view.h"

#include "shell/form_layout.h"
#include "shell/tovarin_view.h"
#include "win32/dialog_template.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {

bool FormView::Create(HWND parent) {
  const DialogTemplate form(layout::Form(), DialogTemplate::kChild);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  DialogStart<FormView> start{this, &layout::Form()};
  return CreateDialogIndirectParamW(instance, form.get(), parent, DialogProcedure<FormView>,
                                    reinterpret_cast<LPARAM>(&start)) != nullptr;
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
  // "Teams - 30" at the height of the "Source Team" heading beside it, which centres its text.
  for (const Edit& label : {targetLabel_, sourceLabel_}) {
    RECT text{};
    SendMessageW(label.handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    RECT client{};
    GetClientRect(label.handle(), &client);
    HDC context = GetDC(label.handle());
    const HGDIOBJ old =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(label.handle(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, old);
    ReleaseDC(label.handle(), context);
    text.top = (client.bottom - metrics.tmHeight) / 2;
    text.bottom = text.top + metrics.tmHeight;
    SendMessageW(label.handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
  }
  // The dialog manager moves the default outline to a push button that takes the focus, and
  // back to this one when the focus leaves it; without being told, it would leave it behind.
  SendMessageW(dialog, DM_SETDEFID, id::kBuild, 0);
}

void FormView::FollowFocus() {
  if (dialog_) win32::FollowFocus(dialog_, layout::id::kBuild);
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
