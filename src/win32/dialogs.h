#pragma once

#include <windows.h>

#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/restore_list.h"

#include "shell/form_layout.h"
#include "win32/controls.h"
#include "win32/dialog_template.h"

namespace tovarin {
class OrgPicker;
}

namespace tovarin::win32 {

// Tells of an error that a command let through, in a message box over the active window.
void ShowUnexpectedError(const std::string& what);

// Runs `handle`; an exception never unwinds into the system's code, which cannot pass it on: it
// is told, and the message counts as `failed`.
template <class Handle, class Result>
Result Guarded(Handle&& handle, Result failed) {
  std::string what;
  try {
    return handle();
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
    what = "an unknown error";
  }
  ShowUnexpectedError(what);
  return failed;
}

// Keeps Enter and the default outline of `dialog` on the push button that has the focus, or
// else on its button `fallback`. The dialog manager does so for Tab, but not when a click or a
// mnemonic moves the focus: Build (or Close) stayed outlined beside the focused button, and Enter
// pressed it.
void FollowFocus(HWND dialog, int fallback);

// Gives the controls of `dialog`, made from `layout`, the names a screen reader speaks (a hidden
// label just before each in the z-order, where the system looks for a control's name), and its
// lists a focus that shows: a frame in the highlight colour, and the first row selected when
// none is.
void NameAndMarkControls(HWND dialog, const layout::DialogLayout& layout);

// What a dialog of class T is made with: the object that handles its messages, and its table.
template <class T>
struct DialogStart {
  T* self;
  const layout::DialogLayout* layout;
};

// The dialog procedure of a dialog class T: it keeps the object that WM_INITDIALOG brings (in a
// DialogStart), names and marks the controls of its table, and hands every message to
// T::OnMessage, which dispatches it. After a control's notification (which a change of focus
// brings) the default outline follows the focus.
template <class T>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static constexpr wchar_t kDefaultButton[] = L"Tovarin.DefaultButton";
  const auto* start = message == WM_INITDIALOG ? reinterpret_cast<DialogStart<T>*>(lParam)
                                               : nullptr;
  if (start) SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(start->self));
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = Guarded([&] { return self->OnMessage(dialog, message, wParam, lParam); },
                                 static_cast<INT_PTR>(TRUE));
  if (start) {
    Guarded(
        [&] {
          NameAndMarkControls(dialog, *start->layout);
          return 0;
        },
        0);
    const INT_PTR fallback = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
    SetPropW(dialog, kDefaultButton, reinterpret_cast<HANDLE>(fallback));
  } else if (message == WM_DESTROY) {
    RemovePropW(dialog, kDefaultButton);
  } else if ((message == WM_COMMAND || message == WM_NOTIFY) && IsWindow(dialog)) {
    // The messages it sends the dialog reset the answer a notification's handler set there.
    const LONG_PTR answer = GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
    const INT_PTR fallback = reinterpret_cast<INT_PTR>(GetPropW(dialog, kDefaultButton));
    FollowFocus(dialog, static_cast<int>(fallback));
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, answer);
  }
  return result;
}

inline HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// Runs `dialog`, of a class T as above, as a modal dialog built from `layout`; gives what it
// ended with.
template <class T>
INT_PTR RunModal(const layout::DialogLayout& layout, HWND owner, T& dialog,
                 DWORD style = DialogTemplate::kModal) {
  const DialogTemplate dialogTemplate(layout, style);
  DialogStart<T> start{&dialog, &layout};
  return DialogBoxIndirectParamW(InstanceOf(owner), dialogTemplate.get(), owner,
                                 DialogProcedure<T>, reinterpret_cast<LPARAM>(&start));
}

// Puts a dialog in the middle of its owner, the window it was opened from, rather than where the
// template would place it (over the buttons that opened it), and wholly within the owner's
// monitor's work area.
void CenterOnOwner(HWND dialog);

// A message box titled as the application, centred on `owner` as a dialog is (the system would
// put it in the middle of the screen): MessageBoxW's answer.
int Message(HWND owner, const std::string& text, UINT style);

// A dialog whose only way out is Close, or Escape: ends it when `command` is either. True when
// the command was one.
bool EndOnClose(HWND dialog, WPARAM command);

// Keeps the controls of a dialog that can be resized (WS_THICKFRAME) where their anchors say, and
// the dialog no smaller than its least size.
class DialogAnchors {
 public:
  // At WM_INITDIALOG, the controls where the template put them.
  void Place(HWND dialog, const layout::Resizing& resizing);
  // At WM_SIZE.
  void Follow() const;
  // At WM_GETMINMAXINFO.
  void Limit(MINMAXINFO& limits) const;

 private:
  HWND dialog_ = nullptr;
  const layout::Resizing* resizing_ = nullptr;
  SIZE opened_{};
  std::vector<std::pair<HWND, RECT>> placed_;  // in the order of the dialog's table
};

// Gives the list view `list` of `dialog` its columns, their widths in the dialog's units.
void InsertColumns(HWND dialog, HWND list, std::span<const layout::ListColumn> columns);

// The application's icon, resource 128; the system's own when the program has none.
HICON AppIcon(HINSTANCE instance);

// The Identify Organization dialog: draws an OrgPicker's two lists and reports the user's
// choices to it.
class OrgDialog {
 public:
  // `title` names the side being chosen.
  OrgDialog(OrgPicker& picker, std::string title) : picker_(picker), title_(std::move(title)) {}
  // Modal; true on OK.
  bool Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  void OnDataDiskChosen();
  void OnOk();
  void OnCancel();
  void ShowOrganizations();

  OrgPicker& picker_;
  std::string title_;
  HWND dialog_ = nullptr;
  ComboBox dataDisks_;
  ComboBox organizations_;
};

// Restore Build: the kept backups in a list view, as the shell's model lists them and says what
// can be taken.
class RestoreDialog {
 public:
  explicit RestoreDialog(const RestoreModel& backups) : backups_(backups) {}
  // Modal; the chosen row, or nothing on Cancel.
  std::optional<std::size_t> Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
  void ShowSelection();
  std::optional<std::size_t> Selected() const;

  const RestoreModel& backups_;
  HWND dialog_ = nullptr;
  std::optional<std::size_t> chosen_;
};

// The About box: icon, version, credit and OK.
class AboutDialog {
 public:
  void Run(HWND owner);
  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit(HWND dialog);
};

}  // namespace tovarin::win32
