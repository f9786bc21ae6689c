#pragma once
#include <span>
#include <filesystem>
#include <vector>

#include "model/ModelState.h"
#include "model/Status.h"

namespace lakedrift {

// Particle counts on a square grid laid over the map extent from its
// south-west corner, cells `cellKm` wide; the last column and row may
// reach past the extent.
class DensityGrid {
 public:
  DensityGrid(const ModelState& state, double cellKm);
  // Counts particles at (x, y) m; those outside the grid count as outside.
  void Add(std::span<const double> x, std::span<const float> y);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  long Count(int column, int row) const;  // 0-based, row 0 in the south
  long Outside() const { return outside_; }
  long Total() const;
  // Writes "column,row,x_min_km,y_min_km,count" for every cell.
  Status WriteCsv(const std::filesystem::path& path) const;

 private:
  double xMin_, yMin_, cell_;
  int columns_, rows_;
  std::vector<long> counts_;
  long outside_ = 0;
};

}  // namespace lakedrift
