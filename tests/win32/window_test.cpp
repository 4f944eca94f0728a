// The native window under Wine, driven from outside through messages as a user's clicks would
// reach it: it runs on a thread of its own, while the test finds its dialogs and message boxes
// by their titles and answers them.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <thread>

#include "platform/native_path.h"
#include "settings/registry_settings_store.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/settings.h"
#include "support/build_tree.h"
#include "support/pairing_script.h"
#include "tovarin_version.h"
#include "win32/controls.h"
#include "win32/main_frame.h"
#include "win32/preview_dialog.h"
#include "win32/rename_check_dialog.h"

namespace tovarin::win32 {
namespace {

namespace id = layout::id;
using fixture::BuildTree;
using Rows = std::vector<std::string>;

// The window test's own registry key, so that it never meets a user's settings.
constexpr const char* kKey = "Software\\Didozuza\\TovarinWindowTest";
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kMessageBoxIcon = 0x440;

const std::string& kRow1 = fixture::kTargetRow1;
const std::string& kRow2 = fixture::kTargetRow2;
const std::string& kRow3 = fixture::kTargetRow3;
const std::string& kSrc1 = fixture::kSourceRow1;
const std::string& kSrc2 = fixture::kSourceRow2;

// The tree's paths with the system's separator throughout.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// As an edit that shows its text in lower case lowers it: every letter, not ASCII alone.
std::string Lower(const std::string& text) {
  std::wstring wide = platform::Widen(text);
  CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return platform::Narrow(wide);
}

// The text of a list view's cell.
int RowCount(const ListBox& list) {
  return static_cast<int>(SendMessageW(list.handle(), LB_GETCOUNT, 0, 0));
}

std::string PaneText(HWND bar, int pane) {
  const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0);
  std::wstring text(static_cast<std::size_t>(LOWORD(length)) + 1, L'\0');
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(length));
  return platform::Narrow(text);
}

std::string ListViewCell(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return platform::Narrow(text);
}

// Waits for a condition that another thread brings about.
bool WaitFor(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

// A dialog of this process with the given title, or none.
HWND FindDialog(const char* title) {
  HWND found = nullptr;
  const std::wstring wanted = platform::Widen(title);
  for (HWND w = FindWindowW(L"#32770", wanted.c_str()); w;
       w = FindWindowExW(nullptr, w, L"#32770", wanted.c_str())) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(w)) found = w;
  }
  return found;
}

class Win32Window {
 public:
  Win32Window() : store(kKey) {
    RegDeleteTreeW(HKEY_CURRENT_USER, platform::Widen(kKey).c_str());
  }
  ~Win32Window() {
    if (ui_.joinable()) {
      // Whatever a failed test left open is cancelled, then the window is closed.
      WaitFor([this] {
        for (const char* title :
             {"Tovarin", layout::kIdentifyTargetTitle, layout::kIdentifySourceTitle,
              "About Tovarin", "Preview Build", "Restore Build", "Check Rename File"}) {
          if (HWND dialog = FindDialog(title)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        if (started_) PostMessageW(window_, WM_CLOSE, 0, 0);
        return finished_.load();
      });
      ui_.join();
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, platform::Widen(kKey).c_str());
  }

  void StoreSetup(bool useFarm = true) { tree.StoreSetup(store, useFarm); }

  // Starts the window on its own thread; `wait` until it is shown (not when a message box of
  // the start-up is to be answered first). `guide`: as tovarin.exe starts, with the first
  // start's offer.
  void Start(bool wait = true, bool guide = false) {
    ui_ = std::thread([this, guide] {
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as tovarin.exe does
      MainFrame frame(store, GetModuleHandleW(nullptr));
      if (frame.Create(SW_SHOWNORMAL)) {
        window_ = frame.handle();
        form_ = frame.form();
        bar_ = frame.statusBar();
        started_ = true;
        if (guide) frame.view().GuideFirstStart();
        frame.Run();
      }
      finished_ = true;
    });
    if (wait) {
      ASSERT_TRUE(Started());
    }
  }
  bool Started() { return WaitFor([this] { return started_ || finished_; }) && started_; }

  HWND window() const { return window_; }
  HWND form() const { return form_; }
  HWND Item(int control) const { return GetDlgItem(form_, control); }
  std::string Text(int control) const { return WindowText(Item(control)); }
  Rows ListRows(int control) const {
    const ListBox list(form_, control);
    Rows rows;
    for (int row = 0; row < RowCount(list); ++row) rows.push_back(list.Row(row));
    return rows;
  }
  int Selection(int control) const { return ListBox(form_, control).Selection(); }
  std::string Status(int pane) const { return PaneText(bar_, pane); }
  HWND bar() const { return bar_; }

  // A click on a button that opens no dialog: done when this returns.
  void Click(int control) { SendMessageW(Item(control), BM_CLICK, 0, 0); }
  // A click on a button that opens a dialog, which the test then answers.
  void ClickLater(int control) { PostMessageW(Item(control), BM_CLICK, 0, 0); }
  void Menu(int command) { SendMessageW(window_, WM_COMMAND, static_cast<WPARAM>(command), 0); }

  void ClickRow(int control, int row) { Mouse(control, row, false); }
  void DoubleClickRow(int control, int row) { Mouse(control, row, true); }

  // Waits for the message box, checks its caption, icon and buttons (a question's default
  // answer: Yes, or No when `noIsDefault`), presses `button`, and returns its text. Tovarin's own
  // information comes with the information icon, all else with the exclamation icon.
  std::string Answer(int button, bool question = false, bool noIsDefault = false,
                     bool information = false) {
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = FindDialog("Tovarin")) != nullptr; }))
        << "no message box";
    if (!box) return {};
    const std::string text = WindowText(GetDlgItem(box, kMessageBoxText));
    // Centred on the window it belongs to (the system would centre it on the screen).
    RECT owner{}, placed{};
    GetWindowRect(GetWindow(box, GW_OWNER), &owner);
    GetWindowRect(box, &placed);
    EXPECT_NEAR((placed.left + placed.right) / 2, (owner.left + owner.right) / 2, 2) << text;
    EXPECT_NEAR((placed.top + placed.bottom) / 2, (owner.top + owner.bottom) / 2, 2) << text;
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(GetDlgItem(box, kMessageBoxIcon), STM_GETICON,
                                                   0, 0)),
              LoadIconW(nullptr, MAKEINTRESOURCEW(information ? 32516 : 32515)))
        << (information ? "the information icon" : "the exclamation icon");
    EXPECT_EQ(GetDlgItem(box, IDYES) != nullptr, question) << text;
    EXPECT_EQ(GetDlgItem(box, IDOK) != nullptr, !question) << text;
    if (question) {
      EXPECT_TRUE(SendMessageW(GetDlgItem(box, noIsDefault ? IDNO : IDYES), WM_GETDLGCODE, 0, 0) &
                  DLGC_DEFPUSHBUTTON)
          << (noIsDefault ? "No" : "Yes") << " is the default";
    }
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    EXPECT_TRUE(WaitFor([box] { return !IsWindow(box); }));
    return text;
  }

  // Waits until the form's control shows `text`.
  bool Shows(int control, const std::string& text) {
    return WaitFor([&] { return Text(control) == text; });
  }

  BuildTree tree;
  RegistrySettingsStore store;

 private:
  void Mouse(int control, int row, bool twice) {
    HWND list = Item(control);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    if (!twice) return;
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
  }

  std::thread ui_;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  HWND window_ = nullptr;
  HWND form_ = nullptr;
  HWND bar_ = nullptr;
};

