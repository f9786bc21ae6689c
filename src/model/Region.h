#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "model/ModelState.h"

namespace lakedrift {

// A lake region the program can load: its number in ModelState::Region, the
// title the map prints, its geometry file and the code that starts the names
// of its flow-field files.
struct Region {
  int16_t number;
  std::string_view title;
  std::string_view geometryFile;
  std::string_view flowCode;
};

inline constexpr std::array<Region, 3> kRegions = {{
    {1, "LAKE TANGANYIKA", "geomtan.inp", "tan"},
    {2, "RIVER MALAGARASI REGION", "geommal.inp", "mal"},
    {3, "SOUTH PART OF LAKE TANGANYIKA", "geomzam.inp", "zam"},
}};

// The region numbered `number`; any number outside 1..3 answers region 1,
// the whole lake.
const Region& RegionByNumber(int number);

// Writes the choice of region `number` (1..3) into the state: Region and
// RegionTitle.
void ChooseRegion(ModelState& state, int number);

}  // namespace lakedrift
