// A private file format for model files, standing in until model files are real PRC.
//
// Layout, all numbers little-endian:
//   "VA3DSMP1"                 magic, 8 bytes
//   u64 body length
//   body
//   u64 checksum of the body   (see Checksum)
// Body:
//   u32 entity count, at least 1; entity 0 is the model file
//   per entity: u8 class, i32 type code
//   per entity: u32 name length, name bytes, then by class:
//     model file:          f64 unit, u32 n, n refs (product occurrences)
//     product occurrence:  u32 n, n refs (children), ref part definition, ref prototype,
//                          ref external data
//     part definition:     u32 n, n refs (representation items)
//     representation item: u16 model flag, ref tessellation
//     tessellation:        u32 n, n f64 coordinates
//     3D tessellation:     coordinates as above; u32 n, n f64 normals; u32 n, n u32 index
//                          entries; u32 n faces, each u16 kind, u32 index start, u32 texture
//                          entries per corner, u32 n, n u32 sizes; u32 n, n f64 texture coords
// A ref is a u32: 0 for none, k for entity k-1. Doubles are stored as their bits.
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <type_traits>
#include <unordered_map>

#include "a3dlib/Model.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the simple codec copies numbers in little-endian order"
#endif

namespace a3d {

namespace {

const char kMagic[8] = {'V', 'A', '3', 'D', 'S', 'M', 'P', '1'};
const size_t kHeaderSize = 16;
const size_t kTrailerSize = 8;

enum Class : uint8_t {
  kClassModelFile = 1,
  kClassProductOccurrence = 2,
  kClassPartDefinition = 3,
  kClassRepresentationItem = 4,
  kClassTessellation = 5,
  kClassTess3D = 6,
};

Class ClassOf(const Entity& entity) {
  if (dynamic_cast<const ModelFile*>(&entity)) return kClassModelFile;
  if (dynamic_cast<const ProductOccurrence*>(&entity)) return kClassProductOccurrence;
  if (dynamic_cast<const PartDefinition*>(&entity)) return kClassPartDefinition;
  if (dynamic_cast<const RepresentationItem*>(&entity)) return kClassRepresentationItem;
  if (dynamic_cast<const Tess3D*>(&entity)) return kClassTess3D;
  return kClassTessellation;
}

// Word-wise multiply-xor hash: a change of any one word always changes the result.
uint64_t Checksum(const uint8_t* data, size_t size) {
  uint64_t hash = 0xcbf29ce484222325ull ^ size;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    memcpy(&word, data + i, 8);
    hash = (hash ^ word) * 0x100000001b3ull;
    hash ^= hash >> 29;
  }
  uint64_t tail = 0;
  memcpy(&tail, data + i, size - i);
  hash = (hash ^ tail) * 0x100000001b3ull;
  return hash ^ (hash >> 32);
}

class Writer {
 public:
  template <typename T>
  void Put(T value) {
    Bytes(&value, sizeof value);
  }
  template <typename T>
  void Array(const std::vector<T>& values) {
    Put(static_cast<uint32_t>(values.size()));
    if (!values.empty()) Bytes(values.data(), values.size() * sizeof(T));
  }
  void Bytes(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    m_data.insert(m_data.end(), bytes, bytes + size);
  }
  std::vector<uint8_t>& data() { return m_data; }

 private:
  std::vector<uint8_t> m_data;
};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
  template <typename T>
  bool Get(T* value) {
    return Bytes(value, sizeof *value);
  }
  // Checks the count against the bytes left before anything is allocated.
  template <typename T>
  bool Array(std::vector<T>* values) {
    uint32_t count = 0;
    if (!Get(&count) || count > m_left / sizeof(T)) return false;
    values->resize(count);
    return count == 0 || Bytes(values->data(), count * sizeof(T));
  }
  bool String(std::string* text) {
    uint32_t length = 0;
    if (!Get(&length) || length > m_left) return false;
    text->assign(reinterpret_cast<const char*>(m_data), length);
    m_data += length;
    m_left -= length;
    return true;
  }
  bool Bytes(void* out, size_t size) {
    if (size > m_left) return false;
    memcpy(out, m_data, size);
    m_data += size;
    m_left -= size;
    return true;
  }
  size_t left() const { return m_left; }

 private:
  const uint8_t* m_data;
  size_t m_left;
};

