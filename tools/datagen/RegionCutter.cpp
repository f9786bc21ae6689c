#include "RegionCutter.h"

#include <stdexcept>

namespace lakedrift::datagen {

namespace {

// A cut that meets a simple ring in exactly two points leaves one ring.
constexpr int kCrossingsOfOneCut = 2;

double Side(const HalfPlane& h, Vec2 p) { return Dot(h.normal, p) - h.offset; }

// Clips a ring by one half-plane, marking the new edge along the line.
CoastRing ClipRing(const CoastRing& ring, const HalfPlane& h) {
  CoastRing out;
  const std::size_t n = ring.points.size();
  int crossings = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 a = ring.points[i];
    const Vec2 b = ring.points[(i + 1) % n];
    const double sa = Side(h, a);
    const double sb = Side(h, b);
    const bool aInside = sa <= 0.0;
    const bool bInside = sb <= 0.0;
    if (aInside) {
      out.points.push_back(a);
      out.cutAfter.push_back(ring.cutAfter[i]);
    }
    if (aInside != bInside) {
      ++crossings;
      const double t = sa / (sa - sb);
      out.points.push_back(a + t * (b - a));
      // Leaving the region, the edge from here runs along the cut line to
      // the point where the shore comes back in; entering, it is the rest
      // of the edge a → b.
      out.cutAfter.push_back(aInside ? true : static_cast<bool>(ring.cutAfter[i]));
    }
  }
  if (crossings != 0 && crossings != kCrossingsOfOneCut) {
    throw std::runtime_error("a cut line crosses the shore " + std::to_string(crossings) + " times");
  }
  return out;
}

}  // namespace

std::vector<CoastRing> RegionCutter::Cut(const std::vector<CoastRing>& lake,
                                         const std::vector<HalfPlane>& cuts) {
  std::vector<CoastRing> rings;
  CoastRing shore = lake.front();
  for (const HalfPlane& h : cuts) shore = ClipRing(shore, h);
  if (shore.points.size() < 3) throw std::runtime_error("a region keeps no water");
  rings.push_back(std::move(shore));

  for (std::size_t k = 1; k < lake.size(); ++k) {
    int inside = 0;
    for (const Vec2 p : lake[k].points) {
      bool keep = true;
      for (const HalfPlane& h : cuts) keep = keep && Side(h, p) <= 0.0;
      inside += keep ? 1 : 0;
    }
    if (inside == static_cast<int>(lake[k].points.size())) {
      rings.push_back(lake[k]);
    } else if (inside != 0) {
      throw std::runtime_error("a cut line runs through island " + std::to_string(k));
    }
  }
  return rings;
}

}  // namespace lakedrift::datagen
