#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/ModelState.h"
#include "model/Status.h"

namespace lakedrift {

// The flow-field file of a region (1..3), season (1 wet, 2 dry) and flow
// type (1 surface, 2 depth-averaged): "tanws.fld" … "zamda.fld".
std::string FlowFileNameFor(int region, int season, int flowType);

// Sizes NodeU and NodeV afresh to 1..NodeCount.
void PrepareFlowArrays(ModelState& state);

// Raises MaxSpeed to the largest speed of the current frame over the nodes
// that are not boundary nodes; never lowers it.
void UpdateMaxSpeed(ModelState& state);

// Reads the frames of a flow-field file in sequence: frame k holds NodeCount
// little-endian float32 values of U, then NodeCount of V.
class FlowFieldReader {
 public:
  // Opens a file for reading from frame 0. A missing file fails with
  // ErrorKind::FileMissing.
  Status Open(const std::filesystem::path& path, int nodeCount);
  // Reads the next frame into NodeU and NodeV. A file that ends inside the
  // frame fails with ErrorKind::ShortFile naming the frame and byte offset;
  // the arrays then keep the previous frame. A frame holding a value that is
  // not a finite number fails with ErrorKind::BadValue naming the frame and
  // node, and is not taken either.
  Status ReadFlowFrame(ModelState& state);
  // The same into arrays of the caller's, sized to 1..NodeCount here; on a
  // failure they keep what they held.
  Status ReadFrame(Array1<float>& u, Array1<float>& v);
  void Close();
  bool IsOpen() const { return file_.is_open(); }
  // Frames read since Open.
  int FramesRead() const { return framesRead_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::ifstream file_;
  std::filesystem::path path_;
  int nodeCount_ = 0;
  int framesRead_ = 0;
  std::vector<unsigned char> buffer_;
};

// The flow frames of a run or of the animation, in the state: Open reads
// frame 0 of FlowFileName and only when it is whole puts it in NodeU/NodeV,
// so a refused start changes nothing; Next puts the next frame there. Each
// frame taken raises MaxSpeed. A failure (missing file, frame short or not
// finite, its message naming file, frame and node) closes the frames.
class FlowFrames {
 public:
  explicit FlowFrames(ModelState& state) : state_(state) {}
  // Opens FlowFileName and takes frame 0.
  Status Open();
  // Takes the next frame.
  Status Next();
  void Close() { reader_.Close(); }
  // True from a successful Open until Close or a failure.
  bool IsOpen() const { return reader_.IsOpen(); }
  int FramesRead() const { return reader_.FramesRead(); }

 private:
  Status Closing(Status failure);

  ModelState& state_;
  FlowFieldReader reader_;
};

}  // namespace lakedrift
