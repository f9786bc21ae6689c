#include "model/PointInLake.h"

namespace lakedrift {

int16_t PointInRings(const Array1<int>& ringSizes, int ringCount, const Array1<double>& ringX,
                     const Array1<float>& ringY, double x, double y) {
  int crossings = 0;
  int first = 1;
  for (int k = 1; k <= ringCount; ++k) {
    const int last = first + ringSizes(k) - 1;
    for (int j = first; j <= last; ++j) {
      const int next = j < last ? j + 1 : first;  // each ring closes on itself
      const double x1 = ringX(j), y1 = ringY(j);
      const double x2 = ringX(next), y2 = ringY(next);
      if (y1 == y2) continue;  // horizontal edges never count
      // An end exactly at the point's height counts as above it.
      const double p = (y1 - y) * (y2 - y);
      const bool spans = p < 0 || (p == 0 && (y > y1 || y > y2));
      if (!spans) continue;
      const float xc = static_cast<float>(x1 + (y - y1) * (x2 - x1) / (y2 - y1));
      if (xc <= x) ++crossings;
    }
    first = last + 1;
  }
  return static_cast<int16_t>(crossings % 2 == 1 ? 1 : 0);
}

int16_t PointInLake(const ModelState& state, double x, double y) {
  return PointInRings(state.BoundaryRingSize, state.BoundaryRingCount, state.BoundaryX, state.BoundaryY, x,
                      y);
}

int16_t PointInLakeMetres(const ModelState& state, double x, double y) {
  return PointInRings(state.BoundaryRingSize, state.BoundaryRingCount, state.BoundaryXMetres,
                      state.BoundaryYMetres, x, y);
}

}  // namespace lakedrift
