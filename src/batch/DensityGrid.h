#pragma once
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "model/ModelState.h"
#include "model/Status.h"

namespace lakedrift {

// A cell of the density grid, 0-based, row 0 in the south.
struct GridCell {
  int column = 0, row = 0;
  bool operator==(const GridCell&) const = default;
};

// Particle counts on a square grid laid over the map extent from its
// south-west corner, cells `cellKm` wide; the last column and row may
// reach past the extent, but only points strictly inside the extent are
// counted in a cell.
class DensityGrid {
 public:
  DensityGrid(const ModelState& state, double cellKm);
  // The cell that holds (x, y) km; nothing for a point on or beyond an edge
  // of the map extent (or not a number).
  std::optional<GridCell> CellOf(double xKm, double yKm) const;
  // Counts particles at (x, y) m; those CellOf places nowhere count as
  // outside.
  void Add(std::span<const double> x, std::span<const float> y);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  long Count(int column, int row) const;  // 0-based, row 0 in the south
  long Outside() const { return outside_; }
  long Total() const;
  // The south-west corner (km) of a cell.
  double CellXKm(int column) const { return xMin_ + column * cell_; }
  double CellYKm(int row) const { return yMin_ + row * cell_; }
  double CellKm() const { return cell_; }
  // Writes "column,row,x_min_km,y_min_km,count" for every cell.
  Status WriteCsv(const std::filesystem::path& path) const;

 private:
  double xMin_, yMin_, xMax_, yMax_, cell_;
  int columns_, rows_;
  std::vector<long> counts_;
  long outside_ = 0;
};

}  // namespace lakedrift
