#include "platform/partial_file.h"

#include <gtest/gtest.h>

namespace vellumo {
namespace {

TEST(PartialFile, OnlyNamesOfExactlyOurFormCountAsLeftOvers) {
  EXPECT_EQ(PartialFileName("vellumo.bmp", "XXXXXX"), "vellumo.bmp.partial-XXXXXX");
  EXPECT_TRUE(IsPartialFileOf(PartialFileName("vellumo.bmp", "a1B2c3"), "vellumo.bmp"));
  EXPECT_TRUE(IsPartialFileOf("vellumo.bmp.partial-000000", "vellumo.bmp"));
  EXPECT_TRUE(IsPartialFileOf(".vellumo.bmp.aB3dE9", "vellumo.bmp")) << "an earlier version's";

  // Anything a user or another program may have put beside the bitmap stays.
  for (const char* other :
       {"vellumo.bmp", "vellumo.bmp.partial-", "vellumo.bmp.partial-abcde",
        "vellumo.bmp.partial-abcdefg", "vellumo.bmp.partial-abc.ef",
        "vellumo.bmp.partial-abcd\xC3\xA9", "xvellumo.bmp.partial-abcdef",
        "VELLUMO.BMP.partial-abcdef", "vellumo.bmp.PARTIAL-abcdef", "vellumo.bmp.partial_abcdef",
        ".vellumo.bmp.abcde", ".vellumo.bmp.partial", "vel1234.tmp", "photo.bmp.partial-abcdef"})
    EXPECT_FALSE(IsPartialFileOf(other, "vellumo.bmp")) << other;
  EXPECT_FALSE(IsPartialFileOf(".partial-abcdef", ""));
}

}  // namespace
}  // namespace vellumo
