#include "batch/ProgressBar.h"

#include <string>

namespace lakedrift {
namespace {
constexpr int kBarWidth = 40;
}

ProgressBar::~ProgressBar() {
  if (shown_) out_ << '\n' << std::flush;
}

void ProgressBar::Update(int done) {
  if (!enabled_ || total_ <= 0) return;
  const int filled = kBarWidth * done / total_;
  out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << done << '/' << total_
       << " steps" << std::flush;
  shown_ = true;
}

}  // namespace lakedrift
