#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "model/Status.h"
#include "ugrid/UgridModel.h"

namespace lakedrift {

// The options of "lakedrift-batch import" that choose what is read from a
// UGRID file: --u, --v, --layer, --start. Takes them out of `args`.
Status TakeUgridOptions(std::vector<std::string>& args, UgridOptions& options);

// "lakedrift-batch import MODEL.nc --out DIR [options]"; args[0] is "import".
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lakedrift
