// The stand-in 3D library's model files as real PRC. Beside a3d::ReadModelFile and
// a3d::WriteModelFile (Model.h), which this codec implements, the same work on bytes in memory.
#ifndef VANTRELL_A3DLIB_PRC_PRCCODEC_H
#define VANTRELL_A3DLIB_PRC_PRCCODEC_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "a3dlib/Model.h"

namespace a3d {

// Status codes of the codec (0 is success).
enum PrcCodecStatus : int {
  kPrcOk = 0,
  kPrcCannotOpen = 1,       // the file could not be opened, read or written
  kPrcDamaged = 2,          // not PRC, damaged, or needing a newer reader
  kPrcUnsupported = 3,      // PRC the codec cannot take: a schema, or a tree it cannot write
  kPrcOutOfMemory = 4,
};

// Parses the PRC file held in the `size` bytes at `data` and creates its entities in `store`,
// from the model file down to what its product occurrences reach; sets *modelFile and returns 0.
// On failure returns a status above and leaves nothing new in the store.
int ReadModelBytes(const uint8_t* data, size_t size, EntityStore& store, ModelFile** modelFile);

// Writes the model file and everything beneath it as PRC into `bytes`; 0 on success.
int WriteModelBytes(const ModelFile& modelFile, std::vector<uint8_t>& bytes);

}  // namespace a3d

#endif
