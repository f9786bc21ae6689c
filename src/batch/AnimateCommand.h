#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace lakedrift {

// "lakedrift-batch animate": the flow animation of a scenario as a GIF;
// returns the exit status.
int Animate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lakedrift
