#include "model/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace lakedrift {
namespace {

// Flushes a file or folder to the disk; the system's reason when it cannot.
std::optional<std::string> SyncToDisk(const std::filesystem::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  const bool synced = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!synced) return std::strerror(error);
  return std::nullopt;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path finalPath) : final_(std::move(finalPath)) {
  temporary_ = final_;
  temporary_ += ".part-" + std::to_string(::getpid());
}

AtomicFile::~AtomicFile() {
  if (out_) std::fclose(out_);
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

Status AtomicFile::Open(const std::string& what) {
  what_ = what;
  out_ = std::fopen(temporary_.c_str(), "wb");
  if (!out_)
    return Status::Fail(ErrorKind::BadValue,
                        what + " " + final_.string() + ": cannot be created (" + SystemReason() + ")");
  return Status::Ok();
}

Status AtomicFile::Commit() {
  if (out_) {
    const bool failed = std::ferror(out_) != 0;
    const bool closed = std::fclose(std::exchange(out_, nullptr)) == 0;
    if (failed || !closed)
      return Status::Fail(ErrorKind::ReadFailed,
                          what_ + " " + final_.string() + ": write failed (" + SystemReason() + ")");
  }
  auto fail = [this](const std::string& reason) {
    return Status::Fail(ErrorKind::ReadFailed, final_.string() + ": cannot be written (" + reason + ")");
  };
  // The data reaches the disk before the name does, so a crash leaves the
  // old file or the new one whole.
  if (auto reason = SyncToDisk(temporary_, O_RDONLY)) return fail(*reason);
  std::error_code error;
  std::filesystem::rename(temporary_, final_, error);
  if (error) return fail(error.message());
  committed_ = true;
  const auto folder = final_.has_parent_path() ? final_.parent_path() : std::filesystem::path(".");
  if (auto reason = SyncToDisk(folder, O_RDONLY | O_DIRECTORY)) return fail(*reason);
  return Status::Ok();
}

std::string SystemReason() { return std::strerror(errno); }

Status CheckWritableFolder(const std::filesystem::path& path, const std::string& what) {
  const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return Status::Fail(ErrorKind::BadValue,
                        what + " " + path.string() + ": folder " + folder.string() + " does not exist");
  if (::access(folder.c_str(), W_OK) != 0)
    return Status::Fail(ErrorKind::BadValue,
                        what + " " + path.string() + ": folder " + folder.string() + " is not writable");
  return Status::Ok();
}

}  // namespace lakedrift
