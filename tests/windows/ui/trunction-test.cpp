#include "trunction.h"

#include <gtest/gtest.h>

#include <string>

#include "gdi.h"
#include "utf.h"

namespace vellumo {
namespace {

// A memory context with the file-name label's font, as the views measure.
class TruncatePathTest : public testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    font_ = CreateArial(825, 96, false);
    old_font_ = SelectObject(dc_, font_.get());
  }
  void TearDown() override {
    SelectObject(dc_, old_font_);
    DeleteDC(dc_);
  }

  int Width(const std::string& text) const {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
  }

  HDC dc_ = nullptr;
  Font font_;
  HGDIOBJ old_font_ = nullptr;
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(TruncatePathTest, PathThatFitsComesBackUnchanged) {
  const std::string path = R"(C:\Pictures\beach.jpg)";
  EXPECT_EQ(TruncatePath(path, 1000, dc_), path);
  EXPECT_EQ(TruncatePath(path, Width(path), dc_), path);
  EXPECT_EQ(TruncatePath("", 196, dc_), "");
}

TEST_F(TruncatePathTest, NarrowWidthKeepsTheFileNameBehindAnEllipsis) {
  const std::string path =
      R"(C:\Users\someone\Pictures\Holidays\2019 Summer\Coast\Evening\sunset over the bay.jpg)";
  ASSERT_GT(Width(path), 196);
  const std::string shortened = TruncatePath(path, 196, dc_);
  EXPECT_NE(shortened.find("..."), std::string::npos) << shortened;
  EXPECT_TRUE(EndsWith(shortened, R"(\sunset over the bay.jpg)")) << shortened;
  EXPECT_LE(Width(shortened), 196) << shortened;
}

TEST_F(TruncatePathTest, JapanesePathSurvivesTheRoundTrip) {
  const std::string path = "C:\\写真\\旅行\\京都の紅葉\\夕暮れの寺.jpg";
  EXPECT_EQ(TruncatePath(path, 2000, dc_), path);
  const std::string shortened = TruncatePath(path, Width("C:\\...\\夕暮れの寺.jpg") + 2, dc_);
  EXPECT_NE(shortened.find("..."), std::string::npos) << shortened;
  EXPECT_TRUE(EndsWith(shortened, "\\夕暮れの寺.jpg")) << shortened;
}

TEST_F(TruncatePathTest, ANameTooWideOnItsOwnIsCutAndEndsInAnEllipsis) {
  const std::string name = "a holiday picture with a name far too long for the notice.jpg";
  ASSERT_GT(Width("...\\" + name), 196);
  const std::string shortened = TruncatePath("C:\\Pictures\\" + name, 196, dc_);
  EXPECT_TRUE(EndsWith(shortened, "...")) << shortened;
  EXPECT_EQ(shortened.substr(0, 10), name.substr(0, 10)) << shortened;
  EXPECT_LE(Width(shortened), 196) << shortened;
}

TEST_F(TruncatePathTest, PathsBeyondMaxPathAreShortenedSafely) {
  std::string path = "C:";
  while (path.size() < 600) path += "\\a rather long folder name";
  path += "\\final picture.jpg";
  const std::string shortened = TruncatePath(path, 196, dc_);
  EXPECT_NE(shortened.find("..."), std::string::npos);
  EXPECT_TRUE(EndsWith(shortened, "\\final picture.jpg")) << shortened;
  EXPECT_LE(Width(shortened), 196);
}

TEST_F(TruncatePathTest, NonPositiveWidthDoesNotFail) {
  const std::string path = R"(C:\Pictures\beach.jpg)";
  EXPECT_NO_THROW(TruncatePath(path, 0, dc_));
  EXPECT_NO_THROW(TruncatePath(path, -5, dc_));
}

}  // namespace
}  // namespace vellumo
