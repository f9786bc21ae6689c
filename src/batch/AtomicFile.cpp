#include "batch/AtomicFile.h"

#include <unistd.h>

#include <system_error>

namespace lakedrift {

AtomicFile::AtomicFile(std::filesystem::path finalPath) : final_(std::move(finalPath)) {
  temporary_ = final_;
  temporary_ += ".part-" + std::to_string(::getpid());
}

AtomicFile::~AtomicFile() {
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

Status AtomicFile::Commit() {
  std::error_code error;
  std::filesystem::rename(temporary_, final_, error);
  if (error)
    return Status::Fail(ErrorKind::ReadFailed, final_.string() + ": cannot be written (" + error.message() + ")");
  committed_ = true;
  return Status::Ok();
}

Status CheckWritableFolder(const std::filesystem::path& path, const std::string& what) {
  const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return Status::Fail(ErrorKind::BadValue, what + " " + path.string() + ": folder " + folder.string() +
                                                 " does not exist");
  if (::access(folder.c_str(), W_OK) != 0)
    return Status::Fail(ErrorKind::BadValue, what + " " + path.string() + ": folder " + folder.string() +
                                                 " is not writable");
  return Status::Ok();
}

}  // namespace lakedrift