TEST(Win32Window, StartsFromTheRegistryWithTheFormOfTheTable) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  EXPECT_EQ(FindDialog("Tovarin"), nullptr) << "no message at a clean start";
  EXPECT_EQ(WindowText(w.window()), "Untitled - Tovarin");
  EXPECT_EQ(GetWindowLongW(w.window(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0)
      << "no sizing border";

  EXPECT_EQ(w.Text(id::kTargetOrgPath), Lower(Native(w.tree.targetOrg)));
  EXPECT_EQ(w.Text(id::kSourceOrgPath), Lower(Native(w.tree.sourceOrg)));
  EXPECT_EQ(w.Text(id::kRenamePath), Lower(w.tree.dir / "renames.txt"));
  EXPECT_EQ(w.Text(id::kTargetLabel), "Teams - 3");
  EXPECT_EQ(w.Text(id::kSourceLabel), "Teams - 2");
  EXPECT_EQ(w.ListRows(id::kTargetList),
            (Rows{kRow1 + "\t" + kSrc1, kRow2 + "\t" + kSrc2, kRow3}));
  EXPECT_TRUE(w.ListRows(id::kSourceList).empty());
  EXPECT_EQ(w.Selection(id::kTargetList), 0);
  EXPECT_EQ(SendMessageW(w.Item(id::kUseFarm), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Every control of the table, with its text and its place in dialog units.
  RECT form;
  GetClientRect(w.form(), &form);
  RECT size{0, 0, layout::Form().width, layout::Form().height};
  MapDialogRect(w.form(), &size);
  EXPECT_EQ(form.right, size.right);
  EXPECT_EQ(form.bottom, size.bottom);
  for (const layout::DialogControl& control : layout::Form().controls) {
    if (control.id == layout::kNoId) continue;
    SCOPED_TRACE(control.id);
    // The dialog maps the position and the size each on its own.
    RECT expected{control.rect.x, control.rect.y, control.rect.width, control.rect.height};
    MapDialogRect(w.form(), &expected);
    expected.right += expected.left;
    RECT actual;
    GetWindowRect(w.Item(control.id), &actual);
    MapWindowPoints(nullptr, w.form(), reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    if (*control.text) {
      EXPECT_EQ(w.Text(control.id), control.text);
    }
    EXPECT_TRUE(IsWindowEnabled(w.Item(control.id)));
  }
  for (int path : {id::kTargetOrgPath, id::kSourceOrgPath, id::kRenamePath}) {
    const LONG style = GetWindowLongW(w.Item(path), GWL_STYLE);
    EXPECT_EQ(style & (ES_READONLY | ES_AUTOHSCROLL | ES_LOWERCASE),
              ES_READONLY | ES_AUTOHSCROLL | ES_LOWERCASE);
  }
  // The whole path, as spelled, in each path edit's tooltip.
  HWND tips = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr);
  while (tips && GetWindow(tips, GW_OWNER) != w.window()) {
    tips = FindWindowExW(nullptr, tips, L"tooltips_class32", nullptr);
  }
  ASSERT_NE(tips, nullptr);
  for (const auto& [path, shown] :
       {std::pair{id::kTargetOrgPath, Native(w.tree.targetOrg)},
        std::pair{id::kRenamePath, Native(w.tree.dir / "renames.txt")}}) {
    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = w.form();
    tool.uId = reinterpret_cast<UINT_PTR>(w.Item(path));
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(platform::Narrow(text), shown);
  }

  // The status bar: idle text, and a menu item's prompt while it is highlighted.
  EXPECT_EQ(w.Status(0), "For Help, press F1");
  SendMessageW(w.window(), WM_MENUSELECT, MAKEWPARAM(layout::command::kSaveSetup, MF_STRING),
               reinterpret_cast<LPARAM>(GetMenu(w.window())));
  EXPECT_EQ(w.Status(0), "Saves file information into system registry");
  SendMessageW(w.window(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(w.Status(0), "For Help, press F1");

  // The File and Help menus, from the same table as the Qt window's; F1 beside Help Topics.
  const auto menuItems = [&w](int position) {
    HMENU menu = GetSubMenu(GetMenu(w.window()), position);
    Rows items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      items.push_back(platform::Narrow(text));
    }
    return items;
  };
  EXPECT_EQ(menuItems(0), (Rows{"Set &Base Path", "", "&Preview Build...", "Check Rena&me File...",
                                "Save &Current Setup", "&Restore Build...", "", "E&xit"}));
  EXPECT_EQ(menuItems(2), (Rows{"&Help Topics\tF1", "", "&About Tovarin..."}));
}

TEST(Win32Window, IdentifyOrganizationDialog) {
  Win32Window w;
  w.store.WriteString(settings::kFile, settings::kBaseDir, w.tree.dir.path());
  w.Start();
  ASSERT_EQ(w.Text(id::kTargetLabel), "Teams - 0");

  w.ClickLater(id::kTargetOrganization);
  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FindDialog(layout::kIdentifyTargetTitle)) != nullptr; }));
  // In the middle of the main window, not over the buttons that opened it.
  RECT main{}, box{};
  GetWindowRect(w.window(), &main);
  GetWindowRect(dialog, &box);
  EXPECT_NEAR((box.left + box.right) / 2, (main.left + main.right) / 2, 2);
  EXPECT_NEAR((box.top + box.bottom) / 2, (main.top + main.bottom) / 2, 2);
  const ComboBox disks(dialog, id::kDataDiskList), organizations(dialog, id::kOrganizationList);
  EXPECT_EQ(disks.Item(0), "LEAGUE.WDD");
  EXPECT_EQ(disks.Item(1), "SRC.WDD");
  EXPECT_EQ(disks.Selection(), -1);
  EXPECT_EQ(organizations.Item(0), "");
  // The user confirms a data disk: its organizations are listed and the first one selected.
  SendMessageW(disks.handle(), CB_SETCURSEL, 0, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kDataDiskList, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(disks.handle()));
  EXPECT_EQ(organizations.Item(organizations.Selection()), "ORG00001");
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(w.Shows(id::kTargetLabel, "Teams - 3"));
  EXPECT_EQ(w.Text(id::kTargetOrgPath), Lower(Native(w.tree.targetOrg)));

  // An organization without org.dat: its error in a message box, and that side stays empty.
  w.ClickLater(id::kSourceOrganization);
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FindDialog(layout::kIdentifySourceTitle)) != nullptr; }));
  const ComboBox sourceDisks(dialog, id::kDataDiskList);
  SendMessageW(sourceDisks.handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kDataDiskList, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(sourceDisks.handle()));
  SendMessageW(GetDlgItem(dialog, id::kOrganizationList), CB_SETCURSEL, 1, 0);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(w.Answer(IDOK), "CANNOT OPEN FILE :" + Native(w.tree.farmOrg) + "org.dat\n");
  EXPECT_TRUE(w.Shows(id::kSourceOrgPath, ""));
  EXPECT_EQ(w.Text(id::kSourceLabel), "Teams - 0");

  // Cancel gives up the target side.
  w.ClickLater(id::kTargetOrganization);
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FindDialog(layout::kIdentifyTargetTitle)) != nullptr; }));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(w.Shows(id::kTargetOrgPath, ""));
  EXPECT_TRUE(w.ListRows(id::kTargetList).empty());
}

