#include "support/TestPaths.h"

#include <fstream>
#include <stdexcept>

namespace lakedrift::test {

std::filesystem::path TestDataPath(const std::string& name) {
  return std::filesystem::path(LAKEDRIFT_TEST_DATA_DIR) / name;
}

std::filesystem::path SampleDataPath(const std::string& name) {
  return std::filesystem::path(LAKEDRIFT_SAMPLE_DATA_DIR) / name;
}

std::filesystem::path FreshOutputDir(const std::string& name) {
  const auto dir = std::filesystem::path(LAKEDRIFT_TEST_OUTPUT_DIR) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace lakedrift::test
