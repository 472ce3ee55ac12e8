#include "translucent.h"

#include <gtest/gtest.h>

#include <climits>

namespace vellumo {
namespace {

class TranslucencyTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"translucency", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }

  LONG_PTR ExStyle() const { return GetWindowLongPtrW(window_, GWL_EXSTYLE); }

  HWND window_ = nullptr;
};

TEST_F(TranslucencyTest, AlphaOutsideAByteLeavesTheWindowAlone) {
  const LONG_PTR before = ExStyle();
  for (const int alpha : {256, -1, 65536 + 128, INT_MIN}) {
    EXPECT_EQ(Set_Translucency(window_, alpha), 1) << alpha;
    EXPECT_EQ(ExStyle(), before) << alpha;
  }
  EXPECT_FALSE(ExStyle() & WS_EX_LAYERED);
}

TEST_F(TranslucencyTest, AppliesAlphaAndKeepsTheWindowLayered) {
  for (const int alpha : {255, 128, 0}) {
    ASSERT_EQ(Set_Translucency(window_, alpha), 0) << alpha;
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    BYTE read_back = 1;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_, nullptr, &read_back, &flags));
    EXPECT_EQ(read_back, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
  }
  // Fully transparent is still there.
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(TranslucencyTest, FailingCallsReportTwo) {
  EXPECT_EQ(Set_Translucency(nullptr, 100), 2);
  const HWND gone = window_;
  DestroyWindow(window_);
  EXPECT_EQ(Set_Translucency(gone, 0), 2);
}

}  // namespace
}  // namespace vellumo
