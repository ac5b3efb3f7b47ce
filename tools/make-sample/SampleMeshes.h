// The meshes of the sample document: each entry becomes one 3D annotation.
#ifndef VANTRELL_TOOLS_SAMPLEMESHES_H
#define VANTRELL_TOOLS_SAMPLEMESHES_H

#include <vector>

#include "opennurbs/opennurbs.h"

// A house (a box of quads under a pyramid roof) and, beside it, an octahedron on a post.
std::vector<ON_ClassArray<ON_Mesh>> SampleModels();

#endif
