#include "model/FlowField.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "model/DataFiles.h"
#include "model/Region.h"

namespace lakedrift {
namespace {

constexpr std::size_t kBytesPerValue = 4;

// A little-endian IEEE float32 from four bytes, whatever the host's order.
float DecodeFloat32(const unsigned char* bytes) {
  const uint32_t bits = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                        (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

std::string FlowFileNameFor(int region, int season, int flowType) {
  std::string name(RegionByNumber(region).flowCode);
  name += season == 2 ? 'd' : 'w';
  name += flowType == 2 ? 'a' : 's';
  return name + ".fld";
}

void PrepareFlowArrays(ModelState& state) {
  state.NodeU.Resize(state.NodeCount);
  state.NodeV.Resize(state.NodeCount);
}

void UpdateMaxSpeed(ModelState& state) {
  const bool masked = state.IsBoundaryNode.Count() == state.NodeCount;
  for (int i = 1; i <= state.NodeCount; ++i) {
    if (masked && state.IsBoundaryNode(i)) continue;
    const double u = state.NodeU(i), v = state.NodeV(i);
    const double speed = std::sqrt(u * u + v * v);
    if (state.MaxSpeed < speed) state.MaxSpeed = speed;
  }
}

Status FlowFieldReader::Open(const std::filesystem::path& path, int nodeCount) {
  Close();
  path_ = DataFilePath(path);
  nodeCount_ = nodeCount;
  framesRead_ = 0;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error))
    return Status::Fail(ErrorKind::FileMissing, "Flow-field file " + path.string() + " not found");
  file_.open(path_, std::ios::binary);
  if (!file_.is_open())
    return Status::Fail(ErrorKind::ReadFailed, "Flow-field file " + path.string() + " cannot be opened");
  buffer_.resize(2 * static_cast<std::size_t>(nodeCount) * kBytesPerValue);
  return Status::Ok();
}

Status FlowFieldReader::ReadFlowFrame(ModelState& state) { return ReadFrame(state.NodeU, state.NodeV); }

Status FlowFieldReader::ReadFrame(Array1<float>& u, Array1<float>& v) {
  const std::size_t frameBytes = buffer_.size();
  const std::size_t offset = static_cast<std::size_t>(framesRead_) * frameBytes;
  if (!file_.is_open())
    return Status::Fail(ErrorKind::ReadFailed, "Flow-field file " + path_.string() + " is not open");
  file_.read(reinterpret_cast<char*>(buffer_.data()), static_cast<std::streamsize>(frameBytes));
  const auto got = static_cast<std::size_t>(file_.gcount());
  if (got != frameBytes) {
    return Status::Fail(ErrorKind::ShortFile, "Flow-field file " + path_.string() + " ends inside frame " +
                                                  std::to_string(framesRead_) +
                                                  ": the frame starts at byte " + std::to_string(offset) +
                                                  " and needs " + std::to_string(frameBytes) +
                                                  " bytes, the file holds " + std::to_string(got) + " more");
  }
  const int n = nodeCount_;
  // A value that is not a finite number would be drawn and would move
  // particles as garbage: the frame is refused whole.
  for (std::size_t k = 0; k < 2 * static_cast<std::size_t>(n); ++k) {
    const float value = DecodeFloat32(&buffer_[k * kBytesPerValue]);
    if (!std::isfinite(value)) {
      const bool isU = k < static_cast<std::size_t>(n);
      const std::size_t node = (isU ? k : k - static_cast<std::size_t>(n)) + 1;
      return Status::Fail(ErrorKind::BadValue, "Flow-field file " + path_.string() + ": frame " +
                                                   std::to_string(framesRead_) + ", node " +
                                                   std::to_string(node) + ": " + (isU ? "U" : "V") + " is " +
                                                   (std::isnan(value) ? "not a number" : "infinite"));
    }
  }
  if (u.Count() != n) u.Resize(n);
  if (v.Count() != n) v.Resize(n);
  for (int i = 1; i <= n; ++i) {
    u(i) = DecodeFloat32(&buffer_[static_cast<std::size_t>(i - 1) * kBytesPerValue]);
    v(i) = DecodeFloat32(&buffer_[static_cast<std::size_t>(n + i - 1) * kBytesPerValue]);
  }
  ++framesRead_;
  return Status::Ok();
}

void FlowFieldReader::Close() {
  if (file_.is_open()) file_.close();
  file_.clear();
}

Status FlowFrames::Closing(Status failure) {
  Close();
  return failure;
}

Status FlowFrames::Open() {
  Array1<float> u, v;
  if (Status s = reader_.Open(state_.FlowFileName, state_.NodeCount); !s.ok()) return Closing(s);
  if (Status s = reader_.ReadFrame(u, v); !s.ok()) return Closing(s);
  state_.NodeU = std::move(u);
  state_.NodeV = std::move(v);
  UpdateMaxSpeed(state_);
  return Status::Ok();
}

Status FlowFrames::Next() {
  if (Status s = reader_.ReadFlowFrame(state_); !s.ok()) return Closing(s);
  UpdateMaxSpeed(state_);
  return Status::Ok();
}

}  // namespace lakedrift
