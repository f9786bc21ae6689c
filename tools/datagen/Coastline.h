#pragma once
#include <filesystem>
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// The committed shoreline of the lake in km: ring 0 the lake shore, the
// others its islands.
class Coastline {
 public:
  // Reads the shoreline text file ('rings R', then 'ring K N' and N lines
  // 'x y' per ring; '#' lines are comments). Throws std::runtime_error on
  // any departure from that layout.
  static Coastline Load(const std::filesystem::path& path);

  // The rings, shore first; every edge is real shore.
  const std::vector<CoastRing>& Rings() const { return rings_; }

 private:
  std::vector<CoastRing> rings_;
};

}  // namespace lakedrift::datagen
