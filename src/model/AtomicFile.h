#pragma once
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "model/Status.h"

namespace lakedrift {

// A file that appears whole or not at all: everything is written under a
// temporary name in the same folder, which Commit flushes to the disk and
// renames to the final name. A file never committed is removed, and an
// existing file of the final name is untouched until the rename.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path finalPath);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The temporary name to write to.
  const std::filesystem::path& TemporaryPath() const { return temporary_; }
  const std::filesystem::path& FinalPath() const { return final_; }
  // Opens the temporary file for writing through Out(); `what` names the
  // file in messages ("tracks file"). Fails naming the file and the
  // system's reason.
  Status Open(const std::string& what);
  // The file opened by Open, else null.
  std::FILE* Out() const { return out_; }
  // Closes the file opened by Open, if any, failing when anything written
  // to it was lost; flushes the temporary file, renames it to the final
  // name, replacing what was there, and flushes the folder; fails naming
  // the file and the system's reason.
  Status Commit();

 private:
  std::filesystem::path final_;
  std::filesystem::path temporary_;
  bool committed_ = false;
  std::FILE* out_ = nullptr;
  std::string what_;
};

// The system's reason for the last failed call (errno), in words.
std::string SystemReason();

// Fails with a message naming the file when its folder does not exist.
Status CheckWritableFolder(const std::filesystem::path& path, const std::string& what);

}  // namespace lakedrift
