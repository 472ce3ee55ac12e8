#include "platform/text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/general.h"
#include "platform/trunction.h"
#include "startup/run_mode.h"

namespace vellumo {
namespace {

TEST(StripExtension, RemovesOnlyTheLastExtension) {
  EXPECT_EQ(StripExtension("beach.jpg"), "beach");
  EXPECT_EQ(StripExtension("archive.tar.gif"), "archive.tar");
  EXPECT_EQ(StripExtension("abc."), "abc");
  EXPECT_EQ(StripExtension(".gif"), "");
  EXPECT_EQ(StripExtension("..jpeg"), ".");
  EXPECT_EQ(StripExtension("Sommer \xC3\x9C"
                           "ber.JPG"),
            "Sommer \xC3\x9C"
            "ber");
}

TEST(StripExtension, ANameWithoutADotIsRefused) {
  EXPECT_THROW(StripExtension("README"), std::invalid_argument);
  EXPECT_THROW(StripExtension(""), std::invalid_argument);
}

TEST(RunMode, OnlyTheWholeSwitchInAnyCaseSelectsABackgroundRun) {
  for (const char* text : {"-next", "-NEXT", "-Next", "-nExT"})
    EXPECT_TRUE(IsBackgroundSwitch(text)) << text;
  for (const char* text : {"", "-next x", " -next", "-next ", "/next", "next", "-nex", "--next",
                           "-next\n", "\"-next\""})
    EXPECT_FALSE(IsBackgroundSwitch(text)) << '"' << text << '"';
}

TEST(Text, CaseInsensitiveComparisonsTouchOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("AbC-\xC3\x84.JPG"), "abc-\xC3\x84.jpg");
  EXPECT_TRUE(EqualsIgnoringCase("SUNSET.JPG", "sunset.jpg"));
  EXPECT_FALSE(EqualsIgnoringCase("sunset.jpg", "sunset.jpeg"));
  EXPECT_TRUE(LessIgnoringCase("a.jpg", "B.jpg"));
  EXPECT_FALSE(LessIgnoringCase("B.jpg", "a.jpg"));
  EXPECT_FALSE(LessIgnoringCase("A.jpg", "a.jpg"));
  EXPECT_FALSE(LessIgnoringCase("a.jpg", "A.jpg"));
  EXPECT_TRUE(LessIgnoringCase("ab", "abc"));
  // Bytes of multi-byte characters sort after every ASCII letter, whatever char's signedness.
  EXPECT_TRUE(LessIgnoringCase("z.jpg", "\xC3\xA9.jpg"));
  EXPECT_FALSE(LessIgnoringCase("\xC3\xA9.jpg", "z.jpg"));
}

// Every byte is 10 pixels wide; the bytes of a multi-byte character count once.
int Measure(std::string_view text) {
  int width = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) width += 10;
  return width;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80           ? 1
                               : (c >> 5) == 0x6  ? 2
                               : (c >> 4) == 0xE  ? 3
                               : (c >> 3) == 0x1E ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

TEST(CompactPath, APathThatFitsIsUnchanged) {
  const std::string path = "C:\\Pictures\\beach.jpg";  // 21 characters
  EXPECT_EQ(CompactPath(path, 210, '\\', Measure), path);
  EXPECT_EQ(CompactPath(path, 1000, '\\', Measure), path);
  EXPECT_EQ(CompactPath("", 0, '\\', Measure), "");
}

TEST(CompactPath, ANarrowWidthKeepsTheFileNameBehindAnEllipsis) {
  const std::string path = "C:\\Users\\someone\\Pictures\\Summer 2009\\beach.jpg";
  const std::string shortened = CompactPath(path, 200, '\\', Measure);
  EXPECT_LE(Measure(shortened), 200);
  EXPECT_TRUE(shortened.ends_with("...\\beach.jpg")) << shortened;
  EXPECT_TRUE(shortened.starts_with("C:")) << shortened;
  EXPECT_EQ(CompactPath("/srv/pictures/holidays/beach.jpg", 150, '/', Measure).find("...\\"),
            std::string::npos)
      << "the chosen separator is used";
  EXPECT_TRUE(CompactPath("/srv/pictures/holidays/beach.jpg", 150, '/', Measure)
                  .ends_with(".../beach.jpg"));
}

TEST(CompactPath, AWidthTooNarrowForTheNameStillGivesAShortMarkedText) {
  const std::string path = "C:\\Pictures\\an extremely long file name.jpg";
  const std::string shortened = CompactPath(path, 100, '\\', Measure);
  EXPECT_LE(Measure(shortened), 100);
  EXPECT_TRUE(shortened.ends_with("...")) << shortened;
  EXPECT_TRUE(shortened.starts_with("an ext")) << shortened;
  EXPECT_EQ(CompactPath(path, 0, '\\', Measure), "...");
  EXPECT_EQ(CompactPath("nameonly-and-long.jpg", 60, '\\', Measure), "nam...");
}

TEST(CompactPath, EveryWidthGivesAFittingResult) {
  const std::string path = "D:\\a\\bb\\ccc\\dddd\\file name.gif";
  for (int width = 30; width <= Measure(path) + 10; ++width) {
    const std::string shortened = CompactPath(path, width, '\\', Measure);
    EXPECT_LE(Measure(shortened), width) << width << ": " << shortened;
    if (width >= Measure("...\\file name.gif")) {
      EXPECT_TRUE(shortened.ends_with("\\file name.gif")) << width << ": " << shortened;
    }
  }
}

TEST(CompactPath, NeverCutsACharacterInHalf) {
  // "Ä" and "€" take two and three bytes; every cut position must fall between characters, even
  // when the measure gives a broken sequence a width of its own (here every byte counts).
  const auto measure_bytes = [](std::string_view text) {
    return static_cast<int>(text.size()) * 10;
  };
  const std::string path =
      "C:\\\xC3\x84\xC3\x84\xC3\x84\xE2\x82\xAC\xE2\x82\xAC\\\xC3\x84\xE2\x82\xAC"
      "\xC3\x84\xE2\x82\xAC\xC3\x84\xE2\x82\xAC.jpg";
  for (int width = 0; width <= measure_bytes(path); ++width) {
    const std::string by_characters = CompactPath(path, width, '\\', Measure);
    EXPECT_TRUE(IsValidUtf8(by_characters)) << width;
    const std::string by_bytes = CompactPath(path, width, '\\', measure_bytes);
    EXPECT_TRUE(IsValidUtf8(by_bytes)) << width;
    if (width >= 30) {
      EXPECT_LE(measure_bytes(by_bytes), width) << width;
    }
  }
}

}  // namespace
}  // namespace vellumo
