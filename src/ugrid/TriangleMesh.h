#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/Status.h"

namespace lakedrift {

// A lake mesh as the geometry file needs it, numbered from 0: triangles
// counter-clockwise, the neighbour across edge j (vertex j to j + 1) or -1
// on the coast, and the coast rings, the outer one first and
// counter-clockwise, then the islands clockwise.
struct TriangleMesh {
  static constexpr int kNoNeighbour = -1;
  std::vector<double> x, y;  // node positions, m
  std::vector<std::array<int, 3>> triangles;
  std::vector<std::array<int, 3>> neighbours;
  std::vector<int> faceOf;  // the source face of each triangle
  std::vector<std::vector<int>> rings;
};

// The faces of a mesh as a file lists them: `nodesPerFace` node numbers per
// face, already counted from 0, with kNoNode where a face has fewer nodes.
struct FaceTable {
  static constexpr int kNoNode = -2147483647 - 1;
  std::vector<int> nodes;
  int nodesPerFace = 0;
  int startIndex = 0;  // how the file counts nodes, for messages
  long FaceCount() const { return nodesPerFace ? static_cast<long>(nodes.size()) / nodesPerFace : 0; }
};

// Builds the triangle mesh of triangles and quadrilaterals (each split along
// its shorter diagonal). Refuses, naming the face or node: NaN coordinates,
// node numbers out of range, other polygons, degenerate or duplicate faces,
// overlapping faces, edges of more than two faces, a coast that touches
// itself, and more than one outer coast.
Status BuildTriangleMesh(std::vector<double> x, std::vector<double> y, const FaceTable& faces,
                         TriangleMesh& mesh);

// A third of each triangle's area, m², triangle by triangle.
std::vector<double> TriangleThirds(const TriangleMesh& mesh);
// The area of each node's share of the mesh: a third of every triangle that
// holds it, m².
std::vector<double> NodeAreas(const TriangleMesh& mesh);

}  // namespace lakedrift
