#include "a3dlib/Library.h"

#include <string.h>

#include <string>
#include <unordered_set>

#include "a3dlib/Control.h"

namespace a3d {

const char* const kEntryPointNames[kA3DEntryPointCount] = {
#define VANTRELL_A3D_NAME(name) #name,
    A3D_ENTRY_POINTS(VANTRELL_A3D_NAME)
#undef VANTRELL_A3D_NAME
};

TessFaceRecord* RecordMemory::KeepTriangleFace(uint32_t triangles) {
  auto block = std::make_unique<FaceBlock>();
  memset(&block->record, 0, sizeof block->record);
  block->record.structSize = sizeof(TessFaceRecord);
  block->record.faceKind = kFaceTriangle;
  block->record.indexStart = 0;
  block->triangles = triangles;
  block->record.sizeCount = 1;
  block->record.sizes = &block->triangles;
  TessFaceRecord* address = &block->record;
  m_blocks.emplace(address, std::move(block));
  return address;
}

bool RecordMemory::KeepsAll(const Arrays& addresses) const {
  for (const void* address : addresses)
    if (address && !m_blocks.count(address)) return false;
  return true;
}

void RecordMemory::Free(const Arrays& addresses) {
  for (const void* address : addresses)
    if (address) m_blocks.erase(address);
}

namespace {

// Logs the load and the unload; at the unload, everything still held goes.
struct Lifetime {
  Lifetime() {
    if (LogEnabled()) LogLine("load variant=" VANTRELL_A3D_VARIANT);
  }
  ~Lifetime() {
    if (LogEnabled()) LogLine("unload unreleased=" + std::to_string(state.memory.Outstanding()));
  }
  LibraryState state;
};

Lifetime g_lifetime;

// Adds to `marked` every entity reachable from `roots`, the roots included.
void Mark(const std::vector<const Entity*>& roots, std::unordered_set<const Entity*>& marked) {
  std::vector<const Entity*> pending;
  for (const Entity* root : roots)
    if (marked.insert(root).second) pending.push_back(root);
  while (!pending.empty()) {
    const Entity* entity = pending.back();
    pending.pop_back();
    ForEachLink(*entity, [&](const Entity* linked) {
      if (marked.insert(linked).second) pending.push_back(linked);
    });
  }
}

}  // namespace

LibraryState& Library() { return g_lifetime.state; }

size_t DeleteModelFile(EntityStore& store, ModelFile* modelFile) {
  std::vector<const Entity*> all;
  std::vector<const Entity*> modelFiles;
  store.ForEach([&](const Entity& entity) {
    all.push_back(&entity);
    if (dynamic_cast<const ModelFile*>(&entity)) modelFiles.push_back(&entity);
  });
  std::unordered_set<const Entity*> attached;
  Mark(modelFiles, attached);

  // What keeps an entity: the other model files, and the entities that belong to no model file.
  std::vector<const Entity*> keepers;
  for (const Entity* other : modelFiles)
    if (other != modelFile) keepers.push_back(other);
  for (const Entity* entity : all)
    if (!attached.count(entity)) keepers.push_back(entity);
  std::unordered_set<const Entity*> kept;
  Mark(keepers, kept);

  std::unordered_set<const Entity*> beneath;
  Mark({modelFile}, beneath);
  std::vector<Entity*> doomed;
  for (const Entity* entity : beneath)
    if (!kept.count(entity)) doomed.push_back(const_cast<Entity*>(entity));
  store.Remove(doomed);
  return doomed.size();
}

}  // namespace a3d
