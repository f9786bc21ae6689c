#include "ugrid/UgridImport.h"

#include <cstdio>

#include "model/AtomicFile.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"

namespace lakedrift {

Status ImportUgrid(const std::string& path, const UgridOptions& options, const ImportTarget& target,
                   std::string& summary) {
  const auto geometryPath = target.folder / GeometryFileName(target.region);
  const auto flowPath = target.folder / FlowFileNameFor(target.region, target.season, target.flowType);
  if (Status s = CheckWritableFolder(geometryPath, "--out"); !s.ok()) return s;
  UgridModel model;
  if (Status s = model.Open(path, options); !s.ok()) return s;
  std::string geometry;
  if (Status s = model.GeometryText(geometry); !s.ok()) return s;
  AtomicFile geometryFile(geometryPath), flowFile(flowPath);
  if (Status s = geometryFile.Open("geometry file"); !s.ok()) return s;
  if (Status s = flowFile.Open("flow-field file"); !s.ok()) return s;
  std::fputs(geometry.c_str(), geometryFile.Out());
  if (Status s = model.WriteFrames(flowFile.Out()); !s.ok()) return s;
  if (Status s = geometryFile.Commit(); !s.ok()) return s;
  if (Status s = flowFile.Commit(); !s.ok()) return s;
  const auto& mesh = model.Mesh();
  summary = geometryPath.string() + ": " + std::to_string(mesh.x.size()) + " nodes, " +
            std::to_string(mesh.triangles.size()) + " triangles, " + std::to_string(mesh.rings.size()) +
            " coast rings" + (model.Georef().empty() ? ", no georef (the file names no CRS)" : "") + "\n" +
            flowPath.string() + ": " + std::to_string(UgridModel::kFrameCount) + " frames from " +
            FormatIsoDateTime(model.Start()) + "\n";
  return Status::Ok();
}

}  // namespace lakedrift
