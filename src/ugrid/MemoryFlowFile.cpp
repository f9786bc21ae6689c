#include "ugrid/MemoryFlowFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
  std::FILE* out = std::fopen(Path().c_str(), "wb");
  if (!out) return noMemory();
  const Status written = model.WriteFrames(out);
  const bool lost = std::ferror(out) != 0;
  if (std::fclose(out) != 0 || lost) return noMemory();
  return written;
}

std::string MemoryFlowFile::Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace lakedrift