// The first start offers Set Base Path (Cancel here); Identify Organization then says that no
// data disk was found. A stored base path offers nothing.
TEST(Win32Window, FirstStartOffersSetBasePath) {
  for (const bool stored : {false, true}) {
    Win32Window w;
    if (stored) w.store.WriteString(settings::kFile, settings::kBaseDir, w.tree.dir.path());
    w.Start(/*wait=*/stored, /*guide=*/true);
    if (!stored) {
      HWND box = nullptr;
      ASSERT_TRUE(WaitFor([&] { return (box = FindDialog("Tovarin")) != nullptr; }));
      EXPECT_EQ(WindowText(GetDlgItem(box, kMessageBoxText)), kFirstStartMessage);
      EXPECT_EQ(reinterpret_cast<HICON>(
                    SendMessageW(GetDlgItem(box, kMessageBoxIcon), STM_GETICON, 0, 0)),
                LoadIconW(nullptr, MAKEINTRESOURCEW(32516)));  // IDI_INFORMATION
      EXPECT_TRUE(SendMessageW(GetDlgItem(box, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
      EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
      PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
      ASSERT_TRUE(w.Started());
    }
    w.ClickLater(id::kTargetOrganization);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (dialog = FindDialog(layout::kIdentifyTargetTitle)) != nullptr; }));
    const std::string note = WindowText(GetDlgItem(dialog, id::kOrgNote));
    if (stored) {
      EXPECT_EQ(note.rfind("Data disks in " + Native(w.tree.dir.path()), 0), 0u) << note;
    } else {
      EXPECT_EQ(note.rfind("No data disk (a folder ending in .WDD) was found in ", 0), 0u) << note;
    }
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  }
}

// File > Restore Build: the kept backups in a list view, newest first, and the chosen one put
// back after the question.
TEST(Win32Window, RestoreBuildListsTheBackupsAndPutsBackTheChosenOne) {
  Win32Window w;
  BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
  w.StoreSetup();
  w.Start();
  w.ClickLater(id::kBuild);
  EXPECT_EQ(w.Answer(IDOK), w.tree.Completed());
  ASSERT_EQ(w.tree.TargetRoster(3), (std::vector<int>{7}));

  PostMessageW(w.window(), WM_COMMAND, layout::command::kRestoreBuild, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog("Restore Build")) != nullptr; }));
  HWND list = GetDlgItem(dialog, id::kBackupList);
  auto cell = [list](int row, int column) { return ListViewCell(list, row, column); };
  ASSERT_GE(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);  // earlier tests' backups follow
  EXPECT_EQ(cell(0, 1), Native(w.tree.targetOrg));
  EXPECT_EQ(cell(0, 2), "3");
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  // Each column as wide as its text (the time and the path were cut), the time a local one.
  for (int column = 0; column < 3; ++column) {
    const std::wstring text = platform::Widen(cell(0, column));
    EXPECT_GE(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0),
              SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())))
        << column;
  }
  const std::string time = cell(0, 0);
  EXPECT_EQ(time.find("UTC"), std::string::npos) << time;
  EXPECT_EQ(WindowText(GetDlgItem(dialog, id::kBackupDetail)),
            "Puts back the 3 rosters of " + Native(w.tree.targetOrg) +
                " as they were before the Build of " + time + ".");
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(w.Answer(IDYES, true, /*noIsDefault=*/true),
            "Put back the 3 rosters of " + Native(w.tree.targetOrg) +
                " as they were before the Build of " + time + "?");
  EXPECT_NE(w.Answer(IDOK, false, false, /*information=*/true).find(" as they were before the Build of "),
            std::string::npos);
  EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{99}));
}

// Match, Un Match and Reset by button and by double-click, each step checked on both lists.
TEST(Win32Window, PairingByButtonsAndDoubleClicks) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  using S = fixture::PairingStep;
  for (const S& step : fixture::PairingScript()) {
    for (const auto& [action, row] : step.actions) {
      switch (action) {
        case S::kReset: w.Click(id::kReset); break;
        case S::kMatch: w.Click(id::kMatch); break;
        case S::kUnmatch: w.Click(id::kUnmatch); break;
        case S::kClickSource: w.ClickRow(id::kSourceList, row); break;
        case S::kClickTarget: w.ClickRow(id::kTargetList, row); break;
        case S::kDoubleClickSource: w.DoubleClickRow(id::kSourceList, row); break;
        case S::kDoubleClickTarget: w.DoubleClickRow(id::kTargetList, row); break;
      }
    }
    EXPECT_EQ(w.ListRows(id::kTargetList), step.target) << step.what;
    EXPECT_EQ(w.ListRows(id::kSourceList), step.source) << step.what;
    EXPECT_EQ(w.Selection(id::kTargetList), step.targetSelection) << step.what;
    EXPECT_EQ(w.Text(id::kTargetLabel), "Teams - 3") << step.what;
  }
}

