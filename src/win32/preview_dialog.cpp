#include "win32/preview_dialog.h"

#include <commctrl.h>

#include <array>

#include "platform/native_path.h"
#include "shell/sim_text.h"
#include "shell/tovarin_view.h"
#include "win32/dialogs.h"

namespace tovarin::win32 {
namespace {

using K = layout::ControlKind;
namespace id = preview_id;

// The Qt dialog's size and order, in the dialog units of the form's font.
constexpr std::array<layout::DialogControl, 8> kPreview = {{
    {id::kCounts, K::kText, "", {7, 7, 406, 42}, 0},  // five lines
    {id::kTeamsLabel, K::kText, "Target teams and the players each would receive",
     {7, 52, 406, 8}, 0},
    {id::kTeams, K::kListBox, "", {7, 62, 406, 104}, 1},
    {id::kDroppedLabel, K::kText, "Dropped players and their best candidates", {7, 172, 406, 8},
     0},
    {id::kDropped, K::kCheckList, "", {7, 182, 406, 92}, 2},
    {id::kAdd, K::kButton, "&Add to Rename File", {7, 279, 80, 14}, 3},
    {id::kRefresh, K::kButton, "&Refresh", {92, 279, 50, 14}, 4},
    {layout::id::kOk, K::kDefaultButton, "Close", {363, 279, 50, 14}, 5},
}};

const layout::DialogLayout& PreviewLayout() {
  static const layout::DialogLayout dialog{0,        "Preview Build", 420, 300,
                                           "MS Sans Serif", 8,        kPreview};
  return dialog;
}

// How a control follows the dialog's size: the share of the new width and height it moves by,
// and the share it grows by, in halves.
struct Anchor {
  int id, moveX, moveY, growX, growY;
};
constexpr Anchor kAnchors[] = {
    {id::kCounts, 0, 0, 2, 0},       {id::kTeamsLabel, 0, 0, 2, 0},
    {id::kTeams, 0, 0, 2, 1},        {id::kDroppedLabel, 0, 1, 2, 0},
    {id::kDropped, 0, 1, 2, 1},      {id::kAdd, 0, 2, 0, 0},
    {id::kRefresh, 0, 2, 0, 0},      {layout::id::kOk, 2, 2, 0, 0},
};

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

// A cell of names, which are Windows-1252.
// A row is inserted with its first cell, and carries `param`.
void SetCell(HWND list, int row, int column, const std::string& names, bool insert,
             LPARAM param = 0) {
  std::wstring wide = platform::Widen(DisplayText(names));
  LVITEMW item{};
  item.mask = LVIF_TEXT | (insert ? LVIF_PARAM : 0);
  item.lParam = param;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, insert ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void PreviewDialog::Run(HWND owner) {
  RunModal(PreviewLayout(), owner, *this, DialogTemplate::kModal | WS_THICKFRAME);
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
      if (dialog_ && initial_.cx > 0) {
        RECT frame{0, 0, initial_.cx, initial_.cy};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      }
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case id::kAdd: AddToRenameFile(); return TRUE;
        case id::kRefresh: Refresh(); return TRUE;
        case IDOK:
        case IDCANCEL: EndDialog(dialog, IDOK); return TRUE;
        default: return FALSE;
      }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != id::kDropped || header->code != LVN_ITEMCHANGING) return FALSE;
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
  RECT client{};
  GetClientRect(dialog, &client);
  initial_ = {client.right, client.bottom};
  for (const Anchor& anchor : kAnchors) {
    HWND control = GetDlgItem(dialog, anchor.id);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({control, rect});
  }
  HWND dropped = GetDlgItem(dialog, id::kDropped);
  SendMessageW(dropped, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const std::pair<const wchar_t*, int> columns[] = {
      {L"Dropped player", 120}, {L"Source team", 100}, {L"Best candidate", 170}};
  int index = 0;
  for (const auto& [title, width] : columns) {
    RECT units{0, 0, width, 0};
    MapDialogRect(dialog, &units);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = units.right;
    SendMessageW(dropped, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                 reinterpret_cast<LPARAM>(&column));
  }
  Refresh();
}

void PreviewDialog::Refresh() {
  review_ = view_.ReviewBuild();
  model_ = review_.ok ? MakePreview(review_) : PreviewModel();
  std::string counts = review_.error;
  for (const std::string& line : model_.counts) counts += (counts.empty() ? "" : "\n") + line;
  Control(dialog_, id::kCounts).SetText(counts);

  ListBoxModel teams;
  for (const PreviewModel::Team& team : model_.teams) {
    teams.rows.push_back({team.heading});
    for (const std::string& player : team.players) teams.rows.push_back({"    " + player});
  }
  ListBox(dialog_, id::kTeams).Show(teams);
  ShowDropped();
}

void PreviewDialog::ShowDropped() {
  HWND list = GetDlgItem(dialog_, id::kDropped);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  bool checkable = false;
  for (std::size_t i = 0; i < model_.dropped.size(); ++i) {
    const PreviewModel::Dropped& row = model_.dropped[i];
    const int at = static_cast<int>(i);
    SetCell(list, at, 0, row.player, true, row.sourcePlayer);
    SetCell(list, at, 1, row.team, false);
    SetCell(list, at, 2, row.candidate, false);
    if (!row.acceptable) SetStateImage(list, at, 0);
    checkable = checkable || row.acceptable;
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  FitCandidateColumn();
  EnableWindow(GetDlgItem(dialog_, id::kAdd), checkable);
}

void PreviewDialog::OnSize() {
  if (placed_.empty()) return;
  RECT client{};
  GetClientRect(dialog_, &client);
  const int dx = client.right - initial_.cx, dy = client.bottom - initial_.cy;
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const Anchor& anchor = kAnchors[i];
    const RECT& at = placed_[i].second;
    SetWindowPos(placed_[i].first, nullptr, at.left + dx * anchor.moveX / 2,
                 at.top + dy * anchor.moveY / 2,
                 at.right - at.left + dx * anchor.growX / 2,
                 at.bottom - at.top + dy * anchor.growY / 2, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitCandidateColumn();
  InvalidateRect(dialog_, nullptr, TRUE);
}

// The candidate column shows its whole text: as wide as its longest cell, or as the room left.
void PreviewDialog::FitCandidateColumn() const {
  HWND list = GetDlgItem(dialog_, id::kDropped);
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
  return StateImage(change.uNewState) == 0 || row >= model_.dropped.size() ||
         model_.dropped[row].acceptable;
}

void PreviewDialog::AddToRenameFile() {
  HWND list = GetDlgItem(dialog_, id::kDropped);
  std::vector<int> players;
  for (int row = 0; row < static_cast<int>(model_.dropped.size()); ++row) {
    const auto state =
        static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                       LVIS_STATEIMAGEMASK));
    if (StateImage(state) != 2) continue;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    players.push_back(static_cast<int>(item.lParam));
  }
  if (players.empty()) return;
  // The checked players are carried now: the refreshed review shows them on their teams.
  if (view_.AddToRenameFile(review_, players)) Refresh();
}

}  // namespace tovarin::win32
