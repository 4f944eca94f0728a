#include "settings/registry_settings_store.h"

#include <windows.h>

#include "platform/native_path.h"
#include "platform/system_error.h"

namespace tovarin {
namespace {

using platform::Widen;

// The section's subkey, opened for reading (nullptr when it does not exist) or created;
// `status` receives the registry's answer.
HKEY OpenSection(const std::string& key, const std::string& section, bool create,
                 LSTATUS* status = nullptr) {
  const std::wstring path = Widen(key + "\\" + section);
  HKEY handle = nullptr;
  const LSTATUS result =
      create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_SET_VALUE, nullptr, &handle, nullptr)
             : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &handle);
  if (status) *status = result;
  return result == ERROR_SUCCESS ? handle : nullptr;
}

}  // namespace

void RegistrySettingsStore::SetValue(const std::string& key, const std::string& section,
                                     const std::string& name, unsigned long type,
                                     const void* data, unsigned long size) {
  LSTATUS status = ERROR_SUCCESS;
  if (HKEY handle = OpenSection(key, section, true, &status)) {
    status = RegSetValueExW(handle, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                            size);
    RegCloseKey(handle);
  }
  // The first refusal since the last Commit is the one told.
  if (status != ERROR_SUCCESS && failure_.empty()) {
    failure_ = "HKEY_CURRENT_USER\\" + key + "\\" + section + "\n" +
               platform::SystemErrorText(static_cast<unsigned long>(status));
  }
}

bool RegistrySettingsStore::Commit(std::string* what) {
  // Each value is written at once; what is left is to say whether one failed.
  std::string failure;
  failure.swap(failure_);
  if (failure.empty()) return true;
  if (what) *what = failure;
  return false;
}

std::optional<std::string> RegistrySettingsStore::ReadString(const std::string& section,
                                                             const std::string& name) {
  HKEY handle = OpenSection(key_, section, false);
  if (!handle) return std::nullopt;
  const std::wstring value = Widen(name);
  std::optional<std::string> result;
  DWORD type = 0;
  DWORD size = 0;
  // The value may change between the two calls; a second size mismatch reads as missing.
  if (RegQueryValueExW(handle, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(handle, value.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &got) == ERROR_SUCCESS &&
        type == REG_SZ) {
      // A stored string need not carry its terminator; the first NUL ends it either way.
      text.resize(got / sizeof(wchar_t));
      text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
      result = platform::Narrow(text);
    }
  }
  RegCloseKey(handle);
  return result;
}

std::optional<std::int32_t> RegistrySettingsStore::ReadInt(const std::string& section,
                                                           const std::string& name) {
  HKEY handle = OpenSection(key_, section, false);
  if (!handle) return std::nullopt;
  std::optional<std::int32_t> result;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(handle, Widen(name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value) {
    result = static_cast<std::int32_t>(value);
  }
  RegCloseKey(handle);
  return result;
}

void RegistrySettingsStore::WriteString(const std::string& section, const std::string& name,
                                        const std::string& value) {
  std::wstring text;
  if (!platform::ToWide(value, text)) {
    // Never a value that would name another path; the setup is said not to be stored.
    if (failure_.empty()) {
      failure_ = "HKEY_CURRENT_USER\\" + key_ + "\\" + section + "\\" + name + "\n" +
                 platform::kNotPathText;
    }
    return;
  }
  SetValue(key_, section, name, REG_SZ, text.c_str(),
           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettingsStore::WriteInt(const std::string& section, const std::string& name,
                                     std::int32_t value) {
  const DWORD dword = static_cast<DWORD>(value);
  SetValue(key_, section, name, REG_DWORD, &dword, sizeof dword);
}

}  // namespace tovarin
