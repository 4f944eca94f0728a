#include "win32/main_frame.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "shell/form_layout.h"
#include "platform/lock_keys.h"
#include "platform/native_path.h"
#include "shell/menu_layout.h"
#include "win32/dialogs.h"
#include "win32/preview_dialog.h"
#include "win32/rename_check_dialog.h"

namespace tovarin::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TovarinMainFrame";
constexpr int kStatusBarId = layout::command::kStatusBar;
// No sizing border and no maximize box: the window keeps the size that fits the form.
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* frame = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!frame || frame->handle() != window) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded([&] { return frame->OnMessage(message, wParam, lParam); }, LRESULT{0});
}

HMENU BuildMenu() {
  HMENU bar = CreateMenu();
  for (const layout::Menu& menu : layout::MainMenu()) {
    HMENU popup = CreatePopupMenu();
    for (const layout::MenuItem& item : menu.items) {
      if (item.command == layout::kSeparator) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      } else {
        // A menu shows what follows a tab as the item's key.
        std::string text = item.text;
        if (*layout::MenuKey(item.command)) text += std::string("\t") + layout::MenuKey(item.command);
        AppendMenuW(popup, MF_STRING | (item.checkable ? MF_CHECKED : 0),
                    static_cast<UINT_PTR>(item.command), platform::Widen(text).c_str());
      }
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                platform::Widen(menu.title).c_str());
  }
  return bar;
}

