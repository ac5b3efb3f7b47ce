// Wavefront OBJ. Vertex numbers run on across the objects of the file, starting at 1.
#include "writer/MeshFormats.h"
#include "writer/MeshList.h"

namespace meshwright {

void WriteObj(const ON_ClassArray<ON_Mesh>& meshes, OutputFile& out) {
  out.Write("# Written by Meshwright\n");
  long long firstVertex = 1;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    out.Write("o mesh");
    out.WriteInt(m + 1);
    out.Write("\n");
    for (int v = 0; v < mesh.VertexCount(); ++v) {
      const ON_3fPoint& point = mesh.m_V[v];
      out.Write("v ");
      out.WriteFloats(point.x, point.y, point.z);
      out.Write("\n");
    }
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      ForEachTriangle(mesh.m_F[f], [&](int a, int b, int c) {
        out.Write("f ");
        out.WriteInts(firstVertex + a, firstVertex + b, firstVertex + c);
        out.Write("\n");
      });
    }
    firstVertex += mesh.VertexCount();
  }
}

}  // namespace meshwright
