#include "batch/DensityGrid.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>

#include "model/AtomicFile.h"

namespace lakedrift {

DensityGrid::DensityGrid(const ModelState& state, double cellKm)
    : xMin_(state.MapXMin),
      yMin_(state.MapYMin),
      xMax_(state.MapXMin + state.MapWidth),
      yMax_(state.MapYMin + state.MapHeight),
      cell_(cellKm),
      columns_(std::max(1, static_cast<int>(std::ceil(state.MapWidth / cellKm)))),
      rows_(std::max(1, static_cast<int>(std::ceil(state.MapHeight / cellKm)))),
      counts_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {}

std::optional<GridCell> DensityGrid::CellOf(double xKm, double yKm) const {
  // Written so that a NaN fails too.
  if (!(xKm > xMin_ && xKm < xMax_ && yKm > yMin_ && yKm < yMax_)) return std::nullopt;
  // A point a rounding below the far edge may divide out to one cell too
  // many when the extent is a whole number of cells.
  const int column = std::min(columns_ - 1, static_cast<int>((xKm - xMin_) / cell_));
  const int row = std::min(rows_ - 1, static_cast<int>((yKm - yMin_) / cell_));
  return GridCell{column, row};
}

void DensityGrid::Add(std::span<const double> x, std::span<const float> y) {
  for (std::size_t p = 0; p < x.size(); ++p) {
    const std::optional<GridCell> cell = CellOf(x[p] * kKmPerMetre, y[p] * kKmPerMetre);
    if (!cell) {
      ++outside_;
      continue;
    }
    ++counts_.at(static_cast<std::size_t>(cell->row) * static_cast<std::size_t>(columns_) +
                 static_cast<std::size_t>(cell->column));
  }
}

long DensityGrid::Count(int column, int row) const {
  return counts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                 static_cast<std::size_t>(column)];
}

long DensityGrid::Total() const { return std::accumulate(counts_.begin(), counts_.end(), 0L) + outside_; }

Status DensityGrid::WriteCsv(const std::filesystem::path& path) const {
  AtomicFile file(path);
  if (Status s = file.Open("density file"); !s.ok()) return s;
  std::FILE* out = file.Out();
  std::fputs("column,row,x_min_km,y_min_km,count\n", out);
  char xText[40], yText[40];
  for (int row = 0; row < rows_; ++row)
    for (int column = 0; column < columns_; ++column) {
      *std::to_chars(xText, xText + 39, xMin_ + column * cell_).ptr = '\0';
      *std::to_chars(yText, yText + 39, yMin_ + row * cell_).ptr = '\0';
      std::fprintf(out, "%d,%d,%s,%s,%ld\n", column + 1, row + 1, xText, yText, Count(column, row));
    }
  return file.Commit();
}

}  // namespace lakedrift
