// The stand-in 3D library's model files as real PRC (authoring version 8137). Beside
// a3d::ReadModelFile and a3d::WriteModelFile (Model.h), which this codec implements, the same work
// on bytes in memory.
//
// Reading takes every file structure's tree and tessellations, links across file structures
// included; the exact geometry is not read, so a b-rep item without tessellation loads as an item
// whose tessellation is null. Index entries and face records of 3D tessellations are kept as the
// file has them. The members of a representation-item set take the set's place among its part's
// items (the set itself stays, before them, only when it has a tessellation of its own). A
// compressed tessellation (173) ends the parse of its section: it loads with its type and no
// points, and tessellations after it as type 171 (kind unknown). Markups, views, filters, graphics,
// attributes and transformations are read past. A poly-brep's or b-rep's "closed" bit is its
// modelFlag (1 closed, 0 not).
//
// Writing makes one file structure holding what the model file reaches: occurrences, parts,
// items of kinds 232, 233, 235, 237 and 238, tessellations of types 172, 175 and 176. The same
// tree always gives the same bytes (the ids derive from the content).
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

// Writes the model file and everything beneath it as PRC into `bytes`; 0 on success.
int WriteModelBytes(const ModelFile& modelFile, std::vector<uint8_t>& bytes);

}  // namespace a3d

#endif
