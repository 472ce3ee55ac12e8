#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "registry.h"
#include "registry_settings_store.h"
#include "utf.h"

namespace vellumo {
namespace {

// Every test works below a key of its own, deleted afterwards.
class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    key_path_ = std::string("Software\\VellumoTests\\") + info->name();
    Clear();
  }
  void TearDown() override { Clear(); }

  void Clear() { test::DeleteUserKey(key_path_); }

  // Stores raw data of any type, as another program might have.
  void PutRaw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_TRUE(test::WriteUserValue(key_path_, name, type, data, bytes));
  }

  std::string key_path_;
};

TEST_F(RegistrySettingsStoreTest, RoundTripsTextOfAnyScript) {
  RegistrySettingsStore store(key_path_);
  const std::string values[] = {"True",
                                "300",
                                "",
                                "C:\\Pictures\\Été à Genève\\",
                                "D:\\写真\\夏休み\\海.jpg",
                                "emoji \xF0\x9F\x8C\x85 end"};
  for (const auto& value : values) {
    ASSERT_TRUE(store.Write("sLastFile", value));
    EXPECT_EQ(store.Read("sLastFile"), value);
  }
  // A second store on the same key sees what the first one wrote.
  EXPECT_EQ(RegistrySettingsStore(key_path_).Read("sLastFile"), values[std::size(values) - 1]);
}

TEST_F(RegistrySettingsStoreTest, StoresOneStringValuePerKeyWithItsTerminator) {
  RegistrySettingsStore store(key_path_);
  ASSERT_TRUE(store.Write("iAutoSize", "300"));
  ASSERT_TRUE(store.Write("bRandom", "False"));

  DWORD type = 0;
  wchar_t data[16] = {};
  DWORD bytes = sizeof(data);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Widen(key_path_).c_str(), L"iAutoSize", RRF_RT_ANY,
                         &type, data, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 4 * sizeof(wchar_t));
  EXPECT_STREQ(data, L"300");
  EXPECT_EQ(store.Read("bRandom"), "False");
}

TEST_F(RegistrySettingsStoreTest, AbsentKeyOrValueReadsAsNothing) {
  RegistrySettingsStore store(key_path_);
  EXPECT_EQ(store.Read("bFadeOut"), std::nullopt);  // no key at all
  ASSERT_TRUE(store.Write("bRandom", "True"));
  EXPECT_EQ(store.Read("bFadeOut"), std::nullopt);  // key, but no such value
  // An empty text is a value, not an absent one.
  ASSERT_TRUE(store.Write("sSourceFile", ""));
  EXPECT_EQ(store.Read("sSourceFile"), "");
}

TEST_F(RegistrySettingsStoreTest, NumbersAndExpandableTextOtherToolsStoredReadAsTheirText) {
  const DWORD display_type = 2, all_ones = 0xFFFFFFFF;
  PutRaw("iDisplayType", REG_DWORD, &display_type, sizeof(display_type));
  PutRaw("iAutoRatio", REG_DWORD, &all_ones, sizeof(all_ones));
  const int64_t big = -(int64_t{1} << 40);
  PutRaw("iAutoSize", REG_QWORD, &big, sizeof(big));
  const wchar_t expandable[] = L"%USERPROFILE%\\Pictures\\";
  PutRaw("sSourceFolder", REG_EXPAND_SZ, expandable, sizeof(expandable));
  RegistrySettingsStore store(key_path_);
  EXPECT_EQ(store.Read("iDisplayType"), "2");
  EXPECT_EQ(store.Read("iAutoRatio"), "-1");  // signed, as the settings' integers are
  EXPECT_EQ(store.Read("iAutoSize"), "-1099511627776");
  EXPECT_EQ(store.Read("sSourceFolder"), "%USERPROFILE%\\Pictures\\");  // not expanded

  // Writing stores our own form, a string, in place of the number.
  ASSERT_TRUE(store.Write("iDisplayType", "3"));
  EXPECT_EQ(test::ReadUserString(key_path_, "iDisplayType"), "3");
}

TEST_F(RegistrySettingsStoreTest, ValuesOfOtherTypesOrSizesReadAsNothing) {
  const uint16_t short_number = 300;
  PutRaw("iAutoSize", REG_DWORD, &short_number, sizeof(short_number));
  PutRaw("iAutoRatio", REG_BINARY, "10", 2);
  const wchar_t multi[] = L"a\0b\0";
  PutRaw("sSourceFolder", REG_MULTI_SZ, multi, sizeof(multi));
  RegistrySettingsStore store(key_path_);
  EXPECT_EQ(store.Read("iAutoSize"), std::nullopt);
  EXPECT_EQ(store.Read("iAutoRatio"), std::nullopt);
  EXPECT_EQ(store.Read("sSourceFolder"), std::nullopt);
}

TEST_F(RegistrySettingsStoreTest, StringsStoredWithoutTerminatorOrOddLengthAreReadSafely) {
  const wchar_t text[] = {L'a', L'b', L'c'};
  PutRaw("noTerminator", REG_SZ, text, sizeof(text));
  PutRaw("oddLength", REG_SZ, text, sizeof(text) - 1);
  const wchar_t inner[] = L"left\0right";
  PutRaw("innerNul", REG_SZ, inner, sizeof(inner));
  RegistrySettingsStore store(key_path_);
  EXPECT_EQ(store.Read("noTerminator"), "abc");
  const auto odd = store.Read("oddLength");
  // The half character is dropped (or the value refused).
  if (odd) {
    EXPECT_EQ(*odd, "ab");
  }
  EXPECT_EQ(store.Read("innerNul"), "left");
}

TEST_F(RegistrySettingsStoreTest, RefusesTextThatWouldComeBackCutShort) {
  RegistrySettingsStore store(key_path_);
  EXPECT_FALSE(store.Write("sLastFile", std::string("a\0b", 3)));
  EXPECT_EQ(store.Read("sLastFile"), std::nullopt);
}

TEST_F(RegistrySettingsStoreTest, DefaultStoreWritesBelowTheApplicationsKey) {
  RegistrySettingsStore store;
  ASSERT_TRUE(store.Write("probe", "1"));
  EXPECT_EQ(test::ReadUserString("Software\\Vellumo\\Settings", "probe"), "1");
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Vellumo\\Settings", L"probe");
}

}  // namespace
}  // namespace vellumo
