#pragma once
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "model/ModelState.h"
#include "model/Status.h"

namespace lakedrift {

// Exit statuses of lakedrift-batch.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadInput = 2;

// Runs one lakedrift-batch command ("info", "probe", "run", "help") with its
// arguments (without the program name); results go to `out`, messages and
// the progress bar (when `errIsTerminal`) to `err`. Returns the exit status.
// The scenario of `o` in `state`: its region (the whole lake when given by
// files), season and flow type, the default run parameters with o's arrows
// in the full view, and, when `readFiles`, its geometry read and its flow
// file named.
Status PrepareScenario(const ScenarioOptions& o, ModelState& state, bool readFiles = true);

int RunBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             bool errIsTerminal);

}  // namespace lakedrift