// Numbers the entities reachable from the model file, the model file first.
std::vector<const Entity*> Reachable(const ModelFile& modelFile, std::unordered_map<const Entity*, uint32_t>& numbers) {
  std::vector<const Entity*> order;
  auto visit = [&](const Entity* entity) {
    if (numbers.emplace(entity, static_cast<uint32_t>(order.size())).second) order.push_back(entity);
  };
  visit(&modelFile);
  for (size_t next = 0; next < order.size(); ++next) ForEachLink(*order[next], visit);
  return order;
}

std::vector<uint8_t> Encode(const ModelFile& modelFile) {
  std::unordered_map<const Entity*, uint32_t> numbers;
  std::vector<const Entity*> order = Reachable(modelFile, numbers);
  auto ref = [&](const Entity* entity) { return entity ? numbers.at(entity) + 1 : 0u; };

  Writer out;
  out.Bytes(kMagic, sizeof kMagic);
  out.Put(uint64_t(0));  // body length, filled in below
  out.Put(static_cast<uint32_t>(order.size()));
  for (const Entity* entity : order) {
    out.Put(static_cast<uint8_t>(ClassOf(*entity)));
    out.Put(static_cast<int32_t>(entity->type));
  }
  for (const Entity* entity : order) {
    out.Put(static_cast<uint32_t>(entity->name.size()));
    out.Bytes(entity->name.data(), entity->name.size());
    switch (ClassOf(*entity)) {
      case kClassModelFile: {
        auto* model = static_cast<const ModelFile*>(entity);
        out.Put(model->unit);
        out.Put(static_cast<uint32_t>(model->roots.size()));
        for (const ProductOccurrence* root : model->roots) out.Put(ref(root));
        break;
      }
      case kClassProductOccurrence: {
        auto* occurrence = static_cast<const ProductOccurrence*>(entity);
        out.Put(static_cast<uint32_t>(occurrence->children.size()));
        for (const ProductOccurrence* child : occurrence->children) out.Put(ref(child));
        out.Put(ref(occurrence->partDefinition));
        out.Put(ref(occurrence->prototype));
        out.Put(ref(occurrence->externalData));
        break;
      }
      case kClassPartDefinition: {
        auto* part = static_cast<const PartDefinition*>(entity);
        out.Put(static_cast<uint32_t>(part->items.size()));
        for (const RepresentationItem* item : part->items) out.Put(ref(item));
        break;
      }
      case kClassRepresentationItem: {
        auto* item = static_cast<const RepresentationItem*>(entity);
        out.Put(item->modelFlag);
        out.Put(ref(item->tessellation));
        break;
      }
      case kClassTessellation:
        out.Array(static_cast<const Tessellation*>(entity)->coords);
        break;
      case kClassTess3D: {
        auto* tess = static_cast<const Tess3D*>(entity);
        out.Array(tess->coords);
        out.Array(tess->normals);
        out.Array(tess->indices);
        out.Put(static_cast<uint32_t>(tess->faces.size()));
        for (const TessFace& face : tess->faces) {
          out.Put(face.kind);
          out.Put(face.indexStart);
          out.Put(face.textureCoordIndexCount);
          out.Array(face.sizes);
        }
        out.Array(tess->textureCoords);
        break;
      }
    }
  }
  std::vector<uint8_t>& data = out.data();
  const uint64_t bodySize = data.size() - kHeaderSize;
  memcpy(data.data() + 8, &bodySize, 8);
  out.Put(Checksum(data.data() + kHeaderSize, bodySize));
  return std::move(data);
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size < kHeaderSize + kTrailerSize || size > SIZE_MAX) return false;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.resize(static_cast<size_t>(size));
  const bool complete = fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  fclose(file);
  return complete;
}

