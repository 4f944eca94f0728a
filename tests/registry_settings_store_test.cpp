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

  // Wrong types, a short number and a string without its terminator.
  const DWORD number = 5;
  const wchar_t unterminated[] = {L'a', L'b'};
  const unsigned char shortNumber[] = {1, 0};
  key.SetRaw("Option", "SmartInitials", REG_SZ, L"1", 4);
  key.SetRaw("File", "TgtOrg", REG_DWORD, &number, sizeof number);
  key.SetRaw("File", "SrcOrg", REG_EXPAND_SZ, L"%X%", 8);
  key.SetRaw("Option", "Short", REG_BINARY, shortNumber, sizeof shortNumber);
  key.SetRaw("File", "Bare", REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(store.ReadInt("Option", "SmartInitials"), std::nullopt);
  EXPECT_EQ(store.ReadString("File", "TgtOrg"), std::nullopt);
  EXPECT_EQ(store.ReadString("File", "SrcOrg"), std::nullopt);
  EXPECT_EQ(store.ReadInt("Option", "Short"), std::nullopt);
  EXPECT_EQ(store.ReadString("File", "Bare"), "ab");
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
}

}  // namespace
}  // namespace tovarin
