// Files the writer wrote, read back with assimp (an independent reader), as the triangles of
// each mesh in order. Builds without assimp (Windows) read the files' text themselves
// (ReimportText.cpp), checking the counts they declare.
#ifndef VANTRELL_TESTS_REIMPORT_H
#define VANTRELL_TESTS_REIMPORT_H

#include <array>
#include <string>
#include <vector>

#include "opennurbs/opennurbs.h"

namespace testing_support {

// One triangle: x, y, z of its three corners.
typedef std::array<float, 9> Triangle;
typedef std::vector<Triangle> TriangleMesh;

// The meshes of the file, in the order of their nodes ("mesh0", "mesh1", ...). False, with the
// reader's message, when the file cannot be read.
bool ReimportMeshes(const std::string& path, std::vector<TriangleMesh>* meshes, std::string* error = nullptr);

// The triangles of a mesh list, as a reader should find them.
std::vector<TriangleMesh> TrianglesOf(const ON_ClassArray<ON_Mesh>& meshes);

}  // namespace testing_support

#endif
