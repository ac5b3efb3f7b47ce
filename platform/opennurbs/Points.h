// Points and vectors in three dimensions, in float and in double, and the float point of two
// dimensions that texture coordinates use.
//
// Widening (float to double) is implicit and exact; narrowing (double to float) must be asked for
// and is a plain cast of each coordinate.
#ifndef VANTRELL_OPENNURBS_POINTS_H
#define VANTRELL_OPENNURBS_POINTS_H

#include "opennurbs/FloatRounding.h"

// The three coordinates that the point and vector classes share; zero unless given.
template <class Real>
struct ON_3Coordinates {
  ON_3Coordinates() = default;
  ON_3Coordinates(Real x_, Real y_, Real z_) : x(x_), y(y_), z(z_) {}

  Real x = 0;
  Real y = 0;
  Real z = 0;
};

class ON_3fPoint;
class ON_3fVector;

class ON_3dPoint : public ON_3Coordinates<double> {
 public:
  using ON_3Coordinates::ON_3Coordinates;
  ON_3dPoint() = default;
  ON_3dPoint(const ON_3fPoint& p);  // widening: implicit
};

class ON_3dVector : public ON_3Coordinates<double> {
 public:
  using ON_3Coordinates::ON_3Coordinates;
  ON_3dVector() = default;
  ON_3dVector(const ON_3fVector& v);  // widening: implicit
};

class ON_3fPoint : public ON_3Coordinates<float> {
 public:
  using ON_3Coordinates::ON_3Coordinates;
  ON_3fPoint() = default;
  explicit ON_3fPoint(const ON_3dPoint& p)
      : ON_3Coordinates(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)) {}
};

class ON_3fVector : public ON_3Coordinates<float> {
 public:
  using ON_3Coordinates::ON_3Coordinates;
  ON_3fVector() = default;
  explicit ON_3fVector(const ON_3dVector& v)
      : ON_3Coordinates(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)) {}
};

inline ON_3dPoint::ON_3dPoint(const ON_3fPoint& p) : ON_3Coordinates(p.x, p.y, p.z) {}
inline ON_3dVector::ON_3dVector(const ON_3fVector& v) : ON_3Coordinates(v.x, v.y, v.z) {}

class ON_2fPoint {
 public:
  ON_2fPoint() = default;
  ON_2fPoint(float x_, float y_) : x(x_), y(y_) {}

  float x = 0.0f;
  float y = 0.0f;
};

// The difference a - b, each coordinate computed in float.
inline ON_3fVector operator-(const ON_3fPoint& a, const ON_3fPoint& b) {
  return ON_3fVector(ON_Rounded(a.x - b.x), ON_Rounded(a.y - b.y), ON_Rounded(a.z - b.z));
}

#endif
