#include "a3dlib/prc/ModelFromContent.h"

#include <map>
#include <utility>
#include <vector>

#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/PrcTypes.h"

namespace a3d {
namespace prc {

namespace {

struct OccurrenceKey {
  size_t fileStructure;
  size_t index;
};

class Builder {
 public:
  Builder(PrcContent& content, EntityStore& store) : m_content(content), m_store(store) {
    for (size_t i = 0; i < content.fileStructures.size(); ++i) m_byId.emplace(content.fileStructures[i].id, i);
    m_occurrences.resize(content.fileStructures.size());
    m_parts.resize(content.fileStructures.size());
    m_tessellations.resize(content.fileStructures.size());
    for (size_t i = 0; i < content.fileStructures.size(); ++i) {
      const FileStructureContent& structure = content.fileStructures[i];
      m_occurrences[i].assign(structure.occurrences.size(), nullptr);
      m_parts[i].assign(structure.parts.size(), nullptr);
      m_tessellations[i].assign(structure.tessellationCount, nullptr);
    }
  }

  ModelFile* Build() {
    std::vector<OccurrenceKey> reachable = CheckReferences();
    try {
      return CreateEntities(reachable);
    } catch (...) {
      m_store.Remove(m_created);
      throw;
    }
  }

 private:
  size_t FileStructureOf(const UniqueId& id) const {
    auto found = m_byId.find(id);
    if (found == m_byId.end()) throw FormatError("reference to a missing file structure");
    return found->second;
  }

  OccurrenceKey Resolve(size_t fileStructure, const OccurrenceLink& link) const {
    size_t target = link.sameFileStructure ? fileStructure : FileStructureOf(link.fileStructure);
    if (link.index == 0 || link.index > m_content.fileStructures[target].occurrences.size())
      throw FormatError("reference to a missing occurrence");
    return OccurrenceKey{target, link.index - 1};
  }

  // Walks from the roots and checks every reference on the way, before anything is created:
  // returns the occurrences reached, each once.
  std::vector<OccurrenceKey> CheckReferences() {
    std::vector<std::vector<bool>> seen(m_content.fileStructures.size());
    for (size_t i = 0; i < seen.size(); ++i) seen[i].assign(m_content.fileStructures[i].occurrences.size(), false);
    std::vector<OccurrenceKey> reached;
    auto visit = [&](OccurrenceKey key) {
      if (!seen[key.fileStructure][key.index]) {
        seen[key.fileStructure][key.index] = true;
        reached.push_back(key);
      }
    };
    for (const RootReference& root : m_content.modelFile.roots) {
      OccurrenceLink link;
      link.index = root.index;
      link.sameFileStructure = false;
      link.fileStructure = root.fileStructure;
      visit(Resolve(0, link));
    }
    for (size_t next = 0; next < reached.size(); ++next) {
      OccurrenceKey key = reached[next];
      const FileStructureContent& structure = m_content.fileStructures[key.fileStructure];
      const OccurrenceContent& occurrence = structure.occurrences[key.index];
      if (occurrence.part > structure.parts.size()) throw FormatError("reference to a missing part");
      if (occurrence.part != 0) CheckPart(key.fileStructure, occurrence.part - 1);
      if (occurrence.prototype.index != 0) visit(Resolve(key.fileStructure, occurrence.prototype));
      if (occurrence.externalData.index != 0) visit(Resolve(key.fileStructure, occurrence.externalData));
      for (uint32_t child : occurrence.children) {
        if (child >= structure.occurrences.size()) throw FormatError("reference to a missing child");
        visit(OccurrenceKey{key.fileStructure, child});
      }
    }
    return reached;
  }

  void CheckPart(size_t fileStructure, size_t index) const {
    const FileStructureContent& structure = m_content.fileStructures[fileStructure];
    // Tessellations past those read are allowed up to the number the file declared.
    for (const ItemContent& item : structure.parts[index].items)
      if (item.tessellation > structure.tessellationCount) throw FormatError("reference to a missing tessellation");
  }

  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    // Room first, so that every entity made is on the list that a failure removes.
    if (m_created.size() == m_created.capacity()) m_created.reserve(2 * m_created.size() + 16);
    T* entity = m_store.Make<T>(std::forward<Args>(args)...);
    m_created.push_back(entity);
    return entity;
  }