// Where row `row` of `list` has the text of its second column drawn, in the form's pixels: the
// first dark pixel past the first column's text. -1 when there is none.
int SecondColumnDrawnAt(HWND form, HWND list, int row) {
  RECT item{}, client{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  GetClientRect(list, &client);
  const std::wstring text = platform::Widen(ListBox(form, GetDlgCtrlID(list)).Row(row));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PrintWindow(list, dc, PW_CLIENTONLY);
  // The first column ends where its text, in the list's font, ends.
  HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE first{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.find(L'\t')), &first);
  SelectObject(dc, font);
  int found = -1;
  for (int x = first.cx + 4; x < client.right && found < 0; ++x) {
    for (int y = item.top; y < item.bottom && found < 0; ++y) {
      const COLORREF color = GetPixel(dc, x, y);
      if (GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 128) found = x;
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  if (found < 0) return -1;
  POINT at{found, 0};
  MapWindowPoints(list, form, &at, 1);
  return at.x;
}

// What the screen shows of `window`, row by row: whether each pixel row of its client area holds,
// between `fromX` and `toX` (client coordinates), a pixel darker than the dialog's face.
std::vector<bool> DarkRows(HWND window, int fromX, int toX) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // One copy of the screen, read from memory: a pixel at a time from the screen is slow.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  const int faceSum = GetRValue(face) + GetGValue(face) + GetBValue(face);
  const auto* pixels = static_cast<const unsigned char*>(bits);
  std::vector<bool> rows;
  for (int y = 0; y < height; ++y) {
    bool dark = false;
    for (int x = std::max(fromX, 0); x < std::min(toX, width) && !dark; ++x) {
      const unsigned char* bgr = pixels + (static_cast<std::size_t>(y) * width + x) * 4;
      dark = bgr[0] + bgr[1] + bgr[2] < faceSum - 60;
    }
    rows.push_back(dark);
  }
  SelectObject(copy, old);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  return rows;
}

// The form's lines as the table places them, at every dots per inch: the two upper frames drawn
// to their bottom edge, both team lists ending at one height, and "Teams - 30" written at the
// height of "Source Team" beside it.
TEST(Win32Window, FramesListsAndHeadingsLineUp) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  ASSERT_TRUE(WaitFor([&] { return w.Text(id::kTargetLabel) == "Teams - 3"; }));
  Sleep(300);  // drawn
  const auto rectOf = [&w](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, w.form(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  // A frame's bottom edge: dark pixels in its last rows, away from its corners, where no other
  // frame's line runs.
  for (layout::FormItem item : {layout::kOrganizationFrame, layout::kButtonFrame}) {
    const layout::DialogRect& unit = layout::FormControl(item).rect;
    RECT frame{unit.x, unit.y, unit.x + unit.width, unit.y + unit.height};
    MapDialogRect(w.form(), &frame);
    const std::vector<bool> rows = DarkRows(w.form(), frame.left + 8, frame.right - 8);
    bool edge = false;
    for (int y = frame.bottom - 3; y < frame.bottom; ++y) {
      edge = edge || (y >= 0 && y < static_cast<int>(rows.size()) && rows[static_cast<std::size_t>(y)]);
    }
    EXPECT_TRUE(edge) << "frame " << item << "'s bottom edge at " << frame.bottom;
  }
  EXPECT_EQ(rectOf(w.Item(id::kTargetList)).bottom, rectOf(w.Item(id::kSourceList)).bottom);
  // The first row of ink of each text, from the top of its control.
  const auto firstInk = [&](HWND control) {
    const RECT at = rectOf(control);
    const std::vector<bool> rows = DarkRows(w.form(), at.left + 4, at.left + 40);
    for (int y = at.top + 2; y < at.bottom - 2; ++y) {
      if (rows[static_cast<std::size_t>(y)]) return y;
    }
    return -1;
  };
  HWND heading = FindWindowExW(w.form(), nullptr, L"Static", L"Source Team");
  ASSERT_NE(heading, nullptr);
  EXPECT_NEAR(firstInk(w.Item(id::kTargetLabel)), firstInk(heading), 1);
}

// The paired source team is drawn under its heading, whatever the dots per inch (the test runs
// at several, set in the prefix's registry before the program starts).
TEST(Win32Window, SecondColumnUnderItsHeading) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  HWND heading = FindWindowExW(w.form(), nullptr, L"Static", L"Source Team");
  ASSERT_NE(heading, nullptr);
  RECT rect{};
  GetWindowRect(heading, &rect);
  MapWindowPoints(nullptr, w.form(), reinterpret_cast<POINT*>(&rect), 2);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (const char* expected = std::getenv("TOVARIN_EXPECTED_DPI")) {
    EXPECT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels";
  }
  // Row 1: paired, and not selected, so drawn dark on light.
  ASSERT_EQ(w.ListRows(id::kTargetList).size(), 3u);
  const int column = SecondColumnDrawnAt(w.form(), w.Item(id::kTargetList), 1);
  EXPECT_NEAR(column, rect.left, 3 * dpi / 96) << "at " << dpi << " dots per inch";
}

// The size `text` takes in `control`'s font (a status bar's own when it was given none): on one
// line, or wrapped at `width` as a static text wraps.
SIZE Drawn(HWND control, const std::string& text, int width = 0) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HFONT own = nullptr;
  if (!font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font = own = CreateFontIndirectW(&metrics.lfStatusFont);
  }
  HDC context = GetDC(control);
  const HGDIOBJ old = SelectObject(context, font);
  const std::wstring wide = platform::Widen(text);
  RECT rect{0, 0, width, 0};
  DrawTextW(context, wide.c_str(), -1, &rect,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(context, old);
  ReleaseDC(control, context);
  if (own) DeleteObject(own);
  return {rect.right, rect.bottom};
}

// Every text whole in the pane that shows it: each menu item's prompt and the idle text in the
// status bar's message pane; each line of Check Rename File (a rename file with long names and
// the longest problems) within its list's sideways scroll and, wrapped, in the pane under it.
// Run at 120, 144 and 192 dots per inch too.
TEST(Win32Window, EveryTextFitsItsPane) {
  Win32Window w;
  w.StoreSetup();
  const std::string longName(30, 'q');
  sim::WriteBytes(w.tree.dir / "renames.txt",
                  BuildTree::Text(std::string(49, 'a') + ",Fox,John,Fox,\r\n" +
                                  "Jon,Fox,John,Fox\r\nJon,Fox,John,Fox,\r\n" + longName + "," +
                                  longName + "," + longName + "," + longName +
                                  ",\r\nC3,,Sam,Park,\r\nC3,,Sam,Park,\r\n" +
                                  "Jon,Fox,J\xf6hnathan,Foxworthy,\r\n"));
  w.Start();
  RECT pane{};
  SendMessageW(w.bar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&pane));
  // The pane's own border and margin on either side of its text.
  const int messagePane = pane.right - pane.left - 2 * 3 * GetSystemMetrics(SM_CXEDGE);
  struct Row {
    std::string what, text;
    bool checkLine;
  };
  std::vector<Row> rows;
  for (const layout::Menu& menu : layout::MainMenu()) {
    for (const layout::MenuItem& item : menu.items) {
      if (item.command != layout::kSeparator) rows.push_back({item.text, item.prompt, false});
    }
  }
  rows.push_back({"idle", layout::kIdleMessage, false});

  PostMessageW(w.window(), WM_COMMAND, layout::command::kCheckRenameFile, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog("Check Rename File")) != nullptr; }));
  const ListBox list(dialog, id::kCheckRows);
  for (int row = 0; row < RowCount(list); ++row) {
    rows.push_back({"check line " + std::to_string(row), list.Row(row), true});
  }
  EXPECT_GE(rows.size(), 20u) << "the records and their problems";
  HWND line = GetDlgItem(dialog, id::kCheckLine);
  RECT lineRect{}, listRect{};
  GetClientRect(line, &lineRect);
  GetClientRect(list.handle(), &listRect);
  const auto extent = static_cast<int>(SendMessageW(list.handle(), LB_GETHORIZONTALEXTENT, 0, 0));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what + ": " + row.text);
    if (!row.checkLine) {
      EXPECT_LE(Drawn(w.bar(), row.text).cx, messagePane);
      continue;
    }
    EXPECT_LE(Drawn(list.handle(), row.text).cx, std::max<int>(extent, listRect.right));
    EXPECT_LE(Drawn(line, row.text, lineRect.right).cy, lineRect.bottom);
  }
  // The selected line is the one shown whole.
  EXPECT_EQ(WindowText(line), list.Row(list.Selection()));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
}

