#include "model/ShoreIndex.h"

#include <algorithm>
#include <cmath>

namespace lakedrift {
namespace {

// Bands per filed edge: enough that a band seldom holds an edge that does
// not reach its height, few enough that long edges are not copied much.
constexpr int kBandsPerEdge = 4;
// An edge whose top is exactly 0 is still counted by the crossing test for
// a point up to about 2^-926 above it, because the product of the two height
// differences underflows to zero there (the differences are at least the
// smallest float, 2^-149, and the point's height). 2^-900 covers that reach.
const double kUnderflowReach = std::ldexp(1.0, -900);
// Grid cells aimed at: 2^18 bytes stay in a core's own cache.
constexpr double kTargetCells = 1 << 18;
// The most cells along one side of the grid.
constexpr double kMostCellsPerSide = 1 << 16;
// A cell with a coast edge near it: its points go to the bands.
constexpr int8_t kNearCoast = -1;
// Margin around a cell, as a fraction of the largest coordinate, and its
// floor for coasts drawn at the smallest float scales: 16 times the float
// rounding of a crossing abscissa.
const double kMarginFraction = std::ldexp(1.0, -20);
const double kSmallestMargin = std::ldexp(1.0, -140);
// How many margins an edge's box is widened by when it marks cells: one for
// the crossing rounding, one for the look-up rounding, two to spare.
constexpr double kMarginsPerEdgeBox = 4;

}  // namespace

ShoreIndex::ShoreIndex(const Array1<int>& ringSizes, int ringCount, const Array1<double>& ringX,
                       const Array1<float>& ringY) {
  std::vector<Edge> edges, allEdges;
  int first = 1;
  for (int k = 1; k <= ringCount; ++k) {
    const int last = first + ringSizes(k) - 1;
    for (int j = first; j <= last; ++j) {
      const int next = j < last ? j + 1 : first;  // each ring closes on itself
      const Edge e{ringX(j), ringY(j), ringX(next), ringY(next)};
      allEdges.push_back(e);
      if (e.y1 != e.y2) edges.push_back(e);  // horizontal edges never count
    }
    first = last + 1;
  }
  if (edges.empty()) return;
  ChooseBands(edges);
  FileEdges(edges);
  BuildGrid(allEdges);
}

ShoreIndex ShoreIndex::ForKm(const ModelState& state) {
  return ShoreIndex(state.BoundaryRingSize, state.BoundaryRingCount, state.BoundaryX, state.BoundaryY);
}

ShoreIndex ShoreIndex::ForMetres(const ModelState& state) {
  return ShoreIndex(state.BoundaryRingSize, state.BoundaryRingCount, state.BoundaryXMetres,
                    state.BoundaryYMetres);
}

double ShoreIndex::Bottom(const Edge& e) { return std::min(e.y1, e.y2); }

double ShoreIndex::Top(const Edge& e) {
  const double top = std::max(e.y1, e.y2);
  return top == 0 ? kUnderflowReach : top;
}

void ShoreIndex::ChooseBands(const std::vector<Edge>& edges) {
  lowest_ = Bottom(edges.front());
  highest_ = Top(edges.front());
  for (const Edge& e : edges) {
    lowest_ = std::min(lowest_, Bottom(e));
    highest_ = std::max(highest_, Top(e));
  }
  bandCount_ = static_cast<int>(edges.size()) * kBandsPerEdge;
  bandsPerUnit_ = bandCount_ / (highest_ - lowest_);
}

int ShoreIndex::Band(double y) const {
  // Rounded subtraction, multiplication by a positive factor and floor all
  // keep order, so bands never decrease with y: the whole exactness rests
  // on computing a band only here.
  const double band = std::floor((y - lowest_) * bandsPerUnit_);
  return static_cast<int>(std::clamp(band, 0.0, static_cast<double>(bandCount_ - 1)));
}

void ShoreIndex::FileEdges(const std::vector<Edge>& edges) {
  // Counting pass, then a placing pass: the edges of one band lie together.
  bandStart_.assign(static_cast<std::size_t>(bandCount_) + 1, 0);
  for (const Edge& e : edges)
    for (int b = Band(Bottom(e)); b <= Band(Top(e)); ++b) ++bandStart_[static_cast<std::size_t>(b) + 1];
  for (std::size_t b = 1; b < bandStart_.size(); ++b) bandStart_[b] += bandStart_[b - 1];
  edges_.resize(bandStart_.back());
  std::vector<uint32_t> fill(bandStart_.begin(), bandStart_.end() - 1);
  for (const Edge& e : edges)
    for (int b = Band(Bottom(e)); b <= Band(Top(e)); ++b) edges_[fill[static_cast<std::size_t>(b)]++] = e;
}

void ShoreIndex::BuildGrid(const std::vector<Edge>& allEdges) {
  double xLow = allEdges.front().x1, xHigh = xLow, largest = 0;
  for (const Edge& e : allEdges) {
    xLow = std::min({xLow, e.x1, e.x2});
    xHigh = std::max({xHigh, e.x1, e.x2});
    largest = std::max({largest, std::fabs(e.x1), std::fabs(e.x2), std::fabs(e.y1), std::fabs(e.y2)});
  }
  if (!ChooseGrid(xLow, xHigh)) return;
  MarkCoastCells(allEdges, kMarginsPerEdgeBox * std::max(largest * kMarginFraction, kSmallestMargin));
  FillOpenCells();
}

bool ShoreIndex::ChooseGrid(double xLow, double xHigh) {
  const double width = xHigh - xLow, height = highest_ - lowest_;
  cellsPerUnit_ = std::sqrt(kTargetCells / (width * height));
  // A coast without breadth has no open water; one so small or so large
  // that its cell size is not a finite number gets no grid either.
  if (!(width > 0) || !std::isfinite(cellsPerUnit_) || !(cellsPerUnit_ > 0)) return false;
  gridX_ = xLow, gridY_ = lowest_;
  // A very flat or very narrow coast would want a side of billions of
  // cells: the grid then stops short, and points beyond it use the bands.
  columns_ = static_cast<int>(std::clamp(std::ceil(width * cellsPerUnit_), 1.0, kMostCellsPerSide));
  rows_ = static_cast<int>(std::clamp(std::ceil(height * cellsPerUnit_), 1.0, kMostCellsPerSide));
  cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
  return true;
}

void ShoreIndex::MarkCoastCells(const std::vector<Edge>& allEdges, double margin) {
  bool topsAtZero = false;
  for (const Edge& e : allEdges) {
    MarkNearCoast(std::min(e.x1, e.x2) - margin, std::max(e.x1, e.x2) + margin, std::min(e.y1, e.y2) - margin,
                  std::max(e.y1, e.y2) + margin);
    topsAtZero = topsAtZero || (e.y1 != e.y2 && std::max(e.y1, e.y2) == 0);
  }
  // Where a height product can underflow, the bands must decide.
  if (topsAtZero) MarkNearCoast(gridX_, gridX_ + columns_ / cellsPerUnit_, -margin, kUnderflowReach + margin);
}

void ShoreIndex::FillOpenCells() {
  const double cellSize = 1 / cellsPerUnit_;
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      int8_t& cell = cells_[static_cast<std::size_t>(r) * columns_ + c];
      if (cell != kNearCoast)
        cell =
            static_cast<int8_t>(ContainsByBand(gridX_ + (c + 0.5) * cellSize, gridY_ + (r + 0.5) * cellSize));
    }
}

