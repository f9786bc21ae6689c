#include "ugrid/MemoryFlowFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace lakedrift {
namespace {

bool WriteAll(int fd, const std::vector<float>& values) {
  const char* data = reinterpret_cast<const char*>(values.data());
  std::size_t left = values.size() * sizeof(float);
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

MemoryFlowFile::~MemoryFlowFile() {
  if (fd_ >= 0) ::close(fd_);
}

Status MemoryFlowFile::Fill(UgridModel& model) {
  fd_ = memfd_create("lakedrift-flow", MFD_CLOEXEC);
  if (fd_ < 0)
    return Status::Fail(ErrorKind::ReadFailed,
                        std::string("no memory for the flow frames: ") + std::strerror(errno));
  std::vector<float> u, v;
  for (int k = 0; k < UgridModel::kFrameCount; ++k) {
    if (Status s = model.Frame(k, u, v); !s.ok()) return s;
    if (!WriteAll(fd_, u) || !WriteAll(fd_, v))
      return Status::Fail(ErrorKind::ReadFailed,
                          std::string("no memory for the flow frames: ") + std::strerror(errno));
  }
  return Status::Ok();
}

std::string MemoryFlowFile::Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace lakedrift
