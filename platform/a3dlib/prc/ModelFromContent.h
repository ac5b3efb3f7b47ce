// Turning what the reader took from a PRC file into the library's entities.
#ifndef VANTRELL_A3DLIB_PRC_MODELFROMCONTENT_H
#define VANTRELL_A3DLIB_PRC_MODELFROMCONTENT_H

#include "a3dlib/Model.h"
#include "a3dlib/prc/PrcContent.h"

namespace a3d {
namespace prc {

// Creates, in `store`, the model file and every entity its roots reach, moving the bulk data
// out of `content`. References are resolved across file structures; one that points nowhere is
// damage (FormatError). An item whose tessellation the reader could not reach gets a
// tessellation of type 171 (kind unknown). Nothing new stays in the store when this throws.
ModelFile* BuildModel(PrcContent& content, EntityStore& store);

}  // namespace prc
}  // namespace a3d

#endif
