#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "MeshFixtures.h"
#include "opennurbs/opennurbs.h"

using mesh_fixtures::SameBits;

// Widening is implicit, narrowing must be spelled out.
static_assert(std::is_convertible<ON_3fPoint, ON_3dPoint>::value, "float point widens implicitly");
static_assert(std::is_convertible<ON_3fVector, ON_3dVector>::value, "float vector widens implicitly");
static_assert(!std::is_convertible<ON_3dPoint, ON_3fPoint>::value, "narrowing must be explicit");
static_assert(!std::is_convertible<ON_3dVector, ON_3fVector>::value, "narrowing must be explicit");
static_assert(std::is_constructible<ON_3fPoint, ON_3dPoint>::value, "narrowing exists");
static_assert(std::is_constructible<ON_3fVector, ON_3dVector>::value, "narrowing exists");
static_assert(std::is_same<decltype(ON_3fPoint() - ON_3fPoint()), ON_3fVector>::value,
              "point minus point is a float vector");

TEST(Points, NarrowingCastsEachCoordinate) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double in;
    float out;
  } cases[] = {
      {0.1, 0.1f},                      // rounded to nearest
      {16777217.0, 16777216.0f},        // tie to even
      {-2.5, -2.5f},                    // exact
      {1e300, static_cast<float>(inf)}, // overflow
      {-1e-50, -0.0f},                  // underflow keeps the sign
  };
  for (const auto& c : cases) {
    const ON_3fPoint p(ON_3dPoint(c.in, -c.in, 0.0));
    const ON_3fVector v(ON_3dVector(0.0, c.in, -c.in));
    EXPECT_TRUE(SameBits(p.x, c.out)) << c.in;
    EXPECT_TRUE(SameBits(p.y, -c.out)) << c.in;
    EXPECT_TRUE(SameBits(v.y, c.out)) << c.in;
    EXPECT_TRUE(SameBits(v.z, -c.out)) << c.in;
  }
  const ON_3fPoint nan(ON_3dPoint(std::nan(""), 0.0, 0.0));
  EXPECT_TRUE(std::isnan(nan.x));
}

TEST(Points, WideningIsExact) {
  const ON_3dPoint p = ON_3fPoint(0.1f, -0.0f, 3.0f);
  EXPECT_EQ(p.x, 0.100000001490116119384765625);
  EXPECT_TRUE(std::signbit(p.y));
  const ON_3dVector v = ON_3fVector(1e-45f, 0.0f, -0.1f);
  EXPECT_EQ(v.x, static_cast<double>(1e-45f));
  EXPECT_EQ(v.z, -0.100000001490116119384765625);
}

TEST(Points, DifferenceIsComputedInFloat) {
  const ON_3fVector d = ON_3fPoint(1.0f, 16777216.0f, 0.5f) - ON_3fPoint(1e-8f, 1.0f, 0.75f);
  EXPECT_EQ(d.x, 1.0f);  // 1 - 1e-8 rounds back to 1 in float
  EXPECT_EQ(d.y, 16777215.0f);
  EXPECT_EQ(d.z, -0.25f);
}
