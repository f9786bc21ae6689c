#pragma once
#include <vector>

#include "CoastRing.h"

namespace lakedrift::datagen {

// Thins a region's coast to about the element size so that the mesher is
// not forced into tiny elements by every wiggle of a full-resolution shore.
// The result keeps the rings simple and apart from each other, has no
// water-side corner sharper than the mesher can handle, orients the shore
// counter-clockwise and the islands clockwise (water always on the left)
// and splits cut lines into pieces of about the element size.
class ShoreSimplifier {
 public:
  explicit ShoreSimplifier(double elementSizeKm) : elementSize_(elementSizeKm) {}

  // The simplified rings, in the same order. Throws std::runtime_error if no
  // tolerance down to a small fraction of the element size gives simple rings.
  std::vector<CoastRing> Simplify(const std::vector<CoastRing>& rings) const;

  // True when no two edges of the rings cross or touch except neighbouring
  // edges of one ring at their shared point.
  static bool AreSimple(const std::vector<CoastRing>& rings);

 private:
  CoastRing SimplifyRing(const CoastRing& ring, bool isShore, double tolerance) const;

  double elementSize_;
};

}  // namespace lakedrift::datagen
