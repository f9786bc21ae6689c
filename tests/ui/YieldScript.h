#pragma once
#include <QObject>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lakedrift::test {

// Pokes a window while one of its long commands yields: the steps run one
// per turn of the event loop, in order, each from inside the command's
// yield or wait. A step answers false while what it waits for has not
// happened yet; it is then tried again at the next turn, a bounded number
// of times.
class YieldScript : public QObject {
 public:
  using Step = std::function<bool()>;

  // `intervalMs` spaces the turns; 0 runs at every yield.
  explicit YieldScript(std::vector<Step> steps, int intervalMs = 0);

  // Arms the script; its first step runs at the next turn of the loop.
  void Start();
  // Steps that have completed.
  std::size_t Done() const { return done_; }
  // True when every step completed.
  bool Finished() const { return done_ == steps_.size(); }
  // The step that gave up waiting, or empty.
  const std::string& Failure() const { return failure_; }

 private:
  void Turn();

  std::vector<Step> steps_;
  QTimer timer_;
  std::size_t done_ = 0;
  int retries_ = 0;
  bool inTurn_ = false;  // a step that spins the loop must not re-enter
  std::string failure_;
};

}  // namespace lakedrift::test
