// Reading the inflated sections of a PRC file. Each throws FormatError on damaged data.
#ifndef VANTRELL_A3DLIB_PRC_SECTIONREADERS_H
#define VANTRELL_A3DLIB_PRC_SECTIONREADERS_H

#include <stddef.h>
#include <stdint.h>

#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/PrcContent.h"

namespace a3d {
namespace prc {

// The globals: their schema must be empty. The rest (colours, styles, materials, ...) is read
// past as far as it goes; the model keeps none of it, so its damage is not the model's.
void ReadGlobalsSection(BitReader& bits, uint32_t version);
// The tree: part definitions, then product occurrences.
void ReadTreeSection(BitReader& bits, uint32_t version, FileStructureContent& content);
// The tessellations, up to the first one of a kind the codec cannot read past.
void ReadTessellationSection(BitReader& bits, uint32_t version, FileStructureContent& content);
// The model file: its schema must be empty.
void ReadModelFileSection(BitReader& bits, uint32_t version, ModelFileContent& content);

}  // namespace prc
}  // namespace a3d

#endif
