#pragma once
#include <string>

#include "model/Status.h"
#include "ugrid/UgridModel.h"

namespace lakedrift {

// The flow frames of a UGRID file in a file that lives in memory only
// (Linux memfd), so that a run reads them by path as it reads a flow-field
// file, without anything written to disk. At most 84 frames of 32767 nodes:
// 22 MB.
class MemoryFlowFile {
 public:
  MemoryFlowFile() = default;
  ~MemoryFlowFile();
  MemoryFlowFile(const MemoryFlowFile&) = delete;
  MemoryFlowFile& operator=(const MemoryFlowFile&) = delete;

  // Writes every frame of the model, one at a time as they are read.
  Status Fill(UgridModel& model);
  // The path by which the frames read as a flow-field file.
  std::string Path() const;

 private:
  int fd_ = -1;
};

}  // namespace lakedrift
