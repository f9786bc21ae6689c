#include "view/VelocityVectors.h"

#include <cmath>

#include "view/Palette.h"

namespace lakedrift {
namespace {

// The angles are the program's own rounded values, not exact multiples of
// pi; arrows must point where they always pointed.
constexpr double kQuarterTurn = 1.57;
constexpr double kHalfTurn = 3.14;
constexpr double kFullTurn = 6.28;
constexpr double kBarbAngle = 0.6;  // radians between barb and shaft
// The barbs turn the same back direction by ±kBarbAngle: one sine and
// cosine per arrow, the rotation by these.
const double kCosBarb = std::cos(kBarbAngle);
const double kSinBarb = std::sin(kBarbAngle);
constexpr double kHeadFraction = 0.25;                // head length per shaft length
constexpr double kLegendSpeed = 0.01;                 // m/s: the legend shows 1 cm/s
constexpr double kLegendArrowOffsetFraction = 0.125;  // of MapHeight below south
constexpr double kLegendTextOffsetFraction = 0.1;     // of MapHeight below south
constexpr double kLegendTextGapFactor = 1.2;          // legend lengths right of west
constexpr double kLegendHeadRatio = 0.9;              // shaft divided 0.9 : 1 at the head
constexpr double kLegendTailRatio = 1.0;
constexpr double kLegendHeadSpread = 0.6;  // half-width of the head per its length
constexpr int kVectorLineWidth = 1;
constexpr const char* kLegendText = "VELOCITY SCALE: 1  CM/S";

void Line(Surface& surface, double x1, double y1, double x2, double y2) {
  surface.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
               static_cast<float>(y2));
}

// Cosine and sine of an angle.
struct Turn {
  double c, s;
};
Turn TurnOf(double angle) { return {std::cos(angle), std::sin(angle)}; }

// The direction back from the tip, Direction + 3.14, is arctan(v/u) plus a
// constant for each half-plane; its cosine and sine follow from the angle-sum
// rules with cos(arctan r) = 1/√(1 + r²) and sin(arctan r) = r/√(1 + r²),
// which spares an arctangent, a sine and a cosine per arrow.
Turn BackTurn(double u, double v) {
  static const Turn kUp = TurnOf(kQuarterTurn + kHalfTurn);
  static const Turn kDown = TurnOf(-kQuarterTurn + kHalfTurn);
  static const Turn kLeftHalf = TurnOf(kHalfTurn + kHalfTurn);
  static const Turn kLowerRight = TurnOf(kFullTurn + kHalfTurn);
  static const Turn kUpperRight = TurnOf(kHalfTurn);
  if (u == 0) return v >= 0 ? kUp : kDown;
  const Turn& k = u < 0 ? kLeftHalf : (v <= 0 ? kLowerRight : kUpperRight);
  const double r = v / u;
  const double scale = 1.0 / std::sqrt(1.0 + r * r);
  return {(k.c - r * k.s) * scale, (k.s + r * k.c) * scale};
}

// One arrow: a shaft from the node to the tip and two barbs back from the
// tip, each a quarter of the shaft long. S is the length at maxSpeed; each
// formula multiplies first and divides last.
void DrawArrow(Surface& surface, double x0, double y0, double u, double v, double S, double maxSpeed) {
  const double x1 = x0 + u * S / maxSpeed;
  const double y1 = y0 + v * S / maxSpeed;
  Line(surface, x0, y0, x1, y1);
  const double head = (S * kHeadFraction * std::sqrt(u * u + v * v)) / maxSpeed;
  const Turn back = BackTurn(u, v);
  const double c = back.c, s = back.s;
  // cos(back ± 0.6) and sin(back ± 0.6) by the angle-sum rules.
  const double cosPlus = c * kCosBarb - s * kSinBarb, sinPlus = s * kCosBarb + c * kSinBarb;
  const double cosMinus = c * kCosBarb + s * kSinBarb, sinMinus = s * kCosBarb - c * kSinBarb;
  Line(surface, x1, y1, x1 + head * cosPlus, y1 + head * sinPlus);
  Line(surface, x1, y1, x1 + head * cosMinus, y1 + head * sinMinus);
}

// The legend arrow always sits at the same world position below the map.
// Its head opens at the shaft's start, the end with the smaller x.
void DrawLegend(Surface& surface, const ModelState& s, double legendLength) {
  const double xL = s.MapXMin;
  const double yL = s.MapYMin - kLegendArrowOffsetFraction * s.MapHeight;
  const double tip = xL + legendLength;
  Line(surface, xL, yL, tip, yL);
  const double xm = (xL + kLegendHeadRatio * tip) / (kLegendHeadRatio + kLegendTailRatio);
  const double d = tip - xm;
  Line(surface, xL, yL, xm, yL + kLegendHeadSpread * d);
  Line(surface, xL, yL, xm, yL - kLegendHeadSpread * d);

  const double xT = s.MapXMin + kLegendTextGapFactor * legendLength;
  const double yT = s.MapYMin - kLegendTextOffsetFraction * s.MapHeight;
  if (!surface.IsVisible(xT, yT)) return;
  surface.SetCurrent(static_cast<float>(xT), static_cast<float>(yT));
  surface.Print(kLegendText);
}

}  // namespace

void DrawVectors(Surface& surface, ModelState& state) {
  state.VectorsShown = 1;
  surface.SetForeColor(PaletteColour(kBlue));
  surface.SetLineWidth(kVectorLineWidth);
  if (!(state.MaxSpeed > 0)) return;  // nothing to scale lengths by

  const double S = state.MapSize * state.VectorScale;  // km at MaxSpeed
  const double maxSpeed = state.MaxSpeed;
  // The boundary mask marks the same nodes as BoundaryNode, without a
  // search of the whole list per node.
  for (int i = 1; i <= state.NodeCount; ++i) {
    if (state.IsBoundaryNode(i)) continue;
    DrawArrow(surface, state.NodeX(i), state.NodeY(i), state.NodeU(i), state.NodeV(i), S, maxSpeed);
  }
  DrawLegend(surface, state, kLegendSpeed * S / maxSpeed);
}

}  // namespace lakedrift
