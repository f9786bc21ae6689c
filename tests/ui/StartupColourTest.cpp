#include <gtest/gtest.h>

#include "ui/StartupColour.h"

namespace lakedrift {
namespace {

TEST(StartupColourTest, ComponentsAreScaledRoundedHalfToEvenAndCapped) {
  EXPECT_EQ(StartupColour(0.0f, 0.5f, 0.999f), (Rgb{0, 128, 255}));
  // 127.5 and 128.5 both round to the even 128; 0.5 / 256 rounds to 0.
  EXPECT_EQ(StartupColour(127.5f / 256, 128.5f / 256, 0.5f / 256), (Rgb{128, 128, 0}));
  // 1.5 / 256 rounds up to 2; 254.6 / 256 to 255.
  EXPECT_EQ(StartupColour(1.5f / 256, 254.6f / 256, 255.4f / 256), (Rgb{2, 255, 255}));
}

TEST(StartupColourTest, SeedsGiveDifferentColours) {
  EXPECT_EQ(RandomStartupColour(7), RandomStartupColour(7));
  int different = 0;
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    if (!(RandomStartupColour(seed) == RandomStartupColour(seed + 100))) ++different;
  }
  EXPECT_GE(different, 9);
}

}  // namespace
}  // namespace lakedrift
