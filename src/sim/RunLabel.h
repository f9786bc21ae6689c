#pragma once
#include <string>

#include "model/DateTime.h"
#include "sim/RunPainter.h"

namespace lakedrift {

// The time label of a run: the text printed after each step, two hours on
// from the one before, whose extent the next label's box covers.
class RunLabel {
 public:
  RunLabel() = default;
  // The clock at the start of the scenario of `season`; the first box is
  // sized by a text that is never printed.
  explicit RunLabel(int season);
  // Has `painter` print the label of the step just taken and moves the
  // clock on by one step.
  void Draw(RunPainter& painter);
  // The text printed last.
  const std::string& Last() const { return last_; }

 private:
  DateTime date_;
  std::string last_;
};

}  // namespace lakedrift
