#pragma once

#include <windows.h>

#include <vector>

#include "shell/form_layout.h"

namespace tovarin::win32 {

// A dialog template built in memory from a layout table, for CreateDialogIndirectParamW and
// DialogBoxIndirectParamW. The controls that take the focus follow the others, in their Tab
// order, since a dialog's Tab key walks its controls in the template's order.
class DialogTemplate {
 public:
  DialogTemplate(const layout::DialogLayout& dialog, DWORD style);
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  // A modal dialog with a caption, and the form, a child of the main window.
  static constexpr DWORD kModal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  static constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | DS_CONTROL;

 private:
  void Add(DWORD value);
  void AddText(const char* text);
  void AddText(const wchar_t* text);
  void Align();

  std::vector<WORD> words_;
};

// The window class and the styles of a control kind.
struct ControlClass {
  WORD atom;  // of the predefined classes: button, edit, static, list box, combo box
  DWORD style;
  const wchar_t* name = nullptr;  // a common control's class, when there is no atom
};
ControlClass ClassOf(layout::ControlKind kind);

}  // namespace tovarin::win32
