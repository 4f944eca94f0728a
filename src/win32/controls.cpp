#include "win32/controls.h"

#include <commctrl.h>

#include <algorithm>

#include "pairing/list_box.h"
#include "platform/native_path.h"
#include "shell/sim_text.h"

namespace tovarin::win32 {

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(),
                                                      static_cast<int>(text.size()))));
  return platform::Narrow(text);
}

void Control::SetText(const std::string& text) const {
  SetWindowTextW(handle_, platform::Widen(text).c_str());
}

std::string Control::ItemText(UINT lengthMessage, UINT textMessage, int index) const {
  const LRESULT length = Send(lengthMessage, static_cast<WPARAM>(index));
  if (length < 0) return {};  // LB_ERR and CB_ERR: no such item
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      Send(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
  return platform::Narrow(text);
}

void Edit::Show(const std::string& text) const {
  SetText(text);
  Send(EM_SETSEL, 0, 0);
  Send(EM_SCROLLCARET);
}

void CheckBox::SetChecked(bool checked) const {
  Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ListBox::Show(const ListBoxModel& model) const {
  Send(WM_SETREDRAW, FALSE);
  Send(LB_RESETCONTENT);
  // In dialog units, as the model gives them.
  std::vector<INT> stops(model.tabStops.begin(), model.tabStops.end());
  Send(LB_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
  for (const ListBoxModel::Row& row : model.rows) {
    // Rows hold team and player names, which are Windows-1252 whatever the system's code page.
    Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(DisplayText(row.text)).c_str()));
  }
  Send(LB_SETCURSEL, static_cast<WPARAM>(model.selected));
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(handle(), nullptr, TRUE);
}

int ListBox::Selection() const { return static_cast<int>(Send(LB_GETCURSEL)); }

void ListBox::FitWidth() const {
  HDC context = GetDC(handle());
  const HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
  LONG widest = 0;
  const auto rows = static_cast<int>(Send(LB_GETCOUNT));
  for (int row = 0; row < rows; ++row) {
    const std::wstring text = platform::Widen(Row(row));
    SIZE size{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(context, old);
  ReleaseDC(handle(), context);
  // A few pixels more, for the margin the list leaves before its text.
  Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 6));
}

std::string ListBox::Row(int row) const { return ItemText(LB_GETTEXTLEN, LB_GETTEXT, row); }

void ComboBox::SetItems(const std::vector<std::string>& items, int selection) const {
  Send(CB_RESETCONTENT);
  for (const std::string& item : items) {
    Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
  }
  Send(CB_SETCURSEL, static_cast<WPARAM>(selection));
}

int ComboBox::Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }

std::string ComboBox::Item(int index) const {
  return ItemText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void ToolTips::Create(HWND dialog) {
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
                          nullptr);
}

void ToolTips::Set(HWND control, const std::string& text) const {
  if (!tips_) return;
  std::wstring wide = platform::Widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  const bool known = SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = wide.data();
  SendMessageW(tips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
               reinterpret_cast<LPARAM>(&tool));
}

void StatusBar::SetPanes(const std::vector<int>& trailingWidths) const {
  RECT client;
  GetClientRect(bar_, &client);
  std::vector<int> edges(trailingWidths.size() + 1);
  int right = client.right;
  for (std::size_t i = trailingWidths.size(); i > 0; --i) {
    edges[i] = right;
    right -= trailingWidths[i - 1];
  }
  edges[0] = right;
  SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetPaneText(int pane, const std::string& text) const {
  SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(pane),
               reinterpret_cast<LPARAM>(platform::Widen(text).c_str()));
}

int StatusBar::Height() const {
  RECT rect;
  GetWindowRect(bar_, &rect);
  return rect.bottom - rect.top;
}

}  // namespace tovarin::win32
