// The stand-in 3D library's entity trees, and the seam to its file codec.
//
// Entities live in an EntityStore, which owns them; handles given out by the library are
// addresses of these objects. Links between entities are plain pointers into the same store, so
// one occurrence may be linked from several places (shared occurrences) and a tree may even hold
// a cycle: nothing here walks the links recursively without a guard.
//
// A tessellation keeps its index entries as they were created or read from a file, with the face
// records that say how to read them; the library hands them out to its callers in the layout the
// callers read (see Tess3D below).
#ifndef VANTRELL_A3DLIB_MODEL_H
#define VANTRELL_A3DLIB_MODEL_H

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

namespace a3d {

// The library's type codes (those of the PRC format).
enum EntityType : int {
  kTypeModelFile = 301,
  kTypeProductOccurrence = 310,
  kTypePartDefinition = 311,
  kTypeBrepModel = 232,
  kTypePolyBrepModel = 237,
  kTypeTess3D = 172,
  kTypeTess3DCompressed = 173,
  kTypeTess3DWire = 175,
  kTypeTessMarkup = 176,
};

struct Entity {
  explicit Entity(int entityType) : type(entityType) {}
  virtual ~Entity() = default;
  int type;
  std::string name;  // set by A3DRootBaseSet, or read from a file
};

// How one face record reads its share of the index entries (the PRC TESS_Face).
struct TessFace {
  uint16_t kind = 0;         // face kind flags: 0x2 triangles, 0x4 fan, 0x8 strip, 0x10.. one normal, 0x100.. textured
  uint32_t indexStart = 0;   // first index entry of this face
  std::vector<uint32_t> sizes;  // triangles: one entry, the triangle count; fans and strips: one per fan or strip
  uint32_t textureCoordIndexCount = 0;  // texture entries per corner in the index entries
};

// Any tessellation. Only 3D tessellations (type 172) carry normals, index entries and faces;
// other kinds carry their points and nothing the system reads.
struct Tessellation : Entity {
  using Entity::Entity;
  std::vector<double> coords;  // x, y, z per point
};

// A 3D tessellation as created or read. When `faces` is empty, the index entries are handed out
// exactly as stored; otherwise each face's entries are expanded into triangles in the layout the
// model walk reads: six entries per triangle, normal offset then point offset for each corner.
struct Tess3D : Tessellation {
  Tess3D() : Tessellation(kTypeTess3D) {}
  std::vector<double> normals;
  std::vector<uint32_t> indices;
  std::vector<TessFace> faces;
  std::vector<double> textureCoords;
};

struct RepresentationItem : Entity {
  using Entity::Entity;  // kTypePolyBrepModel, kTypeBrepModel, ...
  Tessellation* tessellation = nullptr;
};

struct PartDefinition : Entity {
  PartDefinition() : Entity(kTypePartDefinition) {}
  std::vector<RepresentationItem*> items;
};

struct ProductOccurrence : Entity {
  ProductOccurrence() : Entity(kTypeProductOccurrence) {}
  std::vector<ProductOccurrence*> children;
  PartDefinition* partDefinition = nullptr;
  ProductOccurrence* prototype = nullptr;     // handed out as linkedOccurrence1
  ProductOccurrence* externalData = nullptr;  // handed out as linkedOccurrence2
};

struct ModelFile : Entity {
  ModelFile() : Entity(kTypeModelFile) {}
  double unit = 1.0;
  std::vector<ProductOccurrence*> roots;
};

// Owns entities. Make<T>(args) creates one and returns its address, valid until the store
// removes it or goes.
class EntityStore {
 public:
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    std::unique_ptr<T> entity(new T(static_cast<Args&&>(args)...));
    T* address = entity.get();
    m_entities.push_back(std::move(entity));
    return address;
  }
  // The entity with this address, or null when the store holds none.
  Entity* Find(const void* address) const;
  // Removes and destroys the given entities.
  void Remove(const std::vector<Entity*>& entities);
  size_t Count() const { return m_entities.size(); }
  void Clear() { m_entities.clear(); }

 private:
  std::vector<std::unique_ptr<Entity>> m_entities;
};

// The codec: the one place that knows the file format.
//
// ReadModelFile parses the file at `path` and creates its entities in `store`; on success it
// sets *modelFile and returns 0. On any failure (no file, a format it cannot read, damaged data)
// it returns a non-zero status and leaves nothing new in the store.
int ReadModelFile(const std::string& path, EntityStore& store, ModelFile** modelFile);
// WriteModelFile writes the model file and everything beneath it to `path`; 0 on success.
int WriteModelFile(const ModelFile& modelFile, const std::string& path);

}  // namespace a3d

#endif
