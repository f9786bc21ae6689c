#include "ugrid/TriangleMesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace lakedrift {
namespace {

constexpr int kTriangle = 3, kQuadrilateral = 4;

Status Refuse(const std::string& message) { return Status::Fail(ErrorKind::Malformed, message); }

std::string FaceName(long f) { return "face " + std::to_string(f) + " (counting from 0)"; }

double TwiceArea(const TriangleMesh& m, int a, int b, int c) {
  return (m.x[b] - m.x[a]) * (m.y[c] - m.y[a]) - (m.x[c] - m.x[a]) * (m.y[b] - m.y[a]);
}

double Distance(const TriangleMesh& m, int a, int b) { return std::hypot(m.x[b] - m.x[a], m.y[b] - m.y[a]); }

// Adds one triangle counter-clockwise, or refuses it when it has no area.
Status AddTriangle(TriangleMesh& m, long face, int a, int b, int c) {
  const double area = TwiceArea(m, a, b, c);
  if (a == b || b == c || a == c || area == 0 || !std::isfinite(area))
    return Refuse(FaceName(face) + " is degenerate: its corners enclose no area");
  if (area < 0) std::swap(b, c);
  m.triangles.push_back({a, b, c});
  m.faceOf.push_back(static_cast<int>(face));
  return Status::Ok();
}

// A quadrilateral's two triangles, cut along its shorter diagonal, or
// along the other when the shorter one runs outside a concave quadrilateral.
Status AddQuadrilateral(TriangleMesh& m, long face, const int* q) {
  const auto inside = [&](int a, int b, int c, int d) {
    return TwiceArea(m, a, b, c) * TwiceArea(m, a, c, d) > 0;
  };
  bool alongFirst = Distance(m, q[0], q[2]) <= Distance(m, q[1], q[3]);
  if (alongFirst && !inside(q[0], q[1], q[2], q[3]))
    alongFirst = false;
  else if (!alongFirst && !inside(q[1], q[2], q[3], q[0]))
    alongFirst = true;
  if (alongFirst) {
    if (Status s = AddTriangle(m, face, q[0], q[1], q[2]); !s.ok()) return s;
    return AddTriangle(m, face, q[0], q[2], q[3]);
  }
  if (Status s = AddTriangle(m, face, q[0], q[1], q[3]); !s.ok()) return s;
  return AddTriangle(m, face, q[1], q[2], q[3]);
}

Status AddFaces(TriangleMesh& m, const FaceTable& faces) {
  const int nodeCount = static_cast<int>(m.x.size());
  std::map<std::vector<int>, long> seen;
  for (long f = 0; f < faces.FaceCount(); ++f) {
    const int* row = faces.nodes.data() + f * faces.nodesPerFace;
    std::vector<int> corners;
    for (int k = 0; k < faces.nodesPerFace && row[k] != FaceTable::kNoNode; ++k) {
      if (row[k] < 0 || row[k] >= nodeCount)
        return Refuse(FaceName(f) + ": node " + std::to_string(row[k] + faces.startIndex) + " is outside " +
                      std::to_string(faces.startIndex) + ".." +
                      std::to_string(nodeCount - 1 + faces.startIndex));
      corners.push_back(row[k]);
    }
    if (corners.size() != kTriangle && corners.size() != kQuadrilateral)
      return Refuse(FaceName(f) + " has " + std::to_string(corners.size()) +
                    " nodes; only triangles and quadrilaterals are read");
    std::vector<int> key = corners;
    std::sort(key.begin(), key.end());
    if (auto [at, fresh] = seen.emplace(key, f); !fresh)
      return Refuse(FaceName(f) + " repeats face " + std::to_string(at->second) + ": the same nodes");
    const Status s = corners.size() == kTriangle ? AddTriangle(m, f, corners[0], corners[1], corners[2])
                                                 : AddQuadrilateral(m, f, corners.data());
    if (!s.ok()) return s;
  }
  return Status::Ok();
}

std::string EdgeName(int a, int b, int startIndex) {
  return "the edge from node " + std::to_string(a + startIndex) + " to node " +
         std::to_string(b + startIndex);
}

// Neighbours across shared edges; the coast's edges, each from its node to
// the next with the water on its left, into `coastNext`.
Status LinkEdges(TriangleMesh& m, int startIndex, std::vector<int>& coastNext) {
  std::unordered_map<uint64_t, std::pair<int, int>> edges;  // directed edge → (triangle, edge)
  const auto key = [](int a, int b) { return (static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b); };
  m.neighbours.assign(m.triangles.size(),
                      {TriangleMesh::kNoNeighbour, TriangleMesh::kNoNeighbour, TriangleMesh::kNoNeighbour});
  for (int t = 0; t < static_cast<int>(m.triangles.size()); ++t)
    for (int j = 0; j < kTriangle; ++j) {
      const int a = m.triangles[t][j], b = m.triangles[t][(j + 1) % kTriangle];
      if (!edges.emplace(key(a, b), std::pair{t, j}).second)
        return Refuse("faces " + std::to_string(m.faceOf[edges[key(a, b)].first]) + " and " +
                      std::to_string(m.faceOf[t]) + " lie on the same side of " + EdgeName(a, b, startIndex) +
                      ": the edge is shared by more than two faces, or the faces overlap");
    }
  coastNext.assign(m.x.size(), -1);
  for (const auto& [k, where] : edges) {
    const int a = static_cast<int>(k >> 32), b = static_cast<int>(k & 0xffffffffu);
    const auto twin = edges.find(key(b, a));
    if (twin != edges.end()) {
      m.neighbours[where.first][where.second] = twin->second.first;
      continue;
    }
    if (coastNext[a] != -1)
      return Refuse(
          "node " + std::to_string(a + startIndex) +
          ": the coast passes through it twice (faces meet only at this node, or an edge is shared by "
          "more than two faces)");
    coastNext[a] = b;
  }
  return Status::Ok();
}

double RingTwiceArea(const TriangleMesh& m, const std::vector<int>& ring) {
  double sum = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const int a = ring[i], b = ring[(i + 1) % ring.size()];
    sum += m.x[a] * m.y[b] - m.x[b] * m.y[a];
  }
  return sum;
}

