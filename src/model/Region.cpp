#include "model/Region.h"

#include <string>

namespace lakedrift {

const Region& RegionByNumber(int number) {
  const bool known = number >= 1 && number <= static_cast<int>(kRegions.size());
  return kRegions[known ? static_cast<std::size_t>(number - 1) : 0];
}

void ChooseRegion(ModelState& state, int number) {
  const Region& region = RegionByNumber(number);
  state.Region = region.number;
  state.RegionTitle = std::string(region.title);
}

}  // namespace lakedrift
