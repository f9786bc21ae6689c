// The generator's coast preparation, mesher and circulation solver on small
// shapes whose answers are known, and the lag of the deep lake's response.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "CoastRing.h"
#include "FrictionalLag.h"
#include "LakeMesher.h"
#include "ShoreSimplifier.h"
#include "StreamFunctionSolver.h"
#include "WindScenario.h"

namespace lakedrift::datagen {
namespace {

constexpr double kLakeCoriolis = -1.52e-5;  // 1/s at 6 S

CoastRing Ring(const std::vector<Vec2>& points) { return {points, std::vector<bool>(points.size(), false)}; }

CoastRing Square(double x0, double y0, double size) {
  return Ring({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}

double DistanceToRing(Vec2 p, const CoastRing& ring) {
  double best = 1e300;
  for (std::size_t i = 0; i < ring.points.size(); ++i) {
    const Vec2 a = ring.points[i], b = ring.points[(i + 1) % ring.points.size()];
    const double t = std::clamp(Dot(p - a, b - a) / Dot(b - a, b - a), 0.0, 1.0);
    best = std::min(best, Length(p - (a + t * (b - a))));
  }
  return best;
}

TEST(ShoreSimplifierTest, ThinsAWigglyShoreWithinAQuarterElementAndOrientsTheRings) {
  constexpr double kElement = 2.0;
  constexpr int kPoints = 2000;
  std::vector<Vec2> points;
  for (int i = 0; i < kPoints; ++i) {  // clockwise on purpose
    const double a = -2.0 * std::numbers::pi * i / kPoints, r = 30.0 + 0.05 * std::sin(97.0 * a);
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  const CoastRing wiggly = Ring(points);
  const auto rings = ShoreSimplifier(kElement).Simplify({wiggly, Square(-3, -3, 4)});
  ASSERT_EQ(rings.size(), 2u);
  EXPECT_LT(rings[0].points.size(), 200u);
  EXPECT_TRUE(rings[0].SignedArea() > 0.0 && rings[1].SignedArea() < 0.0) << "shore and island orientation";
  EXPECT_EQ(rings[1].points.size(), 4u);  // nothing to thin
  for (const Vec2 p : wiggly.points) ASSERT_LE(DistanceToRing(p, rings[0]), 0.25 * kElement + 1e-9);
  EXPECT_TRUE(ShoreSimplifier::AreSimple(rings));
  EXPECT_FALSE(ShoreSimplifier::AreSimple({Square(0, 0, 10), Square(9, 9, 2)}));
  EXPECT_FALSE(ShoreSimplifier::AreSimple({Ring({{0, 0}, {4, 4}, {4, 0}, {0, 4}})}));
}

TEST(StreamFunctionSolverTest, OpenShoreValuesCarryAThroughFlowPastBothSidesOfAnIsland) {
  // ψ given on the open shore as that of a uniform eastward transport, no
  // wind, flat bed. Without an island the solution is that flow everywhere
  // (a wrong sign or lost term in the given values' share would bend it);
  // with a centred island ψ there is one value, that of the flow at the
  // centre, so half passes either side (pinned to 0 all would pass one side).
  constexpr double kTransport = 2.0;  // m²/s eastward: ψ = kTransport · y
  for (const bool island : {false, true}) {
    std::vector<CoastRing> rings = {Square(0, 0, 30)};
    if (island) rings.push_back(Ring({{13, 13}, {13, 17}, {17, 17}, {17, 13}}));  // clockwise, centred
    const LakeMesh mesh = LakeMesher(1.5).Mesh(rings);
    std::vector<bool> open(mesh.nodes.size(), false);
    for (const int n : mesh.rings[0]) open[n] = true;
    std::vector<double> given;
    for (const Vec2 p : mesh.nodes) given.push_back(kTransport * p.y * 1000.0);
    const StreamFunctionSolver solver(mesh, std::vector<double>(mesh.nodes.size(), 100.0), open,
                                      kLakeCoriolis);
    const auto psi = solver.StreamFunction(std::vector<Vec2>(mesh.elements.size()), given);
    if (!island) {
      for (std::size_t n = 0; n < psi.size(); ++n) ASSERT_NEAR(psi[n], given[n], 1e-6 * kTransport * 3e4);
      for (const Vec2 t : solver.NodeTransport(psi)) ASSERT_LT(Length(t - Vec2{kTransport, 0.0}), 1e-6);
      continue;
    }
    const double onIsland = psi[mesh.rings[1].front()], centre = kTransport * 15.0 * 1000.0;
    for (const int n : mesh.rings[1]) ASSERT_EQ(psi[n], onIsland);
    EXPECT_NEAR(onIsland, centre, 0.02 * centre);
  }
}

TEST(WindAndLagTest, TheDeepLakeFeelsTheWeeksWindButNotEachGust) {
  // Over the week the lagged stress keeps the wind's mean but loses most of
  // its diurnal swing; and the lag runs over days, not hours. The lake–land
  // breeze is strongest under the dry season's clear skies.
  EXPECT_GT(FrictionalLag::TimeConstantHours(), 48.0);
  const WindScenario dry(WindScenario::Season::Dry), wet(WindScenario::Season::Wet);
  const std::vector<Forcing> lagged = FrictionalLag::Frames(dry);
  ASSERT_EQ(lagged.size(), static_cast<std::size_t>(WindScenario::kFrameCount));
  std::vector<double> now, late, breezeDry, breezeWet;
  for (int k = 0; k < WindScenario::kFrameCount; ++k)
    now.push_back(Forcing::Of(dry.At(k)).stress.y), late.push_back(lagged[k].stress.y),
        breezeDry.push_back(std::abs(dry.At(k).breeze)), breezeWet.push_back(std::abs(wet.At(k).breeze));
  const auto swing = [](const std::vector<double>& v) { return std::ranges::max(v) - std::ranges::min(v); };
  const auto sum = [](const std::vector<double>& v) { return std::reduce(v.begin(), v.end()); };
  EXPECT_NEAR(sum(late), sum(now), 0.1 * std::abs(sum(now)));
  EXPECT_LT(swing(late), 0.2 * swing(now));
  const double wetBreeze = std::ranges::max(breezeWet);
  EXPECT_TRUE(wetBreeze > 0.0 && std::ranges::max(breezeDry) >= wetBreeze) << wetBreeze;
  // The wind over the water outruns that at the shore and is full in mid-lake.
  for (const double km : {0.0, 1.0, 3.0, 10.0})
    EXPECT_LT(WindScenario::OverWaterShare(km), WindScenario::OverWaterShare(3.0 * km + 1.0)) << km;
  EXPECT_LT(WindScenario::OverWaterShare(0.0), 0.9);
  EXPECT_GT(WindScenario::OverWaterShare(30.0), 0.99);
}

}  // namespace
}  // namespace lakedrift::datagen
