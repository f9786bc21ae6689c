#include "ui/YieldScript.h"

namespace lakedrift::test {

namespace {
constexpr int kMaxRetries = 200;  // turns a step may wait for its condition
}  // namespace

YieldScript::YieldScript(std::vector<Step> steps, int intervalMs) : steps_(std::move(steps)) {
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, &YieldScript::Turn);
}

void YieldScript::Start() {
  if (!Finished()) timer_.start();
}

void YieldScript::Turn() {
  if (inTurn_) return;
  if (Finished() || !failure_.empty()) {
    timer_.stop();
    return;
  }
  inTurn_ = true;
  const bool completed = steps_[done_]();
  inTurn_ = false;
  if (completed) {
    ++done_;
    retries_ = 0;
  } else if (++retries_ > kMaxRetries) {
    failure_ = "step " + std::to_string(done_ + 1) + " waited in vain";
    timer_.stop();
  }
}

}  // namespace lakedrift::test
