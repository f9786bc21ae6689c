#include "batch/DensityGrid.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>

#include "batch/AtomicFile.h"

namespace lakedrift {

DensityGrid::DensityGrid(const ModelState& state, double cellKm)
    : xMin_(state.MapXMin), yMin_(state.MapYMin), cell_(cellKm),
      columns_(std::max(1, static_cast<int>(std::ceil(state.MapWidth / cellKm)))),
      rows_(std::max(1, static_cast<int>(std::ceil(state.MapHeight / cellKm)))),
      counts_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {}

void DensityGrid::Add(std::span<const double> x, std::span<const float> y) {
  for (std::size_t p = 0; p < x.size(); ++p) {
    const double column = std::floor((x[p] * kKmPerMetre - xMin_) / cell_);
    const double row = std::floor((y[p] * kKmPerMetre - yMin_) / cell_);
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) {
      ++outside_;
      continue;
    }
    ++counts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column)];
  }
}

long DensityGrid::Count(int column, int row) const {
  return counts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column)];
}

long DensityGrid::Total() const { return std::accumulate(counts_.begin(), counts_.end(), 0L) + outside_; }

Status DensityGrid::WriteCsv(const std::filesystem::path& path) const {
  AtomicFile file(path);
  std::FILE* out = std::fopen(file.TemporaryPath().c_str(), "wb");
  if (!out) return Status::Fail(ErrorKind::BadValue, "density file " + path.string() + ": cannot be created");
  std::fputs("column,row,x_min_km,y_min_km,count\n", out);
  char xText[40], yText[40];
  for (int row = 0; row < rows_; ++row)
    for (int column = 0; column < columns_; ++column) {
      *std::to_chars(xText, xText + 39, xMin_ + column * cell_).ptr = '\0';
      *std::to_chars(yText, yText + 39, yMin_ + row * cell_).ptr = '\0';
      std::fprintf(out, "%d,%d,%s,%s,%ld\n", column + 1, row + 1, xText, yText, Count(column, row));
    }
  if (std::fclose(out) != 0)
    return Status::Fail(ErrorKind::ReadFailed, "density file " + path.string() + ": write failed");
  return file.Commit();
}

}  // namespace lakedrift
