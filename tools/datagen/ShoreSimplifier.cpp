#include "ShoreSimplifier.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace lakedrift::datagen {

namespace {

// Douglas–Peucker tolerance as a fraction of the element size: the coast
// stays within a quarter element of the survey.
constexpr double kToleranceFraction = 0.25;
// Each failed attempt halves the tolerance, at most this often.
constexpr int kMaxAttempts = 6;
// Water-side corners sharper than this are cut off: the mesher cannot meet
// its 20.7° angle bound inside them.
constexpr double kMinWaterAngleDeg = 40.0;
// An island is never thinned below this many points.
constexpr std::size_t kMinIslandPoints = 5;

double DistanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const double len2 = Dot(ab, ab);
  double t = len2 > 0.0 ? Dot(p - a, ab) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return Length(p - (a + t * ab));
}

// Marks the points of the open chain first..last (indices modulo n) that
// Douglas–Peucker keeps at the given tolerance.
void MarkChain(const std::vector<Vec2>& pts, std::size_t first, std::size_t count, double tolerance,
               std::vector<bool>& keep) {
  const std::size_t n = pts.size();
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, count}};
  while (!stack.empty()) {
    const auto [lo, hi] = stack.back();
    stack.pop_back();
    if (hi <= lo + 1) continue;
    const Vec2 a = pts[(first + lo) % n];
    const Vec2 b = pts[(first + hi) % n];
    double worst = -1.0;
    std::size_t worstAt = lo;
    for (std::size_t k = lo + 1; k < hi; ++k) {
      const double d = DistanceToSegment(pts[(first + k) % n], a, b);
      if (d > worst) {
        worst = d;
        worstAt = k;
      }
    }
    if (worst > tolerance) {
      keep[(first + worstAt) % n] = true;
      stack.push_back({lo, worstAt});
      stack.push_back({worstAt, hi});
    }
  }
}

// The angle on the water side (left of the walk) at b between a → b → c.
double WaterAngle(Vec2 a, Vec2 b, Vec2 c) {
  const Vec2 out = c - b;
  const Vec2 back = a - b;
  double angle = std::atan2(Cross(out, back), Dot(out, back));
  if (angle < 0.0) angle += 2.0 * std::numbers::pi;
  return angle;
}

bool SegmentsTouch(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double d1 = Cross(b - a, c - a);
  const double d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c);
  const double d4 = Cross(d - c, b - c);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  const auto onSegment = [](Vec2 p, Vec2 q, Vec2 r) {
    return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
           r.y <= std::max(p.y, q.y);
  };
  return (d1 == 0 && onSegment(a, b, c)) || (d2 == 0 && onSegment(a, b, d)) ||
         (d3 == 0 && onSegment(c, d, a)) || (d4 == 0 && onSegment(c, d, b));
}

}  // namespace

