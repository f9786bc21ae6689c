#pragma once
#include <filesystem>
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// A box of the lake plane, km.
struct PlaneBox {
  Vec2 low, high;
};

// The start-up window's picture: the lake drawn from its coastline, north
// up, blue water (darker where deep) on green and ochre land, the boxes of
// the river regions outlined and the lake's name beside it, written as a
// 24-bit BMP.
class StartupPicture {
 public:
  // Draws the rings (shore first, then islands) and the region boxes, all
  // in the shoreline's plane, and writes the file.
  static void Write(const std::vector<CoastRing>& lake, const std::vector<PlaneBox>& regions,
                    const std::filesystem::path& path);

  static constexpr int kWidth = 230;
  static constexpr int kHeight = 145;
};

}  // namespace lakedrift::datagen
