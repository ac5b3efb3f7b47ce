// Reading a whole PRC file: its uncompressed header, each file structure's header, globals,
// tree and tessellation sections (the exact geometry is not read: the model has no use for it),
// and the model file.
#ifndef VANTRELL_A3DLIB_PRC_PRCFILEREADER_H
#define VANTRELL_A3DLIB_PRC_PRCFILEREADER_H

#include <stddef.h>
#include <stdint.h>

#include "a3dlib/prc/PrcContent.h"

namespace a3d {
namespace prc {

// Throws FormatError when the file is damaged, of a version it cannot read, or has a schema.
PrcContent ReadPrcContent(const uint8_t* data, size_t size);

}  // namespace prc
}  // namespace a3d

#endif
