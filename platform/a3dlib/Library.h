// The stand-in 3D library's state from its load to its unload: whether it is initialised, the
// entities it handed out, the arrays its Gets handed out, and how often each entry point was
// called.
#ifndef VANTRELL_A3DLIB_LIBRARY_H
#define VANTRELL_A3DLIB_LIBRARY_H

#include <stdint.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "a3dlib/Model.h"
#include "extraction/A3DEntryPointNames.h"
#include "extraction/A3DRecords.h"

namespace a3d {

// The names by slot (A3DEntryPointSlot).
extern const char* const kEntryPointNames[kA3DEntryPointCount];

// The addresses of the arrays a record holds.
using Arrays = std::vector<const void*>;

// The arrays that Gets hand out in records, each kept until a release gives it back.
class RecordMemory {
 public:
  // Keeps `values` and returns their address, or null (keeping nothing) when there are none.
  template <typename T>
  T* Keep(std::vector<T>&& values) {
    if (values.empty()) return nullptr;
    auto block = std::make_unique<VectorBlock<T>>(std::move(values));
    T* address = block->values.data();
    m_blocks.emplace(address, std::move(block));
    return address;
  }
  // Keeps one face record of kind triangles that describes `triangles` triangles from entry 0.
  TessFaceRecord* KeepTriangleFace(uint32_t triangles);
  // Whether every non-null address is one that this keeps.
  bool KeepsAll(const Arrays& addresses) const;
  // Frees what these addresses hold; null and unknown addresses are passed over.
  void Free(const Arrays& addresses);
  size_t Outstanding() const { return m_blocks.size(); }
  void Clear() { m_blocks.clear(); }

 private:
  struct Block {
    virtual ~Block() = default;
  };
  template <typename T>
  struct VectorBlock : Block {
    explicit VectorBlock(std::vector<T>&& v) : values(std::move(v)) {}
    std::vector<T> values;
  };
  struct FaceBlock : Block {
    TessFaceRecord record;
    uint32_t triangles;
  };
  std::unordered_map<const void*, std::unique_ptr<Block>> m_blocks;
};

struct LibraryState {
  bool initialised = false;
  EntityStore store;
  RecordMemory memory;
  uint32_t calls[kA3DEntryPointCount] = {};  // calls that were not releases, since the load
};

// The one state of this load of the library.
LibraryState& Library();

// Deletes the model file and every entity beneath it that no other model file and no entity
// outside every model file still uses. Returns the number of entities deleted.
size_t DeleteModelFile(EntityStore& store, ModelFile* modelFile);

}  // namespace a3d

#endif
