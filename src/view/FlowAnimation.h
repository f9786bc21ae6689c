#pragma once
#include <string>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/ModelState.h"
#include "model/Status.h"
#include "view/CachedMap.h"
#include "view/Surface.h"

namespace lakedrift {

// The flow field played as a film: Start() opens the flow file, reads
// frame 0 and resets MaxSpeed, each ShowNextFrame() reads one frame and draws map, vectors and
// the frame's time label, End() closes the file. The caller waits
// FramePeriod seconds (without spinning) and yields between frames.
class FlowAnimation {
 public:
  FlowAnimation(ModelState& state, Surface& surface);
  ~FlowAnimation();

  // Opens the flow file and reads frame 0, then resets MaxSpeed. Fails when
  // the file is missing or frame 0 cannot be read; the animation is then
  // ended and the state untouched.
  Status Start();
  bool HasNextFrame() const;
  // Fails when the file ends inside the frame; the animation is then ended.
  Status ShowNextFrame();
  void End();

  int FrameTotal() const { return frameTotal_; }
  int FramesShown() const { return framesShown_; }
  const std::string& Label() const { return label_; }

 private:
  ModelState& state_;
  Surface& surface_;
  FlowFrames frames_;
  CachedMap map_;  // the map of the view in force
  DateTime clock_;
  std::string label_;
  int frameTotal_ = 0;
  int framesShown_ = 0;
  bool firstFrameRead_ = false;  // frame 0 is in NodeU/NodeV, not yet shown
};

}  // namespace lakedrift
