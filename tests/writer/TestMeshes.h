// Meshes for the writer's tests.
#ifndef VANTRELL_TESTS_WRITER_TESTMESHES_H
#define VANTRELL_TESTS_WRITER_TESTMESHES_H

#include <array>
#include <vector>

#include "opennurbs/opennurbs.h"

// A mesh with these vertices and faces; a face given with three corners is stored as (a, b, c, c).
inline ON_Mesh MakeMesh(const std::vector<ON_3fPoint>& vertices, const std::vector<std::vector<int>>& faces) {
  ON_Mesh mesh;
  for (const ON_3fPoint& vertex : vertices) mesh.m_V.Append(vertex);
  for (const std::vector<int>& corners : faces) {
    ON_MeshFace face;
    for (int i = 0; i < 4; ++i) face.vi[i] = corners[i < static_cast<int>(corners.size()) ? i : 2];
    mesh.m_F.Append(face);
  }
  return mesh;
}

inline ON_ClassArray<ON_Mesh> MakeList(const std::vector<ON_Mesh>& meshes) {
  ON_ClassArray<ON_Mesh> list;
  for (const ON_Mesh& mesh : meshes) list.Append(mesh);
  return list;
}

#endif
