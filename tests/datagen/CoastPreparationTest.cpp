// The generator's coast preparation and mesher on small shapes whose
// answers are known: cutting a region out, thinning the shore, meshing
// the water between a shore and an island, the circulation solver, the
// winds and the lag of the deep lake's response.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <stdexcept>

#include "CoastRing.h"
#include "DepthModel.h"
#include "FrictionalLag.h"
#include "LakeMesher.h"
#include "RegionCutter.h"
#include "ShoreSimplifier.h"
#include "StreamFunctionSolver.h"
#include "WindScenario.h"

namespace lakedrift::datagen {
namespace {

CoastRing Ring(std::vector<Vec2> points) {
  CoastRing ring;
  ring.cutAfter.assign(points.size(), false);
  ring.points = std::move(points);
  return ring;
}

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

TEST(RegionCutterTest, ClosesTheRegionAlongTheCutAndKeepsWholeIslands) {
  const std::vector<CoastRing> lake = {Square(0, 0, 10), Square(2, 2, 1), Square(6, 7, 1)};
  const auto rings = RegionCutter::Cut(lake, {{{0.0, 1.0}, 5.0}});  // keep y <= 5
  ASSERT_EQ(rings.size(), 2u);                                      // the northern island is gone
  EXPECT_NEAR(rings[0].SignedArea(), 50.0, 1e-12);
  for (std::size_t i = 0; i < rings[0].points.size(); ++i) {
    const Vec2 a = rings[0].points[i];
    const Vec2 b = rings[0].points[(i + 1) % rings[0].points.size()];
    EXPECT_LE(a.y, 5.0);
    // Exactly the edge along the line y = 5 is a cut.
    EXPECT_EQ(static_cast<bool>(rings[0].cutAfter[i]), a.y == 5.0 && b.y == 5.0) << i;
  }
  EXPECT_EQ(rings[1].points, lake[1].points);
}

TEST(RegionCutterTest, RefusesCutsThatSplitTheShoreOrAnIsland) {
  // A U-shaped lake: a cut across both arms would leave two pieces.
  const CoastRing u = Ring({{0, 0}, {10, 0}, {10, 10}, {7, 10}, {7, 3}, {3, 3}, {3, 10}, {0, 10}});
  EXPECT_THROW(RegionCutter::Cut({u}, {{{0.0, 1.0}, 6.0}}), std::runtime_error);
  EXPECT_NO_THROW(RegionCutter::Cut({u}, {{{0.0, 1.0}, 2.0}}));
  const std::vector<CoastRing> lake = {Square(0, 0, 10), Square(2, 4.5, 1)};
  EXPECT_THROW(RegionCutter::Cut(lake, {{{0.0, 1.0}, 5.0}}), std::runtime_error);
}

TEST(ShoreSimplifierTest, ThinsAWigglyShoreWithinAQuarterElement) {
  constexpr double kElement = 2.0;
  std::vector<Vec2> points;
  constexpr int kPoints = 2000;
  for (int i = 0; i < kPoints; ++i) {  // clockwise on purpose
    const double a = -2.0 * std::numbers::pi * i / kPoints;
    const double r = 30.0 + 0.05 * std::sin(97.0 * a);
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  const CoastRing wiggly = Ring(points);
  const auto rings = ShoreSimplifier(kElement).Simplify({wiggly, Square(-3, -3, 4)});
  ASSERT_EQ(rings.size(), 2u);
  EXPECT_LT(rings[0].points.size(), 200u);
  EXPECT_GT(rings[0].SignedArea(), 0.0);  // shore counter-clockwise
  EXPECT_LT(rings[1].SignedArea(), 0.0);  // island clockwise
  EXPECT_EQ(rings[1].points.size(), 4u);  // nothing to thin
  for (const Vec2 p : wiggly.points) {
    ASSERT_LE(DistanceToRing(p, rings[0]), 0.25 * kElement + 1e-9);
  }
  EXPECT_TRUE(ShoreSimplifier::AreSimple(rings));
}

TEST(ShoreSimplifierTest, CutsOffSharpBaysAndSplitsCutLines) {
  // A lake whose north side is a 40 km cut line, with a narrow bay (a
  // 5° wedge of water) in its south shore.
  CoastRing lake = Ring({{0, 0}, {20, 0}, {20.4, -9}, {20.8, 0}, {40, 0}, {40, 20}, {0, 20}});
  lake.cutAfter[5] = true;  // (40, 20) → (0, 20)
  const auto rings = ShoreSimplifier(1.0).Simplify({lake});
  const auto& p = rings[0].points;
  int cutEdges = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    EXPECT_GT(p[i].y, -1.0) << "the bay's tip survived";
    if (rings[0].cutAfter[i]) {
      ++cutEdges;
      EXPECT_NEAR(p[i].y, 20.0, 1e-12);
      EXPECT_NEAR(Length(p[(i + 1) % p.size()] - p[i]), 1.0, 1e-9);
    }
  }
  EXPECT_EQ(cutEdges, 40);
}

TEST(ShoreSimplifierTest, ReportsCrossingRings) {
  EXPECT_FALSE(ShoreSimplifier::AreSimple({Square(0, 0, 10), Square(9, 9, 2)}));
  EXPECT_FALSE(ShoreSimplifier::AreSimple({Ring({{0, 0}, {4, 4}, {4, 0}, {0, 4}})}));
  EXPECT_TRUE(ShoreSimplifier::AreSimple({Square(0, 0, 10), Square(4, 4, 2)}));
}

TEST(LakeMesherTest, MeshesTheWaterAroundAnIslandWithCoastRingsAsItsBoundary) {
  std::vector<CoastRing> rings = {Square(0, 0, 20), Square(8, 8, 3)};
  std::reverse(rings[1].points.begin(), rings[1].points.end());
  const LakeMesh mesh = LakeMesher(1.0).Mesh(rings);
  ASSERT_EQ(mesh.rings.size(), 2u);
  double area = 0.0;
  double smallestSine = 1.0;
  std::set<std::pair<int, int>> coastEdges;
  for (std::size_t e = 0; e < mesh.elements.size(); ++e) {
    const auto& v = mesh.elements[e];
    const double twice = Cross(mesh.nodes[v[1]] - mesh.nodes[v[0]], mesh.nodes[v[2]] - mesh.nodes[v[0]]);
    ASSERT_GT(twice, 0.0);
    area += 0.5 * twice;
    for (int j = 0; j < 3; ++j) {
      const Vec2 a = mesh.nodes[v[j]], b = mesh.nodes[v[(j + 1) % 3]], c = mesh.nodes[v[(j + 2) % 3]];
      smallestSine = std::min(smallestSine, std::abs(Cross(b - a, c - a)) / (Length(b - a) * Length(c - a)));
      const int g = mesh.neighbours[e][j];
      if (g == LakeMesh::kNoNeighbour) coastEdges.insert({v[j], v[(j + 1) % 3]});
    }
  }
  EXPECT_NEAR(area, 400.0 - 9.0, 1e-9);
  EXPECT_GE(smallestSine, std::sin(20.0 * std::numbers::pi / 180.0));
  std::set<std::pair<int, int>> ringEdges;
  for (const auto& ring : mesh.rings) {
    for (std::size_t i = 0; i < ring.size(); ++i) ringEdges.insert({ring[i], ring[(i + 1) % ring.size()]});
  }
  EXPECT_EQ(ringEdges, coastEdges);
  // The shore comes first and holds every corner of the input shore.
  std::set<std::pair<double, double>> shorePoints;
  for (const int n : mesh.rings[0]) shorePoints.insert({mesh.nodes[n].x, mesh.nodes[n].y});
  for (const Vec2 p : rings[0].points) EXPECT_EQ(shorePoints.count({p.x, p.y}), 1u);
  // 80 km of shore split into pieces of about the element size (1 km).
  const auto& shore = mesh.rings[0];
  for (std::size_t i = 0; i < shore.size(); ++i) {
    const double length = Length(mesh.nodes[shore[(i + 1) % shore.size()]] - mesh.nodes[shore[i]]);
    EXPECT_LE(length, 1.5) << i;
    EXPECT_GE(length, 0.5) << i;
  }
}

constexpr double kLakeCoriolis = -1.52e-5;  // 1/s at 6 S

TEST(StreamFunctionSolverTest, UniformWindOverAFlatBasinDrivesNoCirculation) {
  // With constant depth the wind stress has no curl and f/H has no
  // gradient: the wind only tilts the surface, and no current flows, with
  // or without the Earth's rotation. Over a sloping bed it does.
  const LakeMesh mesh = LakeMesher(2.0).Mesh({Square(0, 0, 30)});
  const std::vector<Vec2> stress(mesh.elements.size(), Vec2{0.05, 0.02});
  const std::vector<bool> closed(mesh.nodes.size(), false);
  const std::vector<double> zero(mesh.nodes.size(), 0.0);
  for (const double f : {0.0, kLakeCoriolis}) {
    const StreamFunctionSolver flat(mesh, std::vector<double>(mesh.nodes.size(), 100.0), closed, f);
    for (const double psi : flat.StreamFunction(stress, zero)) ASSERT_NEAR(psi, 0.0, 1e-9) << f;
  }

  std::vector<double> sloping;
  const DepthModel bed({Square(0, 0, 30)});
  for (const Vec2 p : mesh.nodes) sloping.push_back(bed.DepthMetres(p));
  const StreamFunctionSolver shelved(mesh, sloping, closed, 0.0);
  const std::vector<Vec2> north(mesh.elements.size(), Vec2{0.0, 0.05});
  const auto transport = shelved.NodeTransport(shelved.StreamFunction(north, zero));
  // A northward wind: northward transport along the shallow sides, southward
  // down the deep middle.
  double side = 0.0, middle = 0.0;
  for (std::size_t n = 0; n < mesh.nodes.size(); ++n) {
    const Vec2 p = mesh.nodes[n];
    if (p.y < 8.0 || p.y > 22.0) continue;
    if (p.x < 1.5 || p.x > 28.5) side += transport[n].y;
    if (p.x > 12.0 && p.x < 18.0) middle += transport[n].y;
  }
  EXPECT_GT(side, 0.0);
  EXPECT_LT(middle, 0.0);
}

TEST(StreamFunctionSolverTest, OpenBoundaryValuesCarryAThroughFlow) {
  // A basin whose whole ring is open, with ψ given there as that of a
  // uniform eastward transport and no wind: over a flat bed the solution is
  // that uniform flow everywhere (a wrong sign or a lost term in the given
  // values' share of the right side would bend it).
  constexpr double kTransport = 2.0;  // m²/s eastward: ψ = kTransport · y
  const LakeMesh mesh = LakeMesher(2.0).Mesh({Square(0, 0, 30)});
  const std::vector<bool> open(mesh.nodes.size(), true);
  std::vector<double> given;
  for (const Vec2 p : mesh.nodes) given.push_back(kTransport * p.y * 1000.0);
  const StreamFunctionSolver solver(mesh, std::vector<double>(mesh.nodes.size(), 100.0), open, kLakeCoriolis);
  const std::vector<Vec2> calm(mesh.elements.size());
  const auto psi = solver.StreamFunction(calm, given);
  for (std::size_t n = 0; n < psi.size(); ++n) ASSERT_NEAR(psi[n], given[n], 1e-6 * kTransport * 3e4);
  for (const Vec2 t : solver.NodeTransport(psi)) {
    ASSERT_NEAR(t.x, kTransport, 1e-6);
    ASSERT_NEAR(t.y, 0.0, 1e-6);
  }
}

TEST(StreamFunctionSolverTest, AnIslandTakesOneConstantThatLetsTheFlowPassOnBothSides) {
  // The same through-flow round a centred island: ψ on the island is one
  // value, that of the uniform flow at the island's centre, so half the
  // transport passes on either side. An island pinned to ψ = 0 would send
  // it all past one side; an island whose nodes were solved one by one
  // would let the flow through it.
  constexpr double kTransport = 2.0;  // m²/s eastward: ψ = kTransport · y
  constexpr double kCentreKm = 15.0;
  std::vector<CoastRing> rings = {Square(0, 0, 30), Square(13, 13, 4)};
  std::reverse(rings[1].points.begin(), rings[1].points.end());
  const LakeMesh mesh = LakeMesher(1.5).Mesh(rings);
  ASSERT_EQ(mesh.rings.size(), 2u);
  std::vector<bool> open(mesh.nodes.size(), false);
  for (const int n : mesh.rings[0]) open[n] = true;
  std::vector<double> given;
  for (const Vec2 p : mesh.nodes) given.push_back(kTransport * p.y * 1000.0);
  const StreamFunctionSolver solver(mesh, std::vector<double>(mesh.nodes.size(), 100.0), open, kLakeCoriolis);
  const auto psi = solver.StreamFunction(std::vector<Vec2>(mesh.elements.size()), given);
  const double island = psi[mesh.rings[1].front()];
  for (const int n : mesh.rings[1]) ASSERT_EQ(psi[n], island);
  EXPECT_NEAR(island, kTransport * kCentreKm * 1000.0, 0.02 * kTransport * kCentreKm * 1000.0);
}

TEST(WindScenarioTest, TheDrySeasonBreezeIsTheStrongerAndTheWindGrowsOffshore) {
  // The lake–land breeze is strongest under the dry season's clear skies;
  // the wind over the water outruns that at the shore and is full in
  // mid-lake.
  double strongest[2] = {0.0, 0.0};
  const WindScenario::Season seasons[2] = {WindScenario::Season::Wet, WindScenario::Season::Dry};
  for (int s = 0; s < 2; ++s) {
    for (int k = 0; k < WindScenario::kFrameCount; ++k) {
      strongest[s] = std::max(strongest[s], std::abs(WindScenario(seasons[s]).At(k).breeze));
    }
  }
  EXPECT_GE(strongest[1], strongest[0]);
  EXPECT_GT(strongest[0], 0.0);
  double previous = 0.0;
  for (const double km : {0.0, 1.0, 3.0, 10.0, 30.0}) {
    const double share = WindScenario::OverWaterShare(km);
    EXPECT_GT(share, previous) << km;
    previous = share;
  }
  EXPECT_LT(WindScenario::OverWaterShare(0.0), 0.9);
  EXPECT_GT(WindScenario::OverWaterShare(30.0), 0.99);
}

TEST(FrictionalLagTest, TheDeepLakeFeelsTheWeeksWindButNotEachGust) {
  // Over the week the lagged stress keeps the wind's mean but loses most of
  // its diurnal swing; and the lag runs over days, not hours.
  EXPECT_GT(FrictionalLag::TimeConstantHours(), 48.0);
  const WindScenario dry(WindScenario::Season::Dry);
  const std::vector<Forcing> lagged = FrictionalLag::Frames(dry);
  ASSERT_EQ(lagged.size(), static_cast<std::size_t>(WindScenario::kFrameCount));
  double meanNow = 0.0, meanLagged = 0.0;
  double lowNow = 1e9, highNow = -1e9, lowLagged = 1e9, highLagged = -1e9;
  for (int k = 0; k < WindScenario::kFrameCount; ++k) {
    const double now = Forcing::Of(dry.At(k)).stress.y, late = lagged[k].stress.y;
    meanNow += now / WindScenario::kFrameCount;
    meanLagged += late / WindScenario::kFrameCount;
    lowNow = std::min(lowNow, now), highNow = std::max(highNow, now);
    lowLagged = std::min(lowLagged, late), highLagged = std::max(highLagged, late);
  }
  EXPECT_NEAR(meanLagged, meanNow, 0.1 * std::abs(meanNow));
  EXPECT_LT(highLagged - lowLagged, 0.2 * (highNow - lowNow));
}

}  // namespace
}  // namespace lakedrift::datagen
