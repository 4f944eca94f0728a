#include "win32/dialogs.h"

#include "platform/native_path.h"
#include "shell/form_layout.h"
#include "shell/menu_layout.h"
#include "shell/org_location.h"

namespace tovarin::win32 {

void ShowUnexpectedError(const std::string& what) {
  MessageBoxW(GetActiveWindow(), platform::Widen(layout::kCommandFailed + what).c_str(),
              platform::Widen(layout::kApplicationTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CenterOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner) return;
  RECT around{}, box{};
  GetWindowRect(owner, &around);
  GetWindowRect(dialog, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (around.left + around.right - width) / 2,
               (around.top + around.bottom - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON AppIcon(HINSTANCE instance) {
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(128));
  return icon ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

bool OrgDialog::Run(HWND owner) {
  return RunModal(layout::IdentifyOrganizationDialog(), owner, *this) == IDOK;
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
  CenterOnOwner(dialog);
  dataDisks_ = ComboBox(dialog, layout::id::kDataDiskList);
  organizations_ = ComboBox(dialog, layout::id::kOrganizationList);
  dataDisks_.SetItems(picker_.dataDisks(), picker_.dataDiskSelection());
  ShowOrganizations();
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

void AboutDialog::Run(HWND owner) { RunModal(layout::AboutBox(), owner, *this); }

INT_PTR AboutDialog::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
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
