#pragma once
#include <cstdint>
#include <string>

#include "model/Array1.h"

namespace lakedrift {

// Everything that more than one window or procedure shares: one instance for
// the whole program, passed by reference. Lake positions are km (x east,
// y north), velocities m/s, times s unless a name says otherwise.
//
// Variables of the kind "number" that can only hold whole numbers once the
// geometry reader has checked them (counts, node numbers) are held as int;
// the others are double.
struct ModelState {
  // --- Start-up choices -------------------------------------------------
  int16_t Region = 0;    // 1 whole lake, 2 Malagarasi region, 3 Lufubu region
  int16_t Season = 0;    // 1 wet-season week, 2 dry-season week
  int16_t FlowType = 0;  // 1 surface flow, 2 depth-averaged flow
  std::string RegionTitle;

  // --- Geometry (filled once by ReadGeometry) ----------------------------
  int BoundaryRingCount = 0;
  Array1<int> BoundaryRingSize;  // points per ring, rings back to back
  int NodeCount = 0;
  int ElementCount = 0;
  int BoundaryCount = 0;
  int16_t NodesPerElement = 0;
  Array2<int> ElemNode;                     // (vertex 1..3, element), counter-clockwise
  Array2<int16_t> ElemNeighbour;            // (edge 1..3, element); 0 on the coast
  Array1<double> NodeX, NodeY;              // km
  Array1<double> NodeXMetres, NodeYMetres;  // m
  Array1<int> BoundaryNode;                 // node number of each boundary point
  Array1<double> BoundaryX;                 // km
  Array1<float> BoundaryY;                  // km, single precision
  // Derived once with the geometry: the coast in metres for the particle
  // step's shore test (x exactly 1000·BoundaryX, y the single-precision
  // 1000·BoundaryY), and a mask of the nodes that stand in BoundaryNode.
  Array1<double> BoundaryXMetres;
  Array1<float> BoundaryYMetres;
  Array1<uint8_t> IsBoundaryNode;  // 1..NodeCount
  // The PROJ string that maps longitude and latitude to this grid's km,
  // from the 'georef' line after the boundary points; empty without one.
  std::string Georef;

  // --- Map extent (derived from the boundary points) ---------------------
  double MapXMin = 0, MapXMax = 0, MapYMin = 0, MapYMax = 0;
  double MapWidth = 0, MapHeight = 0;  // equal once the extent is squared
  float MapSize = 0;                   // larger unrounded size of the coast's box

  // --- Flow field -----------------------------------------------------------
  std::string FlowFileName;
  Array1<float> NodeU, NodeV;  // the current frame, m/s
  double MaxSpeed = 0;         // running maximum of interior node speed

  // --- Run and drawing parameters ---------------------------------------
  double VectorScale = 0;
  int16_t FrameCount = 0;
  float FramePeriod = 0;     // seconds per animation frame
  double ParticleCount = 0;  // may be fractional as typed: 12.7 moves 12
  double DiffusionCoef = 0;  // m²/s
  double TimeStep = 0;       // s
  int16_t SimHours = 0;      // h

  // --- Release point (km) ---------------------------------------------------
  double ReleaseX = 0;
  float ReleaseY = 0;

  // --- View state ------------------------------------------------------------
  float Magnification = 0;
  int16_t VectorsShown = 0;

  // --- Work arrays of the point-in-element test (m) -------------------------
  Array1<double> TriX = Array1<double>(3);
  Array1<float> TriY = Array1<float>(3);
};

// Constants every part agrees on.
inline constexpr int16_t kNodesPerElement = 3;
inline constexpr double kMetresPerKm = 1000.0;
inline constexpr double kKmPerMetre = 0.001;
inline constexpr int kMaxItemNumber = 32767;  // items are numbered in 16 bits
// The diffusion coefficients a run accepts, m²/s: 10 moves a particle about
// 380 m a step by diffusion alone, a mesh element's size.
inline constexpr double kMinDiffusionCoef = 0, kMaxDiffusionCoef = 10;

}  // namespace lakedrift
