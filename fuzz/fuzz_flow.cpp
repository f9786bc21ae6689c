// Feeds arbitrary bytes to the flow-field reader: the first byte chooses the
// node count, the rest is the file. Frames are read until the reader
// refuses one, as a run does.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/FlowField.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  constexpr int kMaxNodes = 64;
  const int nodes = 1 + data[0] % kMaxNodes;
  static const std::string path = "/tmp/lakedrift-fuzz-flow-" + std::to_string(getpid()) + ".fld";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);

  lakedrift::ModelState state;
  state.NodeCount = nodes;
  state.IsBoundaryNode.Resize(nodes);
  state.IsBoundaryNode(1) = 1;
  lakedrift::PrepareFlowArrays(state);
  lakedrift::FlowFieldReader reader;
  if (!reader.Open(path, nodes).ok()) __builtin_trap();
  while (true) {
    const lakedrift::Status s = reader.ReadFlowFrame(state);
    if (!s.ok()) {
      if (s.message().empty()) __builtin_trap();
      break;
    }
    for (int i = 1; i <= nodes; ++i)
      if (!std::isfinite(state.NodeU(i)) || !std::isfinite(state.NodeV(i))) __builtin_trap();
    lakedrift::UpdateMaxSpeed(state);
  }
  const auto frames = static_cast<size_t>(reader.FramesRead());
  if (frames > (size - 1) / (8u * static_cast<size_t>(nodes))) __builtin_trap();
  return 0;
}