// Creates the entities of `body` in `store`, recording each in `created` as it is made.
bool Decode(const uint8_t* body, size_t size, EntityStore& store, std::vector<Entity*>& created) {
  Reader in(body, size);
  uint32_t count = 0;
  if (!in.Get(&count) || count == 0 || count > in.left() / 5) return false;
  created.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t entityClass = 0;
    int32_t type = 0;
    if (!in.Get(&entityClass) || !in.Get(&type)) return false;
    // Fixed classes carry their own type code; the open ones must not pose as a fixed one.
    const bool fixedType = type == kTypeModelFile || type == kTypeProductOccurrence ||
                           type == kTypePartDefinition || type == kTypeTess3D;
    Entity* entity = nullptr;
    switch (entityClass) {
      case kClassModelFile:
        if (type == kTypeModelFile && i == 0) entity = store.Make<ModelFile>();
        break;
      case kClassProductOccurrence:
        if (type == kTypeProductOccurrence) entity = store.Make<ProductOccurrence>();
        break;
      case kClassPartDefinition:
        if (type == kTypePartDefinition) entity = store.Make<PartDefinition>();
        break;
      case kClassRepresentationItem:
        if (!fixedType) entity = store.Make<RepresentationItem>(type);
        break;
      case kClassTessellation:
        if (!fixedType) entity = store.Make<Tessellation>(type);
        break;
      case kClassTess3D:
        if (type == kTypeTess3D) entity = store.Make<Tess3D>();
        break;
    }
    if (!entity) return false;
    created.push_back(entity);
  }
  if (!dynamic_cast<ModelFile*>(created[0])) return false;

  // Reads a ref to an entity of class T (or none).
  auto ref = [&](auto** out) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(*out)>>;
    uint32_t number = 0;
    if (!in.Get(&number) || number > created.size()) return false;
    if (number == 0) {
      *out = nullptr;
      return true;
    }
    *out = dynamic_cast<T*>(created[number - 1]);
    return *out != nullptr;
  };
  // Reads a u32 count and that many refs.
  auto refs = [&](auto* out) {
    uint32_t n = 0;
    if (!in.Get(&n) || n > in.left() / 4) return false;
    out->assign(n, nullptr);
    for (auto& entry : *out)
      if (!ref(&entry) || !entry) return false;
    return true;
  };

  for (Entity* entity : created) {
    if (!in.String(&entity->name)) return false;
    if (auto* model = dynamic_cast<ModelFile*>(entity)) {
      if (!in.Get(&model->unit) || !refs(&model->roots)) return false;
    } else if (auto* occurrence = dynamic_cast<ProductOccurrence*>(entity)) {
      if (!refs(&occurrence->children) || !ref(&occurrence->partDefinition) || !ref(&occurrence->prototype) ||
          !ref(&occurrence->externalData))
        return false;
    } else if (auto* part = dynamic_cast<PartDefinition*>(entity)) {
      if (!refs(&part->items)) return false;
    } else if (auto* item = dynamic_cast<RepresentationItem*>(entity)) {
      if (!in.Get(&item->modelFlag) || !ref(&item->tessellation)) return false;
    } else if (auto* tess = dynamic_cast<Tess3D*>(entity)) {
      uint32_t faces = 0;
      if (!in.Array(&tess->coords) || !in.Array(&tess->normals) || !in.Array(&tess->indices) || !in.Get(&faces) ||
          faces > in.left() / 14)
        return false;
      tess->faces.resize(faces);
      for (TessFace& face : tess->faces)
        if (!in.Get(&face.kind) || !in.Get(&face.indexStart) || !in.Get(&face.textureCoordIndexCount) ||
            !in.Array(&face.sizes))
          return false;
      if (!in.Array(&tess->textureCoords)) return false;
    } else if (auto* other = dynamic_cast<Tessellation*>(entity)) {
      if (!in.Array(&other->coords)) return false;
    }
  }
  return in.left() == 0;
}

}  // namespace

int ReadModelFile(const std::string& path, EntityStore& store, ModelFile** modelFile) {
  if (!modelFile) return 1;
  std::vector<Entity*> created;
  try {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) return 1;
    uint64_t bodySize = 0;
    memcpy(&bodySize, bytes.data() + 8, 8);
    if (memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 || bodySize != bytes.size() - kHeaderSize - kTrailerSize)
      return 2;
    const uint8_t* body = bytes.data() + kHeaderSize;
    uint64_t checksum = 0;
    memcpy(&checksum, body + bodySize, 8);
    if (checksum != Checksum(body, static_cast<size_t>(bodySize))) return 2;
    if (!Decode(body, static_cast<size_t>(bodySize), store, created)) {
      store.Remove(created);
      return 2;
    }
  } catch (...) {  // out of memory: nothing may be left behind
    store.Remove(created);
    return 3;
  }
  *modelFile = static_cast<ModelFile*>(created[0]);
  return 0;
}

int WriteModelFile(const ModelFile& modelFile, const std::string& path) {
  std::vector<uint8_t> bytes;
  try {
    bytes = Encode(modelFile);
  } catch (...) {
    return 3;
  }
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return 1;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = fclose(file) == 0;
  if (written && closed) return 0;
  remove(path.c_str());
  return 1;
}

}  // namespace a3d