HACCEL BuildAccelerators() {
  std::vector<ACCEL> keys;
  for (const layout::Shortcut& shortcut : layout::Shortcuts()) {
    ACCEL key{};
    key.fVirt = static_cast<BYTE>(FVIRTKEY | (shortcut.control ? FCONTROL : 0) |
                                  (shortcut.shift ? FSHIFT : 0));
    key.key = static_cast<WORD>(shortcut.letter != 0 ? shortcut.letter
                                                     : VK_F1 + shortcut.functionKey - 1);
    key.cmd = static_cast<WORD>(shortcut.command);
    keys.push_back(key);
  }
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

bool IsLockKey(WPARAM key) { return key == VK_CAPITAL || key == VK_NUMLOCK || key == VK_SCROLL; }

// The folder of the running program, ending with the separator.
std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

bool RegisterMainFrameClass(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                     ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW frameClass{};
  frameClass.cbSize = sizeof(frameClass);
  frameClass.lpfnWndProc = FrameProcedure;
  frameClass.hInstance = instance;
  frameClass.hIcon = AppIcon(instance);
  frameClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = kClassName;
  return RegisterClassExW(&frameClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

MainFrame::MainFrame(platform::SettingsStore& settings, HINSTANCE instance)
    : instance_(instance),
      form_([this] { DestroyWindow(window_); }, [this] { FitToForm(); }),
      view_(settings, *this, form_, layout::SourceTeamColumn()),
      commands_(view_, *this, *this) {
  form_.Attach(view_);
}

MainFrame::~MainFrame() {
  if (window_) DestroyWindow(window_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

bool MainFrame::Create(int showCommand) {
  if (!RegisterMainFrameClass(instance_)) return false;
  // The handle is known before the first message, so the procedure can route them here.
  window_ = CreateWindowExW(0, kClassName, L"", kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, BuildMenu(), instance_, this);
  if (!window_) return false;
  if (!form_.Create(window_)) return false;
  HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                             window_, reinterpret_cast<HMENU>(kStatusBarId), instance_, nullptr);
  if (!bar) return false;
  statusBar_ = StatusBar(bar);
  accelerators_ = BuildAccelerators();
  FitToForm();

  commands_.StartUp();
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  OnActivate(true);
  return true;
}

void MainFrame::FitToForm() {
  if (!statusBar_.handle()) return;  // still being created
  RECT form;
  GetWindowRect(form_.handle(), &form);
  SendMessageW(statusBar_.handle(), WM_SIZE, 0, 0);
  RECT frame{0, 0, form.right - form.left, form.bottom - form.top + statusBar_.Height()};
  AdjustWindowRectEx(&frame, kFrameStyle, TRUE, 0);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The menu bar may wrap on a narrow font; the client area then still has to hold the form.
  RECT client;
  GetClientRect(window_, &client);
  const int missing = (form.bottom - form.top + statusBar_.Height()) - client.bottom;
  if (missing > 0) {
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(statusBar_.handle(), WM_SIZE, 0, 0);
  const int indicator = MulDiv(LOWORD(GetDialogBaseUnits()), 7, 1);
  statusBar_.SetPanes({indicator, indicator, indicator});
  statusBar_.SetPaneText(0, layout::kIdleMessage);
  UpdateIndicators();
}

int MainFrame::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
        IsLockKey(message.wParam)) {
      UpdateIndicators();
    }
    if (window_ && TranslateAcceleratorW(window_, accelerators_, &message)) continue;
    if (form_.handle() && IsDialogMessageW(form_.handle(), &message)) {
      form_.FollowFocus();
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    form_.FollowFocus();
  }
  return static_cast<int>(message.wParam);
}

LRESULT MainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED: {
      // The system scales the form itself; its new size then fits the frame to it again.
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainFrame::OnCommand(int command) {
  form_.TakeSelections();
  commands_.OnCommand(command);
}

void MainFrame::ShowAbout() { AboutDialog().Run(window_); }

void MainFrame::ShowPreview(PreviewSession& preview) { PreviewDialog(preview).Run(window_); }

void MainFrame::ShowRenameCheck(const RenameCheckModel& model) {
  RenameCheckDialog(model).Run(window_);
}

void MainFrame::OnActivate(bool active) {
  UpdateIndicators();
  if (!form_.handle()) return;
  // The focus comes back to the control that had it when the window was left.
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(form_.handle(), focus)) focused_ = focus;
    return;
  }
  // Through the dialog manager, so that a push button taking the focus takes the default
  // outline too: Enter presses the button that shows it.
  HWND focus = focused_ && IsWindow(focused_) ? focused_
                                              : GetNextDlgTabItem(form_.handle(), nullptr, FALSE);
  SendMessageW(form_.handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
}

void MainFrame::OnMenuSelect(int item, UINT flags, HMENU menu) {
  const layout::MenuItem* entry =
      (flags & (MF_POPUP | MF_SEPARATOR)) == 0 ? layout::FindMenuItem(item) : nullptr;
  // A closed menu (no menu, flags 0xFFFF) or a title brings the idle text back.
  const bool closed = flags == 0xFFFF && menu == nullptr;
  statusBar_.SetPaneText(0, entry && !closed ? entry->prompt : layout::kIdleMessage);
}

void MainFrame::UpdateIndicators() {
  int pane = 1;
  for (const layout::Indicator& indicator : layout::kIndicators) {
    const bool on = platform::LockKeyOn(indicator.key).value_or(false);
    statusBar_.SetPaneText(pane++, on ? indicator.text : "");
  }
}

void MainFrame::ShowStatusBar(bool show) {
  ShowWindow(statusBar_.handle(), show ? SW_SHOW : SW_HIDE);
  CheckMenuItem(GetMenu(window_), layout::command::kStatusBar,
                MF_BYCOMMAND | (show ? MF_CHECKED : MF_UNCHECKED));
}

void MainFrame::SetTitle(const std::string& title) {
  SetWindowTextW(window_, platform::Widen(title).c_str());
}

std::optional<std::string> MainFrame::ChooseDocument(DocumentDialog kind,
                                                     const std::string& name) {
  return AskFileName(kind == DocumentDialog::kSave ? FileDialog::kSave : FileDialog::kOpen, name,
                     "");
}

void MainFrame::ShowHelp() {
  const std::wstring help = ProgramFolder() + L"help.html";
  if (GetFileAttributesW(help.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ShowMessage("The help text cannot be found:\n" + platform::Narrow(help), MessageKind::kError);
    return;
  }
  // Success is a value above 32; below, no program would open the page.
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (opened <= 32) {
    ShowMessage("The help text cannot be opened:\n" + platform::Narrow(help) +
                    "\nOpen it with a web browser.",
                MessageKind::kError);
  }
}

void MainFrame::ShowMessage(const std::string& text, MessageKind kind) {
  Message(Owner(), text,
          MB_OK | (kind == MessageKind::kInformation ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

bool MainFrame::AskYesNo(const std::string& text, Default answer) {
  return Message(Owner(), text,
                 MB_YESNO | MB_ICONEXCLAMATION |
                     (answer == Default::kNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1)) == IDYES;
}

bool MainFrame::AskOkCancel(const std::string& text) {
  return Message(Owner(), text, MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON1) == IDOK;
}

std::optional<std::string> MainFrame::ChooseFile(const std::string& initialFile,
                                                 const std::string& defaultExtension,
                                                 const layout::FilePicker& picker) {
  return AskFileName(FileDialog::kOpen, initialFile, defaultExtension, &picker);
}

// A file that is added to when it exists, so nothing asks whether to replace it.
std::optional<std::string> MainFrame::ChooseNewFile(const std::string& initialFile,
                                                    const std::string& defaultExtension,
                                                    const layout::FilePicker& picker) {
  return AskFileName(FileDialog::kCreate, initialFile, defaultExtension, &picker);
}

std::optional<std::string> MainFrame::AskFileName(FileDialog kind, const std::string& initialFile,
                                                  const std::string& defaultExtension,
                                                  const layout::FilePicker* picker) {
  std::wstring file = platform::Widen(initialFile);
  file.resize(32768, L'\0');  // the longest path Windows knows
  const std::wstring extension = platform::Widen(defaultExtension);
  const std::wstring caption = platform::Widen(picker ? picker->title : "");
  // Pairs of a type's label and its pattern, each ended by a null, and a null after them.
  std::wstring types;
  if (picker) {
    for (const layout::FileType& type : picker->types) {
      types += platform::Widen(type.label) + L'\0' + platform::Widen(type.pattern) + L'\0';
    }
  }
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Owner();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  dialog.lpstrFilter = types.empty() ? nullptr : types.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                 (kind == FileDialog::kSave ? OFN_OVERWRITEPROMPT : 0);
  const bool saving = kind != FileDialog::kOpen;
  if (!(saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
  return platform::Narrow(file.c_str());
}

// A question asked from a dialog of the window, such as Preview Build, belongs to that dialog,
// so that the dialog waits for the answer too.
HWND MainFrame::Owner() const { return window_ ? GetLastActivePopup(window_) : nullptr; }

std::optional<std::size_t> MainFrame::ChooseBackup(const RestoreModel& backups) {
  return RestoreDialog(backups).Run(window_);
}

bool MainFrame::IdentifyOrganization(OrgLocation& location, const std::string& title) {
  OrgPicker picker(location);
  return OrgDialog(picker, title).Run(window_);
}

}  // namespace tovarin::win32
