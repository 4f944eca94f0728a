#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "platform/native_path.h"
#include "settings/registry_settings_store.h"

namespace tovarin {
namespace {

using platform::Widen;

// A key of its own under HKEY_CURRENT_USER, removed at the end.
struct TestKey {
  std::string path = "Software\\Didozuza\\Tovarin-test-" + std::to_string(std::random_device()());
  ~TestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str()); }

  void SetRaw(const std::string& section, const std::string& name, DWORD type,
              const void* data, DWORD size) const {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Widen(path + "\\" + section).c_str(),
                              Widen(name).c_str(), type, data, size),
              ERROR_SUCCESS);
  }
  // Lets everyone have only `access` to the section's key (nothing when 0).
  void Restrict(const std::string& section, DWORD access) const {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path + "\\" + section).c_str(), 0, nullptr,
                              0, WRITE_DAC, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    alignas(DWORD) unsigned char buffer[256];
    ACL* acl = reinterpret_cast<ACL*>(buffer);
    InitializeAcl(acl, sizeof buffer, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    if (access) AddAccessAllowedAce(acl, ACL_REVISION, access, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    FreeSid(everyone);
    RegCloseKey(handle);
  }
};

TEST(RegistrySettingsStore, ValuesTypesAndDefaults) {
  TestKey key;
  RegistrySettingsStore store(key.path);
  EXPECT_EQ(store.ReadString("File", "BaseDir"), std::nullopt);  // no key yet
  EXPECT_EQ(store.ReadInt("Option", "UseFarm"), std::nullopt);

  // UTF-8, with a letter the Western code page lacks.
  const std::string base = "C:\\Ligue Qu\xC3\xA9" "bec \xC5\x81ista\\";
  store.WriteString("File", "BaseDir", base);
  store.WriteString("File", "Rename", "");
  store.WriteInt("Option", "UseFarm", 0);
  store.WriteInt("Option", "ThreeLetters", -2);
  EXPECT_EQ(store.ReadString("File", "BaseDir"), base);
  EXPECT_EQ(store.ReadString("File", "Rename"), "");
  EXPECT_EQ(store.ReadInt("Option", "UseFarm"), 0);
  EXPECT_EQ(store.ReadInt("Option", "ThreeLetters"), -2);

  // The letters stand in the registry as the letters they are, not as bytes.
  wchar_t text[64] = {};
  DWORD size = sizeof text;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Widen(key.path + "\\File").c_str(), L"BaseDir",
                         RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(text), L"C:\\Ligue Qu\u00E9bec \u0141ista\\");
  // Bytes that are not UTF-8 would name another folder: they are never stored.
  EXPECT_TRUE(store.Commit(nullptr));
  store.WriteString("File", "BaseDir", "C:\\Qu\xE9" "bec\\");
  EXPECT_EQ(store.ReadString("File", "BaseDir"), base);
  std::string why;
  EXPECT_FALSE(store.Commit(&why));
  EXPECT_NE(why.find(platform::kNotPathText), std::string::npos) << why;

  EXPECT_EQ(store.ReadProblem(), "");
}

// A string is read from REG_SZ and REG_EXPAND_SZ (its variables expanded), a number from
// REG_DWORD and from a REG_SZ of decimal digits. Anything else is there but cannot be read:
// it reads as missing, and ReadProblem says which value and why.
TEST(RegistrySettingsStore, ValuesOfEveryType) {
  const DWORD number = 5;
  const unsigned char shortNumber[] = {1, 0};
  const wchar_t unterminated[] = {L'a', L'b'};
  const wchar_t list[] = L"C:\\a\\\0C:\\b\\\0";
  const struct {
    const char* name;
    DWORD type;
    const void* data;
    DWORD size;
    bool number;                   // read as a number, else as a string
    std::optional<std::string> read;  // the value read, as text
    std::string why;               // empty when it can be read
  } rows[] = {
      {"Bare", REG_SZ, unterminated, sizeof unterminated, false, "ab", ""},
      {"Expanded", REG_EXPAND_SZ, L"%SystemDrive%\\t\\base\\", 44, false, "C:\\t\\base\\", ""},
      {"Undefined", REG_EXPAND_SZ, L"%NoSuchVariable%", 34, false, "%NoSuchVariable%", ""},
      {"Dword", REG_DWORD, &number, sizeof number, false, std::nullopt,
       "it is a REG_DWORD value, not a string"},
      {"List", REG_MULTI_SZ, list, sizeof list, false, std::nullopt,
       "it is a REG_MULTI_SZ value, not a string"},
      {"Number", REG_DWORD, &number, sizeof number, true, "5", ""},
      {"Zero", REG_SZ, L"0", 4, true, "0", ""},
      {"Negative", REG_SZ, L"-2", 6, true, "-2", ""},
      {"Word", REG_SZ, L"yes", 8, true, std::nullopt, "it is not a whole number"},
      {"Spaced", REG_SZ, L" 1", 6, true, std::nullopt, "it is not a whole number"},
      {"Expandable", REG_EXPAND_SZ, L"1", 4, true, std::nullopt,
       "it is a REG_EXPAND_SZ value, not a number"},
      {"Short", REG_DWORD, shortNumber, sizeof shortNumber, true, std::nullopt,
       "it is a REG_DWORD value of 2 bytes, not 4"},
      {"Binary", REG_BINARY, shortNumber, sizeof shortNumber, true, std::nullopt,
       "it is a REG_BINARY value, not a number"},
  };
  TestKey key;
  RegistrySettingsStore store(key.path);
  for (const auto& row : rows) {
    key.SetRaw("File", row.name, row.type, row.data, row.size);
    std::optional<std::string> read;
    if (row.number) {
      if (const auto n = store.ReadInt("File", row.name)) read = std::to_string(*n);
    } else {
      read = store.ReadString("File", row.name);
    }
    EXPECT_EQ(read, row.read) << row.name;
    EXPECT_EQ(store.ReadProblem(), row.why.empty() ? "" : "HKEY_CURRENT_USER\\" + key.path +
                                                             "\\File\\" + row.name + "\n" + row.why)
        << row.name;
    // Read again once it is mended, it is no problem any more.
    key.SetRaw("File", row.name, REG_SZ, L"1", 4);
    store.ReadString("File", row.name);
  }
}

