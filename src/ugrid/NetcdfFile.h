#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/Status.h"

namespace lakedrift {

// A NetCDF file open for reading, with the few questions the importer asks
// of its variables and attributes. Variables are named by their ids.
class NetcdfFile {
 public:
  NetcdfFile() = default;
  ~NetcdfFile();
  NetcdfFile(const NetcdfFile&) = delete;
  NetcdfFile& operator=(const NetcdfFile&) = delete;

  // Opens a file; a missing or unreadable one fails naming it.
  Status Open(const std::string& path);
  const std::string& Path() const { return path_; }
  // Every variable id, in file order.
  std::vector<int> Variables() const;
  std::optional<int> Variable(const std::string& name) const;
  std::string Name(int var) const;
  // The dimension ids of a variable, slowest first.
  std::vector<int> Dimensions(int var) const;
  std::string DimensionName(int dim) const;
  std::size_t DimensionLength(int dim) const;
  // A text attribute, empty when absent or not text.
  std::string Text(int var, const std::string& attribute) const;
  // A numeric attribute's first value.
  std::optional<double> Number(int var, const std::string& attribute) const;
  // A variable read whole as doubles or ints.
  Status ReadDoubles(int var, std::vector<double>& values) const;
  Status ReadInts(int var, std::vector<int>& values) const;
  // A hyperslab of a variable as floats.
  Status ReadFloats(int var, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
                    std::vector<float>& values) const;

 private:
  Status Failed(int code, const std::string& what) const;
  template <typename T, typename Get>
  Status ReadWhole(int var, std::vector<T>& values, Get get) const;
  int id_ = -1;
  std::string path_;
};

}  // namespace lakedrift
