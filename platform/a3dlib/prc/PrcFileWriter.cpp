// Writing a model file as PRC: one file structure holding every product occurrence, part
// definition and tessellation the model file reaches, and the model file section.
#include <limits.h>
#include <stdint.h>
#include <zlib.h>

#include <new>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "a3dlib/prc/BitWriter.h"
#include "a3dlib/prc/PrcCodec.h"
#include "a3dlib/prc/PrcTypes.h"
#include "a3dlib/prc/SectionCompression.h"

namespace a3d {

namespace {

using prc::BitWriter;

// "VNTR": the first word of the ids this writer makes.
constexpr uint32_t kIdWord = 0x52544E56u;
// Tessellation tolerances (chord, angle) the globals carry; the meshes were not made with them.
constexpr double kTessellationChord = 2000.0;
constexpr double kTessellationAngle = 40.0;
// The crease angle, in degrees, offered to readers that must compute missing normals.
constexpr double kCreaseAngle = 30.0;
// Product load status: loaded.
constexpr int32_t kProductLoaded = 4;

// A tree the writer cannot put into PRC.
struct Unwritable {};

// Everything the model file reaches, each entity once, with its position in the file.
class Collection {
 public:
  explicit Collection(const ModelFile& modelFile) {
    for (const ProductOccurrence* root : modelFile.roots) AddOccurrence(root);
    for (size_t next = 0; next < occurrences.size(); ++next) {
      const ProductOccurrence* occurrence = occurrences[next];
      for (const ProductOccurrence* child : occurrence->children) AddOccurrence(child);
      if (occurrence->prototype) AddOccurrence(occurrence->prototype);
      if (occurrence->externalData) AddOccurrence(occurrence->externalData);
      if (occurrence->partDefinition) Add(occurrence->partDefinition, parts);
    }
    for (const PartDefinition* part : parts) {
      for (const RepresentationItem* item : part->items) {
        if (!item) throw Unwritable();
        if (item->tessellation) Add(item->tessellation, tessellations);
      }
    }
    if (occurrences.size() > UINT32_MAX - 1 || parts.size() > UINT32_MAX - 1 || tessellations.size() > UINT32_MAX - 1)
      throw Unwritable();
  }

  // Positions in the file's lists, plus one (0 is none).
  uint32_t BiasedIndex(const Entity* entity) const {
    if (!entity) return 0;
    return m_positions.at(entity) + 1;
  }

  std::vector<const ProductOccurrence*> occurrences;
  std::vector<const PartDefinition*> parts;
  std::vector<const Tessellation*> tessellations;

 private:
  void AddOccurrence(const ProductOccurrence* occurrence) {
    if (!occurrence) throw Unwritable();
    Add(occurrence, occurrences);
  }
  template <typename T>
  void Add(const T* entity, std::vector<const T*>& list) {
    if (m_positions.emplace(entity, static_cast<uint32_t>(list.size())).second) list.push_back(entity);
  }