TEST(RegistrySettingsStore, AFailedWriteIsReportedAtCommit) {
  // A key name longer than the registry allows: nothing is written, nothing breaks, and Commit
  // names the first key refused with the system's own words.
  const std::string key = "Software\\Didozuza\\" + std::string(300, 'x');
  RegistrySettingsStore store(key);
  store.WriteString("File", "BaseDir", "C:\\");
  store.WriteInt("Option", "UseFarm", 0);
  EXPECT_EQ(store.ReadString("File", "BaseDir"), std::nullopt);
  EXPECT_EQ(store.ReadInt("Option", "UseFarm"), std::nullopt);
  std::string what;
  EXPECT_FALSE(store.Commit(&what));
  const std::string place = "HKEY_CURRENT_USER\\" + key + "\\File\n";
  ASSERT_EQ(what.rfind(place, 0), 0u) << what;
  EXPECT_GT(what.size(), place.size());
  EXPECT_EQ(what.find("error"), std::string::npos) << what;  // words, not a number
  EXPECT_TRUE(store.Commit(&what));  // told once

  TestKey test;
  RegistrySettingsStore good(test.path);
  good.WriteInt("Option", "UseFarm", 0);
  EXPECT_TRUE(good.Commit(&what));

  // A write that fails after others of the same Commit: they are put back as they were, and the
  // values stored before stay; a later Commit is judged by its own writes.
  good.WriteString("File", "BaseDir", "C:\\old\\");
  EXPECT_TRUE(good.Commit(&what));
  good.WriteString("File", "BaseDir", "C:\\new\\");
  good.WriteString("File", "Rename", "C:\\r.txt");
  good.WriteInt(std::string(300, 'x'), "UseFarm", 1);
  good.WriteInt("Option", "UseFarm", 1);
  EXPECT_EQ(good.ReadString("File", "BaseDir"), "C:\\old\\");
  EXPECT_EQ(good.ReadString("File", "Rename"), std::nullopt);
  EXPECT_EQ(good.ReadInt("Option", "UseFarm"), 0);
  EXPECT_FALSE(good.Commit(&what));
  EXPECT_EQ(what.substr(what.rfind('\n') + 1), platform::kStoredBeforeKept) << what;
  good.WriteInt("Option", "UseFarm", 1);
  EXPECT_TRUE(good.Commit(&what)) << what;
  EXPECT_EQ(good.ReadInt("Option", "UseFarm"), 1);

  // The key Option read-only: the File values written before it go back.
  test.Restrict("Option", KEY_READ);
  good.WriteString("File", "BaseDir", "C:\\new\\");
  good.WriteInt("Option", "UseFarm", 0);
  EXPECT_FALSE(good.Commit(&what));
  EXPECT_EQ(what.rfind("HKEY_CURRENT_USER\\" + test.path + "\\Option\n", 0), 0u) << what;
  EXPECT_EQ(good.ReadString("File", "BaseDir"), "C:\\old\\");
  EXPECT_EQ(good.ReadInt("Option", "UseFarm"), 1);
  // The key File refused for reading: its values are said to be unreadable, not missing.
  test.Restrict("File", 0);
  EXPECT_EQ(good.ReadString("File", "BaseDir"), std::nullopt);
  EXPECT_EQ(good.ReadString("File", "Rename"), std::nullopt);
  EXPECT_EQ(good.ReadProblem().rfind("HKEY_CURRENT_USER\\" + test.path + "\\File\n", 0), 0u)
      << good.ReadProblem();
  EXPECT_EQ(good.ReadProblem().find('\n', good.ReadProblem().find('\n') + 1), std::string::npos)
      << "told once: " << good.ReadProblem();
  for (const char* section : {"File", "Option"}) test.Restrict(section, KEY_ALL_ACCESS);
}

}  // namespace
}  // namespace tovarin
