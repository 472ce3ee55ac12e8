#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "registry.h"
#include "registry_values.h"
#include "run_at_logon.h"
#include "test_folder.h"
#include "utf.h"

namespace vellumo {
namespace {

using Registry::Value;
const Value kUnset = std::string("unset");

// Every test works below a key of its own, deleted afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    key_ = std::string("Software\\VellumoTests\\") + info->test_suite_name() + "." + info->name();
    test::DeleteUserKey(key_);
  }
  void TearDown() override { test::DeleteUserKey(key_); }

  int32_t Write(const std::string& type, const Value& value) {
    return Registry::Write_Value("HKCU", key_, "v", type, value);
  }
  // The status, and the result read into `result` (kUnset by default).
  int32_t Read(const std::string& type, Value& result) {
    return Registry::Read_Value("HKCU", key_, "v", type, kUnset, result);
  }
  void PutRaw(DWORD type, const void* data, DWORD bytes) {
    ASSERT_TRUE(test::WriteUserValue(key_, "v", type, data, bytes));
  }
  // The stored type and first four bytes of the value.
  std::pair<DWORD, uint32_t> Raw() {
    DWORD type = 0, bytes = 4;
    uint32_t data = 0;
    RegGetValueW(HKEY_CURRENT_USER, Widen(key_).c_str(), L"v", RRF_RT_ANY, &type, &data, &bytes);
    return {type, data};
  }

  std::string key_;
};

TEST(RegistryRootKey, NamesThePredefinedKeysInAnyCaseAndExistingFiles) {
  EXPECT_EQ(Registry::Root_Key("hkcu"), 0x80000001u);
  EXPECT_EQ(Registry::Root_Key("HkLm"), 0x80000002u);
  EXPECT_EQ(Registry::Root_Key("HKU"), 0x80000003u);
  EXPECT_EQ(Registry::Root_Key("HKCC"), 0x80000005u);
  EXPECT_EQ(Registry::Root_Key("HKDD"), 0x80000006u);
  EXPECT_EQ(Registry::Root_Key("hkcr"), 0x80000000u);
  EXPECT_EQ(Registry::Root_Key("HKEY_CURRENT_USER"), 0u);
  test::TestFolder folder;
  EXPECT_EQ(Registry::Root_Key(folder.AddFile("a.ini")), 1u);
  EXPECT_EQ(Registry::Root_Key(folder.path()), 0u);
  EXPECT_EQ(Registry::Root_Key(folder / "missing.ini"), 0u);
}

TEST(RegistryUnknownRoot, Returns99AndLeavesTheDefault) {
  Value result;
  EXPECT_EQ(Registry::Read_Value("HKXX", "Software", "v", "S", kUnset, result), 99);
  EXPECT_EQ(result, kUnset);
  EXPECT_EQ(Registry::Write_Value("HKXX", "Software", "v", "S", "x"), 99);
  EXPECT_EQ(Registry::Delete_Value("HKXX", "Software", "v"), 99);
}

TEST_F(RegistryTest, TextRoundTripsAsUtf16StringOfAnyScript) {
  for (const std::string text : {"", "C:\\Tools\\a b.exe", "Été à Genève \xF0\x9F\x8C\x85 写真"}) {
    ASSERT_EQ(Write("s", text), 0);
    Value result;
    EXPECT_EQ(Read("S", result), 0);
    EXPECT_EQ(result, Value(text));
  }
  EXPECT_EQ(test::ReadUserString(key_, "v"), "Été à Genève \xF0\x9F\x8C\x85 写真");
}

