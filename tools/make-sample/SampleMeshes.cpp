#include "SampleMeshes.h"

namespace {

struct Face {
  int a, b, c, d;  // d == c for a triangle
};

ON_Mesh MakeMesh(const std::vector<ON_3dPoint>& points, const std::vector<Face>& faces) {
  ON_Mesh mesh(static_cast<int>(faces.size()), static_cast<int>(points.size()), false, false);
  for (size_t v = 0; v < points.size(); ++v) mesh.SetVertex(static_cast<int>(v), points[v]);
  for (const Face& f : faces) {
    ON_MeshFace face;
    face.vi[0] = f.a;
    face.vi[1] = f.b;
    face.vi[2] = f.c;
    face.vi[3] = f.d;
    mesh.m_F.Append(face);
  }
  return mesh;
}

// An axis-aligned box as six outward quads.
ON_Mesh Box(double x0, double y0, double z0, double x1, double y1, double z1) {
  return MakeMesh({{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                   {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}},
                  {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}});
}

ON_Mesh Roof() {
  return MakeMesh({{-0.5, -0.5, 4}, {6.5, -0.5, 4}, {6.5, 4.5, 4}, {-0.5, 4.5, 4}, {3, 2, 6.5}},
                  {{0, 1, 4, 4}, {1, 2, 4, 4}, {2, 3, 4, 4}, {3, 0, 4, 4}, {0, 3, 2, 1}});
}

ON_Mesh Octahedron(double cx, double cy, double cz, double r) {
  return MakeMesh({{cx + r, cy, cz}, {cx - r, cy, cz}, {cx, cy + r, cz}, {cx, cy - r, cz}, {cx, cy, cz + r},
                   {cx, cy, cz - r}},
                  {{0, 2, 4, 4}, {2, 1, 4, 4}, {1, 3, 4, 4}, {3, 0, 4, 4},
                   {2, 0, 5, 5}, {1, 2, 5, 5}, {3, 1, 5, 5}, {0, 3, 5, 5}});
}

}  // namespace

std::vector<ON_ClassArray<ON_Mesh>> SampleModels() {
  ON_ClassArray<ON_Mesh> house;
  house.Append(Box(0, 0, 0, 6, 4, 4));
  house.Append(Roof());
  house.Append(Box(2.5, -0.01, 0, 3.5, 0, 2.2));  // the door
  ON_ClassArray<ON_Mesh> tree;
  tree.Append(Box(9.8, 1.8, 0, 10.2, 2.2, 2));
  tree.Append(Octahedron(10, 2, 3.2, 1.4));
  return {house, tree};
}
