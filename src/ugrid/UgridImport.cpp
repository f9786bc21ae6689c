#include "ugrid/UgridImport.h"

#include <bit>
#include <fstream>

#include "model/FlowField.h"
#include "model/GeometryReader.h"

namespace lakedrift {
namespace {

static_assert(std::endian::native == std::endian::little, "flow files hold little-endian floats");

// A file written under a temporary name and renamed when complete; removed
// when never completed.
class PendingFile {
 public:
  explicit PendingFile(std::filesystem::path path) : final_(std::move(path)), temporary_(final_) {
    temporary_ += ".partial";
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
  }
  ~PendingFile() {
    if (!done_) {
      out_.close();
      std::error_code ignored;
      std::filesystem::remove(temporary_, ignored);
    }
  }
  std::ofstream& Out() { return out_; }
  Status Check() const {
    return out_ ? Status::Ok() : Status::Fail(ErrorKind::ReadFailed, final_.string() + ": cannot be written");
  }
  Status Commit() {
    out_.close();
    if (!out_) return Status::Fail(ErrorKind::ReadFailed, final_.string() + ": cannot be written");
    std::error_code error;
    std::filesystem::rename(temporary_, final_, error);
    if (error) return Status::Fail(ErrorKind::ReadFailed, final_.string() + ": " + error.message());
    done_ = true;
    return Status::Ok();
  }

 private:
  std::filesystem::path final_, temporary_;
  std::ofstream out_;
  bool done_ = false;
};

Status WriteFrames(UgridModel& model, std::ofstream& out) {
  std::vector<float> u, v;
  for (int k = 0; k < UgridModel::kFrameCount; ++k) {
    if (Status s = model.Frame(k, u, v); !s.ok()) return s;
    out.write(reinterpret_cast<const char*>(u.data()),
              static_cast<std::streamsize>(u.size() * sizeof(float)));
    out.write(reinterpret_cast<const char*>(v.data()),
              static_cast<std::streamsize>(v.size() * sizeof(float)));
  }
  return Status::Ok();
}

}  // namespace

Status ImportUgrid(const std::string& path, const UgridOptions& options, const ImportTarget& target,
                   std::string& summary) {
  if (!std::filesystem::is_directory(target.folder))
    return Status::Fail(ErrorKind::FileMissing, "--out " + target.folder.string() + ": no such folder");
  UgridModel model;
  if (Status s = model.Open(path, options); !s.ok()) return s;
  std::string geometry;
  if (Status s = model.GeometryText(geometry); !s.ok()) return s;
  const auto geometryPath = target.folder / GeometryFileName(target.region);
  const auto flowPath = target.folder / FlowFileNameFor(target.region, target.season, target.flowType);
  PendingFile geometryFile(geometryPath), flowFile(flowPath);
  if (Status s = geometryFile.Check(); !s.ok()) return s;
  if (Status s = flowFile.Check(); !s.ok()) return s;
  geometryFile.Out() << geometry;
  if (Status s = WriteFrames(model, flowFile.Out()); !s.ok()) return s;
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
