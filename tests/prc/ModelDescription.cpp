#include "ModelDescription.h"

#include <stdio.h>
#include <string.h>

#include <unordered_map>
#include <vector>

namespace prctest {

namespace {

class Describer {
 public:
  std::string Run(const a3d::ModelFile& modelFile) {
    Number(&modelFile);
    for (size_t next = 0; next < m_order.size(); ++next) Entity(*m_order[next]);
    return m_text;
  }

 private:
  size_t Number(const a3d::Entity* entity) {
    auto found = m_numbers.emplace(entity, m_order.size());
    if (found.second) m_order.push_back(entity);
    return found.first->second;
  }

  void Link(const char* label, const a3d::Entity* entity) {
    m_text += label;
    m_text += entity ? "#" + std::to_string(Number(entity)) : std::string("-");
    m_text += ' ';
  }

  void Doubles(const char* label, const std::vector<double>& values) {
    m_text += label;
    for (double value : values) {
      uint64_t bits;
      memcpy(&bits, &value, sizeof(bits));
      char hex[20];
      snprintf(hex, sizeof(hex), "%llx,", static_cast<unsigned long long>(bits));
      m_text += hex;
    }
    m_text += ' ';
  }

  void Numbers(const char* label, const std::vector<uint32_t>& values) {
    m_text += label;
    for (uint32_t value : values) m_text += std::to_string(value) + ",";
    m_text += ' ';
  }

  void Entity(const a3d::Entity& entity) {
    m_text += "#" + std::to_string(Number(&entity)) + " type " + std::to_string(entity.type) + " '" + entity.name + "' ";
    if (auto* model = dynamic_cast<const a3d::ModelFile*>(&entity)) {
      Doubles("unit ", {model->unit});
      for (const a3d::ProductOccurrence* root : model->roots) Link("root ", root);
    } else if (auto* occurrence = dynamic_cast<const a3d::ProductOccurrence*>(&entity)) {
      for (const a3d::ProductOccurrence* child : occurrence->children) Link("child ", child);
      Link("part ", occurrence->partDefinition);
      Link("prototype ", occurrence->prototype);
      Link("external ", occurrence->externalData);
    } else if (auto* part = dynamic_cast<const a3d::PartDefinition*>(&entity)) {
      for (const a3d::RepresentationItem* item : part->items) Link("item ", item);
    } else if (auto* item = dynamic_cast<const a3d::RepresentationItem*>(&entity)) {
      m_text += "flag " + std::to_string(item->modelFlag) + " ";
      Link("tessellation ", item->tessellation);
    } else if (auto* tess = dynamic_cast<const a3d::Tessellation*>(&entity)) {
      Doubles("coords ", tess->coords);
      if (auto* tess3D = dynamic_cast<const a3d::Tess3D*>(tess)) {
        Doubles("normals ", tess3D->normals);
        if (tess3D->normalsRecalculated) m_text += "recalculated ";
        Numbers("indices ", tess3D->indices);
        for (const a3d::TessFace& face : tess3D->faces) {
          m_text += "face " + std::to_string(face.kind) + " start " + std::to_string(face.indexStart) + " textures " +
                    std::to_string(face.textureCoordIndexCount) + " ";
          Numbers("sizes ", face.sizes);
        }
        Doubles("textures ", tess3D->textureCoords);
      }
    }
    m_text += '\n';
  }

  std::unordered_map<const a3d::Entity*, size_t> m_numbers;
  std::vector<const a3d::Entity*> m_order;
  std::string m_text;
};

}  // namespace

std::string Describe(const a3d::ModelFile& modelFile) { return Describer().Run(modelFile); }

}  // namespace prctest
