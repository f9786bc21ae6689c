#include "model/DataFiles.h"

namespace lakedrift {
namespace {

// The link the system keeps to the running program's file.
[[maybe_unused]] constexpr const char* kRunningProgram = "/proc/self/exe";

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::filesystem::path DataFilePath(const std::filesystem::path& name,
                                   const std::filesystem::path& currentFolder,
                                   const std::filesystem::path& dataFolder) {
  const bool bare = !name.empty() && !name.has_parent_path() && !name.has_root_path();
  if (!bare || dataFolder.empty() || IsFile(currentFolder / name)) return name;
  return IsFile(dataFolder / name) ? dataFolder / name : name;
}

std::filesystem::path DataFilePath(const std::filesystem::path& name) {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return DataFilePath(name, error ? std::filesystem::path(".") : current, InstalledDataFolder());
}

std::filesystem::path InstalledDataFolder() {
#if defined(LAKEDRIFT_DATA_FROM_PROGRAM) && defined(LAKEDRIFT_INSTALLED_DATA_DIR)
  // Beside the running program first, so that an installation moved to
  // another prefix still finds its data; where it was installed otherwise.
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink(kRunningProgram, error);
  if (!error) return (program.parent_path() / LAKEDRIFT_DATA_FROM_PROGRAM).lexically_normal();
  return LAKEDRIFT_INSTALLED_DATA_DIR;
#else
  return {};
#endif
}

}  // namespace lakedrift