  Tessellation* TessellationOf(size_t fileStructure, uint32_t biasedIndex) {
    if (biasedIndex == 0) return nullptr;
    Tessellation*& made = m_tessellations[fileStructure][biasedIndex - 1];
    if (made) return made;
    std::vector<TessellationContent>& read = m_content.fileStructures[fileStructure].tessellations;
    Tessellation* result;
    if (biasedIndex > read.size()) {
      result = Make<Tessellation>(static_cast<int>(kPrcTess));
    } else {
      TessellationContent& source = read[biasedIndex - 1];
      if (source.type == kPrcTess3D) {
        Tess3D* tess = Make<Tess3D>();
        tess->normals = std::move(source.normals);
        tess->normalsRecalculated = source.normalsRecalculated;
        tess->indices = std::move(source.indices);
        tess->faces = std::move(source.faces);
        tess->textureCoords = std::move(source.textureCoords);
        result = tess;
      } else {
        result = Make<Tessellation>(static_cast<int>(source.type));
      }
      result->coords = std::move(source.coords);
    }
    made = result;
    return result;
  }

  PartDefinition* PartOf(size_t fileStructure, uint32_t biasedIndex) {
    if (biasedIndex == 0) return nullptr;
    PartDefinition*& part = m_parts[fileStructure][biasedIndex - 1];
    if (part) return part;
    PartContent& source = m_content.fileStructures[fileStructure].parts[biasedIndex - 1];
    part = Make<PartDefinition>();
    part->name = std::move(source.name);
    part->items.reserve(source.items.size());
    for (ItemContent& itemSource : source.items) {
      RepresentationItem* item = Make<RepresentationItem>(static_cast<int>(itemSource.type));
      item->name = std::move(itemSource.name);
      item->tessellation = TessellationOf(fileStructure, itemSource.tessellation);
      item->modelFlag = itemSource.closed ? 1 : 0;
      part->items.push_back(item);
    }
    return part;
  }

  ModelFile* CreateEntities(const std::vector<OccurrenceKey>& reachable) {
    for (const OccurrenceKey& key : reachable) m_occurrences[key.fileStructure][key.index] = Make<ProductOccurrence>();
    auto occurrenceAt = [this](OccurrenceKey key) { return m_occurrences[key.fileStructure][key.index]; };
    for (const OccurrenceKey& key : reachable) {
      OccurrenceContent& source = m_content.fileStructures[key.fileStructure].occurrences[key.index];
      ProductOccurrence* occurrence = occurrenceAt(key);
      occurrence->name = std::move(source.name);
      occurrence->partDefinition = PartOf(key.fileStructure, source.part);
      if (source.prototype.index != 0) occurrence->prototype = occurrenceAt(Resolve(key.fileStructure, source.prototype));
      if (source.externalData.index != 0)
        occurrence->externalData = occurrenceAt(Resolve(key.fileStructure, source.externalData));
      occurrence->children.reserve(source.children.size());
      for (uint32_t child : source.children) occurrence->children.push_back(occurrenceAt(OccurrenceKey{key.fileStructure, child}));
    }
    ModelFile* modelFile = Make<ModelFile>();
    modelFile->name = std::move(m_content.modelFile.name);
    modelFile->unit = m_content.modelFile.unit;
    modelFile->roots.reserve(m_content.modelFile.roots.size());
    for (const RootReference& root : m_content.modelFile.roots)
      modelFile->roots.push_back(occurrenceAt(OccurrenceKey{FileStructureOf(root.fileStructure), root.index - 1}));
    return modelFile;
  }

  PrcContent& m_content;
  EntityStore& m_store;
  std::map<UniqueId, size_t> m_byId;
  std::vector<std::vector<ProductOccurrence*>> m_occurrences;
  std::vector<std::vector<PartDefinition*>> m_parts;
  std::vector<std::vector<Tessellation*>> m_tessellations;
  std::vector<Entity*> m_created;
};

}  // namespace

ModelFile* BuildModel(PrcContent& content, EntityStore& store) { return Builder(content, store).Build(); }

}  // namespace prc
}  // namespace a3d
