#include "LakeMesher.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_criteria_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesh_vertex_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <queue>
#include <stdexcept>
#include <tuple>

namespace lakedrift::datagen {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Delaunay_mesh_vertex_base_2<Kernel>;
using FaceBase = CGAL::Delaunay_mesh_face_base_2<Kernel>;
using Tds = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Kernel, Tds, CGAL::Exact_predicates_tag>;
using FaceHandle = Cdt::Face_handle;
using VertexHandle = Cdt::Vertex_handle;

// sin² of the smallest angle the mesher accepts: 0.125 is about 20.7°.
constexpr double kShapeBound = 0.125;
// The mesher's size bound caps the longest edge; refinement leaves the
// typical edge near 0.7 of the cap, so the cap sits above the spacing to
// bring the typical edge to it.
constexpr double kEdgeCapPerSpacing = 1.4;

// Thinning keeps neighbouring interior nodes this fraction of the interior
// spacing apart, where the angle bound allows.
constexpr double kMinGapPerSpacing = 0.9;

// Distance from the nearest coast edge (shore, island or cut line).
class CoastDistance {
 public:
  explicit CoastDistance(const std::vector<CoastRing>& rings) {
    for (const CoastRing& ring : rings) {
      for (std::size_t i = 0, n = ring.points.size(); i < n; ++i) {
        edges_.push_back({ring.points[i], ring.points[(i + 1) % n]});
      }
    }
  }

  double At(Vec2 p) const {
    double best = std::numeric_limits<double>::infinity();
    for (const auto& [a, b] : edges_) {
      const Vec2 ab = b - a;
      const double len2 = Dot(ab, ab);
      const double t = len2 > 0.0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
      const Vec2 d = p - (a + t * ab);
      best = std::min(best, Dot(d, d));
    }
    return std::sqrt(best);
  }

 private:
  std::vector<std::pair<Vec2, Vec2>> edges_;
};

// sin² of the smallest angle of a triangle, and its longest edge squared.
std::pair<double, double> SquaredMinSineAndLongestEdge(const FaceHandle& f) {
  const Kernel::Point_2& a = f->vertex(0)->point();
  const Kernel::Point_2& b = f->vertex(1)->point();
  const Kernel::Point_2& c = f->vertex(2)->point();
  std::array<double, 3> sides{CGAL::squared_distance(b, c), CGAL::squared_distance(c, a),
                              CGAL::squared_distance(a, b)};
  std::sort(sides.begin(), sides.end());
  const double twiceArea = 2.0 * CGAL::area(a, b, c);
  return {twiceArea * twiceArea / (sides[2] * sides[1]), sides[2]};
}

// CGAL's size criteria with the size bound taken at each triangle's centre
// from the spacing and the distance to the coast.
class GradedCriteria : public CGAL::Delaunay_mesh_criteria_2<Cdt> {
 public:
  using Base = CGAL::Delaunay_mesh_criteria_2<Cdt>;
  using Quality = CGAL::Delaunay_mesh_size_criteria_2<Cdt>::Quality;

  GradedCriteria(const MeshSpacing& spacing, const CoastDistance& coast)
      : Base(kShapeBound), spacing_(spacing), coast_(coast) {}

  class Is_bad : public Base::Is_bad {
   public:
    explicit Is_bad(const GradedCriteria& c) : Base::Is_bad(c.bound(), c.traits), c_(c) {}

    CGAL::Mesh_2::Face_badness operator()(const Quality& q) const {
      if (q.size() > 1) return CGAL::Mesh_2::IMPERATIVELY_BAD;
      return q.sine() < this->B ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
    }

    CGAL::Mesh_2::Face_badness operator()(const FaceHandle& f, Quality& q) const {
      const Kernel::Point_2 centre =
          CGAL::centroid(f->vertex(0)->point(), f->vertex(1)->point(), f->vertex(2)->point());
      const double cap = kEdgeCapPerSpacing * c_.spacing_.At(c_.coast_.At({centre.x(), centre.y()}));
      const auto [sine, longest] = SquaredMinSineAndLongestEdge(f);
      q = Quality(sine, longest / (cap * cap));
      return (*this)(q);
    }

