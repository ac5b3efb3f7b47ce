#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "MeshFixtures.h"
#include "opennurbs/opennurbs.h"

using mesh_fixtures::Face;
using mesh_fixtures::FaceNormals;
using mesh_fixtures::Faces;
using mesh_fixtures::MakeMesh;
using mesh_fixtures::Point;
using mesh_fixtures::SameBits;

namespace {

const std::vector<Point> kSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
// Diagonal 1-3 shorter than 0-2.
const std::vector<Point> kWide = {{-2, 0, 0}, {0, -1, 0}, {2, 0, 0}, {0, 1, 0}};
// Diagonal 0-2 shorter than 1-3.
const std::vector<Point> kTall = {{0, -1, 0}, {2, 0, 0}, {0, 1, 0}, {-2, 0, 0}};

std::vector<Point> Concat(std::vector<Point> a, const std::vector<Point>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(QuadSplit, Cases) {
  const struct {
    const char* name;
    std::vector<Point> points;
    std::vector<Face> faces;
    std::vector<Face> after;
    bool result;
  } cases[] = {
      {"tie goes to 0-2", kSquare, {{0, 1, 2, 3}}, {{0, 1, 2, 2}, {0, 2, 3, 3}}, true},
      {"1-3 shorter", kWide, {{0, 1, 2, 3}}, {{0, 1, 3, 3}, {1, 2, 3, 3}}, true},
      {"0-2 shorter", kTall, {{0, 1, 2, 3}}, {{0, 1, 2, 2}, {0, 2, 3, 3}}, true},
      {"new faces in the order of their quads",
       Concat(kWide, kSquare),
       {{0, 1, 2, 3}, {0, 1, 2, 2}, {4, 5, 6, 7}},
       {{0, 1, 3, 3}, {0, 1, 2, 2}, {4, 5, 6, 6}, {1, 2, 3, 3}, {4, 6, 7, 7}},
       true},
      {"invalid quads stay",
       kSquare,
       {{0, 1, 2, 0}, {0, 1, 1, 2}, {0, 1, 2, 4}, {-1, 0, 1, 2}},
       {{0, 1, 2, 0}, {0, 1, 1, 2}, {0, 1, 2, 4}, {-1, 0, 1, 2}},
       false},
      {"invalid triangle stays beside a split",
       kSquare,
       {{0, 0, 1, 1}, {0, 1, 2, 3}},
       {{0, 0, 1, 1}, {0, 1, 2, 2}, {0, 2, 3, 3}},
       false},
      {"triangle past the vertices", kSquare, {{0, 1, 4, 4}}, {{0, 1, 4, 4}}, false},
      {"valid triangles only", kSquare, {{0, 1, 2, 2}, {3, 2, 0, 0}}, {{0, 1, 2, 2}, {3, 2, 0, 0}},
       true},
      {"no faces", kSquare, {}, {}, true},
      {"nothing at all", {}, {}, {}, true},
  };
  for (const auto& c : cases) {
    ON_Mesh m = MakeMesh(c.points, c.faces);
    EXPECT_EQ(m.ConvertQuadsToTriangles(), c.result) << c.name;
    EXPECT_EQ(Faces(m), c.after) << c.name;
    EXPECT_EQ(m.m_FN.Count(), 0) << c.name;  // none before, none after
  }
}

TEST(QuadSplit, RecomputesTheNormalsOfBothHalves) {
  ON_Mesh m = MakeMesh(Concat(kWide, {{0, 0, 1}}), {{0, 1, 2, 3}, {0, 1, 4, 4}});
  m.m_FN.Append(ON_3fVector(9, 9, 9));
  m.m_FN.Append(ON_3fVector(8, 8, 8));
  ASSERT_TRUE(m.ConvertQuadsToTriangles());

  ON_Mesh fresh(m);
  fresh.ComputeFaceNormals();
  const std::vector<Point> normals = FaceNormals(m);
  ASSERT_EQ(normals.size(), 3u);
  EXPECT_EQ(normals[0], FaceNormals(fresh)[0]);
  EXPECT_EQ(normals[1], (Point{8, 8, 8}));  // not split: left as it was
  EXPECT_EQ(normals[2], FaceNormals(fresh)[2]);
  EXPECT_EQ(normals[2], (Point{0, 0, 1}));
}

TEST(FaceNormals, Values) {
  const float e = 1.0f / 8192;
  const double root10 = std::sqrt(10.0);
  const double tilted = std::sqrt(1.0 + (1.0 + e) * (1.0 + e));
  const double root6 = std::sqrt(6.0);
  const struct {
    const char* name;
    std::vector<Point> points;
    Face face;
    Point normal;
  } cases[] = {
      // y = 0 * -1 - 0 * 0 = -0: the sign of a zero follows the component formula.
      {"unit triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2, 2}, {0, -0.0f, 1}},
      {"reversed", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 2, 1, 1}, {0, 0, -1}},
      // Cross product (1, 0, 3): normalising in float would give z = 0.948683262.
      {"normalised in double",
       {{0, 0, 0}, {3, 1, -1}, {0, 1, 0}},
       {0, 1, 2, 2},
       {float(1 / root10), -0.0f, float(3 / root10)}},
      // (1+e)(1-e) rounds to 1 in float, so the x component cancels to exactly 0.
      {"cross product in float",
       {{0, 0, 0}, {-1, e, e}, {0, 1 + e, 1}},
       {0, 1, 2, 2},
       {0, float(1 / tilted), float(-(1 + e) / tilted)}},
      // A quad takes its two diagonals: (V2 - V0) x (V3 - V1).
      {"skew quad",
       {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}},
       {0, 1, 2, 3},
       {float(1 / root6), float(-1 / root6), float(2 / root6)}},
      {"collinear", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {0, 1, 2, 2}, {0, 0, 0}},
      {"repeated corner", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 0, 2, 2}, {0, 0, 0}},
      {"underflows to zero", {{0, 0, 0}, {1e-30f, 0, 0}, {0, 1e-30f, 0}}, {0, 1, 2, 2}, {0, 0, 0}},
      {"overflows", {{0, 0, 0}, {3e38f, 0, 0}, {0, 3e38f, 0}}, {0, 1, 2, 2}, {0, 0, 0}},
      {"NaN corner",
       {{0, 0, 0}, {1, 0, 0}, {std::numeric_limits<float>::quiet_NaN(), 1, 0}},
       {0, 1, 2, 2},
       {0, 0, 0}},
      {"index past the vertices", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 3, 3}, {0, 0, 0}},
      {"fourth index past the vertices", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2, 3}, {0, 0, 0}},
      {"negative index", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {-1, 1, 2, 2}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    ON_Mesh m = MakeMesh(c.points, {c.face});
    EXPECT_TRUE(m.ComputeFaceNormals()) << c.name;
    ASSERT_EQ(m.m_FN.Count(), 1) << c.name;
    const ON_3fVector n = m.m_FN[0];
    EXPECT_TRUE(SameBits(n.x, c.normal[0]) && SameBits(n.y, c.normal[1]) &&
                SameBits(n.z, c.normal[2]))
        << c.name << ": " << n.x << " " << n.y << " " << n.z;
  }
}

TEST(FaceNormals, OneEntryPerFace) {
  ON_Mesh m = MakeMesh(kSquare, {{0, 1, 2, 2}, {0, 2, 3, 3}});
  for (int i = 0; i < 5; ++i) m.m_FN.Append(ON_3fVector(7, 7, 7));
  EXPECT_TRUE(m.ComputeFaceNormals());
  EXPECT_EQ(FaceNormals(m), (std::vector<Point>{{0, 0, 1}, {0, 0, 1}}));

  ON_Mesh none = MakeMesh(kSquare, {});
  none.m_FN.Append(ON_3fVector(7, 7, 7));
  EXPECT_FALSE(none.ComputeFaceNormals());
  EXPECT_EQ(none.m_FN.Count(), 0);
}