TEST_F(RegistryTest, MissingKeyOrValueReturns2AndLeavesTheDefault) {
  Value result;
  EXPECT_EQ(Read("S", result), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(result, kUnset);
  ASSERT_EQ(Registry::Write_Value("HKCU", key_, "other", "S", "x"), 0);
  EXPECT_EQ(Read("D", result), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(result, kUnset);
}

TEST_F(RegistryTest, TextReadsExpandableValuesUnexpandedAndUnterminatedOnesSafely) {
  const wchar_t expandable[] = L"%SystemRoot%\\x";
  PutRaw(REG_EXPAND_SZ, expandable, sizeof(expandable));
  Value result;
  EXPECT_EQ(Read("S", result), 0);
  EXPECT_EQ(result, Value("%SystemRoot%\\x"));
  const wchar_t bare[] = {L'a', L'b', L'c'};
  PutRaw(REG_SZ, bare, sizeof(bare));
  EXPECT_EQ(Read("S", result), 0);
  EXPECT_EQ(result, Value("abc"));
}

TEST_F(RegistryTest, BooleansAndIntegersRoundTripInTheirStoredForms) {
  ASSERT_EQ(Write("b", true), 0);
  EXPECT_EQ(Raw(), std::make_pair(DWORD{REG_BINARY}, uint32_t{0xFFFF}));
  Value result;
  EXPECT_EQ(Read("B", result), 0);
  EXPECT_EQ(result, Value(true));
  ASSERT_EQ(Write("B", false), 0);
  EXPECT_EQ(Read("b", result), 0);
  EXPECT_EQ(result, Value(false));

  for (const int32_t number : {-1, -32768, 32767}) {
    ASSERT_EQ(Write("d", number), 0);
    EXPECT_EQ(Raw(), std::make_pair(DWORD{REG_DWORD}, static_cast<uint32_t>(number)));
    EXPECT_EQ(Read("D", result), 0);
    EXPECT_EQ(result, Value(number));
  }
}

TEST_F(RegistryTest, IntegerOutsideSixteenBitsIsRefusedAndWritesNothing) {
  EXPECT_EQ(Write("D", 40000), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(test::UserKeyExists(key_));
  ASSERT_EQ(Write("D", 5), 0);
  EXPECT_EQ(Write("D", -32769), ERROR_INVALID_PARAMETER);
  Value result;
  EXPECT_EQ(Read("D", result), 0);
  EXPECT_EQ(result, Value(5));
}

TEST_F(RegistryTest, OtherTypeLettersDoNothing) {
  EXPECT_EQ(Write("X", "text"), 0);
  EXPECT_EQ(Write("SZ", "text"), 0);
  EXPECT_FALSE(test::UserKeyExists(key_));
  ASSERT_EQ(Write("S", "text"), 0);
  Value result;
  EXPECT_EQ(Read("X", result), 0);
  EXPECT_EQ(result, kUnset);
}

TEST_F(RegistryTest, DeletingWhatIsNotThereSucceeds) {
  EXPECT_EQ(Registry::Delete_Value("HKCU", key_, "v"), 0);  // no key
  ASSERT_EQ(Write("S", "x"), 0);
  EXPECT_EQ(Registry::Delete_Value("HKCU", key_, "v"), 0);
  EXPECT_EQ(test::ReadUserString(key_, "v"), std::nullopt);
  EXPECT_EQ(Registry::Delete_Value("HKCU", key_, "v"), 0);  // no value
}

TEST(RegistryProfileFile, ReadsWritesAndEmptiesKeysOfThatFile) {
  test::TestFolder folder;
  const std::string ini = folder.AddFile("t.ini", "[Settings]\r\nsLast=C:\\a.jpg\r\niSize=300\r\n");
  Value result;
  EXPECT_EQ(Registry::Read_Value(ini, "Settings", "sLast", "S", kUnset, result), 0);
  EXPECT_EQ(result, Value("C:\\a.jpg"));
  EXPECT_EQ(Registry::Read_Value(ini, "Settings", "iSize", "D", 0, result), 0);
  EXPECT_EQ(result, Value(300));
  EXPECT_EQ(Registry::Read_Value(ini, "Settings", "missing", "S", kUnset, result), 0);
  EXPECT_EQ(result, kUnset);

  EXPECT_EQ(Registry::Write_Value(ini, "Settings", "sFolder", "S", "Été"), 0);
  EXPECT_NE(test::ReadAll(ini).find("sFolder="), std::string::npos);
  EXPECT_EQ(Registry::Read_Value(ini, "Settings", "sFolder", "S", kUnset, result), 0);
  EXPECT_EQ(result, Value("Été"));
  EXPECT_EQ(Registry::Write_Value(ini, "Settings", "iSize", "D", 1), 99);

  EXPECT_EQ(Registry::Delete_Value(ini, "Settings", "sLast"), 0);
  EXPECT_EQ(Registry::Read_Value(ini, "Settings", "sLast", "S", kUnset, result), 0);
  EXPECT_EQ(result, Value(""));
}

TEST(RegistryProfileFile, LongTextIsCutTo254CharactersAndNeverHalfACharacter) {
  // A file that starts with a UTF-16 byte order mark keeps text outside the ANSI code page.
  const std::wstring text = L"\uFEFF[S]\r\nlong=" + std::wstring(300, L'a') + L"\r\npair=" +
                            std::wstring(253, L'a') + L"\U0001F305\r\n";
  test::TestFolder folder;
  const std::string ini = folder.AddFile(
      "t.ini", std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
  Value result;
  Registry::Read_Value(ini, "S", "long", "S", kUnset, result);
  EXPECT_EQ(result, Value(std::string(254, 'a')));
  Registry::Read_Value(ini, "S", "pair", "S", kUnset, result);
  EXPECT_EQ(result, Value(std::string(253, 'a')));
}

TEST(RegistryProfileFile, RelativeNameMeansTheFileInTheCurrentFolder) {
  test::TestFolder folder;
  const std::string ini = folder.AddFile("rel.ini", "");
  wchar_t previous[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(Widen(folder.path()).c_str()));
  const int32_t status = Registry::Write_Value("rel.ini", "S", "k", "S", "here");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(status, 0);
  EXPECT_NE(test::ReadAll(ini).find("k=here"), std::string::npos);
}

using RunAtLogonTest = RegistryTest;

TEST_F(RunAtLogonTest, IsSetForAnyTextButBlank) {
  RegistryRunAtLogon run(key_, "C:\\Tools\\vellumo.exe");
  EXPECT_FALSE(run.Is_Startup_Set());
  for (const auto& [text, set] : {std::pair{"BLANK", false}, {"", true}, {"blank", true}}) {
    ASSERT_TRUE(test::WriteUserString(key_, "Vellumo", text));
    EXPECT_EQ(run.Is_Startup_Set(), set) << text;
  }
}

TEST_F(RunAtLogonTest, SetWritesTheQuotedCommandAndUnsetRemovesItSilently) {
  RegistryRunAtLogon run(key_, "C:\\Program Files\\Vellumo\\vellumo.exe");
  run.Set_Startup(true);
  EXPECT_EQ(test::ReadUserString(key_, "Vellumo"),
            "\"C:\\Program Files\\Vellumo\\vellumo.exe\" -next");
  EXPECT_TRUE(run.Is_Startup_Set());
  run.Set_Startup(false);
  EXPECT_EQ(test::ReadUserString(key_, "Vellumo"), std::nullopt);
  EXPECT_FALSE(run.Is_Startup_Set());
  run.Set_Startup(false);
  EXPECT_FALSE(run.Is_Startup_Set());
}

TEST(RunAtLogon, DefaultRegistersTheRunningProgramInTheRunKey) {
  const std::string key = RegistryRunAtLogon::kRunKey;
  const auto before = test::ReadUserString(key, "Vellumo");
  RegistryRunAtLogon().Set_Startup(true);
  const auto command = test::ReadUserString(key, "Vellumo").value_or("");
  if (before) test::WriteUserString(key, "Vellumo", *before);
  if (!before) RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), L"Vellumo");
  EXPECT_EQ(command.front(), '"');
  EXPECT_NE(command.find(":\\"), std::string::npos);
  EXPECT_TRUE(command.ends_with("\\vellumo_winsys_tests.exe\" -next")) << command;
}

}  // namespace
}  // namespace vellumo
