#include "ugrid/UgridImport.h"

#include <fstream>

#include "model/AtomicFile.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"

namespace lakedrift {
namespace {

// The temporary file of `file`, opened for writing.
std::ofstream OpenTemporary(const AtomicFile& file) {
  return std::ofstream(file.TemporaryPath(), std::ios::binary | std::ios::trunc);
}

// Closes `out` and gives `file` its name; fails naming the file.
Status Complete(std::ofstream& out, AtomicFile& file) {
  out.close();
  if (!out) return Status::Fail(ErrorKind::ReadFailed, file.FinalPath().string() + ": cannot be written");
  return file.Commit();
}

}  // namespace

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
  std::ofstream geometryOut = OpenTemporary(geometryFile), flowOut = OpenTemporary(flowFile);
  geometryOut << geometry;
  if (Status s = model.WriteFrames(flowOut); !s.ok()) return s;
  if (Status s = Complete(geometryOut, geometryFile); !s.ok()) return s;
  if (Status s = Complete(flowOut, flowFile); !s.ok()) return s;
  const auto& mesh = model.Mesh();
  summary = geometryPath.string() + ": " + std::to_string(mesh.x.size()) + " nodes, " +
            std::to_string(mesh.triangles.size()) + " triangles, " + std::to_string(mesh.rings.size()) +
            " coast rings" + (model.Georef().empty() ? ", no georef (the file names no CRS)" : "") + "\n" +
            flowPath.string() + ": " + std::to_string(UgridModel::kFrameCount) + " frames from " +
            FormatIsoDateTime(model.Start()) + "\n";
  return Status::Ok();
}

}  // namespace lakedrift