  std::unordered_map<const Entity*, uint32_t> m_positions;
};

uint32_t Size32(size_t size) {
  if (size > UINT32_MAX) throw Unwritable();
  return static_cast<uint32_t>(size);
}

void SectionBase(BitWriter& out) {
  out.UnsignedInteger(0);  // no attributes
  out.Name("");
}

void BaseWithGraphics(BitWriter& out, const std::string& name, uint32_t id) {
  out.UnsignedInteger(0);  // no attributes
  out.Name(name);
  out.UnsignedInteger(id);  // CAD identifier
  out.UnsignedInteger(0);   // CAD persistent identifier
  out.UnsignedInteger(id);  // unique identifier in the file structure
  out.SameGraphics();
}

void EmptyMarkups(BitWriter& out) {
  for (int i = 0; i < 4; ++i) out.UnsignedInteger(0);  // linked items, leaders, markups, annotations
}

void Doubles(BitWriter& out, const std::vector<double>& values) {
  out.UnsignedInteger(Size32(values.size()));
  for (double value : values) out.Double(value);
}

void UnsignedIntegers(BitWriter& out, const std::vector<uint32_t>& values) {
  out.UnsignedInteger(Size32(values.size()));
  for (uint32_t value : values) out.UnsignedInteger(value);
}

std::vector<uint8_t> Globals() {
  BitWriter out;
  out.UnsignedInteger(0);  // empty schema
  out.UnsignedInteger(prc::kPrcGlobals);
  SectionBase(out);
  out.UnsignedInteger(0);  // no other file structures referred to
  out.Double(kTessellationChord);
  out.Double(kTessellationAngle);
  out.String("");  // default font family
  // No font keys, colours, pictures, textures, materials, line patterns, styles, fill patterns
  // or coordinate systems.
  for (int i = 0; i < 9; ++i) out.UnsignedInteger(0);
  out.EmptyUserData();
  return out.Finish();
}

void BoundingBox(BitWriter& out, const PartDefinition& part) {
  double low[3] = {0, 0, 0};
  double high[3] = {0, 0, 0};
  bool any = false;
  for (const RepresentationItem* item : part.items) {
    if (!item->tessellation) continue;
    const std::vector<double>& coords = item->tessellation->coords;
    for (size_t i = 0; i + 2 < coords.size(); i += 3) {
      for (int axis = 0; axis < 3; ++axis) {
        double value = coords[i + axis];
        if (value != value) continue;  // NaN
        if (!any || value < low[axis]) low[axis] = value;
        if (!any || value > high[axis]) high[axis] = value;
      }
      any = true;
    }
  }
  for (double value : low) out.Double(value);
  for (double value : high) out.Double(value);
}

void Item(BitWriter& out, const RepresentationItem& item, const Collection& collection, uint32_t id) {
  out.UnsignedInteger(static_cast<uint32_t>(item.type));
  BaseWithGraphics(out, item.name, id);
  out.UnsignedInteger(0);  // no local coordinate system
  out.UnsignedInteger(collection.BiasedIndex(item.tessellation));
  switch (item.type) {
    case prc::kPrcBrepModel:
      out.Bit(false);  // no exact geometry
      out.Bit(item.modelFlag != 0);  // closed
      break;
    case prc::kPrcCurve:
    case prc::kPrcPlane:
      out.Bit(false);  // no exact geometry
      break;
    case prc::kPrcPolyBrepModel:
      out.Bit(item.modelFlag != 0);  // closed
      break;
    case prc::kPrcPolyWire:
      break;
    default:
      throw Unwritable();
  }
  out.EmptyUserData();
}

std::vector<uint8_t> Tree(const Collection& collection, const ModelFile& modelFile) {
  BitWriter out;
  out.UnsignedInteger(prc::kPrcTree);
  SectionBase(out);
  uint32_t id = 1;
  out.UnsignedInteger(Size32(collection.parts.size()));
  for (const PartDefinition* part : collection.parts) {
    out.UnsignedInteger(prc::kPrcPartDefinition);
    BaseWithGraphics(out, part->name, id++);
    BoundingBox(out, *part);
    out.UnsignedInteger(Size32(part->items.size()));
    for (const RepresentationItem* item : part->items) Item(out, *item, collection, id++);
    EmptyMarkups(out);
    out.UnsignedInteger(0);  // no views
    out.EmptyUserData();
  }
  out.UnsignedInteger(Size32(collection.occurrences.size()));
  for (const ProductOccurrence* occurrence : collection.occurrences) {
    out.UnsignedInteger(prc::kPrcProductOccurrence);
    BaseWithGraphics(out, occurrence->name, id++);
    out.UnsignedInteger(collection.BiasedIndex(occurrence->partDefinition));
    for (const ProductOccurrence* link : {occurrence->prototype, occurrence->externalData}) {
      out.UnsignedInteger(collection.BiasedIndex(link));
      if (link) out.Bit(true);  // in this file structure
    }
    out.UnsignedInteger(Size32(occurrence->children.size()));
    for (const ProductOccurrence* child : occurrence->children) out.UnsignedInteger(collection.BiasedIndex(child) - 1);
    out.Character(0);  // product behaviour
    out.Bit(true);     // the unit is the file's
    out.Double(modelFile.unit);
    out.Character(0);  // product flags
    out.Integer(kProductLoaded);
    out.Bit(false);          // no location
    out.UnsignedInteger(0);  // no entity references
    EmptyMarkups(out);
    out.UnsignedInteger(0);  // no views
    out.Bit(false);          // no filter
    out.UnsignedInteger(0);  // no display filters
    out.UnsignedInteger(0);  // no scene display parameters
    out.EmptyUserData();
  }
  out.UnsignedInteger(prc::kPrcFileStructure);
  out.UnsignedInteger(0);  // no attributes
  out.Bit(false);          // a name of its own: none
  out.String("");
  out.UnsignedInteger(id);  // the next unique identifier free
  out.UnsignedInteger(modelFile.roots.empty() ? 0 : collection.BiasedIndex(modelFile.roots[0]));
  out.EmptyUserData();  // the tree's
  return out.Finish();
}

void Tess3DData(BitWriter& out, const Tess3D& tess) {
  out.Bit(false);  // not calculated
  Doubles(out, tess.coords);
  out.Bit(false);  // has faces
  out.Bit(false);  // has loops
  // Index entries without normal offsets tell readers to compute the normals.
  bool recalculate = tess.normalsRecalculated;
  out.Bit(recalculate);
  if (recalculate) {
    out.Character(0);
    out.Double(kCreaseAngle);
  }
  Doubles(out, tess.normals);
  out.UnsignedInteger(0);  // no wire indices
  UnsignedIntegers(out, tess.indices);
  out.UnsignedInteger(Size32(tess.faces.size()));
  for (const TessFace& face : tess.faces) {
    out.UnsignedInteger(prc::kPrcTessFace);
    out.UnsignedInteger(0);  // no line attributes
    out.UnsignedInteger(0);  // wire data: start, no sizes
    out.UnsignedInteger(0);
    out.UnsignedInteger(face.kind);
    out.UnsignedInteger(face.indexStart);
    UnsignedIntegers(out, face.sizes);
    out.UnsignedInteger(face.textureCoordIndexCount);
    out.Bit(false);  // no vertex colours
  }
  Doubles(out, tess.textureCoords);
}

std::vector<uint8_t> Tessellations(const Collection& collection) {
  size_t estimate = 64;
  for (const Tessellation* tess : collection.tessellations) {
    estimate += tess->coords.size() * 8;
    if (const Tess3D* tess3D = dynamic_cast<const Tess3D*>(tess))
      estimate += (tess3D->normals.size() + tess3D->textureCoords.size()) * 8 + tess3D->indices.size() * 3;
  }
  BitWriter out;
  out.Reserve(estimate);
  out.UnsignedInteger(prc::kPrcTessellationSection);
  SectionBase(out);
  out.UnsignedInteger(Size32(collection.tessellations.size()));
  for (const Tessellation* tess : collection.tessellations) {
    out.UnsignedInteger(static_cast<uint32_t>(tess->type));
    switch (tess->type) {
      case prc::kPrcTess3D: {
        const Tess3D* tess3D = dynamic_cast<const Tess3D*>(tess);
        if (!tess3D) throw Unwritable();
        Tess3DData(out, *tess3D);
        break;
      }
      case prc::kPrcTess3DWire:
        out.Bit(false);
        Doubles(out, tess->coords);
        out.UnsignedInteger(0);  // no wire indices
        out.Bit(false);          // no vertex colours
        break;
      case prc::kPrcTessMarkup:
        out.Bit(false);
        Doubles(out, tess->coords);
        out.UnsignedInteger(0);  // no codes
        out.UnsignedInteger(0);  // no texts
        out.String("");          // label
        out.Character(0);        // behaviour
        break;
      default:
        throw Unwritable();
    }
  }
  out.EmptyUserData();
  return out.Finish();
}

std::vector<uint8_t> EmptyGeometry(uint32_t type) {
  BitWriter out;
  out.UnsignedInteger(type);
  SectionBase(out);
  out.UnsignedInteger(0);  // no topological contexts, or no geometry summaries
  out.EmptyUserData();
  return out.Finish();
}

std::vector<uint8_t> ModelFileSection(const ModelFile& modelFile, const Collection& collection, const uint32_t* fileStructureId) {
  BitWriter out;
  out.UnsignedInteger(0);  // empty schema
  out.UnsignedInteger(prc::kPrcModelFile);
  out.UnsignedInteger(0);  // no attributes
  out.Name(modelFile.name);
  out.Bit(true);  // the unit is the file's
  out.Double(modelFile.unit);
  out.UnsignedInteger(Size32(modelFile.roots.size()));
  for (const ProductOccurrence* root : modelFile.roots) {
    for (int i = 0; i < 4; ++i) out.UnsignedInteger(fileStructureId[i]);
    out.UnsignedInteger(collection.BiasedIndex(root));
    out.Bit(true);  // active
  }
  out.UnsignedInteger(0);  // the file structure's index in the model file
  out.EmptyUserData();
  return out.Finish();
}

void Word(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Words(std::vector<uint8_t>& out, const uint32_t* words) {
  for (int i = 0; i < 4; ++i) Word(out, words[i]);
}

// The start of the file's header and of a file structure's: "PRC", the versions, two ids.
void HeaderStart(std::vector<uint8_t>& out, const uint32_t* id, const uint32_t* applicationId) {
  out.insert(out.end(), {'P', 'R', 'C'});
  Word(out, prc::kMinimalVersionForRead);
  Word(out, prc::kAuthoringVersion);
  Words(out, id);
  Words(out, applicationId);
}

uint32_t Checksum(const std::vector<uint8_t>& bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  size_t done = 0;
  while (done < bytes.size()) {
    size_t chunk = bytes.size() - done < UINT_MAX ? bytes.size() - done : UINT_MAX;
    crc = crc32(crc, bytes.data() + done, static_cast<uInt>(chunk));
    done += chunk;
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace

int WriteModelBytes(const ModelFile& modelFile, std::vector<uint8_t>& bytes) {
  try {
    Collection collection(modelFile);
    std::vector<std::vector<uint8_t>> sections(6);  // compressed, in file order after the header
    std::vector<uint8_t> raw = Globals();
    if (!prc::DeflateSection(raw, sections[1])) return kPrcOutOfMemory;
    raw = Tree(collection, modelFile);
    if (!prc::DeflateSection(raw, sections[2])) return kPrcOutOfMemory;
    raw = Tessellations(collection);
    if (!prc::DeflateSection(raw, sections[3])) return kPrcOutOfMemory;
    raw = EmptyGeometry(prc::kPrcGeometrySection);
    if (!prc::DeflateSection(raw, sections[4])) return kPrcOutOfMemory;
    raw = EmptyGeometry(prc::kPrcExtraGeometrySection);
    if (!prc::DeflateSection(raw, sections[5])) return kPrcOutOfMemory;
    raw.clear();
    raw.shrink_to_fit();

    // Ids from the content, so that the same model always gives the same file.
    const uint32_t treeSum = Checksum(sections[2]);
    const uint32_t tessellationSum = Checksum(sections[3]);
    const uint32_t fileId[4] = {kIdWord, treeSum, tessellationSum, 0x454C4946u};       // "FILE"
    const uint32_t structureId[4] = {kIdWord, treeSum, tessellationSum, 0x55525453u};  // "STRU"
    const uint32_t applicationId[4] = {kIdWord, 0x4C443341u, 1, 0};  // "A3DL"

    HeaderStart(sections[0], structureId, applicationId);
    Word(sections[0], 0);  // no uncompressed files

    std::vector<uint8_t> modelSection;
    if (!prc::DeflateSection(ModelFileSection(modelFile, collection, structureId), modelSection)) return kPrcOutOfMemory;

    const size_t headerSize = 3 + 4 + 4 + 16 + 16 + 4 + (16 + 4 + 4 + 6 * 4) + 4 + 4 + 4;
    size_t total = headerSize + modelSection.size();
    for (const std::vector<uint8_t>& section : sections) total += section.size();
    if (total > UINT32_MAX) return kPrcUnsupported;

    bytes.clear();
    bytes.reserve(total);
    HeaderStart(bytes, fileId, applicationId);
    Word(bytes, 1);  // one file structure
    Words(bytes, structureId);
    Word(bytes, 0);  // reserved
    Word(bytes, 6);  // sections
    size_t offset = headerSize;
    for (const std::vector<uint8_t>& section : sections) {
      Word(bytes, static_cast<uint32_t>(offset));
      offset += section.size();
    }
    Word(bytes, static_cast<uint32_t>(offset));  // the model file, from here to the end
    Word(bytes, static_cast<uint32_t>(offset + modelSection.size()));
    Word(bytes, 0);  // no uncompressed files
    for (const std::vector<uint8_t>& section : sections) bytes.insert(bytes.end(), section.begin(), section.end());
    bytes.insert(bytes.end(), modelSection.begin(), modelSection.end());
    return kPrcOk;
  } catch (const Unwritable&) {
    return kPrcUnsupported;
  } catch (const std::bad_alloc&) {
    return kPrcOutOfMemory;
  } catch (const std::length_error&) {
    return kPrcOutOfMemory;
  }
}

}  // namespace a3d