CoastRing ShoreSimplifier::SimplifyRing(const CoastRing& input, bool isShore, double tolerance) const {
  CoastRing ring = input;
  // Water on the left: the shore runs counter-clockwise, islands clockwise.
  if ((ring.SignedArea() > 0.0) != isShore) {
    std::reverse(ring.points.begin(), ring.points.end());
    // Edge i → i+1 becomes edge n-2-i → n-1-i after reversal.
    std::vector<bool> flags(ring.cutAfter.size());
    const std::size_t n = flags.size();
    for (std::size_t i = 0; i < n; ++i) flags[(2 * n - 2 - i) % n] = ring.cutAfter[i];
    ring.cutAfter = flags;
  }
  const std::vector<Vec2>& pts = ring.points;
  const std::size_t n = pts.size();

  // Anchors: the ends of cut edges stay where the cut put them. A ring
  // without cuts is anchored at its first point and the point farthest away.
  std::vector<bool> anchor(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    if (ring.cutAfter[i]) anchor[i] = anchor[(i + 1) % n] = true;
  }
  if (std::none_of(anchor.begin(), anchor.end(), [](bool b) { return b; })) {
    std::size_t far = 0;
    for (std::size_t i = 1; i < n; ++i) {
      if (Length(pts[i] - pts[0]) > Length(pts[far] - pts[0])) far = i;
    }
    anchor[0] = anchor[far] = true;
  }
  std::vector<bool> keep = anchor;
  std::vector<std::size_t> anchors;
  for (std::size_t i = 0; i < n; ++i) {
    if (anchor[i]) anchors.push_back(i);
  }
  for (std::size_t k = 0; k < anchors.size(); ++k) {
    const std::size_t first = anchors[k];
    const std::size_t next = anchors[(k + 1) % anchors.size()];
    if (ring.cutAfter[first]) continue;  // a cut edge is already straight
    const std::size_t count = (next + n - first) % n == 0 ? n : (next + n - first) % n;
    MarkChain(pts, first, count, tolerance, keep);
  }

  CoastRing out;
  for (std::size_t i = 0; i < n; ++i) {
    if (!keep[i]) continue;
    out.points.push_back(pts[i]);
    out.cutAfter.push_back(ring.cutAfter[i]);
    anchor[out.points.size() - 1] = anchor[i];
  }
  std::vector<bool> fixed(anchor.begin(), anchor.begin() + static_cast<long>(out.points.size()));

  // Cut off sharp water-side corners, one at a time, until none is left.
  const double minAngle = kMinWaterAngleDeg * std::numbers::pi / 180.0;
  for (bool changed = true; changed && out.points.size() > kMinIslandPoints;) {
    changed = false;
    const std::size_t m = out.points.size();
    for (std::size_t i = 0; i < m; ++i) {
      if (fixed[i]) continue;
      const Vec2 a = out.points[(i + m - 1) % m];
      const Vec2 c = out.points[(i + 1) % m];
      if (WaterAngle(a, out.points[i], c) < minAngle) {
        out.points.erase(out.points.begin() + static_cast<long>(i));
        out.cutAfter.erase(out.cutAfter.begin() + static_cast<long>(i));
        fixed.erase(fixed.begin() + static_cast<long>(i));
        changed = true;
        break;
      }
    }
  }

  // Split the straight cut lines into pieces of about the element size, so
  // that the open-water boundary is as finely resolved as the shore.
  CoastRing split;
  for (std::size_t i = 0, m = out.points.size(); i < m; ++i) {
    split.points.push_back(out.points[i]);
    split.cutAfter.push_back(out.cutAfter[i]);
    if (!out.cutAfter[i]) continue;
    const Vec2 a = out.points[i];
    const Vec2 b = out.points[(i + 1) % m];
    const int pieces = std::max(1, static_cast<int>(std::lround(Length(b - a) / elementSize_)));
    for (int k = 1; k < pieces; ++k) {
      split.points.push_back(a + (static_cast<double>(k) / pieces) * (b - a));
      split.cutAfter.push_back(true);
    }
  }
  return split;
}

std::vector<CoastRing> ShoreSimplifier::Simplify(const std::vector<CoastRing>& rings) const {
  double tolerance = kToleranceFraction * elementSize_;
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt, tolerance *= 0.5) {
    std::vector<CoastRing> out;
    bool ok = true;
    for (std::size_t k = 0; k < rings.size() && ok; ++k) {
      double ringTolerance = tolerance;
      CoastRing ring = SimplifyRing(rings[k], k == 0, ringTolerance);
      // Small islands get a finer tolerance until they keep their shape.
      for (int refine = 0; ring.points.size() < kMinIslandPoints && refine < kMaxAttempts; ++refine) {
        ringTolerance *= 0.5;
        ring = SimplifyRing(rings[k], k == 0, ringTolerance);
      }
      ok = ring.points.size() >= 3;
      out.push_back(std::move(ring));
    }
    if (ok && AreSimple(out)) return out;
  }
  throw std::runtime_error("the coast cannot be simplified into simple rings");
}

bool ShoreSimplifier::AreSimple(const std::vector<CoastRing>& rings) {
  struct Edge {
    Vec2 a, b;
    std::size_t ring, index, ringSize;
  };
  std::vector<Edge> edges;
  for (std::size_t r = 0; r < rings.size(); ++r) {
    const auto& p = rings[r].points;
    for (std::size_t i = 0; i < p.size(); ++i) {
      edges.push_back({p[i], p[(i + 1) % p.size()], r, i, p.size()});
    }
  }
  // Sweep by the edges' lowest x so that only overlapping ones are compared.
  std::sort(edges.begin(), edges.end(),
            [](const Edge& e, const Edge& f) { return std::min(e.a.x, e.b.x) < std::min(f.a.x, f.b.x); });
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const Edge& e = edges[i];
    const double maxX = std::max(e.a.x, e.b.x);
    for (std::size_t j = i + 1; j < edges.size() && std::min(edges[j].a.x, edges[j].b.x) <= maxX; ++j) {
      const Edge& f = edges[j];
      if (e.ring == f.ring) {
        const std::size_t d = (e.index + e.ringSize - f.index) % e.ringSize;
        if (d == 1 || d == e.ringSize - 1) continue;  // neighbours share a point
      }
      if (SegmentsTouch(e.a, e.b, f.a, f.b)) return false;
    }
  }
  return true;
}

}  // namespace lakedrift::datagen
