#include "settings/registry_settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/native_path.h"
#include "platform/system_error.h"

namespace tovarin {
namespace {

using platform::Widen;

std::string TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return "REG_LINK";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return "type " + std::to_string(type);
  }
}

// A stored string need not carry its terminator; the first NUL ends it either way.
std::wstring Text(const std::vector<unsigned char>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

// A decimal number: digits with an optional minus sign, within 32 bits.
std::optional<std::int32_t> Decimal(const std::wstring& text) {
  const std::size_t digits = !text.empty() && text[0] == L'-' ? 1 : 0;
  if (text.size() == digits || text.size() > digits + 10) return std::nullopt;
  long long number = 0;
  for (std::size_t i = digits; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    number = number * 10 + (text[i] - L'0');
  }
  if (digits) number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(number);
}

}  // namespace

std::string RegistrySettingsStore::Path(const std::string& section,
                                        const std::string& name) const {
  return "HKEY_CURRENT_USER\\" + key_ + "\\" + section + (name.empty() ? "" : "\\" + name);
}

void RegistrySettingsStore::NoteUnreadable(const std::string& path, const std::string& why) {
  std::erase_if(unreadable_, [&](const auto& noted) { return noted.first == path; });
  if (!why.empty()) unreadable_.emplace_back(path, why);
}

std::string RegistrySettingsStore::ReadRaw(const std::string& section, const std::string& name,
                                           RawValue& value) const {
  value = RawValue();
  HKEY handle = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key_ + "\\" + section).c_str(), 0,
                                 KEY_QUERY_VALUE, &handle);
  if (status == ERROR_FILE_NOT_FOUND) return "";
  if (status != ERROR_SUCCESS) {
    return Path(section) + "\n" + platform::SystemErrorText(static_cast<unsigned long>(status));
  }
  const std::wstring wideName = Widen(name);
  // A value that grows between the two calls is asked for again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    status = RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) break;
    value.data.resize(size);
    status = RegQueryValueExW(handle, wideName.c_str(), nullptr, &type,
                              size ? value.data.data() : nullptr, &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      value.exists = true;
      value.type = type;
    }
    break;
  }
  RegCloseKey(handle);
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return "";
  value = RawValue();
  return Path(section, name) + "\n" +
         platform::SystemErrorText(static_cast<unsigned long>(status));
}

std::optional<std::string> RegistrySettingsStore::ReadString(const std::string& section,
                                                             const std::string& name) {
  const std::string path = Path(section, name);
  RawValue raw;
  std::string problem = ReadRaw(section, name, raw);
  std::optional<std::string> result;
  if (problem.empty() && raw.exists) {
    std::wstring text = Text(raw.data);
    if (raw.type == REG_EXPAND_SZ) {
      const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
      std::wstring expanded(needed, L'\0');
      const DWORD got =
          needed ? ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) : 0;
      if (got == 0 || got > needed) {
        problem = path + "\nits variables could not be expanded: " +
                  platform::SystemErrorText(GetLastError());
      }
      expanded.resize(got ? got - 1 : 0);
      text = expanded;
    } else if (raw.type != REG_SZ) {
      problem = path + "\nit is a " + TypeName(raw.type) + " value, not a string";
    }
    if (problem.empty()) result = platform::Narrow(text);
  }
  NoteUnreadable(path, problem);
  return result;
}

std::optional<std::int32_t> RegistrySettingsStore::ReadInt(const std::string& section,
                                                           const std::string& name) {
  const std::string path = Path(section, name);
  RawValue raw;
  std::string problem = ReadRaw(section, name, raw);
  std::optional<std::int32_t> result;
  if (problem.empty() && raw.exists) {
    if (raw.type == REG_DWORD && raw.data.size() == sizeof(DWORD)) {
      DWORD value = 0;
      std::memcpy(&value, raw.data.data(), sizeof value);
      result = static_cast<std::int32_t>(value);
    } else if (raw.type == REG_SZ) {
      // A number someone stored as text, as `reg add` does without /t.
      result = Decimal(Text(raw.data));
      if (!result) problem = path + "\nit is not a whole number";
    } else if (raw.type == REG_DWORD) {
      problem = path + "\nit is a REG_DWORD value of " + std::to_string(raw.data.size()) +
                " bytes, not 4";
    } else {
      problem = path + "\nit is a " + TypeName(raw.type) + " value, not a number";
    }
  }
  NoteUnreadable(path, problem);
  return result;
}

std::string RegistrySettingsStore::ReadProblem() {
  std::vector<std::string> told;
  for (const auto& noted : unreadable_) {
    // A section that cannot be opened is told once, not for each of its values.
    if (std::find(told.begin(), told.end(), noted.second) == told.end()) {
      told.push_back(noted.second);
    }
  }
  std::string problem;
  for (const std::string& why : told) problem += (problem.empty() ? "" : "\n") + why;
  return problem;
}

void RegistrySettingsStore::Fail(const std::string& what) {
  // Every value written since the last Commit goes back as it was, newest first.
  std::string lost;
  for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
    const auto& [section, name] = it->first;
    const RawValue& before = it->second;
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key_ + "\\" + section).c_str(), 0,
                                     nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     &handle, nullptr);
    if (status == ERROR_SUCCESS) {
      status = before.exists
                   ? RegSetValueExW(handle, Widen(name).c_str(), 0, before.type,
                                    before.data.data(), static_cast<DWORD>(before.data.size()))
                   : RegDeleteValueW(handle, Widen(name).c_str());
      if (!before.exists && status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
      RegCloseKey(handle);
    }
    if (status != ERROR_SUCCESS) lost += (lost.empty() ? "" : ", ") + section + "\\" + name;
  }
  written_.clear();
  failure_ = what + "\n" +
             (lost.empty() ? std::string(platform::kStoredBeforeKept)
                           : "These values were stored and could not be put back as they "
                             "were: " + lost);
}

void RegistrySettingsStore::SetValue(const std::string& section, const std::string& name,
                                     unsigned long type, const void* data, unsigned long size) {
  if (!failure_.empty()) return;  // put back already; nothing more until Commit
  const auto id = std::make_pair(section, name);
  bool kept = false;
  for (const auto& written : written_) kept = kept || written.first == id;
  if (!kept) {
    RawValue before;
    if (const std::string problem = ReadRaw(section, name, before); !problem.empty()) {
      // What could not be put back is never overwritten.
      Fail(problem);
      return;
    }
    written_.emplace_back(id, std::move(before));
  }
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key_ + "\\" + section).c_str(), 0,
                                   nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                   &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                            size);
    RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS) {
    Fail(Path(section) + "\n" + platform::SystemErrorText(static_cast<unsigned long>(status)));
  }
}

bool RegistrySettingsStore::Commit(std::string* what) {
  // Each value was written at once; what is left is to say whether the writes failed.
  written_.clear();
  std::string failure;
  failure.swap(failure_);
  if (failure.empty()) return true;
  if (what) *what = failure;
  return false;
}

void RegistrySettingsStore::WriteString(const std::string& section, const std::string& name,
                                        const std::string& value) {
  std::wstring text;
  if (!platform::ToWide(value, text)) {
    // Never a value that would name another path; the setup is said not to be stored.
    if (failure_.empty()) Fail(Path(section, name) + "\n" + platform::kNotPathText);
    return;
  }
  SetValue(section, name, REG_SZ, text.c_str(),
           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettingsStore::WriteInt(const std::string& section, const std::string& name,
                                     std::int32_t value) {
  const DWORD dword = static_cast<DWORD>(value);
  SetValue(section, name, REG_DWORD, &dword, sizeof dword);
}

}  // namespace tovarin
