#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovarin {
struct ListBoxModel;
}

namespace tovarin::win32 {

// The text of any window, as bytes.
std::string WindowText(HWND window);

// A child control of a dialog, with typed calls in place of raw messages.
class Control {
 public:
  Control() = default;
  Control(HWND dialog, int id) : handle_(GetDlgItem(dialog, id)) {}
  HWND handle() const { return handle_; }
  int id() const { return GetDlgCtrlID(handle_); }
  std::string Text() const { return WindowText(handle_); }
  void SetText(const std::string& text) const;

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(handle_, message, wParam, lParam);
  }
  // The text of a list's item, asked for with the list's own pair of messages.
  std::string ItemText(UINT lengthMessage, UINT textMessage, int index) const;

 private:
  HWND handle_ = nullptr;
};

// A read-only edit: a long text shows its beginning.
class Edit : public Control {
 public:
  using Control::Control;
  void Show(const std::string& text) const;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  void SetChecked(bool checked) const;
};

class ListBox : public Control {
 public:
  using Control::Control;
  // Rows, tab stops and selection of the model, drawn anew.
  void Show(const ListBoxModel& model) const;
  int Selection() const;  // -1: none
  std::string Row(int row) const;
  // Scrolls sideways as far as its widest row reaches.
  void FitWidth() const;
};

// A drop-down list without free text.
class ComboBox : public Control {
 public:
  using Control::Control;
  void SetItems(const std::vector<std::string>& items, int selection) const;
  int Selection() const;  // -1: none
  std::string Item(int index) const;
};

// The tooltips of a dialog's controls, each with a text of its own.
class ToolTips {
 public:
  void Create(HWND dialog);
  HWND handle() const { return tips_; }
  void Set(HWND control, const std::string& text) const;

 private:
  HWND tips_ = nullptr;
};

// The status bar common control.
class StatusBar {
 public:
  StatusBar() = default;
  explicit StatusBar(HWND bar) : bar_(bar) {}
  HWND handle() const { return bar_; }
  // Panes from left to right, given by their widths; the first takes what the others leave.
  void SetPanes(const std::vector<int>& trailingWidths) const;
  void SetPaneText(int pane, const std::string& text) const;
  int Height() const;

 private:
  HWND bar_ = nullptr;
};

}  // namespace tovarin::win32
