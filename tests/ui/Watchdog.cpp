#include "ui/Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace lakedrift::test {

Watchdog::Watchdog(std::chrono::seconds limit, std::string what)
    : what_(std::move(what)), thread_([this, limit] { Watch(limit); }) {}

Watchdog::~Watchdog() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
  }
  stopped_.notify_one();
  thread_.join();
}

void Watchdog::Watch(std::chrono::seconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (stopped_.wait_for(lock, limit, [this] { return done_; })) return;
  std::fprintf(stderr, "%s did not finish within %lld s: stopped as hung\n", what_.c_str(),
               static_cast<long long>(limit.count()));
  std::fflush(stderr);
  std::abort();
}

}  // namespace lakedrift::test
