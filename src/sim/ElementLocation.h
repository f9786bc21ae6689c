#pragma once
#include <cstdint>

#include "model/ModelState.h"

namespace lakedrift {

// Where a walk starts when the release point lies in no element.
inline constexpr int kFirstElement = 1;

// True when (x, y) lies strictly to the right of the directed edge
// (xi, yi) → (xk, yk), that is, outside a counter-clockwise triangle across
// that edge. A point on the edge line is not outside.
inline bool OutsideEdge(double xi, double yi, double xk, double yk, double x, double y) {
  return (yi - y) * (xk - x) > (xi - x) * (yk - y);
}

// 1 when (x, y) in metres lies inside or on the boundary of the triangle in
// state.TriX/TriY (counter-clockwise), 0 otherwise.
int PointInElement(const ModelState& state, double x, double y);

// The element that holds (x, y) in metres, found by walking from element
// `start` across the first edge that has the point on its outer side; the
// element at which the walk met the coast when it can go no further; 0 only
// when start is 0. A walk that would cycle is stopped and answered by the
// exhaustive scan (or, when no element holds the point, by the element at
// which it stopped).
int16_t FindElement(const ModelState& state, double x, double y, int start);

// The first element e = 1..ElementCount that holds (x, y) by PointInElement
// (loading each element's vertices into TriX/TriY), 0 when none does.
int LocateByScan(ModelState& state, double x, double y);

// The element every run's walk starts from: the one that holds the release
// point (ReleaseX, ReleaseY km) by LocateByScan, kFirstElement when none does.
int ReleaseElement(ModelState& state);

}  // namespace lakedrift
