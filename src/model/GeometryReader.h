#pragma once
#include <filesystem>
#include <string>

#include "model/ModelState.h"
#include "model/Status.h"

namespace lakedrift {

// The geometry file of a region (its row of the region table).
std::string GeometryFileName(int region);

// Reads the geometry file of state.Region from the current folder (or, when
// it is not there, from the installed data folder) into the
// geometry and map-extent groups of the state. A missing file fails with
// ErrorKind::FileMissing, a malformed one with ErrorKind::Malformed and a
// message naming the file, the record, the field and what was expected; in
// both cases the state is left exactly as it was.
Status ReadGeometry(ModelState& state);

// The same for a file given by path.
Status ReadGeometry(ModelState& state, const std::filesystem::path& path);

// The same for the contents of a geometry file already in memory; `name`
// names it in messages.
Status ReadGeometryText(ModelState& state, std::string text, const std::string& name);

// Sets MapXMin … MapSize from the boundary points: the bounding box, each
// bound moved onto a multiple of 10, the extent squared about its centre.
void ComputeMapExtent(ModelState& state);

}  // namespace lakedrift