int ShoreIndex::Column(double x) const {
  return static_cast<int>(std::clamp(std::floor((x - gridX_) * cellsPerUnit_), 0.0, columns_ - 1.0));
}

int ShoreIndex::Row(double y) const {
  return static_cast<int>(std::clamp(std::floor((y - gridY_) * cellsPerUnit_), 0.0, rows_ - 1.0));
}

void ShoreIndex::MarkNearCoast(double xLow, double xHigh, double yLow, double yHigh) {
  for (int r = Row(yLow); r <= Row(yHigh); ++r)
    for (int c = Column(xLow); c <= Column(xHigh); ++c)
      cells_[static_cast<std::size_t>(r) * columns_ + c] = kNearCoast;
}

std::size_t ShoreIndex::OpenCellCount() const {
  return static_cast<std::size_t>(
      std::count_if(cells_.begin(), cells_.end(), [](int8_t v) { return v != kNearCoast; }));
}

int16_t ShoreIndex::Contains(double x, double y) const {
  // No edge spans a height at or below the lowest end or above the highest
  // reach; a NaN height fails this test too and, as in the plain test,
  // spans nothing.
  if (!(y > lowest_ && y <= highest_)) return 0;
  // Inside the grid (a NaN x is not) a cell far from the coast answers.
  const double column = (x - gridX_) * cellsPerUnit_, row = (y - gridY_) * cellsPerUnit_;
  if (column >= 0 && column < columns_ && row >= 0 && row < rows_) {
    const int8_t cell = cells_[static_cast<std::size_t>(row) * columns_ + static_cast<std::size_t>(column)];
    if (cell != kNearCoast) return cell;
  }
  return ContainsByBand(x, y);
}

int16_t ShoreIndex::ContainsByBand(double x, double y) const {
  const auto b = static_cast<std::size_t>(Band(y));
  int crossings = 0;
  for (uint32_t i = bandStart_[b]; i < bandStart_[b + 1]; ++i) {
    const Edge& e = edges_[i];
    // From here on the expressions of PointInRings, unchanged.
    const double p = (e.y1 - y) * (e.y2 - y);
    const bool spans = p < 0 || (p == 0 && (y > e.y1 || y > e.y2));
    if (!spans) continue;
    const float xc = static_cast<float>(e.x1 + (y - e.y1) * (e.x2 - e.x1) / (e.y2 - e.y1));
    if (xc <= x) ++crossings;
  }
  return static_cast<int16_t>(crossings % 2 == 1 ? 1 : 0);
}

}  // namespace lakedrift
