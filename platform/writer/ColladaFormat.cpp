// COLLADA 1.4.1, the interchange format that SketchUp imports.
#include <time.h>

#include <string>

#include "writer/MeshFormats.h"
#include "writer/MeshList.h"

namespace meshwright {

namespace {

// The current time in UTC, as the asset's dates take it: 2024-05-01T12:00:00Z.
std::string CurrentTime() {
  time_t now = time(nullptr);
  struct tm* utc = gmtime(&now);
  char text[32] = "1970-01-01T00:00:00Z";
  if (utc) strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

void WriteAsset(OutputFile& out) {
  const std::string now = CurrentTime();
  out.Write(
      "  <asset>\n"
      "    <contributor>\n"
      "      <authoring_tool>Meshwright</authoring_tool>\n"
      "    </contributor>\n"
      "    <created>");
  out.Write(now);
  out.Write("</created>\n    <modified>");
  out.Write(now);
  out.Write(
      "</modified>\n"
      "    <up_axis>Z_UP</up_axis>\n"
      "  </asset>\n");
}

// The geometry of the mesh named name; its elements' ids begin with the name.
void WriteGeometry(const ON_Mesh& mesh, const std::string& name, OutputFile& out) {
  const int vertexCount = mesh.VertexCount();
  out.Write("    <geometry id=\"" + name + "-geometry\" name=\"" + name + "\">\n      <mesh>\n");
  out.Write("        <source id=\"" + name + "-positions\">\n");
  out.Write("          <float_array id=\"" + name + "-positions-array\" count=\"");
  out.WriteInt(3LL * vertexCount);
  out.Write("\">");
  for (int v = 0; v < vertexCount; ++v) {
    const ON_3fPoint& point = mesh.m_V[v];
    out.Write(v == 0 ? "" : "\n");
    out.WriteFloats(point.x, point.y, point.z);
  }
  out.Write("</float_array>\n          <technique_common>\n");
  out.Write("            <accessor source=\"#" + name + "-positions-array\" count=\"");
  out.WriteInt(vertexCount);
  out.Write(
      "\" stride=\"3\">\n"
      "              <param name=\"X\" type=\"float\"/>\n"
      "              <param name=\"Y\" type=\"float\"/>\n"
      "              <param name=\"Z\" type=\"float\"/>\n"
      "            </accessor>\n"
      "          </technique_common>\n"
      "        </source>\n");
  out.Write("        <vertices id=\"" + name + "-vertices\">\n");
  out.Write("          <input semantic=\"POSITION\" source=\"#" + name + "-positions\"/>\n        </vertices>\n");
  if (mesh.FaceCount() > 0) {
    out.Write("        <triangles count=\"");
    out.WriteInt(TriangleCount(mesh));
    out.Write("\">\n          <input semantic=\"VERTEX\" source=\"#" + name + "-vertices\" offset=\"0\"/>\n          <p>");
    bool first = true;
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      ForEachTriangle(mesh.m_F[f], [&](int a, int b, int c) {
        out.Write(first ? "" : "\n");
        first = false;
        out.WriteInts(a, b, c);
      });
    }
    out.Write("</p>\n        </triangles>\n");
  }
  out.Write("      </mesh>\n    </geometry>\n");
}

}  // namespace

void WriteCollada(const ON_ClassArray<ON_Mesh>& meshes, OutputFile& out) {
  out.Write(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n");
  WriteAsset(out);

  // A library holds at least one element, so an empty list has none.
  if (meshes.Count() > 0) {
    out.Write("  <library_geometries>\n");
    for (int m = 0; m < meshes.Count(); ++m) WriteGeometry(meshes[m], "mesh" + std::to_string(m + 1), out);
    out.Write("  </library_geometries>\n");
  }

  out.Write(
      "  <library_visual_scenes>\n"
      "    <visual_scene id=\"scene\" name=\"scene\">\n"
      "      <node id=\"model\" name=\"model\">\n");
  for (int m = 0; m < meshes.Count(); ++m) {
    const std::string name = "mesh" + std::to_string(m + 1);
    out.Write("        <node id=\"" + name + "\" name=\"" + name + "\">\n");
    out.Write("          <instance_geometry url=\"#" + name + "-geometry\"/>\n        </node>\n");
  }
  out.Write(
      "      </node>\n"
      "    </visual_scene>\n"
      "  </library_visual_scenes>\n"
      "  <scene>\n"
      "    <instance_visual_scene url=\"#scene\"/>\n"
      "  </scene>\n"
      "</COLLADA>\n");
}

}  // namespace meshwright
