#include "ugrid/MemoryFlowFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace lakedrift {

MemoryFlowFile::~MemoryFlowFile() {
  if (fd_ >= 0) ::close(fd_);
}

Status MemoryFlowFile::Fill(UgridModel& model) {
  fd_ = memfd_create("lakedrift-flow", MFD_CLOEXEC);
  const auto noMemory = [] {
    return Status::Fail(ErrorKind::ReadFailed,
                        std::string("no memory for the flow frames: ") + std::strerror(errno));
  };
  if (fd_ < 0) return noMemory();
  std::ofstream out(Path(), std::ios::binary);
  if (Status s = model.WriteFrames(out); !s.ok()) return s;
  out.close();
  return out ? Status::Ok() : noMemory();
}

std::string MemoryFlowFile::Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace lakedrift
