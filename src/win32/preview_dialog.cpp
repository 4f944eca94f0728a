#include "win32/preview_dialog.h"

#include <commctrl.h>

#include <array>

#include "pairing/list_box.h"
#include "platform/native_path.h"
#include "shell/sim_text.h"
#include "shell/form_layout.h"
#include "win32/controls.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {
namespace {

namespace id = layout::id;

constexpr int kStateImageShift = 12;  // of LVIS_STATEIMAGEMASK: 0 none, 1 unticked, 2 ticked

int StateImage(UINT state) {
  return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> kStateImageShift);
}

void SetStateImage(HWND list, int row, int image) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = static_cast<UINT>(image) << kStateImageShift;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A cell of names, which are Windows-1252. A row is inserted with its first cell.
void SetCell(HWND list, int row, int column, const std::string& names, bool insert) {
  std::wstring wide = platform::Widen(DisplayText(names));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, insert ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void PreviewDialog::Run(HWND owner) {
  RunModal(layout::PreviewBuildDialog(), owner, *this, DialogTemplate::kModal | WS_THICKFRAME);
}

INT_PTR PreviewDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_SIZE:
      OnSize();
      return TRUE;
    case WM_GETMINMAXINFO:
      anchors_.Limit(*reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case id::kPreviewAdd: AddToRenameFile(); return TRUE;
        case id::kPreviewRefresh:
          preview_.Refresh();
          Show();
          return TRUE;
        default: return EndOnClose(dialog, wParam);
      }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != id::kPreviewDropped || header->code != LVN_ITEMCHANGING) return FALSE;
      const bool refused = !AllowChange(*reinterpret_cast<const NMLISTVIEW*>(lParam));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, refused);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void PreviewDialog::OnInit(HWND dialog) {
  dialog_ = dialog;
  CenterOnOwner(dialog);
  anchors_.Place(dialog, layout::PreviewResizing());
  HWND dropped = GetDlgItem(dialog, id::kPreviewDropped);
  SendMessageW(dropped, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  InsertColumns(dialog, dropped, layout::PreviewColumns());
  Show();
}

void PreviewDialog::Show() {
  Control(dialog_, id::kPreviewCounts).SetText(preview_.CountsText());
  ListBoxModel teams;
  for (std::string& row : preview_.TeamRows()) teams.rows.push_back({std::move(row)});
  ListBox(dialog_, id::kPreviewTeams).Show(teams);
  ShowDropped();
}

void PreviewDialog::ShowDropped() {
  HWND list = GetDlgItem(dialog_, id::kPreviewDropped);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const std::vector<PreviewModel::Dropped>& dropped = preview_.model().dropped;
  for (std::size_t i = 0; i < dropped.size(); ++i) {
    const int at = static_cast<int>(i);
    SetCell(list, at, 0, dropped[i].player, true);
    SetCell(list, at, 1, dropped[i].team, false);
    SetCell(list, at, 2, dropped[i].candidate, false);
    if (!dropped[i].acceptable) SetStateImage(list, at, 0);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  FitCandidateColumn();
  EnableWindow(GetDlgItem(dialog_, id::kPreviewAdd), preview_.AnyAcceptable());
}

void PreviewDialog::OnSize() {
  anchors_.Follow();
  if (dialog_) FitCandidateColumn();
}

// The candidate column shows its whole text: as wide as its longest cell, or as the room left.
void PreviewDialog::FitCandidateColumn() const {
  HWND list = GetDlgItem(dialog_, id::kPreviewDropped);
  constexpr int kCandidate = 2;
  SendMessageW(list, LVM_SETCOLUMNWIDTH, kCandidate, LVSCW_AUTOSIZE);
  const LRESULT content = SendMessageW(list, LVM_GETCOLUMNWIDTH, kCandidate, 0);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, kCandidate, LVSCW_AUTOSIZE_USEHEADER);
  const LRESULT room = SendMessageW(list, LVM_GETCOLUMNWIDTH, kCandidate, 0);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, kCandidate, content > room ? content : room);
}

bool PreviewDialog::AllowChange(const NMLISTVIEW& change) const {
  if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return true;
  if (StateImage(change.uNewState) == StateImage(change.uOldState)) return true;
  const auto row = static_cast<std::size_t>(change.iItem);
  const std::vector<PreviewModel::Dropped>& dropped = preview_.model().dropped;
  return StateImage(change.uNewState) == 0 || row >= dropped.size() || dropped[row].acceptable;
}

void PreviewDialog::AddToRenameFile() {
  HWND list = GetDlgItem(dialog_, id::kPreviewDropped);
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < preview_.model().dropped.size(); ++row) {
    const auto state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    if (StateImage(state) == 2) rows.push_back(row);
  }
  if (preview_.AddToRenameFile(rows)) Show();
}

}  // namespace tovarin::win32
