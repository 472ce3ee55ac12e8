#include "settings/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "startup/main.h"

namespace vellumo {
namespace {

using ::testing::ElementsAre;
using testing::FakeSystem;
using ::testing::Pair;

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() { fake_.files.AddFolder("C:\\WINDOWS"); }

  Settings Load() {
    Settings settings;
    Load_Settings(fake_.store, fake_.files, fake_.platform.windows_path, settings);
    return settings;
  }

  FakeSystem fake_;
};

TEST_F(SettingsTest, EmptyStoreGivesTheDefaults) {
  const Settings s = Load();
  EXPECT_TRUE(s.bFadeOut);
  EXPECT_TRUE(s.bRandom);
  EXPECT_FALSE(s.bRepeats);
  EXPECT_EQ(s.iDisplayType, 0);
  EXPECT_EQ(s.iSourceType, 1);
  EXPECT_EQ(s.iAutoSize, 300);
  EXPECT_EQ(s.iAutoRatio, 10);
  EXPECT_EQ(s.iInterval, 0) << "a change at logon only, as before the key existed";
  EXPECT_EQ(s.sSourceFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(s.sSourceFile, "");
  EXPECT_EQ(s.sLastFile, "");
  EXPECT_TRUE(fake_.store.writes.empty()) << "loading never writes";
}

TEST_F(SettingsTest, StoredValuesAreLoaded) {
  fake_.files.AddFolder("D:\\Pictures");
  fake_.files.AddFile("D:\\Pictures\\one.jpg");
  auto& v = fake_.store.values;
  v = {{"bFadeOut", "False"},
       {"bRandom", "false"},
       {"bRepeats", "True"},
       {"iDisplayType", "3"},
       {"iSourceType", "2"},
       {"iAutoSize", "-1"},
       {"iAutoRatio", "50"},
       {"iInterval", "360"},
       {"sSourceFolder", "D:\\Pictures"},
       {"sSourceFile", "D:\\Pictures\\one.jpg"},
       {"sLastFile", "Z:\\gone\\old.gif"}};
  const Settings s = Load();
  EXPECT_FALSE(s.bFadeOut);
  EXPECT_FALSE(s.bRandom);
  EXPECT_TRUE(s.bRepeats);
  EXPECT_EQ(s.iDisplayType, 3);
  EXPECT_EQ(s.iSourceType, 2);
  EXPECT_EQ(s.iAutoSize, -1);
  EXPECT_EQ(s.iAutoRatio, 50);
  EXPECT_EQ(s.iInterval, 360);
  EXPECT_EQ(s.sSourceFolder, "D:\\Pictures");
  EXPECT_EQ(s.sSourceFile, "D:\\Pictures\\one.jpg");
  EXPECT_EQ(s.sLastFile, "Z:\\gone\\old.gif") << "the last file is used as stored";
}

TEST_F(SettingsTest, PathsThatNoLongerExistLoadAsEmptyAndStayStored) {
  fake_.store.values = {{"sSourceFolder", "D:\\Deleted"}, {"sSourceFile", "D:\\Deleted\\a.jpg"}};
  const Settings s = Load();
  EXPECT_EQ(s.sSourceFolder, "");
  EXPECT_EQ(s.sSourceFile, "");
  EXPECT_EQ(fake_.store.values.at("sSourceFolder"), "D:\\Deleted");
  EXPECT_TRUE(fake_.store.writes.empty());
}

TEST_F(SettingsTest, TheDefaultSourceFolderPassesTheSameCheck) {
  FakeSystem bare;  // no Windows directory in its file system
  Settings s;
  Load_Settings(bare.store, bare.files, bare.platform.windows_path, s);
  EXPECT_EQ(s.sSourceFolder, "");
}

TEST_F(SettingsTest, ValuesThatCannotBeConvertedFallBackToTheirDefaults) {
  fake_.store.values = {{"bFadeOut", "maybe"},    {"bRandom", ""},        {"bRepeats", "yes"},
                        {"iDisplayType", "abc"},  {"iSourceType", "1e1"}, {"iAutoSize", "32768"},
                        {"iAutoRatio", "-32769"}, {"iInterval", "-15"}};
  const Settings s = Load();
  EXPECT_TRUE(s.bFadeOut);
  EXPECT_TRUE(s.bRandom);
  EXPECT_FALSE(s.bRepeats);
  EXPECT_EQ(s.iDisplayType, 0);
  EXPECT_EQ(s.iSourceType, 1);
  EXPECT_EQ(s.iAutoSize, 300);
  EXPECT_EQ(s.iAutoRatio, 10);
  EXPECT_EQ(s.iInterval, 0) << "no schedule runs backwards";
}

struct BooleanCase {
  const char* text;
  std::optional<bool> expected;
};

class BooleanTextTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(BooleanTextTest, Parses) {
  EXPECT_EQ(ParseBoolean(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BooleanTextTest,
    ::testing::Values(BooleanCase{"True", true}, BooleanCase{"TRUE", true},
                      BooleanCase{"tRuE", true}, BooleanCase{"False", false},
                      BooleanCase{"false", false}, BooleanCase{"FALSE", false},
                      BooleanCase{"0", false}, BooleanCase{"1", true}, BooleanCase{"-1", true},
                      BooleanCase{" 2 ", true}, BooleanCase{"0.0", false}, BooleanCase{"-0", false},
                      BooleanCase{"0.5", true}, BooleanCase{"99999999999999999999", true},
                      BooleanCase{"", std::nullopt}, BooleanCase{"   ", std::nullopt},
                      BooleanCase{"yes", std::nullopt}, BooleanCase{"Truely", std::nullopt},
                      BooleanCase{"1e3", std::nullopt}, BooleanCase{"--1", std::nullopt},
                      BooleanCase{".", std::nullopt}, BooleanCase{"-", std::nullopt}));

struct IntegerCase {
  const char* text;
  std::optional<int16_t> expected;
};

class IntegerTextTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, Parses) {
  EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerTextTest,
    ::testing::Values(IntegerCase{"300", 300}, IntegerCase{"-1", -1}, IntegerCase{"+7", 7},
                      IntegerCase{" 12 ", 12}, IntegerCase{"0", 0}, IntegerCase{"32767", 32767},
                      IntegerCase{"-32768", -32768}, IntegerCase{"32768", std::nullopt},
                      IntegerCase{"-32769", std::nullopt}, IntegerCase{"99999", std::nullopt},
                      IntegerCase{"123456", std::nullopt}, IntegerCase{"0000000000042", 42},
                      // Rounded to the nearest whole number, halves to the even neighbour.
                      IntegerCase{"2.5", 2}, IntegerCase{"3.5", 4}, IntegerCase{"-2.5", -2},
                      IntegerCase{"-3.5", -4}, IntegerCase{"2.51", 3}, IntegerCase{"2.4999", 2},
                      IntegerCase{"0.5", 0}, IntegerCase{".5", 0}, IntegerCase{"1.", 1},
                      IntegerCase{"32766.5", 32766}, IntegerCase{"32767.5", std::nullopt},
                      IntegerCase{"-32768.5", -32768}, IntegerCase{"abc", std::nullopt},
                      IntegerCase{"", std::nullopt}, IntegerCase{"1,000", std::nullopt},
                      IntegerCase{"1e2", std::nullopt}, IntegerCase{"0x10", std::nullopt},
                      IntegerCase{"- 1", std::nullopt}, IntegerCase{"1.2.3", std::nullopt}));

TEST_F(SettingsTest, SaveWritesTheSevenKeysInOrder) {
  Settings s;
  s.bRepeats = true;
  s.bRandom = false;
  s.iSourceType = 2;
  s.iDisplayType = -7;
  s.iAutoSize = 32767;
  s.iAutoRatio = -32768;
  s.sSourceFolder = "D:\\elsewhere";
  s.sSourceFile = "D:\\x.jpg";
  s.sLastFile = "D:\\y.jpg";
  Save_Settings(fake_.store, s);
  EXPECT_THAT(
      fake_.store.writes,
      ElementsAre(Pair("bRepeats", "True"), Pair("bRandom", "False"), Pair("bFadeOut", "True"),
                  Pair("iSourceType", "2"), Pair("iDisplayType", "-7"), Pair("iAutoSize", "32767"),
                  Pair("iAutoRatio", "-32768")));
  EXPECT_THAT(fake_.store.batches, ElementsAre(7u)) << "stored together, in one go";
}

TEST_F(SettingsTest, SavedValuesLoadBackUnchanged) {
  fake_.files.AddFolder("D:\\Pics");
  Settings saved;
  saved.bFadeOut = false;
  saved.bRandom = false;
  saved.bRepeats = true;
  saved.iDisplayType = 2;
  saved.iSourceType = 0;
  saved.iAutoSize = -32768;
  saved.iAutoRatio = 0;
  Save_Settings(fake_.store, saved);
  const Settings s = Load();
  EXPECT_EQ(s.bFadeOut, saved.bFadeOut);
  EXPECT_EQ(s.bRandom, saved.bRandom);
  EXPECT_EQ(s.bRepeats, saved.bRepeats);
  EXPECT_EQ(s.iDisplayType, saved.iDisplayType);
  EXPECT_EQ(s.iSourceType, saved.iSourceType);
  EXPECT_EQ(s.iAutoSize, saved.iAutoSize);
  EXPECT_EQ(s.iAutoRatio, saved.iAutoRatio);
}

TEST_F(SettingsTest, LoadingAndUnloadingTheMainWindowStoresTheSevenKeysUnchanged) {
  fake_.store.values = {{"bRandom", "0"}, {"iAutoSize", "2.5"}, {"sSourceFolder", "D:\\Deleted"}};
  fake_.loop.on_run = [&] { fake_.views.mains.back()->events->OnCancel(); };
  RunInteractive(fake_.platform);
  EXPECT_THAT(fake_.store.writes, ElementsAre(Pair("bRepeats", "False"), Pair("bRandom", "False"),
                                              Pair("bFadeOut", "True"), Pair("iSourceType", "1"),
                                              Pair("iDisplayType", "0"), Pair("iAutoSize", "2"),
                                              Pair("iAutoRatio", "10")));
  EXPECT_EQ(fake_.store.values.at("sSourceFolder"), "D:\\Deleted");
}

}  // namespace
}  // namespace vellumo
