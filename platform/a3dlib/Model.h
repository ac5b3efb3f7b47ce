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
#include <unordered_map>
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

// Face kinds: the flags of TessFace::kind. A face record may combine several kinds; its entries
// and its sizes then follow one another in the order of the flags, lowest first.
//
// Per corner, the index entries hold a normal offset, then (textured kinds) the texture entries,
// then the point offset. One-normal triangles give their normal once, before the corners. Sizes:
// triangle kinds take one entry, the number of triangles; fan and strip kinds take the number of
// fans (strips), then each one's number of points. In a one-normal fan or strip whose number of
// points carries kFaceSizeSingleNormal, the normal is given once, before its points; without the
// flag it is given per point. Polyface kinds are reserved and cannot be read.
enum TessFaceKind : uint16_t {
  kFacePolyface = 0x0001,
  kFaceTriangle = 0x0002,
  kFaceTriangleFan = 0x0004,
  kFaceTriangleStrip = 0x0008,
  kFacePolyfaceOneNormal = 0x0010,
  kFaceTriangleOneNormal = 0x0020,
  kFaceTriangleFanOneNormal = 0x0040,
  kFaceTriangleStripOneNormal = 0x0080,
  kFacePolyfaceTextured = 0x0100,
  kFaceTriangleTextured = 0x0200,
  kFaceTriangleFanTextured = 0x0400,
  kFaceTriangleStripTextured = 0x0800,
  kFacePolyfaceOneNormalTextured = 0x1000,
  kFaceTriangleOneNormalTextured = 0x2000,
  kFaceTriangleFanOneNormalTextured = 0x4000,
  kFaceTriangleStripOneNormalTextured = 0x8000,
};
constexpr uint32_t kFaceSizeSingleNormal = 0x40000000u;

// How one face record reads its share of the index entries (the PRC TESS_Face).
struct TessFace {
  uint16_t kind = 0;         // face kind flags: 0x2 triangles, 0x4 fan, 0x8 strip, 0x10.. one normal, 0x100.. textured
  uint32_t indexStart = 0;   // first index entry of this face
  std::vector<uint32_t> sizes;  // per kind, as above: triangles, the count; fans and strips, the count then each size
  uint32_t textureCoordIndexCount = 0;  // texture entries per corner in the index entries (0 read as 1 by textured kinds)
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
  // The file leaves the normals to its readers: the index entries of the faces hold no normal
  // offsets, only the texture entries and the point offset of each corner.
  bool normalsRecalculated = false;
};

struct RepresentationItem : Entity {
  using Entity::Entity;  // kTypePolyBrepModel, kTypeBrepModel, ...
  Tessellation* tessellation = nullptr;
  uint16_t modelFlag = 0;  // poly-brep models: the flag they were created with (1: closed)
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

// Calls f(const Entity*) for each entity that `entity` links to directly (roots, children, part
// definition, prototype, external data, items, tessellation), nulls left out, in that order.
template <typename F>
void ForEachLink(const Entity& entity, F&& f) {
  auto visit = [&](const Entity* linked) {
    if (linked) f(linked);
  };
  if (auto* model = dynamic_cast<const ModelFile*>(&entity)) {
    for (const ProductOccurrence* root : model->roots) visit(root);
  } else if (auto* occurrence = dynamic_cast<const ProductOccurrence*>(&entity)) {
    for (const ProductOccurrence* child : occurrence->children) visit(child);
    visit(occurrence->partDefinition);
    visit(occurrence->prototype);
    visit(occurrence->externalData);
  } else if (auto* part = dynamic_cast<const PartDefinition*>(&entity)) {
    for (const RepresentationItem* item : part->items) visit(item);
  } else if (auto* item = dynamic_cast<const RepresentationItem*>(&entity)) {
    visit(item->tessellation);
  }
}

// Owns entities. Make<T>(args) creates one and returns its address, valid until the store
// removes it or goes.
class EntityStore {
 public:
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    std::unique_ptr<T> entity(new T(static_cast<Args&&>(args)...));
    T* address = entity.get();
    m_index.emplace(static_cast<const void*>(address), m_entities.size());
    m_entities.push_back(std::move(entity));
    return address;
  }
  // The entity with this address, or null when the store holds none. Constant time.
  Entity* Find(const void* address) const;
  // Removes and destroys the given entities; addresses the store does not hold are passed over.
  void Remove(const std::vector<Entity*>& entities);
  size_t Count() const { return m_entities.size(); }
  void Clear() {
    m_index.clear();
    m_entities.clear();
  }
  // Calls f(Entity&) for every entity, in the order they were made.
  template <typename F>
  void ForEach(F&& f) const {
    for (const std::unique_ptr<Entity>& entity : m_entities) f(*entity);
  }

 private:
  std::vector<std::unique_ptr<Entity>> m_entities;
  std::unordered_map<const void*, size_t> m_index;  // address -> position in m_entities
};

// The codec: the one place that knows the file format.
//
// ReadModelFile parses the file at `path` and creates its entities in `store`; on success it
// sets *modelFile and returns 0. On any failure (no file, a format it cannot read, damaged data)
// it returns a non-zero status and leaves nothing new in the store.
int ReadModelFile(const std::string& path, EntityStore& store, ModelFile** modelFile);
// ReadModelBytes does the same with the file's `size` bytes at `data`, already read; on failure
// it returns a status of the codec's own.
int ReadModelBytes(const uint8_t* data, size_t size, EntityStore& store, ModelFile** modelFile);
// WriteModelFile writes the model file and everything beneath it to `path`; 0 on success.
int WriteModelFile(const ModelFile& modelFile, const std::string& path);

}  // namespace a3d

#endif
