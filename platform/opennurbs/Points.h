// Points and vectors in three dimensions, in float and in double, and the float point of two
// dimensions that texture coordinates use.
//
// Widening (float to double) is implicit and exact; narrowing (double to float) must be asked for
// and is a plain cast of each coordinate.
#ifndef VANTRELL_OPENNURBS_POINTS_H
#define VANTRELL_OPENNURBS_POINTS_H

#include "opennurbs/FloatRounding.h"

class ON_3dPoint;
class ON_3dVector;

class ON_2fPoint {
 public:
  ON_2fPoint() = default;
  ON_2fPoint(float x_, float y_) : x(x_), y(y_) {}

  float x = 0.0f;
  float y = 0.0f;
};

class ON_3fPoint {
 public:
  ON_3fPoint() = default;
  ON_3fPoint(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit ON_3fPoint(const ON_3dPoint& p);

  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

class ON_3fVector {
 public:
  ON_3fVector() = default;
  ON_3fVector(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit ON_3fVector(const ON_3dVector& v);

  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

class ON_3dPoint {
 public:
  ON_3dPoint() = default;
  ON_3dPoint(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  ON_3dPoint(const ON_3fPoint& p) : x(p.x), y(p.y), z(p.z) {}  // widening: implicit

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class ON_3dVector {
 public:
  ON_3dVector() = default;
  ON_3dVector(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  ON_3dVector(const ON_3fVector& v) : x(v.x), y(v.y), z(v.z) {}  // widening: implicit

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline ON_3fPoint::ON_3fPoint(const ON_3dPoint& p)
    : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)) {}

inline ON_3fVector::ON_3fVector(const ON_3dVector& v)
    : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)) {}

// The difference a - b, each coordinate computed in float.
inline ON_3fVector operator-(const ON_3fPoint& a, const ON_3fPoint& b) {
  return ON_3fVector(ON_RoundedFloat(a.x - b.x), ON_RoundedFloat(a.y - b.y),
                     ON_RoundedFloat(a.z - b.z));
}

#endif