// Team names are Windows-1252 in the simulation's files, and shown so whatever the system's
// ANSI code page (the test runs again under 1250 and 1251, where these letters differ).
TEST(Win32Window, NamesInWindows1252WhateverTheCodePage) {
  if (const char* expected = std::getenv("TOVARIN_EXPECTED_CODE_PAGE")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the locale's code page";
  }
  Win32Window w;
  sim::OrgBuilder org;
  org.Organization(0).Group(10, 1, "AL").Group(11, 10, "E");
  org.Team(1, 11, 0, "Montr\xe9" "al Club", "Montr\xe9" "al", "MON");
  org.Team(2, 11, 1, "Pe\xf1uelas Club", "Pe\xf1uelas", "PEN");
  org.Write(w.tree.targetOrg);
  w.StoreSetup();
  w.Start();
  EXPECT_EQ(w.ListRows(id::kTargetList),
            (Rows{"Montr\xc3\xa9" "al  (AL E)", "Pe\xc3\xb1uelas  (AL E)"}));
}

// Enter runs Build, and the default outline always shows the button Enter presses: the push
// button that has the focus, or else Build. Checked at every stop of two rounds of Tab.
TEST(Win32Window, TheDefaultOutlineShowsWhatEnterPresses) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  const DWORD thread = GetWindowThreadProcessId(w.window(), nullptr);
  const auto focused = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  const auto pushButton = [](HWND control) {
    const LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
  };
  // Only the button Enter presses is outlined.
  const auto outlineFollows = [&](HWND focus, const std::string& where) {
    const HWND enter = pushButton(focus) ? focus : w.Item(id::kBuild);
    for (HWND child = GetWindow(w.form(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (!pushButton(child)) continue;
      const bool outlined = (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
      EXPECT_EQ(outlined, child == enter)
          << where << ": " << WindowText(child) << " with the focus on " << WindowText(focus);
    }
  };
  ASSERT_TRUE(WaitFor([&] { return focused() != nullptr; }));
  std::set<HWND> visited;
  for (int stop = 0; stop < 40; ++stop) {
    HWND focus = focused();
    visited.insert(focus);
    outlineFollows(focus, "stop " + std::to_string(stop));
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(focus, WM_KEYUP, VK_TAB, 0);
    WaitFor([&] { return focused() != focus; });
  }
  EXPECT_GT(visited.size(), 8u) << "Tab went round the form";
  const HWND last = focused();
  EXPECT_EQ(LOWORD(SendMessageW(w.form(), DM_GETDEFID, 0, 0)),
            pushButton(last) ? GetDlgCtrlID(last) : id::kBuild);

  // A click or a mnemonic (Alt+U) gives a button the focus: then Enter presses that button,
  // never Build (after Reset, a Build would ask whether to empty every roster).
  for (const int control : {id::kMatch, id::kUnmatch, id::kReset}) {
    const HWND button = w.Item(control);
    if (control == id::kUnmatch) {
      const HWND from = focused();
      PostMessageW(from, WM_SYSKEYDOWN, 'U', 1 << 29);
      PostMessageW(from, WM_SYSCHAR, 'u', 1 << 29);
      PostMessageW(from, WM_SYSKEYUP, 'U', 1 << 29);
    } else {
      PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    ASSERT_TRUE(WaitFor([&] { return focused() == button; })) << WindowText(button);
    WaitFor([&] { return LOWORD(SendMessageW(w.form(), DM_GETDEFID, 0, 0)) == control; });
    outlineFollows(button, "after a click on " + WindowText(button));
    PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(button, WM_KEYUP, VK_RETURN, 0);
    Sleep(300);
    const HWND box = FindDialog("Tovarin");
    EXPECT_EQ(box, nullptr) << "Enter on " << WindowText(button) << " ran Build";
    if (box) w.Answer(IDNO, true, true);
  }
  EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(w.tree.targetOrg, 1))) << "built";
}

TEST(Win32Window, BuildAsksAboutGamesPlayed) {
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    Win32Window w;
    fixture::StandardOrgWithGamesPlayed(3, 2).Write(w.tree.targetOrg);
    BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
    w.StoreSetup();
    w.Start();

    w.ClickLater(id::kBuild);
    EXPECT_EQ(w.Answer(yes ? IDYES : IDNO, true),
              "Target Organization already has games played.\n"
              "Tovarin clears the rosters of the target teams.\n"
              "Are you sure you wish to continue?");
    if (yes) {
      EXPECT_EQ(w.Answer(IDOK), w.tree.Completed());
      EXPECT_EQ(w.tree.TargetRoster(1), (std::vector<int>{2, 4, 5}));
      EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{7}));
      EXPECT_TRUE(fixture::FileExists(w.tree.targetDisk + "Tovarin.txt"));
      EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kThreeLetters), 1)
          << "a completed Build saves the setup";
    } else {
      EXPECT_TRUE(w.Shows(id::kTargetOrgPath, ""));
      EXPECT_EQ(w.Text(id::kTargetLabel), "Teams - 0");
      EXPECT_EQ(w.ListRows(id::kSourceList), (Rows{kSrc1, kSrc2}));
      EXPECT_EQ(w.tree.TargetRoster(3), (std::vector<int>{99}));
      EXPECT_FALSE(fixture::FileExists(w.tree.targetDisk + "Tovarin.txt"));
      EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kThreeLetters), std::nullopt);
    }
  }
}

