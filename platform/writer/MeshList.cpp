// Which meshes can be written, and how many triangles they give.
#include "writer/MeshList.h"

#include <cmath>

namespace meshwright {

namespace {

bool FacesUseOwnVertices(const ON_Mesh& mesh) {
  const int vertexCount = mesh.VertexCount();
  for (int f = 0; f < mesh.FaceCount(); ++f)
    for (int corner : mesh.m_F[f].vi)
      if (corner < 0 || corner >= vertexCount) return false;
  return true;
}

bool CoordinatesFinite(const ON_Mesh& mesh) {
  for (int v = 0; v < mesh.VertexCount(); ++v) {
    const ON_3fPoint& point = mesh.m_V[v];
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) return false;
  }
  return true;
}

}  // namespace

std::string FindUnwritableMesh(const ON_ClassArray<ON_Mesh>& meshes) {
  const int count = meshes.Count();
  for (int m = 0; m < count; ++m) {
    const char* problem = nullptr;
    if (!FacesUseOwnVertices(meshes[m]))
      problem = "has a face that refers to a vertex it does not have";
    else if (!CoordinatesFinite(meshes[m]))
      problem = "has a vertex whose coordinates are not all finite numbers";
    if (problem) return "mesh " + std::to_string(m + 1) + " of " + std::to_string(count) + " " + problem;
  }
  return std::string();
}

long long TriangleCount(const ON_Mesh& mesh) {
  long long triangles = 0;
  for (int f = 0; f < mesh.FaceCount(); ++f) triangles += IsQuad(mesh.m_F[f]) ? 2 : 1;
  return triangles;
}

}  // namespace meshwright
