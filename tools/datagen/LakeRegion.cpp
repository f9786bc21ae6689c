#include "LakeRegion.h"

namespace lakedrift::datagen {

namespace {

// Element sizes: the whole lake coarse, the two river regions fine enough to
// show the flow near the mouths.
constexpr double kWholeLakeElementKm = 3.0;
constexpr double kMalagarasiElementKm = 1.0;
constexpr double kLufubuElementKm = 1.5;

// Cut lines in the projected plane (transverse Mercator about 30 E, km). On
// the central meridian 5.1 S lies at y = -563.944, 5.5 S at y = -608.177 and
// 7.3 S at y = -807.236; over the lake's width a parallel bends by less than
// 0.2 km, so straight lines serve.
constexpr double kLat5p1SouthKm = -563.944;
constexpr double kLat5p5SouthKm = -608.177;
constexpr double kLat7p3SouthKm = -807.236;
// The Malagarasi region keeps the eastern half of the lake there: the lake
// runs from x = -95 to -22 km at these latitudes, so x = -60 km cuts it near
// its middle, about 29.46 E.
constexpr double kMalagarasiWestKm = -60.0;

HalfPlane KeepSouthOf(double y) { return {{0.0, 1.0}, y}; }
HalfPlane KeepNorthOf(double y) { return {{0.0, -1.0}, -y}; }
HalfPlane KeepEastOf(double x) { return {{-1.0, 0.0}, -x}; }

}  // namespace

std::vector<LakeRegion> ProgramRegions() {
  return {
      {1, "tan", "geomtan.inp", kWholeLakeElementKm, {}},
      {2, "mal", "geommal.inp", kMalagarasiElementKm,
       {KeepSouthOf(kLat5p1SouthKm), KeepNorthOf(kLat5p5SouthKm), KeepEastOf(kMalagarasiWestKm)}},
      {3, "zam", "geomzam.inp", kLufubuElementKm, {KeepSouthOf(kLat7p3SouthKm)}},
  };
}

}  // namespace lakedrift::datagen