   private:
    const GradedCriteria& c_;
  };

  Is_bad is_bad_object() const { return Is_bad(*this); }

 private:
  MeshSpacing spacing_;
  const CoastDistance& coast_;
};

// Marks the water: faces reached from outside the shore by crossing an odd
// number of coast edges. Islands are even again.
void MarkWater(Cdt& cdt) {
  std::map<FaceHandle, int> level;
  for (auto f = cdt.all_faces_begin(); f != cdt.all_faces_end(); ++f) f->set_in_domain(false);
  std::queue<FaceHandle> border;
  border.push(cdt.infinite_face());
  level[cdt.infinite_face()] = 0;
  while (!border.empty()) {
    const FaceHandle start = border.front();
    border.pop();
    const int nesting = level[start];
    std::queue<FaceHandle> region;
    region.push(start);
    while (!region.empty()) {
      const FaceHandle f = region.front();
      region.pop();
      f->set_in_domain(nesting % 2 == 1);
      for (int i = 0; i < 3; ++i) {
        const FaceHandle g = f->neighbor(i);
        if (level.count(g) != 0) continue;
        if (cdt.is_constrained({f, i})) {
          level[g] = nesting + 1;
          border.push(g);
        } else {
          level[g] = nesting;
          region.push(g);
        }
      }
    }
  }
}

// Interior nodes set out before refinement, where the interior spacing is
// coarser than the coast: candidates on a fine square grid, farthest from
// the coast first, each kept when it lies on the water, half its spacing
// or more from the coast and a spacing or more from every node kept before.
// Refinement then only adds what the angle bound needs next to the coast.
std::vector<Vec2> SeedNodes(const Cdt& cdt, const MeshSpacing& spacing, const CoastDistance& coast) {
  constexpr double kCandidateStepPerCoastSpacing = 0.5;
  constexpr double kCoastGapPerSpacing = 0.5;
  const double step = kCandidateStepPerCoastSpacing * spacing.coastKm;
  double xMin = std::numeric_limits<double>::infinity(), yMin = xMin, xMax = -xMin, yMax = -xMin;
  for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) {
    xMin = std::min(xMin, v->point().x()), xMax = std::max(xMax, v->point().x());
    yMin = std::min(yMin, v->point().y()), yMax = std::max(yMax, v->point().y());
  }
  struct Candidate {
    double distance;
    Vec2 p;
  };
  std::vector<Candidate> candidates;
  for (double y = yMin + 0.5 * step; y < yMax; y += step) {
    for (double x = xMin + 0.5 * step; x < xMax; x += step) {
      const auto face = cdt.locate({x, y});
      if (cdt.is_infinite(face) || !face->is_in_domain()) continue;
      const double d = coast.At({x, y});
      if (d >= kCoastGapPerSpacing * spacing.At(d)) candidates.push_back({d, {x, y}});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.distance > b.distance; });
  // Kept nodes in buckets of the largest spacing, to find near ones fast.
  const double cell = spacing.openWaterKm;
  std::map<std::pair<long, long>, std::vector<Vec2>> buckets;
  const auto key = [&](Vec2 p) {
    return std::pair<long, long>{std::lround(std::floor(p.x / cell)), std::lround(std::floor(p.y / cell))};
  };
  std::vector<Vec2> kept;
  for (const Candidate& c : candidates) {
    const double gap = spacing.At(c.distance);
    const auto [kx, ky] = key(c.p);
    bool free = true;
    for (long i = kx - 1; i <= kx + 1 && free; ++i) {
      for (long j = ky - 1; j <= ky + 1 && free; ++j) {
        const auto found = buckets.find({i, j});
        if (found == buckets.end()) continue;
        for (const Vec2 q : found->second) free = free && Length(q - c.p) >= gap;
      }
    }
    if (!free) continue;
    kept.push_back(c.p);
    buckets[{kx, ky}].push_back(c.p);
  }
  return kept;
}