TEST(Win32Window, ErrorsComeInAMessageBox) {
  Win32Window w;
  w.StoreSetup();
  DeleteFileW(platform::Widen(BuildTree::RosterName(w.tree.sourceOrg, 2)).c_str());
  w.Start();
  w.ClickLater(id::kBuild);
  EXPECT_EQ(w.Answer(IDOK),
            "Error while reading file : " + Native(BuildTree::RosterName(w.tree.sourceOrg, 2)) +
                "\nThe Build stopped there, and the rosters it had replaced were put back as "
                "they were, so no roster was changed.");
  EXPECT_TRUE(WaitFor([] { return FindDialog("Tovarin") == nullptr; }));
  // Answered once the window's thread takes messages again: when its command has ended, or
  // when a further message box has come up.
  SendMessageW(w.window(), WM_NULL, 0, 0);
  EXPECT_EQ(FindDialog("Tovarin"), nullptr) << "no completion message after an error";

  // A stored organization that is gone is reported at start-up, before the window shows.
  Win32Window again;
  again.StoreSetup();
  again.store.WriteString(settings::kFile, settings::kSrcOrg, "ORG00009");
  again.Start(false);
  EXPECT_EQ(again.Answer(IDOK),
            "CANNOT OPEN FILE :" + again.tree.sourceDisk + "ORG00009\\org.dat\n");
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(again.Text(id::kSourceOrgPath), "");
}

// The About box, the status bar's menu command, and Exit, which saves nothing.
TEST(Win32Window, AboutStatusBarAndExit) {
  Win32Window w;
  w.StoreSetup();
  w.Start();

  PostMessageW(w.window(), WM_COMMAND, layout::command::kAbout, 0);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = FindDialog("About Tovarin")) != nullptr; }));
  Rows texts;
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON) {
      EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0) << "the application's icon";
    } else if (!WindowText(child).empty()) {
      texts.push_back(WindowText(child));
    }
  }
  EXPECT_EQ(texts, (Rows{"Tovarin Version " TOVARIN_VERSION,
                         layout::kCreditLine, "OK"}));
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([about] { return !IsWindow(about); }));

  HWND bar = GetDlgItem(w.window(), layout::command::kStatusBar);
  ASSERT_TRUE(IsWindowVisible(bar));
  w.Menu(layout::command::kStatusBar);
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_EQ(GetMenuState(GetMenu(w.window()), layout::command::kStatusBar, MF_BYCOMMAND) &
                MF_CHECKED,
            0u);
  w.Menu(layout::command::kStatusBar);
  EXPECT_TRUE(IsWindowVisible(bar));

  w.Click(id::kUseFarm);
  EXPECT_EQ(SendMessageW(w.Item(id::kUseFarm), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const HWND window = w.window();
  PostMessageW(window, WM_COMMAND, layout::command::kExit, 0);
  EXPECT_TRUE(WaitFor([window] { return !IsWindow(window); }));
  EXPECT_EQ(w.store.ReadInt(settings::kOption, settings::kUseFarm), 1) << "nothing is saved";
}

// R&ename File asks with the system's file-open dialog; Cancel clears the rename file.
TEST(Win32Window, RenameFileFromTheOpenDialog) {
  constexpr int kFileName = 0x47C;  // the file-name box of the system's dialog
  Win32Window w;
  w.StoreSetup();
  w.Start();
  const std::string chosen = Native(w.tree.dir / "renames.txt");
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    w.ClickLater(id::kRenameFile);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (dialog = FindDialog("Choose Rename File")) != nullptr; }));
    // The system's dialog is visible before it has filled in its controls.
    EXPECT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(dialog, kFileName)) == "*.txt"; }))
        << "the initial file";
    if (ok) {
      SetWindowTextW(GetDlgItem(dialog, kFileName), platform::Widen(chosen).c_str());
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    } else {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_TRUE(w.Shows(id::kRenamePath, ok ? Lower(chosen) : ""));
    ASSERT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
  }
}

// The Preview Build dialog's dropped players: "player | team | candidate", and "[ ]" or "[x]"
// where the row has a checkbox.
Rows DroppedRows(HWND dialog) {
  HWND list = GetDlgItem(dialog, id::kPreviewDropped);
  Rows rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::string text;
    for (int column = 0; column < 3; ++column) {
      text += (column ? " | " : "") + ListViewCell(list, row, column);
    }
    const auto image = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                    LVIS_STATEIMAGEMASK) >> 12;
    if (image != 0) text += image == 2 ? " | [x]" : " | [ ]";
    rows.push_back(text);
  }
  return rows;
}

