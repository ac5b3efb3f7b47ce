// Reading the entities of a PRC section: the structures shared by every section (bases,
// attributes, transformations, references), the tree's markups, views and filters (read past:
// the model keeps none of them), and the entities the model keeps.
#ifndef VANTRELL_A3DLIB_PRC_ENTITYREADER_H
#define VANTRELL_A3DLIB_PRC_ENTITYREADER_H

#include <stdint.h>

#include <string>
#include <vector>

#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/PrcContent.h"

namespace a3d {
namespace prc {

class EntityReader {
 public:
  // Reads a section written by the given authoring version.
  EntityReader(BitReader& bits, uint32_t authoringVersion) : m_bits(bits), m_version(authoringVersion) {}

  BitReader& Bits() { return m_bits; }
  uint32_t Version() const { return m_version; }

  // A type code that must be `expected`.
  void ExpectType(uint32_t expected);
  // A schema; the codec cannot evaluate one, so it must be empty.
  void EmptySchema();

  // Bases; each returns the entity's name.
  std::string Base();              // attributes and name
  std::string ReferencedBase();    // a base with the entity's identifiers
  std::string BaseWithGraphics();  // a referenced base with graphics
  UniqueId ReadUniqueId();
  void Doubles(uint64_t count);

  // Read past (the model keeps none of them):
  void Transformation3D();
  void Transformation2D();
  void TransformationEntity();  // a cartesian or general transformation, with its type code
  void MarkupData();
  void View();
  void Filter();
  void SurfacePlane();
  void TessMarkupContent(TessellationContent& tessellation);

  // Entities the model keeps:
  PartContent PartDefinition();
  OccurrenceContent ProductOccurrence();
  // A representation item with its type code, appended to `items`. A set adds its members in
  // its place (and itself first, when it has a tessellation of its own).
  void RepresentationItem(std::vector<ItemContent>& items);
  // The tessellation with its type code; false, having read only the code, for a kind the
  // codec cannot read past (the compressed one, or an unknown code): the section's parse ends.
  bool Tessellation(TessellationContent& tessellation);

 private:
  friend class NestingGuard;
  void Attribute();
  void ReferenceOnPrcBase();
  void ReferenceData();
  void EntityReferenceContent();
  void EntityReference();
  void Leader();
  void Markup();
  void MarkupLinkedItem();
  void AnnotationEntity();
  void SceneDisplayParameters();
  void Light();
  void Camera();
  void ItemContentBase(ItemContent& item);
  void VertexColors(uint64_t colourCount, bool inWire);
  void Tess3DContent(TessellationContent& tessellation);
  TessFace Face();
  void WireContent(TessellationContent& tessellation);
  void BaseTessellationData(TessellationContent& tessellation);

  BitReader& m_bits;
  uint32_t m_version;
  unsigned m_nesting = 0;
};

// Counts one level of nesting for the life of the object; too deep a nesting is damage.
class NestingGuard {
 public:
  explicit NestingGuard(EntityReader& reader);
  ~NestingGuard() { --m_reader.m_nesting; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  EntityReader& m_reader;
};

}  // namespace prc
}  // namespace a3d

#endif
