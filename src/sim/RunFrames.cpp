#include "sim/RunFrames.h"

namespace lakedrift {

Status RunFrames::Start() {
  if (Status s = frames_.Open(); !s.ok()) return s;
  clock_ = RunClock(state_);
  stepsDone_ = 0;
  return Status::Ok();
}

Status RunFrames::BeginStep(bool& newFrame) {
  newFrame = clock_.Advance();
  return newFrame ? frames_.Next() : Status::Ok();
}

}  // namespace lakedrift
