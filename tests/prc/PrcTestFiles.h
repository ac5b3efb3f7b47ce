// PRC files put together by the tests: from sections the tests write bit by bit (for what the
// codec's writer never makes: several file structures, schemas, other tools' entities), or from
// the inflated sections of a file the codec wrote (to damage them past zlib's checksums).
#ifndef VANTRELL_TESTS_PRC_PRCTESTFILES_H
#define VANTRELL_TESTS_PRC_PRCTESTFILES_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "a3dlib/prc/BitWriter.h"

namespace prctest {

using a3d::prc::BitWriter;
using Bytes = std::vector<uint8_t>;

// The finished bytes of what `write` writes.
Bytes BitsOf(const std::function<void(BitWriter&)>& write);

struct FileStructure {
  uint32_t id[4] = {1, 2, 3, 4};
  uint32_t version = 8137;  // authoring version of its sections
  Bytes globals;            // inflated sections
  Bytes tree;
  Bytes tessellations;
};

struct PrcFile {
  std::vector<FileStructure> structures;
  Bytes modelFile;  // inflated
  uint32_t minimalVersion = 8137;
};

// The file: header, each structure's header and deflated sections (empty geometry), model file.
Bytes Assemble(const PrcFile& file);
// The sections of a file with one file structure, inflated; no structure when it has not one.
PrcFile Split(const Bytes& file);

// Pieces of sections.
void EmptyGlobals(BitWriter& out);  // the whole globals section, with an empty schema
void Base(BitWriter& out, const std::string& name);  // no attributes
void BaseWithGraphics(BitWriter& out, const std::string& name, uint32_t id);
// The model file section (empty schema): roots as file-structure id and index + 1.
void ModelFileSection(BitWriter& out, const std::vector<std::pair<const uint32_t*, uint32_t>>& roots,
                      size_t structureCount, double unit = 1.0);

}  // namespace prctest

#endif