// True when every water triangle at one of the vertices meets the angle bound.
bool AnglesHoldAround(const Cdt& cdt, const std::vector<VertexHandle>& vertices) {
  for (const VertexHandle v : vertices) {
    auto f = cdt.incident_faces(v), done = f;
    do {
      if (!cdt.is_infinite(f) && f->is_in_domain() && SquaredMinSineAndLongestEdge(f).first < kShapeBound)
        return false;
    } while (++f != done);
  }
  return true;
}

// A vertex of the triangulation at p that touches no coast edge, if any.
std::optional<VertexHandle> InteriorVertexAt(const Cdt& cdt, const Kernel::Point_2& p) {
  Cdt::Locate_type type;
  int at = 0;
  const FaceHandle f = cdt.locate(p, type, at);
  if (type != Cdt::VERTEX) return std::nullopt;
  const VertexHandle v = f->vertex(at);
  auto e = cdt.incident_edges(v), done = e;
  do {
    if (cdt.is_constrained(*e)) return std::nullopt;
  } while (++e != done);
  return v;
}

// Takes the interior nodes at `out` away and puts one at `in` (when given);
// keeps the change when every water triangle round the hole still meets the
// angle bound, else undoes it (the constrained Delaunay triangulation of a
// set of points is unique, so undoing restores the mesh exactly).
bool TryReplace(
    Cdt& cdt, const std::vector<Kernel::Point_2>& out, const std::optional<Kernel::Point_2>& in,
    const std::function<bool()>& better = [] { return true; }) {
  std::vector<VertexHandle> gone;
  for (const auto& p : out) {
    const auto v = InteriorVertexAt(cdt, p);
    if (!v) return false;
    gone.push_back(*v);
  }
  std::vector<Kernel::Point_2> around;
  for (const VertexHandle v : gone) {
    auto w = cdt.incident_vertices(v), done = w;
    do {
      around.push_back(w->point());
    } while (++w != done);
  }
  for (const VertexHandle v : gone) cdt.remove(v);
  if (in) around.push_back(cdt.insert(*in)->point());
  MarkWater(cdt);
  std::vector<VertexHandle> check;
  for (const auto& p : around) {
    Cdt::Locate_type type;
    int at = 0;
    const FaceHandle f = cdt.locate(p, type, at);
    if (type == Cdt::VERTEX) check.push_back(f->vertex(at));
  }
  if (AnglesHoldAround(cdt, check) && better()) return true;
  if (in) cdt.remove(*InteriorVertexAt(cdt, *in));
  for (const auto& p : out) cdt.insert(p);
  MarkWater(cdt);
  return false;
}

// The shortest edge from the interior node at p to another interior node;
// infinite when there is none.
double ShortestInteriorEdge(const Cdt& cdt, const Kernel::Point_2& p) {
  double shortest = std::numeric_limits<double>::infinity();
  const auto v = InteriorVertexAt(cdt, p);
  if (!v) return shortest;
  auto w = cdt.incident_vertices(*v), done = w;
  do {
    if (!cdt.is_infinite(w) && InteriorVertexAt(cdt, w->point()))
      shortest = std::min(shortest, std::sqrt(CGAL::squared_distance(p, w->point())));
  } while (++w != done);
  return shortest;
}

