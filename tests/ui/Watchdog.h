#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace lakedrift::test {

// Ends the test program with a failure when the object is not destroyed
// within a time limit: a command that hangs on the window thread (a walk
// that cycles, a wait that never ends) fails instead of stalling the run.
class Watchdog {
 public:
  // Starts watching `what` for at most `limit`.
  Watchdog(std::chrono::seconds limit, std::string what);
  // Stops watching.
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch(std::chrono::seconds limit);

  std::string what_;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace lakedrift::test
