#pragma once
#include <filesystem>
#include <string>

#include "model/Status.h"
#include "ugrid/UgridModel.h"

namespace lakedrift {

// Where an import goes: the region, season and flow type whose file names
// (geomtan.inp, tanws.fld, …) the files take in `folder`.
struct ImportTarget {
  std::filesystem::path folder;
  int region = 1, season = 1, flowType = 1;
};

// Reads a UGRID file and writes its geometry file and its week of flow
// frames; both files appear whole or not at all. `summary` gets a line of
// what was written.
Status ImportUgrid(const std::string& path, const UgridOptions& options, const ImportTarget& target,
                   std::string& summary);

}  // namespace lakedrift
