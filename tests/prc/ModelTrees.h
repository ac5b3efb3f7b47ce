// Entity trees the tests write and read: the one the PRC builder makes, and one with every link
// and kind the library's Create calls can make.
#ifndef VANTRELL_TESTS_PRC_MODELTREES_H
#define VANTRELL_TESTS_PRC_MODELTREES_H

#include <stdint.h>

#include <vector>

#include "a3dlib/Model.h"

namespace prctest {

// The PRC builder's tree for `triangles` triangles: model file "ModelFile" (unit 1.0), occurrence
// "Model", one part, one poly-brep (flag 1), one 3D tessellation whose one face record has kind
// 0x20 (one normal per triangle) and four entries per triangle: normal offset, three point offsets.
a3d::ModelFile* BuilderTree(a3d::EntityStore& store, uint32_t triangles);

// Several roots, children, a shared occurrence, prototype and external links, a cycle, a shared
// part, items of several kinds (one without tessellation), a shared tessellation, wire and markup
// tessellations, faces of every kind with texture coordinates, awkward names and doubles.
a3d::ModelFile* RichTree(a3d::EntityStore& store);

// The bytes of a PRC file the codec wrote for the tree; none when it could not.
std::vector<uint8_t> Write(const a3d::ModelFile& modelFile);

}  // namespace prctest

#endif
