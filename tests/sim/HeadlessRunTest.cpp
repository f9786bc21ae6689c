#include <gtest/gtest.h>

#include "sim/HeadlessRun.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

TEST(HeadlessRun, GivesTheDrawnRunsTracksForTheSameSeed) {
  ModelState drawnState = test::TestLakeState(), headlessState = test::TestLakeState();
  drawnState.ParticleCount = headlessState.ParticleCount = 20;
  RecordingSurface surface(100, 100);
  DrawnRun drawn_drawn(drawnState, surface, 2024);
  SimulationRun& drawn = drawn_drawn.run;
  HeadlessRun headless(headlessState, 2024);
  ASSERT_TRUE(drawn.Start().ok());
  ASSERT_TRUE(headless.Start().ok());
  while (drawn.HasNextStep()) {
    ASSERT_TRUE(headless.HasNextStep());
    ASSERT_TRUE(drawn.Step().ok());
    ASSERT_TRUE(headless.Step().ok());
    const int level = headless.Level();
    for (int p = 1; p <= 20; ++p) {
      ASSERT_EQ(headless.X()[p - 1], drawn.TrackX(p, level)) << p << " at level " << level;
      ASSERT_EQ(headless.Y()[p - 1], drawn.TrackY(p, level)) << p << " at level " << level;
    }
  }
  EXPECT_FALSE(headless.HasNextStep());
  EXPECT_EQ(headless.Level(), 84);
  EXPECT_EQ(headless.RandomDraws(), drawn.RandomDraws());
  EXPECT_DOUBLE_EQ(headless.HoursOfLevel(84), 166.0);
}

}  // namespace
}  // namespace lakedrift
