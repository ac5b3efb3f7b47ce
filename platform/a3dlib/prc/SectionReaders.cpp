#include "a3dlib/prc/SectionReaders.h"

#include <vector>

#include "a3dlib/prc/EntityReader.h"
#include "a3dlib/prc/PrcTypes.h"

namespace a3d {
namespace prc {

namespace {

void Picture(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  reader.ExpectType(kPrcPicture);
  reader.Base();
  for (int i = 0; i < 4; ++i) bits.UnsignedInteger();  // format, data file, width, height
}

void TextureDefinition(EntityReader& reader) {
  // Values of the fields that decide what follows.
  const int32_t kMappingOperator = 3;
  const int32_t kFunctionBlend = 3;
  const uint32_t kApplicationAlphaTest = 0x2;
  BitReader& bits = reader.Bits();
  reader.ExpectType(kPrcTextureDefinition);
  reader.ReferencedBase();
  bits.UnsignedInteger();  // picture
  uint32_t dimension = bits.Character();
  if (bits.Integer() == kMappingOperator) {
    bits.Integer();
    if (bits.Bit()) reader.TransformationEntity();
  }
  bits.UnsignedInteger();  // mapping attributes
  uint32_t count = bits.Count(2);
  reader.Doubles(count);  // intensities
  count = bits.Count(8);
  bits.Skip(8 * static_cast<uint64_t>(count));  // components
  if (bits.Integer() == kFunctionBlend) reader.Doubles(4);
  if (bits.Integer() != 0) bits.Integer();  // blend of colours: source, then destination
  if (bits.Integer() != 0) bits.Integer();  // blend of alpha
  if (bits.Character() & kApplicationAlphaTest) {
    bits.Integer();
    bits.Double();
  }
  bits.Integer();  // wrapping in s, t, r
  if (dimension > 1) bits.Integer();
  if (dimension > 2) bits.Integer();
  if (bits.Bit()) {
    reader.ExpectType(kPrcTextureTransformation);
    bits.Bit();  // invert s
    bits.Bit();  // invert t
    if (bits.Bit()) reader.Transformation2D();
  }
}

void Material(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  uint32_t type = bits.UnsignedInteger();
  if (type != kPrcMaterial && type != kPrcTextureApplication) throw FormatError("unknown material");
  reader.ReferencedBase();
  for (int i = 0; i < 4; ++i) bits.UnsignedInteger();
  if (type == kPrcMaterial) reader.Doubles(5);  // shininess and four alphas
}

void LinePattern(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  reader.ExpectType(kPrcLinePattern);
  reader.ReferencedBase();
  reader.Doubles(bits.Count(2));  // lengths
  bits.Double();                  // start offset
  bits.Bit();                     // scale
}

void Style(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  reader.ExpectType(kPrcStyle);
  reader.ReferencedBase();
  bits.Double();  // line width
  bits.Bit();
  bits.UnsignedInteger();  // pattern
  bits.Bit();
  bits.UnsignedInteger();  // colour or material
  for (int i = 0; i < 4; ++i) {  // transparency and rendering parameters
    if (bits.Bit()) bits.Character();
  }
}

void FillPattern(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  uint32_t type = bits.UnsignedInteger();
  reader.ReferencedBase();
  bits.UnsignedInteger();  // next pattern
  switch (type) {
    case kPrcDottingPattern:
      bits.Double();
      bits.Bit();
      bits.Integer();
      break;
    case kPrcHatchingPattern: {
      uint32_t lines = bits.Count(8);
      for (uint32_t i = 0; i < lines; ++i) {
        reader.Doubles(5);
        bits.Integer();
      }
      break;
    }
    case kPrcSolidPattern:
      bits.Bit();
      bits.UnsignedInteger();  // material or colour
      break;
    case kPrcVPicturePattern: {
      reader.Doubles(2);
      reader.ExpectType(kPrcTessMarkup);
      TessellationContent markup;
      reader.TessMarkupContent(markup);
      break;
    }
    default:
      throw FormatError("unknown fill pattern");
  }
}

void GlobalData(EntityReader& reader) {
  BitReader& bits = reader.Bits();
  reader.ExpectType(kPrcGlobals);
  reader.Base();
  uint32_t count = bits.Count(4);
  for (uint32_t i = 0; i < count; ++i) reader.ReadUniqueId();  // referenced file structures
  bits.Double();  // tessellation chord
  bits.Double();  // tessellation angle
  bits.String();  // default font family
  count = bits.Count(3);
  for (uint32_t i = 0; i < count; ++i) {
    bits.String();
    bits.UnsignedInteger();
    uint32_t keys = bits.Count(9);
    for (uint32_t k = 0; k < keys; ++k) {
      bits.UnsignedInteger();
      bits.Character();
    }
  }
  reader.Doubles(3 * static_cast<uint64_t>(bits.Count(6)));  // colours
  for (void (*entity)(EntityReader&) : {Picture, TextureDefinition, Material, LinePattern, Style, FillPattern}) {
    count = bits.Count(1);
    for (uint32_t i = 0; i < count; ++i) entity(reader);
  }
  count = bits.Count(1);
  std::vector<ItemContent> coordinateSystems;
  for (uint32_t i = 0; i < count; ++i) {
    coordinateSystems.clear();
    reader.RepresentationItem(coordinateSystems);
  }
  bits.UserData();
}

}  // namespace

void ReadGlobalsSection(BitReader& bits, uint32_t version) {
  EntityReader reader(bits, version);
  reader.EmptySchema();
  try {
    GlobalData(reader);
  } catch (const FormatError&) {
    // Nothing of the globals reaches the model.
  }
}

void ReadTreeSection(BitReader& bits, uint32_t version, FileStructureContent& content) {
  EntityReader reader(bits, version);
  reader.ExpectType(kPrcTree);
  reader.Base();
  uint32_t count = bits.Count(8);
  content.parts.reserve(count);
  for (uint32_t i = 0; i < count; ++i) content.parts.push_back(reader.PartDefinition());
  count = bits.Count(8);
  content.occurrences.reserve(count);
  for (uint32_t i = 0; i < count; ++i) content.occurrences.push_back(reader.ProductOccurrence());
  // The file structure's own data and user data follow; the model needs neither.
}

void ReadTessellationSection(BitReader& bits, uint32_t version, FileStructureContent& content) {
  EntityReader reader(bits, version);
  reader.ExpectType(kPrcTessellationSection);
  reader.Base();
  content.tessellationCount = bits.Count(8);
  for (uint32_t i = 0; i < content.tessellationCount; ++i) {
    content.tessellations.emplace_back();
    if (!reader.Tessellation(content.tessellations.back())) break;
  }
}

void ReadModelFileSection(BitReader& bits, uint32_t version, ModelFileContent& content) {
  EntityReader reader(bits, version);
  reader.EmptySchema();
  reader.ExpectType(kPrcModelFile);
  content.name = reader.Base();
  bits.Bit();  // unit from the CAD file
  content.unit = bits.Double();
  uint32_t count = bits.Count(6);
  content.roots.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    RootReference root;
    root.fileStructure = reader.ReadUniqueId();
    root.index = bits.UnsignedInteger();
    bits.Bit();  // active
    content.roots.push_back(root);
  }
  // Each file structure's index in the model file, and user data, follow; the model needs neither.
}

}  // namespace prc
}  // namespace a3d
