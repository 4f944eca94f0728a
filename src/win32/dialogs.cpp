#include "win32/dialogs.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/native_path.h"

#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/org_location.h"
#include "win32/spoken_rows.h"

namespace tovarin::win32 {

namespace {

// The hook of the message box being opened on this thread: it centres the box once, as it is
// activated, and is removed by Message.
thread_local HHOOK centring = nullptr;

LRESULT CALLBACK CentreMessageBox(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = centring;
  if (code == HCBT_ACTIVATE && hook) {
    centring = nullptr;
    UnhookWindowsHookEx(hook);
    CenterOnOwner(reinterpret_cast<HWND>(wParam));
    return 0;
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

// The width of the frame a list gets inside its border, drawn in the highlight colour with the
// border itself while the list has the focus.
constexpr int kFocusFrame = 1;
constexpr UINT_PTR kFocusSubclass = 1;

bool OfClass(HWND control, const wchar_t* className) {
  wchar_t name[32]{};
  GetClassNameW(control, name, 32);
  return lstrcmpiW(name, className) == 0;
}

bool IsListView(HWND control) { return OfClass(control, WC_LISTVIEWW); }
bool IsListBox(HWND control) { return OfClass(control, L"ListBox"); }

// A list that takes the focus with no row selected selects its first, so that the focus is
// seen on a row and the arrow keys start from there.
void SelectFirstRow(HWND list) {
  if (IsListView(list)) {
    if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0 ||
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0) {
      return;
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    return;
  }
  if (SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0 || SendMessageW(list, LB_GETCURSEL, 0, 0) >= 0) {
    return;
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(GetParent(list), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Draws the list's border and the frame inside it: in the highlight colour while it has the
// focus, so that the focus shows more than the focused row's dotted line.
void DrawFocusFrame(HWND list) {
  RECT window{}, client{};
  GetWindowRect(list, &window);
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  const bool focused = GetFocus() == list;
  HDC dc = GetWindowDC(list);
  const HBRUSH inner = GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  RECT frame = client;
  InflateRect(&frame, kFocusFrame, kFocusFrame);
  const RECT bands[] = {{frame.left, frame.top, frame.right, client.top},
                        {frame.left, client.bottom, frame.right, frame.bottom},
                        {frame.left, client.top, client.left, client.bottom},
                        {client.right, client.top, frame.right, client.bottom}};
  for (const RECT& band : bands) FillRect(dc, &band, inner);
  if (focused && (GetWindowLongW(list, GWL_STYLE) & WS_BORDER)) {
    const RECT border{0, 0, window.right - window.left, window.bottom - window.top};
    FrameRect(dc, &border, inner);
  }
  ReleaseDC(list, dc);
}

// `spoken`, when not 0, is the SpokenRowText of the list's rows.
LRESULT CALLBACK MarkFocus(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR spoken) {
  switch (message) {
    case WM_GETOBJECT:
      if (spoken) {
        const LRESULT rows =
            SpokenRowsObject(list, wParam, lParam, reinterpret_cast<SpokenRowText>(spoken));
        if (rows) return rows;
      }
      break;
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : reinterpret_cast<RECT*>(lParam);
      InflateRect(client, -kFocusFrame, -kFocusFrame);
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      DrawFocusFrame(list);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      if (message == WM_SETFOCUS) SelectFirstRow(list);
      RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, MarkFocus, kFocusSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void NameAndMarkControls(HWND dialog, const layout::DialogLayout& layout) {
  for (const layout::ControlName& name : layout::ControlNames(layout)) {
    HWND control = GetDlgItem(dialog, name.id);
    if (!control) continue;
    // Hidden, and without a place in the Tab order: it only names the control after it.
    HWND label = CreateWindowExW(0, L"Static", platform::Widen(name.name).c_str(),
                                 WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout::kNoId)),
                                 InstanceOf(dialog), nullptr);
    HWND before = GetWindow(control, GW_HWNDPREV);
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsListBox(child) && !IsListView(child)) continue;
    // The form's team rows are read as they are seen: the columns in words, no tab.
    SpokenRowText spoken = nullptr;
    if (&layout == &layout::Form() && GetDlgCtrlID(child) == layout::id::kTargetList) {
      spoken = layout::SpokenTargetRow;
    } else if (&layout == &layout::Form() && GetDlgCtrlID(child) == layout::id::kSourceList) {
      spoken = layout::SpokenRow;
    }
    SetWindowSubclass(child, MarkFocus, kFocusSubclass, reinterpret_cast<DWORD_PTR>(spoken));
    SetWindowPos(child, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int Message(HWND owner, const std::string& text, UINT style) {
  if (owner) centring = SetWindowsHookExW(WH_CBT, CentreMessageBox, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner, platform::Widen(text).c_str(),
                                 platform::Widen(layout::kApplicationTitle).c_str(), style);
  if (centring) UnhookWindowsHookEx(centring);
  centring = nullptr;
  return answer;
}

void ShowUnexpectedError(const std::string& what) {
  Message(GetActiveWindow(), layout::kCommandFailed + what, MB_OK | MB_ICONEXCLAMATION);
}

bool EndOnClose(HWND dialog, WPARAM command) {
  if (LOWORD(command) != IDOK && LOWORD(command) != IDCANCEL) return false;
  EndDialog(dialog, IDOK);
  return true;
}

void InsertColumns(HWND dialog, HWND list, std::span<const layout::ListColumn> columns) {
  int index = 0;
  for (const layout::ListColumn& shown : columns) {
    RECT units{0, 0, shown.width, 0};
    MapDialogRect(dialog, &units);
    std::wstring title = platform::Widen(shown.title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = units.right;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                 reinterpret_cast<LPARAM>(&column));
  }
}

void DialogAnchors::Place(HWND dialog, const layout::Resizing& resizing) {
  dialog_ = dialog;
  resizing_ = &resizing;
  RECT client{};
  GetClientRect(dialog, &client);
  opened_ = {client.right, client.bottom};
  // The controls lie in the order of the table, which is the anchors' order too.
  HWND child = GetWindow(dialog, GW_CHILD);
  for (std::size_t i = 0; i < resizing.anchors.size() && child; ++i) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({child, rect});
    child = GetWindow(child, GW_HWNDNEXT);
  }
}

void DialogAnchors::Follow() const {
  if (placed_.empty()) return;
  RECT client{};
  GetClientRect(dialog_, &client);
  const int dx = client.right - opened_.cx, dy = client.bottom - opened_.cy;
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const RECT& at = placed_[i].second;
    const layout::DialogRect now = layout::Anchored(
        {at.left, at.top, at.right - at.left, at.bottom - at.top}, resizing_->anchors[i], dx, dy);
    SetWindowPos(placed_[i].first, nullptr, now.x, now.y, now.width, now.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(dialog_, nullptr, TRUE);
}

void DialogAnchors::Limit(MINMAXINFO& limits) const {
  if (!resizing_) return;
  RECT frame{0, 0, resizing_->minWidth, resizing_->minHeight};
  MapDialogRect(dialog_, &frame);
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)));
  limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

void FollowFocus(HWND dialog, int fallback) {
  const auto pushButton = [](HWND control) {
    return control && (SendMessageW(control, WM_GETDLGCODE, 0, 0) &
                       (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
  };
  const HWND focus = GetFocus();
  const HWND wanted = focus && GetParent(focus) == dialog && pushButton(focus)
                          ? focus
                          : GetDlgItem(dialog, fallback);
  if (!wanted) return;
  const int id = GetDlgCtrlID(wanted);
  const bool outlined = (SendMessageW(wanted, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
  if (outlined && LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id) return;  // as it was
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool outlined = (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    if (child != wanted && outlined) SendMessageW(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (!outlined) SendMessageW(wanted, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

void CenterOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner) return;
  RECT around{}, box{};
  GetWindowRect(owner, &around);
  GetWindowRect(dialog, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  int x = (around.left + around.right - width) / 2;
  int y = (around.top + around.bottom - height) / 2;
  // Wholly on the owner's monitor, its title bar first, even when the owner is at the screen's
  // edge or larger than the work area.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  }
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON AppIcon(HINSTANCE instance) {
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(128));
  return icon ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

bool OrgDialog::Run(HWND owner) {
  return RunModal(layout::IdentifyOrganizationDialog(!picker_.note().empty()), owner, *this) ==
         IDOK;
}

INT_PTR OrgDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case layout::id::kDataDiskList:
          // Also when the entry already shown is chosen again.
          if (HIWORD(wParam) == CBN_SELENDOK) OnDataDiskChosen();
          return TRUE;
        case IDOK: OnOk(); return TRUE;
        case IDCANCEL: OnCancel(); return TRUE;
        default: return FALSE;
      }
    default:
      return FALSE;
  }
}

void OrgDialog::OnInit(HWND dialog) {
  dialog_ = dialog;
  SetWindowTextW(dialog, platform::Widen(title_).c_str());
  CenterOnOwner(dialog);
  dataDisks_ = ComboBox(dialog, layout::id::kDataDiskList);
  organizations_ = ComboBox(dialog, layout::id::kOrganizationList);
  dataDisks_.SetItems(picker_.dataDisks(), picker_.dataDiskSelection());
  ShowOrganizations();
  if (!picker_.note().empty()) {
    SetDlgItemTextW(dialog, layout::id::kOrgNote, platform::Widen(picker_.note()).c_str());
  }
}

void OrgDialog::OnDataDiskChosen() {
  picker_.ChooseDataDisk(dataDisks_.Selection());
  ShowOrganizations();
}

void OrgDialog::ShowOrganizations() {
  organizations_.SetItems(picker_.organizations(), picker_.organizationSelection());
}

void OrgDialog::OnOk() {
  picker_.SelectOrganization(organizations_.Selection());
  picker_.Ok();
  EndDialog(dialog_, IDOK);
}

void OrgDialog::OnCancel() {
  picker_.Cancel();
  EndDialog(dialog_, IDCANCEL);
}

std::optional<std::size_t> RestoreDialog::Run(HWND owner) {
  chosen_.reset();
  RunModal(layout::RestoreBuildDialog(), owner, *this);
  return chosen_;
}

INT_PTR RestoreDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return FALSE;  // the focus was put on the list
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (backups_.CanRestore(Selected())) {
            chosen_ = Selected();
            EndDialog(dialog, IDOK);
          }
          return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != static_cast<UINT_PTR>(layout::id::kBackupList)) return FALSE;
      if (header->code == LVN_ITEMCHANGED) ShowSelection();
      if (header->code == NM_DBLCLK && Selected()) {
        chosen_ = Selected();
        EndDialog(dialog, IDOK);
      }
      return FALSE;  // only watched: the list view's own handling stands
    }
    default:
      return FALSE;
  }
}

void RestoreDialog::OnInit(HWND dialog) {
  dialog_ = dialog;
  CenterOnOwner(dialog);
  HWND list = GetDlgItem(dialog, layout::id::kBackupList);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  InsertColumns(dialog, list, RestoreColumns());
  const std::vector<RestoreRow>& rows = backups_.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (int column = 0; column < 3; ++column) {
      std::wstring text = platform::Widen(rows[i].cells[static_cast<std::size_t>(column)]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.iSubItem = column;
      item.pszText = text.data();
      SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, i,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  // Each column as wide as its widest text or its title, the list scrolling when they all are
  // wider than it.
  for (int column = 0; column < 3; ++column) {
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
    const LRESULT content = SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
    const LRESULT title = SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column, std::max(content, title));
  }
  LVITEMW select{};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, backups_.Preselected(), reinterpret_cast<LPARAM>(&select));
  ShowSelection();
  SetFocus(list);
}

std::optional<std::size_t> RestoreDialog::Selected() const {
  const auto row = static_cast<int>(SendMessageW(GetDlgItem(dialog_, layout::id::kBackupList),
                                                 LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                 LVNI_SELECTED));
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void RestoreDialog::ShowSelection() {
  SetDlgItemTextW(dialog_, layout::id::kBackupDetail,
                  platform::Widen(backups_.Detail(Selected())).c_str());
  EnableWindow(GetDlgItem(dialog_, IDOK), backups_.CanRestore(Selected()));
}

void AboutDialog::Run(HWND owner) { RunModal(layout::AboutBox(), owner, *this); }

INT_PTR AboutDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
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

void AboutDialog::OnInit(HWND dialog) {
  CenterOnOwner(dialog);
  // The icon is set here rather than named in the template, so that a program without the
  // resource still shows the box.
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(AppIcon(InstanceOf(dialog))), 0);
    }
  }
}

}  // namespace tovarin::win32
