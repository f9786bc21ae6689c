#pragma once
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "model/DateTime.h"
#include "model/Status.h"
#include "ugrid/NetcdfFile.h"
#include "ugrid/TriangleMesh.h"

namespace lakedrift {

// "2026-01-05", "2026-01-05T02:00[:00]" or with a blank for the T, as a
// date-time; nothing when the text is not one.
std::optional<DateTime> ParseIsoDate(const std::string& text);

// What to take from a UGRID file and which week.
struct UgridOptions {
  std::string uName, vName;       // velocity variables; found by standard_name when empty
  int layer = 0;                  // 1 … layer count of a layered variable, 0 for none
  bool depthAverage = false;      // a layered variable averaged over its layers' thicknesses
  std::optional<DateTime> start;  // frame 0; the file's first time when not given
};

// A 2-D UGRID mesh with its velocities, read as the lake's geometry and
// its week of two-hourly flow frames. Frames are read from the file one
// source time at a time, never the whole variable.
class UgridModel {
 public:
  // Frames of an imported week: 2 h apart, one more than a run reads.
  static constexpr int kFrameCount = 84;

  // Reads the mesh, finds the velocities and checks that the file's time
  // axis covers the week; every refusal is one line naming the file and what
  // is wrong.
  Status Open(const std::string& path, const UgridOptions& options);
  // The mesh, positions in metres of the file's plane.
  const TriangleMesh& Mesh() const { return mesh_; }
  // The geometry file of the mesh in the local km grid, georef line included
  // when the file names its CRS or gives longitude and latitude.
  Status GeometryText(std::string& text) const;
  const std::string& Georef() const { return georef_; }
  DateTime Start() const { return start_; }
  // Flow frame k (0-based, in order), interpolated linearly in time, m/s per node.
  Status Frame(int k, std::vector<float>& u, std::vector<float>& v);
  // Every frame, in order, as a flow-field file holds them (u then v, single
  // precision); fails when a frame cannot be read. The caller checks `out`.
  Status WriteFrames(std::FILE* out);

 private:
  Status Fail(const std::string& what) const;
  Status FindTopology(int& topology) const;
  Status ReadNodes(int topology, std::vector<double>& x, std::vector<double>& y, bool& lonLat, int& nodeDim);
  Status ReadFaces(int topology, FaceTable& faces, int& faceDim) const;
  Status ReadMesh();
  Status SetLocalGrid(const std::string& crs);
  std::string CrsOf(int topology, int xVar) const;
  Status FindVelocities(const UgridOptions& options);
  Status FindVelocityPair(const char* uStandard, const char* vStandard, bool& found);
  Status SetUpSlices(const UgridOptions& options);
  Status ReadTimeAxis(int timeVar, const UgridOptions& options);
  Status SourceFrame(std::size_t index, std::vector<float>& u, std::vector<float>& v);
  Status ReadComponent(int var, std::size_t timeIndex, std::vector<float>& values) const;
  std::vector<float> FacesToNodes(const std::vector<float>& face) const;
  Status ChooseLayers(const UgridOptions& options, int layerDim);
  Status SetUpTurnToGrid();
  void TurnToGrid(std::vector<float>& u, std::vector<float>& v) const;
  Status FindLayerWeights(int layerDim);

  NetcdfFile file_;
  std::string topologyName_;
  TriangleMesh mesh_;
  double originX_ = 0, originY_ = 0;  // m, the south-west corner of the mesh
  std::string georef_;
  int nodeDim_ = -1, faceDim_ = -1;
  int uVar_ = -1, vVar_ = -1;
  bool onFaces_ = false;
  int timeDimPos_ = -1, spaceDimPos_ = -1, layerDimPos_ = -1;
  int layer_ = 0;
  std::vector<double> layerWeights_;  // for --depth-average: each layer's share of the depth
  std::vector<double> times_;         // days, as DateTime
  DateTime start_;
  std::vector<double> triangleThird_, nodeArea_;  // for face velocities, m²
  // For eastward/northward velocities: true east at each node as a unit
  // vector of the grid (empty when the velocities are along the grid).
  std::vector<float> eastX_, eastY_;
  // The two source frames around the current frame.
  std::size_t loaded_[2] = {SIZE_MAX, SIZE_MAX};
  std::vector<float> loadedU_[2], loadedV_[2];
};

}  // namespace lakedrift
