#include "platform/upright_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vellumo {
namespace {

// Each pixel's three bytes name its stored column and row, so any misplaced pixel shows.
std::vector<uint8_t> StoredRow(int width, int y) {
  std::vector<uint8_t> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {uint8_t(x), uint8_t(y), uint8_t(x ^ y)});
  return row;
}

// Where stored pixel (x, y) of a w x h picture shows once turned upright.
void UprightPlace(int orientation, int w, int h, int x, int y, int& ux, int& uy) {
  switch (orientation) {
    case 5:
      ux = y, uy = x;
      break;
    case 6:
      ux = h - 1 - y, uy = x;
      break;
    case 7:
      ux = h - 1 - y, uy = w - 1 - x;
      break;
    default:
      ux = y, uy = w - 1 - x;
      break;  // 8
  }
}

class QuarterTurned : public testing::TestWithParam<int> {};

// An odd size (batches end part-way) with rows given bottom first, as a bottom-up file gives
// them: every pixel must land where its orientation says.
TEST_P(QuarterTurned, EveryPixelLandsInPlaceWhateverTheRowOrder) {
  const int orientation = GetParam(), w = 37, h = 23;
  std::vector<std::vector<uint8_t>> out;
  const SizeHandler on_size = [&](PixelSize size) {
    EXPECT_EQ(size.width, h);
    EXPECT_EQ(size.height, w);
    out.assign(size.height, {});
    return true;
  };
  const RowHandler on_row = [&](int y, std::span<const uint8_t> row) {
    out[y].assign(row.begin(), row.end());
    return true;
  };
  UprightRows upright(on_size, on_row);
  upright.SetOrientation(orientation);
  ASSERT_TRUE(upright.OnSize({w, h}));
  for (int y = h - 1; y >= 0; --y) ASSERT_TRUE(upright.OnRow(y, StoredRow(w, y)));
  ASSERT_TRUE(upright.Finish());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int ux = 0, uy = 0;
      UprightPlace(orientation, w, h, x, y, ux, uy);
      ASSERT_EQ(out[uy][3 * ux], x) << "stored " << x << "," << y;
      ASSERT_EQ(out[uy][3 * ux + 1], y) << "stored " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(UprightRows, QuarterTurned, testing::Values(5, 6, 7, 8));

}  // namespace
}  // namespace vellumo
