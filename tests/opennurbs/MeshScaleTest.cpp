// Meshes of the size the extraction meets (10^6 triangles): every step must stay near linear.
#include <gtest/gtest.h>

#include "opennurbs/opennurbs.h"

namespace {

// A grid of side x side points in two triangles per cell.
ON_Mesh Grid(int side) {
  const int cells = (side - 1) * (side - 1);
  ON_Mesh mesh(2 * cells, side * side, false, false);
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i) mesh.SetVertex(j * side + i, ON_3dPoint(i, j, 0.5 * i));
  int f = 0;
  for (int j = 0; j + 1 < side; ++j)
    for (int i = 0; i + 1 < side; ++i) {
      const int v = j * side + i;
      mesh.SetTriangle(f++, v, v + 1, v + side + 1);
      mesh.SetTriangle(f++, v, v + side + 1, v + side);
    }
  return mesh;
}

}  // namespace

TEST(MeshScale, MillionTriangles) {
  const int side = 708;  // 500 000 cells, 1 000 000 triangles
  const int n = side * side;
  ON_ClassArray<ON_Mesh> list;
  {
    const ON_Mesh grid = Grid(side);
    ASSERT_EQ(grid.FaceCount(), 2 * (side - 1) * (side - 1));
    for (int k = 0; k < 3; ++k) list.Append(grid);
  }

  ON_Mesh merged;
  for (int i = 0; i < list.Count(); ++i) merged.Append(list[i]);
  ASSERT_EQ(merged.VertexCount(), 3 * n);
  EXPECT_TRUE(merged.ConvertQuadsToTriangles());
  EXPECT_TRUE(merged.ComputeFaceNormals());
  EXPECT_EQ(merged.m_FN.Count(), merged.FaceCount());

  const ON_MeshTopology& top = merged.Topology();
  ASSERT_EQ(top.m_topv.Count(), n);
  for (int t = 0; t < n; t += 997) {
    ASSERT_EQ(top.m_topv[t].m_v_count, 3);
    EXPECT_EQ(top.m_topv[t].m_vi[2], t + 2 * n);
  }
  EXPECT_EQ(top.m_topv_map[2 * n + 12345], 12345);
}
