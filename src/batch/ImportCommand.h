#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace lakedrift {

// "lakedrift-batch import MODEL.nc --out DIR [options]"; args[0] is "import".
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lakedrift
