#include "SampleDataGenerator.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

#include "BinaryWriter.h"
#include "DepthModel.h"
#include "FrictionalLag.h"
#include "GeometryWriter.h"
#include "LakeMesher.h"
#include "LocalGrid.h"
#include "RegionCutter.h"
#include "RegionFlow.h"
#include "ShoreSimplifier.h"
#include "StartupPicture.h"
#include "TuneSynthesizer.h"
#include "WindScenario.h"

namespace lakedrift::datagen {

namespace {

constexpr const char* kWaveFile = "bougarab.wav";
// The whole lake's currents are solved on a mesh finer than its map's, as
// fine as the regions' open water: the shore slopes, where the wind-driven
// flow runs, are then resolved, and the regions nested in this flow agree
// with it. The whole lake's own mesh takes its stream function from it.
constexpr MeshSpacing kLakeFlowSpacing{1.5, 2.2, 4.0, 0.2};
constexpr const char* kPictureFile = "startup.bmp";

// One flow file: frames of U for every node, then V, as float32.
void WriteFlowFile(const RegionFlow& flow, WindScenario::Season season, bool surface,
                   const std::filesystem::path& path, double& maxSpeed) {
  const WindScenario wind(season);
  const std::vector<Forcing> lagged = FrictionalLag::Frames(wind);
  BinaryWriter out;
  for (int frame = 0; frame < WindScenario::kFrameCount; ++frame) {
    const std::vector<Vec2> velocity =
        surface ? flow.Surface(wind.At(frame), lagged[frame]) : flow.DepthAveraged(lagged[frame]);
    for (const Vec2 v : velocity) out.Float32(static_cast<float>(v.x));
    for (const Vec2 v : velocity) out.Float32(static_cast<float>(v.y));
    for (const Vec2 v : velocity) maxSpeed = std::max(maxSpeed, Length(v));
  }
  out.Save(path);
}

// One line per node: the depth the flow sees (m) and the distance from the
// real shore (km), so the flow files can be checked against both.
void WriteDepthFile(const RegionFlow& flow, const std::filesystem::path& path) {
  std::ofstream out(path);
  char text[48];
  for (std::size_t n = 0; n < flow.NodeDepth().size(); ++n) {
    std::snprintf(text, sizeof text, "%.3f %.4f\n", flow.NodeDepth()[n], flow.NodeShoreDistance()[n]);
    out << text;
  }
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

SampleDataGenerator::SampleDataGenerator(const std::filesystem::path& shoreFile)
    : coast_(Coastline::Load(shoreFile)) {}

RegionFlow SampleDataGenerator::LakeFlow() const {
  const std::vector<CoastRing> coast = ShoreSimplifier(kLakeFlowSpacing.coastKm).Simplify(coast_.Rings());
  return RegionFlow(LakeMesher(kLakeFlowSpacing).Mesh(coast), DepthModel(coast), nullptr);
}

PlaneBox SampleDataGenerator::GenerateRegion(const LakeRegion& region, const std::filesystem::path& folder,
                                             const RegionFlow& lake, std::string& report) const {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<CoastRing> cut = RegionCutter::Cut(coast_.Rings(), region.cuts);
  const std::vector<CoastRing> coast = ShoreSimplifier(region.spacing.coastKm).Simplify(cut);
  // Meshed in the shoreline's plane, written in the region's own grid.
  const LakeMesh lakeMesh = LakeMesher(region.spacing).Mesh(coast);
  const LocalGrid grid = LocalGrid::SouthWestOf(lakeMesh);
  const LakeMesh mesh = grid.Moved(lakeMesh);
  GeometryWriter::Write(mesh, grid.Georef(), folder / region.geometryFile);

  // The flow is computed in the shoreline's plane, the frame of the whole
  // lake: the lake bed and the wind do not depend on the region's grid.
  const DepthModel depth(coast);
  const RegionFlow flow(lakeMesh, depth, &lake,
                        region.cuts.empty() ? RegionFlow::Nesting::Resampled : RegionFlow::Nesting::CutLines);
  WriteDepthFile(flow, folder / (region.code + "depth.txt"));
  struct FlowKind {
    WindScenario::Season season;
    bool surface;
    const char* suffix;
  };
  static constexpr FlowKind kKinds[] = {{WindScenario::Season::Wet, true, "ws"},
                                        {WindScenario::Season::Wet, false, "wa"},
                                        {WindScenario::Season::Dry, true, "ds"},
                                        {WindScenario::Season::Dry, false, "da"}};
  std::ostringstream line;
  std::size_t boundary = 0;
  for (const auto& ring : mesh.rings) boundary += ring.size();
  line << region.geometryFile << ": " << mesh.nodes.size() << " nodes, " << mesh.elements.size()
       << " elements, " << boundary << " boundary points in " << mesh.rings.size() << " rings; max speed";
  for (const FlowKind& kind : kKinds) {
    double maxSpeed = 0.0;
    const std::string name = region.code + kind.suffix + ".fld";
    WriteFlowFile(flow, kind.season, kind.surface, folder / name, maxSpeed);
    char text[48];
    std::snprintf(text, sizeof text, " %s %.3f", kind.suffix, maxSpeed);
    line << text;
  }
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char text[32];
  std::snprintf(text, sizeof text, " m/s; %.2f s\n", seconds);
  line << text;
  report += line.str();
  Vec2 high{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  for (const auto& ring : mesh.rings) {
    for (const int n : ring) high = {std::max(high.x, mesh.nodes[n].x), std::max(high.y, mesh.nodes[n].y)};
  }
  return {grid.Origin(), grid.Origin() + high};
}

std::string SampleDataGenerator::Generate(const std::filesystem::path& folder) const {
  std::filesystem::create_directories(folder);
  std::string report;
  const RegionFlow lake = LakeFlow();
  std::vector<PlaneBox> riverRegions;
  for (const LakeRegion& region : ProgramRegions()) {
    const PlaneBox box = GenerateRegion(region, folder, lake, report);
    if (!region.cuts.empty()) riverRegions.push_back(box);
  }
  TuneSynthesizer::Write(folder / kWaveFile);
  StartupPicture::Write(coast_.Rings(), riverRegions, folder / kPictureFile);
  return report;
}

}  // namespace lakedrift::datagen