// Moves the interior node at p to the first of a ring of nearby places on
// the water where its nearest interior neighbour is farther and the angle
// bound holds.
bool TryMove(Cdt& cdt, const Kernel::Point_2& p, double minGapKm) {
  constexpr int kDirections = 12;
  constexpr double kStepsOfGap[] = {0.2, 0.4};
  const double before = ShortestInteriorEdge(cdt, p);
  std::vector<Kernel::Point_2> neighbours;
  if (const auto v = InteriorVertexAt(cdt, p)) {
    auto w = cdt.incident_vertices(*v), done = w;
    do {
      if (!cdt.is_infinite(w)) neighbours.push_back(w->point());
    } while (++w != done);
  }
  // A place nearer than before to one of today's neighbours is not tried.
  const auto promising = [&](const Kernel::Point_2& to) {
    return std::all_of(neighbours.begin(), neighbours.end(), [&](const Kernel::Point_2& n) {
      return std::sqrt(CGAL::squared_distance(to, n)) > before;
    });
  };
  for (const double step : kStepsOfGap) {
    for (int k = 0; k < kDirections; ++k) {
      const double angle = 2.0 * std::numbers::pi * k / kDirections;
      const Kernel::Point_2 to(p.x() + step * minGapKm * std::cos(angle),
                               p.y() + step * minGapKm * std::sin(angle));
      Cdt::Locate_type type;
      int at = 0;
      const FaceHandle f = cdt.locate(to, type, at);
      if (type != Cdt::FACE || !f->is_in_domain() || !promising(to)) continue;
      if (TryReplace(cdt, {p}, to, [&] { return ShortestInteriorEdge(cdt, to) > before; })) return true;
    }
  }
  return false;
}

// Refinement puts nodes next to the coast wherever the angle bound needs
// them, some closer to each other than the interior spacing. For each such
// short interior edge, shortest first, one of its nodes is taken away, or
// else both are merged into one at the edge's middle, or else one is moved
// a little away from the other, whatever keeps the angle bound.
void ThinInterior(Cdt& cdt, double minGapKm) {
  constexpr int kMaxPasses = 8;
  bool changed = true;
  for (int pass = 0; pass < kMaxPasses && changed; ++pass) {
    changed = false;
    std::vector<std::tuple<double, Kernel::Point_2, Kernel::Point_2>> shortEdges;
    for (auto e = cdt.finite_edges_begin(); e != cdt.finite_edges_end(); ++e) {
      const VertexHandle a = e->first->vertex(Cdt::cw(e->second));
      const VertexHandle b = e->first->vertex(Cdt::ccw(e->second));
      const double length = std::sqrt(CGAL::squared_distance(a->point(), b->point()));
      if (length >= minGapKm || !InteriorVertexAt(cdt, a->point()) || !InteriorVertexAt(cdt, b->point()))
        continue;
      auto [p, q] = std::minmax(a->point(), b->point());
      shortEdges.emplace_back(length, p, q);
    }
    std::sort(shortEdges.begin(), shortEdges.end());
    for (const auto& [length, p, q] : shortEdges) {
      changed = TryReplace(cdt, {q}, std::nullopt) || TryReplace(cdt, {p}, std::nullopt) ||
                TryReplace(cdt, {p, q}, CGAL::midpoint(p, q)) || TryMove(cdt, q, minGapKm) ||
                TryMove(cdt, p, minGapKm) || changed;
    }
  }
}

}  // namespace

double MeshSpacing::At(double distanceKm) const {
  return std::min(openWaterKm, interiorKm + growthPerKm * distanceKm);
}

