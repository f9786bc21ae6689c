#pragma once
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace lakedrift {

// Exit statuses of lakedrift-batch.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadInput = 2;

// Runs one lakedrift-batch command ("info", "probe", "run", "help") with its
// arguments (without the program name); results go to `out`, messages and
// the progress bar (when `errIsTerminal`) to `err`. Returns the exit status.
int RunBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             bool errIsTerminal);

}  // namespace lakedrift
