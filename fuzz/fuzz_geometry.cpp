// Feeds arbitrary bytes to the geometry reader as a file's contents; an
// accepted geometry is then used the way the program uses it, so that a
// file the reader lets through cannot crash or hang what comes after.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/GeometryReader.h"
#include "model/PointInLake.h"
#include "sim/ElementLocation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lakedrift::ModelState state;
  const lakedrift::Status s =
      lakedrift::ReadGeometryText(state, std::string(reinterpret_cast<const char*>(data), size), "fuzz.inp");
  if (!s.ok()) {
    if (s.message().empty()) __builtin_trap();  // every refusal says why
    return 0;
  }
  if (state.MapWidth != state.MapHeight) __builtin_trap();
  const double cx = (state.MapXMin + state.MapXMax) / 2, cy = (state.MapYMin + state.MapYMax) / 2;
  const double points[][2] = {{cx, cy}, {state.MapXMin, state.MapYMin}, {state.NodeX(1), state.NodeY(1)}};
  for (const auto& p : points) {
    lakedrift::PointInLake(state, p[0], p[1]);
    const int e = lakedrift::FindElement(state, p[0] * 1000, p[1] * 1000, 1);
    if (e < 1 || e > state.ElementCount) __builtin_trap();
    lakedrift::LocateByScan(state, p[0] * 1000, p[1] * 1000);
  }
  return 0;
}
