#pragma once
#include <cmath>

namespace lakedrift::datagen {

// A point or vector of the lake plane: km for positions, any unit for vectors.
struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(double s, Vec2 a) { return {s * a.x, s * a.y}; }
inline bool operator==(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }
// Dot product.
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
// z component of the cross product: positive when b lies to the left of a.
inline double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
// Euclidean length.
inline double Length(Vec2 a) { return std::hypot(a.x, a.y); }
// The vector turned counter-clockwise (to the left) by an angle in radians.
inline Vec2 Rotated(Vec2 a, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {c * a.x - s * a.y, s * a.x + c * a.y};
}

}  // namespace lakedrift::datagen