// The coast rings from the coast's edges: the one counter-clockwise ring
// first, then the islands.
Status TraceRings(TriangleMesh& m, std::vector<int> coastNext) {
  std::vector<std::vector<int>> outer, islands;
  for (int start = 0; start < static_cast<int>(coastNext.size()); ++start) {
    if (coastNext[start] == -1) continue;
    std::vector<int> ring;
    for (int n = start; coastNext[n] != -1;) {
      ring.push_back(n);
      const int next = coastNext[n];
      coastNext[n] = -1;
      n = next;
    }
    (RingTwiceArea(m, ring) > 0 ? outer : islands).push_back(std::move(ring));
  }
  if (outer.size() != 1)
    return Refuse("the mesh has " + std::to_string(outer.size()) +
                  " separate outer coasts; one connected lake is read at a time");
  m.rings = std::move(outer);
  for (auto& ring : islands) m.rings.push_back(std::move(ring));
  return Status::Ok();
}

}  // namespace

Status BuildTriangleMesh(std::vector<double> x, std::vector<double> y, const FaceTable& faces,
                         TriangleMesh& mesh) {
  TriangleMesh m;
  for (std::size_t n = 0; n < x.size(); ++n)
    if (!std::isfinite(x[n]) || !std::isfinite(y[n]))
      return Refuse("node " + std::to_string(n + faces.startIndex) + ": its coordinates are not numbers");
  m.x = std::move(x);
  m.y = std::move(y);
  if (Status s = AddFaces(m, faces); !s.ok()) return s;
  if (m.triangles.empty()) return Refuse("the mesh has no faces");
  std::vector<int> coastNext;
  if (Status s = LinkEdges(m, faces.startIndex, coastNext); !s.ok()) return s;
  if (Status s = TraceRings(m, std::move(coastNext)); !s.ok()) return s;
  mesh = std::move(m);
  return Status::Ok();
}

std::vector<double> TriangleThirds(const TriangleMesh& mesh) {
  std::vector<double> third;
  third.reserve(mesh.triangles.size());
  for (const auto& t : mesh.triangles) third.push_back(TwiceArea(mesh, t[0], t[1], t[2]) / 6.0);
  return third;
}

std::vector<double> NodeAreas(const TriangleMesh& mesh) {
  const std::vector<double> third = TriangleThirds(mesh);
  std::vector<double> area(mesh.x.size(), 0.0);
  for (std::size_t t = 0; t < third.size(); ++t)
    for (const int n : mesh.triangles[t]) area[n] += third[t];
  return area;
}

}  // namespace lakedrift
