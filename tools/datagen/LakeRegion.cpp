#include "LakeRegion.h"

namespace lakedrift::datagen {

namespace {

// Mesh spacing: the coast as finely as each region's map shows it; the
// interior coarser, and coarser still away from the coast, so that the
// velocity arrows (one per interior node) stand apart in the full view of
// the map. The full view spans 1.4 map widths over an 800-pixel picture:
// 6 pixels are 6.4 km on the whole lake's 610 km map, 1.8 km on the
// Lufubu region's 170 km and 0.5 km on the Malagarasi region's 50 km;
// interior nodes stand at least 0.9 of the interior spacing apart where
// the angle bound allows.
constexpr MeshSpacing kWholeLakeSpacing{3.0, 7.5, 12.0, 0.3};
constexpr MeshSpacing kMalagarasiSpacing{1.0, 1.0, 1.5, 0.1};
constexpr MeshSpacing kLufubuSpacing{1.5, 2.2, 4.0, 0.2};

// Cut lines in the projected plane (transverse Mercator about 30 E, km). On
// the central meridian 7.3 S lies at y = -807.236; over the lake's width a
// parallel bends by less than 0.2 km, so straight lines serve.
constexpr double kLat7p3SouthKm = -807.236;
// The Malagarasi mouth (5.2564 S, 29.8017 E) lies at x = -21.98, y = -581.24
// on the lake's east shore. The region reaches 24 km north and south of it
// and west to x = -50 km, past the middle of the lake, so the mouth and the
// water on either side of it lie well inside the region's map.
constexpr double kMalagarasiMouthYKm = -581.24;
constexpr double kMalagarasiHalfHeightKm = 24.0;
constexpr double kMalagarasiWestKm = -50.0;

HalfPlane KeepSouthOf(double y) { return {{0.0, 1.0}, y}; }
HalfPlane KeepNorthOf(double y) { return {{0.0, -1.0}, -y}; }
HalfPlane KeepEastOf(double x) { return {{-1.0, 0.0}, -x}; }

}  // namespace

std::vector<LakeRegion> ProgramRegions() {
  return {
      {1, "tan", "geomtan.inp", kWholeLakeSpacing, {}},
      {2,
       "mal",
       "geommal.inp",
       kMalagarasiSpacing,
       {KeepSouthOf(kMalagarasiMouthYKm + kMalagarasiHalfHeightKm),
        KeepNorthOf(kMalagarasiMouthYKm - kMalagarasiHalfHeightKm), KeepEastOf(kMalagarasiWestKm)}},
      {3, "zam", "geomzam.inp", kLufubuSpacing, {KeepSouthOf(kLat7p3SouthKm)}},
  };
}

}  // namespace lakedrift::datagen
