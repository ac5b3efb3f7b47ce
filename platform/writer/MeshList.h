// What the formats need to know about the meshes they write.
#ifndef VANTRELL_WRITER_MESHLIST_H
#define VANTRELL_WRITER_MESHLIST_H

#include <string>

#include "opennurbs/opennurbs.h"

namespace meshwright {

// Empty when every mesh can be written; otherwise why the first one that cannot be written
// cannot, in plain words ("mesh 2 of 5 has ..."). A mesh cannot be written when a face refers to
// a vertex it does not have, or when a vertex has a coordinate that is not a finite number.
std::string FindUnwritableMesh(const ON_ClassArray<ON_Mesh>& meshes);

// A triangle repeats its third index; any other face is a quad.
inline bool IsQuad(const ON_MeshFace& face) { return face.vi[2] != face.vi[3]; }

// The triangles that a mesh is written as: one per triangle, two per quad.
long long TriangleCount(const ON_Mesh& mesh);

// Calls emit(a, b, c) for each triangle of the face: the triangle itself, or for a quad
// (0, 1, 2) and then (0, 2, 3).
template <typename Emit>
void ForEachTriangle(const ON_MeshFace& face, Emit&& emit) {
  emit(face.vi[0], face.vi[1], face.vi[2]);
  if (IsQuad(face)) emit(face.vi[0], face.vi[2], face.vi[3]);
}

}  // namespace meshwright

#endif
