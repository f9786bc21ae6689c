#pragma once
#include <cstdint>
#include <vector>

#include "model/Array1.h"
#include "model/ModelState.h"

namespace lakedrift {

// The point-in-lake crossing test of PointInRings, answered from the coast
// edges filed by height band so that a query looks at the few edges near its
// own height instead of the whole coast. The answer is PointInRings's to the
// bit: each visited edge is tested with the very same expressions (the
// span rule for ends at the point's height, the crossing abscissa computed
// in double and narrowed to float before `xc <= x`), and the edges skipped
// are exactly those the span rule would reject.
//
// Why no edge that spans a height is missed: an edge is filed under every
// band from Band(its lowest y) to Band(its highest y), and a query looks in
// Band(y). Band() is a floor of rounded, monotonic operations, so it never
// decreases as y grows; an edge that spans y has lowest < y <= highest and
// therefore Band(lowest) <= Band(y) <= Band(highest). The only spanning
// case outside lowest < y <= highest is a product of height differences that
// underflows to zero (an edge whose top is exactly 0 and a query a hair above
// it); such edges are filed as reaching up to kUnderflowReach.
//
// Most points, far from the coast, are answered before the bands by a grid
// of square cells over the coast's box: a cell that no coast edge comes near
// (no edge's bounding box reaches within a margin of it) holds one answer
// for all its points, taken by the band test at its centre. Why that is
// exact: along any path inside such a cell the crossing count changes only
// where the path meets a computed crossing abscissa, which lies within a
// float rounding (at most 2^-24 of the largest coordinate) of a true edge
// point, hence outside the cell; or at the height of a far vertex, where the
// edges meeting there hand over or appear in pairs on one side, so the
// parity stays. The margin, 2^-20 of the largest coordinate, covers that
// rounding and the rounding of the cell look-up. Cells near height 0 are
// never trusted when an edge tops out exactly at 0 (the underflow above).
//
// Ring coordinates must be finite. Immutable once built; safe to share
// between threads.
class ShoreIndex {
 public:
  ShoreIndex() = default;
  // Files the edges of closed rings stored back to back, as PointInRings
  // takes them.
  ShoreIndex(const Array1<int>& ringSizes, int ringCount, const Array1<double>& ringX,
             const Array1<float>& ringY);

  // The index of the coast in km (the release point's test).
  static ShoreIndex ForKm(const ModelState& state);
  // The index of the coast in metres (the particle step's test).
  static ShoreIndex ForMetres(const ModelState& state);

  // 1 when (x, y) lies on the water, 0 otherwise: PointInRings's answer.
  int16_t Contains(double x, double y) const;

  // Bands the heights are divided into.
  int BandCount() const { return bandCount_; }
  // Grid cells, and those of them that answer on their own.
  std::size_t CellCount() const { return cells_.size(); }
  std::size_t OpenCellCount() const;
  // Bytes the index holds.
  std::size_t HeldBytes() const {
    return edges_.capacity() * sizeof(Edge) + bandStart_.capacity() * sizeof(uint32_t) + cells_.capacity();
  }
  // Edges filed over all bands (an edge that crosses bands counts once per band).
  std::size_t FiledEdgeCount() const { return edges_.size(); }

 private:
  // One non-horizontal coast edge, its ends in ring order as PointInRings
  // reads them (y widened from single precision).
  struct Edge {
    double x1, y1, x2, y2;
  };

  int Band(double y) const;
  void ChooseBands(const std::vector<Edge>& edges);
  void FileEdges(const std::vector<Edge>& edges);
  int16_t ContainsByBand(double x, double y) const;
  void BuildGrid(const std::vector<Edge>& allEdges);
  bool ChooseGrid(double xLow, double xHigh);
  void MarkCoastCells(const std::vector<Edge>& allEdges, double margin);
  void FillOpenCells();
  void MarkNearCoast(double xLow, double xHigh, double yLow, double yHigh);
  int Column(double x) const;
  int Row(double y) const;
  static double Top(const Edge& e);
  static double Bottom(const Edge& e);

  double lowest_ = 0;    // lowest end of any edge: nothing spans it or below
  double highest_ = -1;  // highest reach of any edge: nothing spans above it
  double bandsPerUnit_ = 0;
  int bandCount_ = 0;
  std::vector<uint32_t> bandStart_;  // edges of band b: [bandStart_[b], bandStart_[b + 1])
  std::vector<Edge> edges_;

  double gridX_ = 0, gridY_ = 0;  // south-west corner of the grid
  double cellsPerUnit_ = 0;
  int columns_ = 0, rows_ = 0;
  std::vector<int8_t> cells_;  // row by row: 0 land, 1 water, kNearCoast
};

}  // namespace lakedrift