LakeMesh LakeMesher::Mesh(const std::vector<CoastRing>& rings) const {
  Cdt cdt;
  for (const CoastRing& ring : rings) {
    std::vector<VertexHandle> handles;
    for (const Vec2 p : ring.points) handles.push_back(cdt.insert(Kernel::Point_2(p.x, p.y)));
    for (std::size_t i = 0; i < handles.size(); ++i) {
      cdt.insert_constraint(handles[i], handles[(i + 1) % handles.size()]);
    }
  }
  MarkWater(cdt);
  const CoastDistance coastDistance(rings);
  if (spacing_.interiorKm > spacing_.coastKm) {
    for (const Vec2 p : SeedNodes(cdt, spacing_, coastDistance)) cdt.insert(Kernel::Point_2(p.x, p.y));
    MarkWater(cdt);
  }
  CGAL::refine_Delaunay_mesh_2(cdt, GradedCriteria(spacing_, coastDistance), true);
  MarkWater(cdt);
  if (spacing_.interiorKm > spacing_.coastKm) ThinInterior(cdt, kMinGapPerSpacing * spacing_.interiorKm);

  LakeMesh mesh;
  std::map<VertexHandle, int> nodeOf;
  std::map<FaceHandle, int> elementOf;
  for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f) {
    if (!f->is_in_domain()) continue;
    std::array<int, 3> element{};
    for (int j = 0; j < 3; ++j) {
      const VertexHandle v = f->vertex(j);
      auto [it, added] = nodeOf.emplace(v, static_cast<int>(mesh.nodes.size()));
      if (added) mesh.nodes.push_back({v->point().x(), v->point().y()});
      element[j] = it->second;
    }
    elementOf[f] = static_cast<int>(mesh.elements.size());
    mesh.elements.push_back(element);
  }

  // CGAL's neighbour i lies opposite vertex i, that is across the edge from
  // vertex i+1 to vertex i+2; ours j lies across the edge from j to j+1.
  std::map<int, int> nextOnCoast;  // coast edge a → b, water on the left
  mesh.neighbours.resize(mesh.elements.size());
  for (const auto& [f, e] : elementOf) {
    for (int j = 0; j < 3; ++j) {
      const FaceHandle g = f->neighbor((j + 2) % 3);
      const auto found = elementOf.find(g);
      if (found != elementOf.end()) {
        mesh.neighbours[e][j] = found->second;
      } else {
        mesh.neighbours[e][j] = LakeMesh::kNoNeighbour;
        const int a = mesh.elements[e][j];
        if (!nextOnCoast.emplace(a, mesh.elements[e][(j + 1) % 3]).second) {
          throw std::runtime_error("two coast rings touch at a node");
        }
      }
    }
  }

  // Walk the coast edges into rings, each from its northernmost point, the
  // westernmost of equals, so the output does not depend on map order.
  std::vector<std::vector<int>> loops;
  std::map<int, bool> walked;
  for (const auto& [start, next] : nextOnCoast) {
    if (walked[start]) continue;
    std::vector<int> loop;
    for (int a = start; !walked[a]; a = nextOnCoast.at(a)) {
      walked[a] = true;
      loop.push_back(a);
    }
    const auto top = std::min_element(loop.begin(), loop.end(), [&](int p, int q) {
      const Vec2 u = mesh.nodes[p];
      const Vec2 w = mesh.nodes[q];
      return u.y != w.y ? u.y > w.y : u.x < w.x;
    });
    std::rotate(loop.begin(), top, loop.end());
    loops.push_back(std::move(loop));
  }
  if (loops.size() != rings.size()) {
    throw std::runtime_error("the mesh has " + std::to_string(loops.size()) + " coast rings instead of " +
                             std::to_string(rings.size()));
  }
  // The shore is the one ring that runs counter-clockwise; islands follow
  // from north to south.
  const auto area = [&](const std::vector<int>& loop) {
    double twice = 0.0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
      twice += Cross(mesh.nodes[loop[i]], mesh.nodes[loop[(i + 1) % loop.size()]]);
    }
    return twice;
  };
  std::sort(loops.begin(), loops.end(), [&](const auto& p, const auto& q) {
    const bool ps = area(p) > 0.0;
    const bool qs = area(q) > 0.0;
    if (ps != qs) return ps;
    const Vec2 u = mesh.nodes[p.front()];
    const Vec2 w = mesh.nodes[q.front()];
    return u.y != w.y ? u.y > w.y : u.x < w.x;
  });
  if (area(loops.front()) <= 0.0 || (loops.size() > 1 && area(loops[1]) > 0.0)) {
    throw std::runtime_error("the mesh's coast is not one shore with islands inside");
  }
  mesh.rings = std::move(loops);
  return mesh;
}

}  // namespace lakedrift::datagen
