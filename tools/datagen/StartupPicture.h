#pragma once
#include <filesystem>
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// The start-up window's picture: the lake drawn from its coastline, turned
// so that its long axis runs across the picture, blue water (darker where
// deep) on green and ochre land, written as a 24-bit BMP.
class StartupPicture {
 public:
  // Draws the rings (shore first, then islands) and writes the file.
  static void Write(const std::vector<CoastRing>& lake, const std::filesystem::path& path);

  static constexpr int kWidth = 230;
  static constexpr int kHeight = 145;
};

}  // namespace lakedrift::datagen
