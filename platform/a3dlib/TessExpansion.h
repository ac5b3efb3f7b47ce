// The face records of a 3D tessellation, read out as plain triangles.
#ifndef VANTRELL_A3DLIB_TESSEXPANSION_H
#define VANTRELL_A3DLIB_TESSEXPANSION_H

#include <stdint.h>

#include <vector>

#include "a3dlib/Model.h"

namespace a3d {

// Expands every face record of `tessellation`, in order, into triangles in the layout the model
// walk reads: six index entries per triangle, the normal offset then the point offset of each
// corner (fans turn around their first point; strips keep the orientation of their first
// triangle). Returns 0 with `out` holding the entries; a non-zero status, `out` left empty, when
// a face cannot be read: a polyface kind, sizes that run short or are left over, or entries past
// the end of the index entries. Nothing is allocated beyond what the index entries can hold.
int ExpandTess3DFaces(const Tess3D& tessellation, std::vector<uint32_t>& out);

}  // namespace a3d

#endif
