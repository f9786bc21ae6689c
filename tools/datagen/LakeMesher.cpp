#include "LakeMesher.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_criteria_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesh_vertex_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <queue>
#include <stdexcept>

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
    Is_bad(const GradedCriteria& c) : Base::Is_bad(c.bound(), c.traits), c_(c) {}

    CGAL::Mesh_2::Face_badness operator()(const Quality& q) const {
      if (q.size() > 1) return CGAL::Mesh_2::IMPERATIVELY_BAD;
      return q.sine() < this->B ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
    }

    CGAL::Mesh_2::Face_badness operator()(const FaceHandle& f, Quality& q) const {
      const Kernel::Point_2& a = f->vertex(0)->point();
      const Kernel::Point_2& b = f->vertex(1)->point();
      const Kernel::Point_2& c = f->vertex(2)->point();
      std::array<double, 3> sides{CGAL::squared_distance(b, c), CGAL::squared_distance(c, a),
                                  CGAL::squared_distance(a, b)};
      std::sort(sides.begin(), sides.end());
      const Vec2 centre{(a.x() + b.x() + c.x()) / 3.0, (a.y() + b.y() + c.y()) / 3.0};
      const double cap = kEdgeCapPerSpacing * c_.spacing_.At(c_.coast_.At(centre));
      q.second = sides[2] / (cap * cap);
      if (q.size() > 1) {
        q.first = 1;
        return CGAL::Mesh_2::IMPERATIVELY_BAD;
      }
      const double twiceArea = 2.0 * CGAL::area(a, b, c);
      q.first = twiceArea * twiceArea / (sides[2] * sides[1]);
      return q.sine() < this->B ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
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

}  // namespace

double MeshSpacing::At(double distanceKm) const {
  return std::min(openWaterKm, coastKm + growthPerKm * distanceKm);
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
  CGAL::refine_Delaunay_mesh_2(cdt, GradedCriteria(spacing_, coastDistance), true);
  MarkWater(cdt);

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
    throw std::runtime_error("the mesh has " + std::to_string(loops.size()) +
                             " coast rings instead of " + std::to_string(rings.size()));
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
