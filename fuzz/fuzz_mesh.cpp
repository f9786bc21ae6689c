// Feeds arbitrary faces to the mesh builder of the UGRID import: the first
// byte chooses the node count and the face width, then two bytes per node
// place it on a small grid (so that collinear and repeated points are
// common), then one byte per face corner numbers a node (255 is a fill).
// A mesh that is built must keep every promise of the geometry file.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "ugrid/TriangleMesh.h"

namespace {

double TwiceArea(const lakedrift::TriangleMesh& m, const std::array<int, 3>& t) {
  return (m.x[t[1]] - m.x[t[0]]) * (m.y[t[2]] - m.y[t[0]]) -
         (m.x[t[2]] - m.x[t[0]]) * (m.y[t[1]] - m.y[t[0]]);
}

void CheckMesh(const lakedrift::TriangleMesh& m) {
  std::size_t coastEdges = 0, ringPoints = 0;
  for (std::size_t t = 0; t < m.triangles.size(); ++t) {
    if (!(TwiceArea(m, m.triangles[t]) > 0)) __builtin_trap();
    for (int j = 0; j < 3; ++j) {
      const int g = m.neighbours[t][j];
      if (g == lakedrift::TriangleMesh::kNoNeighbour) {
        ++coastEdges;
        continue;
      }
      bool back = false;  // the neighbour sees this triangle across the same edge
      for (int k = 0; k < 3; ++k) back = back || m.neighbours[g][k] == static_cast<int>(t);
      if (!back) __builtin_trap();
    }
  }
  for (const auto& ring : m.rings) ringPoints += ring.size();
  if (ringPoints != coastEdges || m.rings.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int kMaxNodes = 40;
  constexpr uint8_t kFill = 255;
  if (size < 1) return 0;
  const int nodes = 3 + data[0] % kMaxNodes;
  const int width = data[0] & 0x80 ? 4 : 3;
  std::size_t at = 1;
  if (size < at + 2 * static_cast<std::size_t>(nodes)) return 0;
  std::vector<double> x, y;
  for (int n = 0; n < nodes; ++n, at += 2) {
    x.push_back(data[at] % 16);
    y.push_back(data[at + 1] % 16);
  }
  lakedrift::FaceTable faces;
  faces.nodesPerFace = width;
  for (; at < size; ++at)
    faces.nodes.push_back(data[at] == kFill ? lakedrift::FaceTable::kNoNode : data[at] % (nodes + 2) - 1);
  faces.nodes.resize(faces.nodes.size() / width * width);
  lakedrift::TriangleMesh mesh;
  if (lakedrift::BuildTriangleMesh(x, y, faces, mesh).ok()) CheckMesh(mesh);
  return 0;
}
