#include "win32/dialog_template.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/native_path.h"
#include "win32/controls.h"

namespace tovarin::win32 {
namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;
constexpr WORD kComboBox = 0x0085;

}  // namespace

ControlClass ClassOf(layout::ControlKind kind) {
  using K = layout::ControlKind;
  // As tall as the table says: trimmed to whole rows by the system, the target list ended higher
  // than the source list beside it.
  constexpr DWORD kListStyle = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
  switch (kind) {
    // Clipped by the controls made before it, the frames above it among them: the list frame,
    // which begins a unit above the upper frames' ends, wiped out their bottom edges.
    case K::kGroupFrame: return {kButton, BS_GROUPBOX | WS_CLIPSIBLINGS};
    case K::kButton: return {kButton, BS_PUSHBUTTON};
    case K::kDefaultButton: return {kButton, BS_DEFPUSHBUTTON};
    case K::kCheckBox: return {kButton, BS_AUTOCHECKBOX};
    case K::kPathEdit:
      return {kEdit, ES_LEFT | ES_AUTOHSCROLL | ES_READONLY | ES_LOWERCASE | WS_BORDER};
    // Multi-line, so that its text can be centred as a heading's is (FormView).
    case K::kReadOnlyEdit:
      return {kEdit, ES_LEFT | ES_MULTILINE | ES_READONLY | WS_BORDER};
    case K::kHeading: return {kStatic, SS_LEFTNOWORDWRAP | SS_SUNKEN | SS_CENTERIMAGE};
    case K::kLabel: return {kStatic, SS_RIGHT};
    case K::kText: return {kStatic, SS_LEFT | SS_NOPREFIX};
    case K::kIcon: return {kStatic, SS_ICON};
    // Scrolls sideways once told its rows' width (ListBox::FitWidth).
    case K::kListBox: return {kListBox, kListStyle | WS_HSCROLL};
    case K::kTabbedListBox: return {kListBox, kListStyle | LBS_USETABSTOPS};
    case K::kDropDownList: return {kComboBox, CBS_DROPDOWNLIST | WS_VSCROLL};
    case K::kCheckList:
    case K::kColumnList:
      return {0, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER,
              WC_LISTVIEWW};
  }
  return {kStatic, SS_LEFT};
}

DialogTemplate::DialogTemplate(const layout::DialogLayout& dialog, DWORD style) {
  std::vector<const layout::DialogControl*> controls;
  for (const layout::DialogControl& control : dialog.controls) controls.push_back(&control);
  std::stable_sort(controls.begin(), controls.end(), [](auto* a, auto* b) {
    return a->tabIndex < b->tabIndex;
  });

  Add(style | DS_SETFONT);
  Add(0);  // extended style
  words_.push_back(static_cast<WORD>(controls.size()));
  for (int value : {0, 0, dialog.width, dialog.height}) words_.push_back(static_cast<WORD>(value));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the standard dialog class
  AddText(dialog.title);
  words_.push_back(static_cast<WORD>(dialog.pointSize));
  AddText(dialog.fontName);

  for (const layout::DialogControl* control : controls) {
    Align();
    const ControlClass type = ClassOf(control->kind);
    Add(WS_CHILD | WS_VISIBLE | type.style | (control->tabIndex > 0 ? WS_TABSTOP : 0));
    Add(0);
    const layout::DialogRect& r = control->rect;
    for (int value : {r.x, r.y, r.width, r.height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(static_cast<WORD>(control->id));  // kNoId is the usual 0xFFFF
    if (type.name) {
      AddText(type.name);
    } else {
      words_.push_back(0xFFFF);
      words_.push_back(type.atom);
    }
    AddText(control->text);
    words_.push_back(0);  // no creation data
  }
}

void DialogTemplate::Add(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::AddText(const char* text) { AddText(platform::Widen(text).c_str()); }

void DialogTemplate::AddText(const wchar_t* text) {
  for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
  words_.push_back(0);
}

void DialogTemplate::Align() {
  if (words_.size() % 2 != 0) words_.push_back(0);
}

}  // namespace tovarin::win32
