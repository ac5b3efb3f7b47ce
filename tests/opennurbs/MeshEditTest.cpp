#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "MeshFixtures.h"
#include "opennurbs/opennurbs.h"

using mesh_fixtures::Face;
using mesh_fixtures::Faces;
using mesh_fixtures::MakeMesh;
using mesh_fixtures::Point;
using mesh_fixtures::Points;

namespace {

const std::vector<Point> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

// A mesh with or without one entry per vertex in m_N and m_T, and per face in m_FN.
ON_Mesh WithExtras(ON_Mesh mesh, bool normals, bool texture, bool face_normals) {
  if (normals)
    for (int i = 0; i < mesh.VertexCount(); ++i) mesh.m_N.Append(ON_3fVector(0, 0, float(i)));
  if (texture)
    for (int i = 0; i < mesh.VertexCount(); ++i) mesh.m_T.Append(ON_2fPoint(float(i), 0));
  if (face_normals)
    for (int i = 0; i < mesh.FaceCount(); ++i) mesh.m_FN.Append(ON_3fVector(float(i), 0, 0));
  return mesh;
}

}  // namespace

TEST(MeshEdit, ConstructorReservesExactly) {
  const struct {
    int faces, vertices;
    bool normals, texture;
    int f_cap, v_cap, n_cap, t_cap;
  } cases[] = {
      {0, 0, false, false, 0, 0, 0, 0},
      {7, 5, false, false, 7, 5, 0, 0},
      {7, 5, true, false, 7, 5, 5, 0},
      {7, 5, false, true, 7, 5, 0, 5},
      {-3, -1, true, true, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const ON_Mesh m(c.faces, c.vertices, c.normals, c.texture);
    EXPECT_EQ(m.m_F.Capacity(), c.f_cap);
    EXPECT_EQ(m.m_V.Capacity(), c.v_cap);
    EXPECT_EQ(m.m_N.Capacity(), c.n_cap);
    EXPECT_EQ(m.m_T.Capacity(), c.t_cap);
    EXPECT_EQ(m.m_FN.Capacity(), 0);
    EXPECT_EQ(m.VertexCount() + m.FaceCount() + m.m_N.Count() + m.m_T.Count(), 0);
  }
}

TEST(MeshEdit, SetVertexOverwritesAppendsOrRefuses) {
  const struct {
    int index;
    bool result;
    std::vector<Point> after;
  } cases[] = {
      {-1, false, {{1, 1, 1}, {2, 2, 2}}},
      {0, true, {{0.1f, -0.0f, 1e30f}, {2, 2, 2}}},
      {1, true, {{1, 1, 1}, {0.1f, -0.0f, 1e30f}}},
      {2, true, {{1, 1, 1}, {2, 2, 2}, {0.1f, -0.0f, 1e30f}}},
      {3, false, {{1, 1, 1}, {2, 2, 2}}},
      {INT_MAX, false, {{1, 1, 1}, {2, 2, 2}}},
  };
  for (const auto& c : cases) {
    ON_Mesh m = MakeMesh({{1, 1, 1}, {2, 2, 2}}, {});
    EXPECT_EQ(m.SetVertex(c.index, ON_3dPoint(0.1, -0.0, 1e30)), c.result) << c.index;
    EXPECT_EQ(Points(m), c.after) << c.index;
  }
}

TEST(MeshEdit, SetTriangleStoresAndReportsValidity) {
  const struct {
    int f, a, b, c;
    bool result;
    std::vector<Face> after;
  } cases[] = {
      {1, 2, 1, 0, true, {{0, 1, 2, 2}, {2, 1, 0, 0}}},     // append
      {0, 1, 2, 0, true, {{1, 2, 0, 0}}},                   // overwrite
      {1, 0, 1, 1, false, {{0, 1, 2, 2}, {0, 1, 1, 1}}},    // repeated corner, stored
      {1, 2, 0, 2, false, {{0, 1, 2, 2}, {2, 0, 2, 2}}},    // first and third equal
      {1, 0, 1, 3, false, {{0, 1, 2, 2}, {0, 1, 3, 3}}},    // past the vertices, stored
      {0, -1, 1, 2, false, {{-1, 1, 2, 2}}},                // negative, stored
      {2, 0, 1, 2, false, {{0, 1, 2, 2}}},                  // past the faces: nothing stored
      {-1, 0, 1, 2, false, {{0, 1, 2, 2}}},
  };
  for (const auto& c : cases) {
    ON_Mesh m = MakeMesh(kTriangle, {{0, 1, 2, 2}});
    EXPECT_EQ(m.SetTriangle(c.f, c.a, c.b, c.c), c.result) << c.f << ": " << c.a << c.b << c.c;
    EXPECT_EQ(Faces(m), c.after) << c.f << ": " << c.a << c.b << c.c;
  }
}

TEST(MeshEdit, SetTriangleJudgesAgainstTheVerticesOfTheMoment) {
  ON_Mesh m;
  EXPECT_FALSE(m.SetTriangle(0, 0, 1, 2));
  for (int i = 0; i < 3; ++i) m.SetVertex(i, ON_3dPoint(i, 0, 0));
  EXPECT_TRUE(m.SetTriangle(0, 0, 1, 2));
  EXPECT_EQ(m.FaceCount(), 1);
}

TEST(MeshEdit, AppendRaisesIndicesByTheVerticesBefore) {
  ON_Mesh merged;
  merged.Append(MakeMesh(kTriangle, {{0, 1, 2, 2}}));
  merged.Append(MakeMesh({{5, 5, 5}, {6, 6, 6}, {7, 7, 7}, {8, 8, 8}}, {{0, 1, 2, 3}, {3, 2, 1, 1}}));
  merged.Append(MakeMesh(kTriangle, {{2, 1, 0, 0}}));
  EXPECT_EQ(Faces(merged), (std::vector<Face>{{0, 1, 2, 2}, {3, 4, 5, 6}, {6, 5, 4, 4}, {9, 8, 7, 7}}));
  EXPECT_EQ(merged.VertexCount(), 10);
  EXPECT_EQ(Points(merged)[3], (Point{5, 5, 5}));
  EXPECT_EQ(Points(merged)[9], (Point{0, 1, 0}));
}

TEST(MeshEdit, AppendKeepsInvalidIndicesInvalid) {
  ON_Mesh merged = MakeMesh(kTriangle, {});
  merged.Append(MakeMesh(kTriangle, {{0, 1, 3, 3}, {-1, 0, 1, 1}, {0, 1, INT_MAX - 1, INT_MAX - 1}}));
  // Past the vertices: raised, and past them still. Negative: raising would name a real vertex.
  EXPECT_EQ(Faces(merged),
            (std::vector<Face>{{3, 4, 6, 6}, {-1, 3, 4, 4}, {3, 4, INT_MAX, INT_MAX}}));
}

TEST(MeshEdit, AppendWithAnEmptySide) {
  const struct {
    const char* name;
    ON_Mesh self;
    ON_Mesh other;
    std::vector<Face> faces;
    int vertices;
  } cases[] = {
      {"no vertices: own faces dropped", MakeMesh({}, {{0, 1, 2, 2}}),
       MakeMesh(kTriangle, {{2, 1, 0, 0}}), {{2, 1, 0, 0}}, 3},
      {"other without vertices adds nothing", MakeMesh(kTriangle, {{0, 1, 2, 2}}),
       MakeMesh({}, {{0, 1, 2, 2}}), {{0, 1, 2, 2}}, 3},
      {"both without vertices", MakeMesh({}, {{0, 1, 2, 2}}), MakeMesh({}, {{0, 1, 2, 2}}), {}, 0},
      {"vertices only", MakeMesh(kTriangle, {}), MakeMesh(kTriangle, {}), {}, 6},
  };
  for (const auto& c : cases) {
    ON_Mesh m = c.self;
    m.Append(c.other);
    EXPECT_EQ(Faces(m), c.faces) << c.name;
    EXPECT_EQ(m.VertexCount(), c.vertices) << c.name;
  }
}

TEST(MeshEdit, AppendKeepsNormalsOnlyWhenBothSidesHaveThem) {
  const ON_Mesh tri = MakeMesh(kTriangle, {{0, 1, 2, 2}});
  const ON_Mesh bare = MakeMesh(kTriangle, {});
  const struct {
    const char* name;
    ON_Mesh self;
    ON_Mesh other;
    int normals, texture, face_normals;
  } cases[] = {
      {"both have all", WithExtras(tri, true, true, true), WithExtras(tri, true, true, true), 6, 6, 2},
      {"self lacks all", tri, WithExtras(tri, true, true, true), 0, 0, 0},
      {"other lacks all", WithExtras(tri, true, true, true), tri, 0, 0, 0},
      {"only normals on both", WithExtras(tri, true, false, false), WithExtras(tri, true, true, true),
       6, 0, 0},
      {"self empty", ON_Mesh(), WithExtras(tri, true, true, true), 3, 3, 1},
      {"self without faces", WithExtras(bare, true, true, false), WithExtras(tri, true, true, true), 6,
       6, 1},
      {"other without faces", WithExtras(tri, false, false, true), bare, 0, 0, 1},
      {"neither has faces", bare, bare, 0, 0, 0},
  };
  for (const auto& c : cases) {
    ON_Mesh m = c.self;
    m.Append(c.other);
    EXPECT_EQ(m.m_N.Count(), c.normals) << c.name;
    EXPECT_EQ(m.m_T.Count(), c.texture) << c.name;
    EXPECT_EQ(m.m_FN.Count(), c.face_normals) << c.name;
  }
  ON_Mesh m = WithExtras(tri, true, true, true);
  m.Append(WithExtras(tri, true, true, true));
  EXPECT_EQ(m.m_N[5].z, 2.0f);
  EXPECT_EQ(m.m_T[4].x, 1.0f);
  EXPECT_EQ(m.m_FN[1].x, 0.0f);
}

TEST(MeshEdit, AppendToItself) {
  ON_Mesh m = MakeMesh(kTriangle, {{0, 1, 2, 2}});
  m.Append(m);
  EXPECT_EQ(Faces(m), (std::vector<Face>{{0, 1, 2, 2}, {3, 4, 5, 5}}));
  EXPECT_EQ(m.VertexCount(), 6);
}

TEST(MeshEdit, CopiesCarryEverythingButTheTopology) {
  ON_Mesh m = WithExtras(MakeMesh(kTriangle, {{0, 1, 2, 2}}), true, true, true);
  ASSERT_EQ(m.Topology().m_topv_map.Count(), 3);

  const ON_Mesh copy(m);
  EXPECT_EQ(Points(copy), Points(m));
  EXPECT_EQ(Faces(copy), Faces(m));
  EXPECT_EQ(copy.m_FN.Count(), 1);
  EXPECT_EQ(copy.m_N.Count(), 3);
  EXPECT_EQ(copy.m_T.Count(), 3);
  EXPECT_EQ(copy.Topology().m_mesh, &copy);

  ON_Mesh assigned = MakeMesh({{9, 9, 9}}, {});
  ASSERT_EQ(assigned.Topology().m_topv_map.Count(), 1);
  assigned = m;
  EXPECT_EQ(assigned.Topology().m_topv_map.Count(), 3);
  EXPECT_EQ(assigned.Topology().m_mesh, &assigned);
  EXPECT_EQ(assigned.Topology().TopVertexPoint(2).y, 1.0f);
}
