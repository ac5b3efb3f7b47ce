// Small meshes written out in tests, and meshes read back as plain vectors for comparison.
#ifndef VANTRELL_TESTS_OPENNURBS_MESHFIXTURES_H
#define VANTRELL_TESTS_OPENNURBS_MESHFIXTURES_H

#include <array>
#include <cstring>
#include <vector>

#include "opennurbs/opennurbs.h"

namespace mesh_fixtures {

using Face = std::array<int, 4>;
using Point = std::array<float, 3>;

// A mesh whose m_V and m_F have exactly the given elements and no spare capacity, so that a read
// past either list is a read past its memory.
inline ON_Mesh MakeMesh(const std::vector<Point>& points, const std::vector<Face>& faces) {
  ON_Mesh mesh(static_cast<int>(faces.size()), static_cast<int>(points.size()), false, false);
  for (const Point& p : points) mesh.m_V.Append(ON_3fPoint(p[0], p[1], p[2]));
  for (const Face& f : faces) mesh.m_F.Append(ON_MeshFace{{f[0], f[1], f[2], f[3]}});
  return mesh;
}

inline std::vector<Face> Faces(const ON_Mesh& mesh) {
  std::vector<Face> faces;
  for (int i = 0; i < mesh.m_F.Count(); ++i) {
    const int* vi = mesh.m_F[i].vi;
    faces.push_back(Face{vi[0], vi[1], vi[2], vi[3]});
  }
  return faces;
}

inline std::vector<Point> Points(const ON_Mesh& mesh) {
  std::vector<Point> points;
  for (int i = 0; i < mesh.m_V.Count(); ++i)
    points.push_back(Point{mesh.m_V[i].x, mesh.m_V[i].y, mesh.m_V[i].z});
  return points;
}

inline std::vector<Point> FaceNormals(const ON_Mesh& mesh) {
  std::vector<Point> normals;
  for (int i = 0; i < mesh.m_FN.Count(); ++i)
    normals.push_back(Point{mesh.m_FN[i].x, mesh.m_FN[i].y, mesh.m_FN[i].z});
  return normals;
}

// Bitwise equality, so that -0 and +0 differ and NaN equals itself.
inline bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace mesh_fixtures

#endif