void Tick(HWND dialog, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageW(GetDlgItem(dialog, id::kPreviewDropped), LVM_SETITEMSTATE,
               static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// File > Preview Build draws the review; a ticked candidate goes into the rename file and then
// shows as carried, and no roster or report is written. A row without a candidate takes no tick.
TEST(Win32Window, PreviewAddsTheTickedCandidateToTheRenameFile) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  const sim::Bytes roster =
      fixture::ReadFileBytes(BuildTree::RosterName(w.tree.targetOrg, 1));
  // With the window at the screen's top left, the larger dialog still opens wholly on it.
  SetWindowPos(w.window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageW(w.window(), WM_COMMAND, layout::command::kPreviewBuild, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog("Preview Build")) != nullptr; }));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(w.window(), MONITOR_DEFAULTTONEAREST), &monitor));
  RECT placed{};
  GetWindowRect(dialog, &placed);
  EXPECT_GE(placed.left, monitor.rcWork.left);
  EXPECT_GE(placed.top, monitor.rcWork.top);
  EXPECT_LE(placed.right, monitor.rcWork.right);
  EXPECT_LE(placed.bottom, monitor.rcWork.bottom);
  const auto counts = [dialog] { return WindowText(GetDlgItem(dialog, id::kPreviewCounts)); };
  EXPECT_EQ(counts(),
            "Players carried: 5\nPlayers dropped: 2\nDropped players with candidates: 1\n"
            "Target teams left empty: 0\nRename records the Build would use: 1 of 1");
  const ListBox teams(dialog, id::kPreviewTeams);
  Rows teamRows;
  for (int row = 0; row < RowCount(teams); ++row) teamRows.push_back(teams.Row(row));
  EXPECT_EQ(teamRows, (Rows{
                          "City 1 Club: 3 players",
                          "    John Smith (2), from City 1's roster",
                          "    Ann Jones (4), from City 1's roster",
                          "    Al Lee (5), from City 1's farm roster",
                          "City 2 Club: 1 player",
                          "    Bob Brown (1), from City 2's roster",
                          "City 3 Club: 1 player",
                          "    Sam Park (7), from the rename file",
                      }));
  // A click gives Add to Rename File the focus: then Enter presses it (nothing is ticked yet),
  // not Close, and only it is outlined.
  const HWND add = GetDlgItem(dialog, id::kPreviewAdd);
  PostMessageW(add, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(add, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(WaitFor(
      [&] { return LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id::kPreviewAdd; }));
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool outlined = (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    EXPECT_EQ(outlined, child == add) << WindowText(child);
  }
  PostMessageW(add, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(add, WM_KEYUP, VK_RETURN, 0);
  Sleep(300);
  ASSERT_TRUE(IsWindow(dialog)) << "Enter on Add to Rename File closed the dialog";

  // The candidates show whole, and the lists grow with the dialog.
  HWND droppedList = GetDlgItem(dialog, id::kPreviewDropped);
  EXPECT_GE(SendMessageW(droppedList, LVM_GETCOLUMNWIDTH, 2, 0),
            SendMessageW(droppedList, LVM_GETSTRINGWIDTHW, 0,
                         reinterpret_cast<LPARAM>(L"John Fox (near miss, 1 letter apart)")));
  RECT before{}, after{}, dialogRect{};
  GetWindowRect(droppedList, &before);
  GetWindowRect(dialog, &dialogRect);
  SetWindowPos(dialog, nullptr, 0, 0, dialogRect.right - dialogRect.left + 200,
               dialogRect.bottom - dialogRect.top + 100, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(droppedList, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 200);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 50);
  Tick(dialog, 0);
  Tick(dialog, 1);
  EXPECT_EQ(DroppedRows(dialog), (Rows{"Jon Fox | City 1 | John Fox (near miss, 1 letter apart) | [x]",
                                       "Tim Gray | City 2 | no candidate"}));

  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kPreviewAdd, BN_CLICKED), 0);
  EXPECT_EQ(w.Answer(IDOK, false, false, /*information=*/true),
            "1 pair added to " + Native(w.tree.dir / "renames.txt"));
  EXPECT_TRUE(WaitFor([&] {
    return counts() ==
           "Players carried: 6\nPlayers dropped: 1\nDropped players with candidates: 0\n"
           "Target teams left empty: 0\nRename records the Build would use: 2 of 2";
  }));
  EXPECT_EQ(DroppedRows(dialog), Rows{"Tim Gray | City 2 | no candidate"});
  EXPECT_EQ(teams.Row(2), "    John Fox (3), from City 1's roster");
  EXPECT_EQ(fixture::ReadFileText(w.tree.dir / "renames.txt"),
            "C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\n");
  EXPECT_EQ(fixture::ReadFileBytes(BuildTree::RosterName(w.tree.targetOrg, 1)), roster);
  EXPECT_FALSE(fixture::FileExists(w.tree.targetDisk + "Tovarin.txt"));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
}

// File > Check Rename File: each record, its problems under it, and the summary.
TEST(Win32Window, CheckRenameFileShowsEveryRecordAndItsProblems) {
  Win32Window w;
  w.StoreSetup();
  sim::WriteBytes(w.tree.dir / "renames.txt",
                  BuildTree::Text("C3,,Sam,Park,\r\nJon,Fox,J\xf6hn,Fox,\r\n"));
  w.Start();
  PostMessageW(w.window(), WM_COMMAND, layout::command::kCheckRenameFile, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog("Check Rename File")) != nullptr; }));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, id::kCheckSummary)),
            "2 records: 0 pair players, 1 signs players, 1 does nothing; 1 problem");
  const ListBox rows(dialog, id::kCheckRows);
  Rows shown;
  for (int row = 0; row < RowCount(rows); ++row) shown.push_back(rows.Row(row));
  EXPECT_EQ(shown, (Rows{"Line 1: signs Sam Park (#7) to C3 (City 3 Club)",
                         "Line 2: does nothing: it names no target player",
                         "    2:9: names no target player: \"J\xc3\xb6hn Fox\"; nearest target "
                         "player: John Fox (#3)"}));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
}

// Without organizations, Check Rename File and Preview Build refuse as Build does.
TEST(Win32Window, CheckAndPreviewRefuseWithoutOrganizations) {
  Win32Window bare;
  bare.Start();
  PostMessageW(bare.window(), WM_COMMAND, layout::command::kPreviewBuild, 0);
  EXPECT_EQ(bare.Answer(IDOK), "Choose a target organization first.");
  PostMessageW(bare.window(), WM_COMMAND, layout::command::kCheckRenameFile, 0);
  EXPECT_EQ(bare.Answer(IDOK), "Choose a target organization first.");
}

bool OfClass(HWND window, const wchar_t* name) {
  wchar_t found[64] = {};
  GetClassNameW(window, found, 64);
  return lstrcmpiW(found, name) == 0;
}

// What a screen reader is told a control is called. Wine's oleacc names a button or a checkbox
// by its text and an edit by the static text before it; for a list or a drop-down it gives only
// the window's own text or value, so there the test reads the static text before it in the
// z-order, where Windows looks for the name.
std::string SpokenName(HWND control) {
  if (OfClass(control, L"ListBox") || OfClass(control, L"ComboBox") ||
      OfClass(control, WC_LISTVIEWW)) {
    HWND label = GetWindow(control, GW_HWNDPREV);
    return label && OfClass(label, L"Static") ? WindowText(label) : std::string();
  }
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(found)) return {};
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string text;
  if (object->get_accName(self, &name) == S_OK && name) text = platform::Narrow(name);
  SysFreeString(name);
  object->Release();
  return text;
}

// What a screen reader is told row `row` of the list box `list` says.
std::string RowName(HWND list, int row) {
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(found)) return "no object";
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = row + 1;
  BSTR name = nullptr;
  std::string text;
  if (object->get_accName(child, &name) == S_OK && name) text = platform::Narrow(name);
  SysFreeString(name);
  object->Release();
  return text;
}

