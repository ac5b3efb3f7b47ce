#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "MeshFixtures.h"
#include "opennurbs/opennurbs.h"

using mesh_fixtures::MakeMesh;
using mesh_fixtures::Point;
using mesh_fixtures::SameBits;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<int> Map(const ON_MeshTopology& top) {
  std::vector<int> map;
  for (int i = 0; i < top.m_topv_map.Count(); ++i) map.push_back(top.m_topv_map[i]);
  return map;
}

std::vector<std::vector<int>> VertexLists(const ON_MeshTopology& top) {
  std::vector<std::vector<int>> lists;
  for (int t = 0; t < top.m_topv.Count(); ++t)
    lists.emplace_back(top.m_topv[t].m_vi, top.m_topv[t].m_vi + top.m_topv[t].m_v_count);
  return lists;
}

}  // namespace

TEST(MeshTopology, SharingAndNumbering) {
  const float below_one = std::nextafter(1.0f, 0.0f);
  const struct {
    const char* name;
    std::vector<Point> points;
    std::vector<int> map;
    std::vector<std::vector<int>> lists;
  } cases[] = {
      {"numbered by first appearance",
       {{5, 5, 5}, {1, 2, 3}, {5, 5, 5}, {0, 0, 0}, {1, 2, 3}, {5, 5, 5}},
       {0, 1, 0, 2, 1, 0},
       {{0, 2, 5}, {1, 4}, {3}}},
      {"-0 equals +0", {{-0.0f, 0, 1}, {0, -0.0f, 1}, {0, 0, 1}}, {0, 0, 0}, {{0, 1, 2}}},
      {"NaN equals nothing, not even itself",
       {{kNaN, 0, 0}, {kNaN, 0, 0}, {0, 0, kNaN}, {1, 1, 1}, {1, 1, 1}},
       {0, 1, 2, 3, 3},
       {{0}, {1}, {2}, {3, 4}}},
      {"one unit in the last place apart", {{1, 1, 1}, {1, below_one, 1}, {1, 1, 1}}, {0, 1, 0},
       {{0, 2}, {1}}},
      {"coordinates in another order", {{1, 2, 3}, {3, 2, 1}, {2, 1, 3}}, {0, 1, 2},
       {{0}, {1}, {2}}},
  };
  for (const auto& c : cases) {
    const ON_Mesh m = MakeMesh(c.points, {});  // no faces: every vertex still has its own entry
    const ON_MeshTopology& top = m.Topology();
    EXPECT_EQ(top.m_mesh, &m) << c.name;
    EXPECT_EQ(Map(top), c.map) << c.name;
    EXPECT_EQ(VertexLists(top), c.lists) << c.name;
  }
}

TEST(MeshTopology, TopVertexPointIsThatOfTheLowestVertex) {
  const ON_Mesh m = MakeMesh({{3, 3, 3}, {0, -0.0f, 1}, {0, 0, 1}}, {{0, 1, 2, 2}});
  const ON_MeshTopology& top = m.Topology();
  ASSERT_EQ(top.m_topv.Count(), 2);
  EXPECT_EQ(top.TopVertexPoint(0).x, 3.0f);
  const ON_3fPoint p = top.TopVertexPoint(top.m_topv_map[2]);
  EXPECT_TRUE(SameBits(p.y, -0.0f));  // vertex 1 stands for vertex 2
  for (int t : {-1, 2}) {
    const ON_3fPoint none = top.TopVertexPoint(t);
    EXPECT_EQ(none.x + none.y + none.z, 0.0f) << t;
  }
}

TEST(MeshTopology, IgnoresFacesAndNeedsVertices) {
  const ON_Mesh bad_faces = MakeMesh({{1, 1, 1}, {1, 1, 1}}, {{0, 1, 7, 7}, {-4, 0, 1, 9}});
  EXPECT_EQ(Map(bad_faces.Topology()), (std::vector<int>{0, 0}));

  const ON_Mesh empty = MakeMesh({}, {{0, 1, 2, 2}});
  EXPECT_EQ(empty.Topology().m_topv_map.Count(), 0);
  EXPECT_EQ(empty.Topology().m_topv.Count(), 0);
}

TEST(MeshTopology, RebuiltAfterAppend) {
  ON_Mesh m = MakeMesh({{1, 1, 1}, {2, 2, 2}}, {});
  ASSERT_EQ(m.Topology().m_topv.Count(), 2);
  m.Append(MakeMesh({{2, 2, 2}, {3, 3, 3}}, {}));
  EXPECT_EQ(Map(m.Topology()), (std::vector<int>{0, 1, 1, 2}));
  EXPECT_EQ(m.Topology().TopVertexPoint(2).x, 3.0f);
}

// The list moves its meshes when it grows; a topology built before must follow its mesh.
TEST(MeshTopology, FollowsItsMeshWhenTheListGrows) {
  ON_ClassArray<ON_Mesh> list;
  list.Append(MakeMesh({{4, 5, 6}}, {}));
  ASSERT_EQ(list[0].Topology().m_topv.Count(), 1);
  for (int i = 0; i < 20; ++i) list.Append(MakeMesh({{float(i), 0, 0}}, {}));
  const ON_MeshTopology& top = list[0].Topology();
  EXPECT_EQ(top.m_mesh, &list[0]);
  EXPECT_EQ(top.TopVertexPoint(0).z, 6.0f);

  ON_Mesh moved(std::move(list[0]));
  EXPECT_EQ(moved.Topology().m_mesh, &moved);
  EXPECT_EQ(moved.Topology().TopVertexPoint(0).y, 5.0f);
}
