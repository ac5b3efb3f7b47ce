// What the reader takes from a PRC file, before it becomes entities: every file structure's
// occurrences, parts with their items, and tessellations, with the references between them as
// the file gives them (indices, and file-structure ids across file structures).
#ifndef VANTRELL_A3DLIB_PRC_PRCCONTENT_H
#define VANTRELL_A3DLIB_PRC_PRCCONTENT_H

#include <stdint.h>

#include <string>
#include <vector>

#include "a3dlib/Model.h"

namespace a3d {
namespace prc {

struct UniqueId {
  uint32_t words[4] = {0, 0, 0, 0};
  bool operator==(const UniqueId& other) const {
    return words[0] == other.words[0] && words[1] == other.words[1] && words[2] == other.words[2] &&
           words[3] == other.words[3];
  }
  bool operator<(const UniqueId& other) const {
    for (int i = 0; i < 4; ++i)
      if (words[i] != other.words[i]) return words[i] < other.words[i];
    return false;
  }
};

struct TessellationContent {
  uint32_t type = 0;  // 172, 173, 175 or 176
  std::vector<double> coords;
  // 3D tessellations only:
  std::vector<double> normals;
  std::vector<uint32_t> indices;
  std::vector<TessFace> faces;
  std::vector<double> textureCoords;
  bool normalsRecalculated = false;
};

struct ItemContent {
  uint32_t type = 0;
  std::string name;
  uint32_t tessellation = 0;  // index + 1 in the file structure's tessellations; 0 for none
  bool closed = false;        // b-rep and poly-brep models
};

struct PartContent {
  std::string name;
  std::vector<ItemContent> items;
};

// A link to an occurrence that may sit in another file structure.
struct OccurrenceLink {
  uint32_t index = 0;  // index + 1; 0 for none
  bool sameFileStructure = true;
  UniqueId fileStructure;  // when not in the same one
};

struct OccurrenceContent {
  std::string name;
  uint32_t part = 0;  // index + 1 in the file structure's parts; 0 for none
  OccurrenceLink prototype;
  OccurrenceLink externalData;
  std::vector<uint32_t> children;  // indices in the same file structure
};

struct FileStructureContent {
  UniqueId id;
  uint32_t authoringVersion = 0;
  std::vector<PartContent> parts;
  std::vector<OccurrenceContent> occurrences;
  // The tessellations read, in order. When one could not be read, the section's parse ended
  // there: `tessellationCount` says how many the file declared.
  std::vector<TessellationContent> tessellations;
  uint32_t tessellationCount = 0;
};

struct RootReference {
  UniqueId fileStructure;
  uint32_t index = 0;  // index + 1 of the occurrence in that file structure
};

struct ModelFileContent {
  std::string name;
  double unit = 1.0;
  std::vector<RootReference> roots;
};

struct PrcContent {
  std::vector<FileStructureContent> fileStructures;
  ModelFileContent modelFile;
};

}  // namespace prc
}  // namespace a3d

#endif
