#include <gtest/gtest.h>

#include <string>

#include "long_path.h"

namespace vellumo {
namespace {

TEST(LongPathForm, OnlyLongPathsTakeTheExtendedFormMadeFromTheirFullPath) {
  const std::wstring name(300, L'n');
  EXPECT_EQ(LongPathForm(L"C:\\Pictures\\a.jpg"), L"C:\\Pictures\\a.jpg");
  EXPECT_EQ(LongPathForm(L"C:\\" + name), L"\\\\?\\C:\\" + name);
  // The extended form is taken literally, so it must already be clean.
  EXPECT_EQ(LongPathForm(L"C:/skipped/../" + name + L"/./a.jpg"),
            L"\\\\?\\C:\\" + name + L"\\a.jpg");
  EXPECT_EQ(LongPathForm(L"\\\\server\\share\\" + name), L"\\\\?\\UNC\\server\\share\\" + name);
  EXPECT_EQ(LongPathForm(L"\\\\?\\C:\\" + name), L"\\\\?\\C:\\" + name);

  const std::wstring relative = LongPathForm(L"sub\\" + name);
  EXPECT_TRUE(relative.starts_with(L"\\\\?\\")) << relative;
  EXPECT_TRUE(relative.ends_with(L"\\sub\\" + name));
}

}  // namespace
}  // namespace vellumo
