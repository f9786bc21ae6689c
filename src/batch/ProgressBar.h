#pragma once
#include <ostream>

namespace lakedrift {

// A one-line progress bar redrawn in place, shown only when its stream is
// a terminal.
class ProgressBar {
 public:
  ProgressBar(std::ostream& out, bool enabled, int total) : out_(out), enabled_(enabled), total_(total) {}
  ~ProgressBar();
  // Shows `done` of the total.
  void Update(int done);

 private:
  std::ostream& out_;
  bool enabled_;
  int total_;
  bool shown_ = false;
};

}  // namespace lakedrift