// The controls of `dialog` (made from `layout`) that a user can act on and that have no name,
// or another than the table gives them.
Rows Unnamed(HWND dialog, const layout::DialogLayout& layout) {
  Rows missing;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const bool interactive = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) ||
                             OfClass(child, L"Edit") || OfClass(child, L"ListBox") ||
                             OfClass(child, L"ComboBox") || OfClass(child, WC_LISTVIEWW);
    if (!interactive) continue;
    const std::string name = SpokenName(child);
    const char* expected = layout::ControlNameOf(layout, GetDlgCtrlID(child));
    if (name.empty() || (expected && name != expected)) {
      missing.push_back(std::to_string(GetDlgCtrlID(child)) + ": \"" + name + "\"");
    }
  }
  return missing;
}

// Every control a user can act on, in the form and in every dialog, has a name, and the ones
// without a text of their own the table's; the file choosers say what they choose and offer.
TEST(Win32Window, EveryControlOfEveryWindowHasAName) {
  CoInitialize(nullptr);
  Win32Window w;
  BuildTree::Roster(w.tree.targetOrg, 3, {99}, "OLD");
  w.StoreSetup();
  w.Start();
  EXPECT_EQ(Unnamed(w.form(), layout::Form()), Rows{});
  EXPECT_EQ(SpokenName(w.Item(id::kTargetOrgPath)), "Target Organization path");
  EXPECT_EQ(RowName(w.Item(id::kTargetList), 0), "City 1 (AL E), source team C1 (AL E)");

  const auto walk = [&](const std::function<void()>& open, const char* title,
                        const layout::DialogLayout& layout) {
    open();
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog(title)) != nullptr; })) << title;
    EXPECT_EQ(Unnamed(dialog, layout), Rows{}) << title;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  };
  const auto menu = [&](int command) {
    return [&w, command] { PostMessageW(w.window(), WM_COMMAND, command, 0); };
  };
  walk(menu(layout::command::kPreviewBuild), "Preview Build", layout::PreviewBuildDialog());
  walk(menu(layout::command::kCheckRenameFile), "Check Rename File",
       layout::RenameCheckDialog());
  w.ClickLater(id::kBuild);
  EXPECT_EQ(w.Answer(IDOK), w.tree.Completed());
  walk(menu(layout::command::kRestoreBuild), "Restore Build", layout::RestoreBuildDialog());
  walk(menu(layout::command::kAbout), "About Tovarin", layout::AboutBox());
  walk([&] { w.ClickLater(id::kSourceOrganization); }, layout::kIdentifySourceTitle,
       layout::IdentifyOrganizationDialog(true));

  constexpr int kFileTypes = 0x470;  // the file-type box of the system's dialog
  PostMessageW(w.window(), WM_COMMAND, layout::command::kSetBasePath, 0);
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (chooser = FindDialog("Choose gstnd32.exe")) != nullptr; }));
  const ComboBox types(chooser, kFileTypes);
  EXPECT_TRUE(WaitFor([&] { return types.Item(0) == "Grandstand (gstnd32.exe)"; }));
  EXPECT_EQ(types.Item(1), "All files");
  PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
  CoUninitialize();
}

// The pixels of `control` as drawn, its frame too.
std::vector<COLORREF> Drawn(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  HDC dc = GetWindowDC(control);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < rect.bottom - rect.top; ++y) {
    for (int x = 0; x < rect.right - rect.left; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(control, dc);
  return pixels;
}

// A list with the focus is drawn otherwise than without it (more than a dotted line: a frame in
// the highlight colour), and one that takes the focus with no row selected selects its first:
// the team lists, and Preview's dropped players. The default buttons (Build, Close) show the
// focus too.
TEST(Win32Window, TheFocusedControlIsDrawnApart) {
  Win32Window w;
  w.StoreSetup();
  w.Start();
  const DWORD thread = GetWindowThreadProcessId(w.window(), nullptr);
  const auto focusOn = [thread](HWND dialog, HWND control) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    EXPECT_TRUE(WaitFor([&] {
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control;
    })) << WindowText(control);
    Sleep(200);  // drawn
  };
  // Just left of the list's client area, halfway down: the frame inside its border.
  const auto edge = [](HWND list) {
    RECT window{}, client{};
    GetWindowRect(list, &window);
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HDC dc = GetWindowDC(list);
    const COLORREF color = GetPixel(dc, client.left - window.left - 1,
                                    (client.top + client.bottom) / 2 - window.top);
    ReleaseDC(list, dc);
    return color;
  };
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const auto drawnApart = [&](HWND dialog, HWND list, HWND other) {
    focusOn(dialog, other);
    const std::vector<COLORREF> without = Drawn(list);
    EXPECT_NE(edge(list), highlight) << GetDlgCtrlID(list);
    focusOn(dialog, list);
    EXPECT_NE(Drawn(list), without) << GetDlgCtrlID(list);
    EXPECT_EQ(edge(list), highlight) << GetDlgCtrlID(list);
  };
  drawnApart(w.form(), w.Item(id::kTargetList), w.Item(id::kUseFarm));
  drawnApart(w.form(), w.Item(id::kSourceList), w.Item(id::kUseFarm));
  // Build, the default button, with the focus and without (the checkbox has it).
  focusOn(w.form(), w.Item(id::kUseFarm));
  const std::vector<COLORREF> build = Drawn(w.Item(id::kBuild));
  focusOn(w.form(), w.Item(id::kBuild));
  EXPECT_NE(Drawn(w.Item(id::kBuild)), build);

  SendMessageW(w.Item(id::kTargetList), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  focusOn(w.form(), w.Item(id::kUseFarm));
  ASSERT_EQ(w.Selection(id::kTargetList), -1);
  focusOn(w.form(), w.Item(id::kTargetList));
  EXPECT_EQ(w.Selection(id::kTargetList), 0);

  PostMessageW(w.window(), WM_COMMAND, layout::command::kPreviewBuild, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog("Preview Build")) != nullptr; }));
  HWND dropped = GetDlgItem(dialog, id::kPreviewDropped);
  ASSERT_EQ(SendMessageW(dropped, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
  drawnApart(dialog, dropped, GetDlgItem(dialog, id::kPreviewTeams));
  EXPECT_EQ(SendMessageW(dropped, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  EXPECT_EQ(SendMessageW(dropped, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
  HWND close = GetDlgItem(dialog, IDOK);
  const std::vector<COLORREF> unfocused = Drawn(close);
  focusOn(dialog, close);
  EXPECT_NE(Drawn(close), unfocused) << "Close";
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
}

}  // namespace
}  // namespace tovarin::win32
