// The structures every section shares, and the tree's markups, views and filters, read past.
#include "a3dlib/prc/EntityReader.h"

#include "a3dlib/prc/PrcTypes.h"

namespace a3d {
namespace prc {

namespace {
// Nesting deeper than this is not met in real files; deeper data is taken for damage.
constexpr unsigned kMaximumNesting = 64;
}  // namespace

NestingGuard::NestingGuard(EntityReader& reader) : m_reader(reader) {
  if (++m_reader.m_nesting > kMaximumNesting) {
    --m_reader.m_nesting;
    throw FormatError("nesting too deep");
  }
}

void EntityReader::ExpectType(uint32_t expected) {
  if (m_bits.UnsignedInteger() != expected) throw FormatError("unexpected entity type");
}

void EntityReader::EmptySchema() {
  if (m_bits.UnsignedInteger() != 0) throw UnsupportedFormat("schema the codec cannot evaluate");
}

std::string EntityReader::Base() {
  uint32_t attributes = m_bits.Count(1);
  for (uint32_t i = 0; i < attributes; ++i) Attribute();
  return m_bits.Name();
}

std::string EntityReader::ReferencedBase() {
  std::string name = Base();
  m_bits.UnsignedInteger();  // CAD identifier
  m_bits.UnsignedInteger();  // CAD persistent identifier
  m_bits.UnsignedInteger();  // unique identifier in the file structure
  return name;
}

std::string EntityReader::BaseWithGraphics() {
  std::string name = ReferencedBase();
  m_bits.Graphics();
  return name;
}

UniqueId EntityReader::ReadUniqueId() {
  UniqueId id;
  for (uint32_t& word : id.words) word = m_bits.UnsignedInteger();
  return id;
}

void EntityReader::Doubles(uint64_t count) {
  for (uint64_t i = 0; i < count; ++i) m_bits.Double();
}

void EntityReader::Attribute() {
  ExpectType(kPrcAttribute);
  auto entryTitle = [this] {
    if (m_bits.Bit())
      m_bits.UnsignedInteger();
    else
      m_bits.String();
  };
  entryTitle();
  uint32_t values = m_bits.Count(2);
  for (uint32_t i = 0; i < values; ++i) {
    entryTitle();
    switch (m_bits.UnsignedInteger()) {
      case 0:  // no value
        break;
      case 1:  // integer
      case 3:  // time
        m_bits.Integer();
        break;
      case 2:
        m_bits.Double();
        break;
      case 4:
        m_bits.String();
        break;
      case 5:  // a 64-bit value in two halves
        m_bits.Integer();
        m_bits.UnsignedInteger();
        break;
      default:
        throw FormatError("unknown attribute value");
    }
  }
}

void EntityReader::Transformation3D() {
  uint32_t behaviour = m_bits.Character();
  if (behaviour & kTransformTranslate) Doubles(3);
  if (behaviour & kTransformNonOrtho) Doubles(9);
  // In 3D the two rotation axes follow the rotate bit even beside a non-orthogonal matrix.
  if (behaviour & kTransformRotate) Doubles(6);
  if (behaviour & kTransformNonUniformScale) Doubles(3);
  if (behaviour & kTransformScale) Doubles(1);
  if (behaviour & kTransformHomogeneous) Doubles(4);
}

void EntityReader::Transformation2D() {
  uint32_t behaviour = m_bits.Character();
  if (behaviour & kTransformTranslate) Doubles(2);
  if (behaviour & kTransformNonOrtho) Doubles(4);
  if ((behaviour & kTransformRotate) && !(behaviour & kTransformNonOrtho)) Doubles(2);
  if (behaviour & kTransformNonUniformScale) Doubles(2);
  if (behaviour & kTransformScale) Doubles(1);
  if (behaviour & kTransformHomogeneous) Doubles(3);
}

void EntityReader::TransformationEntity() {
  uint32_t type = m_bits.UnsignedInteger();
  if (type == kPrcCartesianTransformation)
    Transformation3D();
  else if (type == kPrcGeneralTransformation)
    Doubles(16);
  else
    throw FormatError("unknown transformation");
}

void EntityReader::ReferenceOnPrcBase() {
  ExpectType(kPrcReferenceOnPrcBase);
  m_bits.UnsignedInteger();  // type of the entity referred to
  if (!m_bits.Bit()) ReadUniqueId();  // in another file structure
  m_bits.UnsignedInteger();
}

void EntityReader::ReferenceData() {
  uint32_t type = m_bits.UnsignedInteger();
  if (type == kPrcReferenceOnPrcBase) {
    m_bits.UnsignedInteger();
    if (!m_bits.Bit()) ReadUniqueId();
    m_bits.UnsignedInteger();
  } else if (type == kPrcReferenceOnTopology) {
    m_bits.UnsignedInteger();
    if (m_bits.Bit()) {
      if (!m_bits.Bit()) ReadUniqueId();
      m_bits.UnsignedInteger();  // topological context
      m_bits.UnsignedInteger();  // body
      uint32_t indices = m_bits.Count(1);
      for (uint32_t i = 0; i < indices; ++i) m_bits.UnsignedInteger();
    }
  } else {
    throw FormatError("unknown reference");
  }
}

void EntityReader::EntityReferenceContent() {
  BaseWithGraphics();
  m_bits.UnsignedInteger();  // local coordinate system
  if (m_bits.Bit()) ReferenceData();
}

void EntityReader::EntityReference() {
  ExpectType(kPrcEntityReference);
  EntityReferenceContent();
  m_bits.UserData();
}

void EntityReader::MarkupLinkedItem() {
  ExpectType(kPrcMarkupLinkedItem);
  EntityReferenceContent();
  if (m_bits.Bit()) ReferenceData();
  m_bits.Skip(4);  // show and delete flags of the markup and its leader
  m_bits.UserData();
}

void EntityReader::Leader() {
  m_bits.UnsignedInteger();
  BaseWithGraphics();
  if (m_bits.Bit()) ReferenceOnPrcBase();
  if (m_bits.Bit()) ReferenceOnPrcBase();
  m_bits.UnsignedInteger();  // tessellation
  m_bits.UserData();
}

void EntityReader::Markup() {
  m_bits.UnsignedInteger();
  BaseWithGraphics();
  m_bits.UnsignedInteger();  // type
  m_bits.UnsignedInteger();  // subtype
  for (int list = 0; list < 2; ++list) {  // linked items, then leaders
    uint32_t count = m_bits.Count(1);
    for (uint32_t i = 0; i < count; ++i) ReferenceOnPrcBase();
  }
  m_bits.UnsignedInteger();  // tessellation
  m_bits.UserData();
}

void EntityReader::AnnotationEntity() {
  NestingGuard guard(*this);
  uint32_t type = m_bits.UnsignedInteger();
  if (type != kPrcAnnotationItem && type != kPrcAnnotationSet && type != kPrcAnnotationReference)
    throw FormatError("unknown annotation");
  BaseWithGraphics();
  if (type == kPrcAnnotationItem) {
    ReferenceOnPrcBase();
  } else {
    uint32_t count = m_bits.Count(1);
    for (uint32_t i = 0; i < count; ++i) {
      if (type == kPrcAnnotationSet)
        AnnotationEntity();
      else
        ReferenceOnPrcBase();
    }
  }
  m_bits.UserData();
}

void EntityReader::MarkupData() {
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) MarkupLinkedItem();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) Leader();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) Markup();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) AnnotationEntity();
}

void EntityReader::SurfacePlane() {
  m_bits.UnsignedInteger();
  if (m_bits.Bit()) {  // the surface's own base
    uint32_t attributes = m_bits.Count(1);
    for (uint32_t i = 0; i < attributes; ++i) Attribute();
    m_bits.Name();
    m_bits.UnsignedInteger();
  }
  m_bits.UnsignedInteger();  // extension
  Transformation3D();
  Doubles(4);  // domain
  Doubles(4);  // parameterisation
}

void EntityReader::Camera() {
  m_bits.UnsignedInteger();
  ReferencedBase();
  m_bits.Bit();  // orthographic
  Doubles(9);    // position, look, up
  Doubles(6);
}

void EntityReader::Light() {
  uint32_t type = m_bits.UnsignedInteger();
  if (type < kPrcAmbientLight || type > kPrcSpotLight) throw FormatError("unknown light");
  ReferencedBase();
  for (int i = 0; i < 3; ++i) m_bits.UnsignedInteger();  // colours
  switch (type) {
    case kPrcPointLight:
      Doubles(6);
      break;
    case kPrcDirectionalLight:
      Doubles(3);
      if (m_version >= kVersionDirectionalLightIntensity) Doubles(1);
      break;
    case kPrcSpotLight:
      Doubles(11);
      break;
    default:
      break;
  }
}

void EntityReader::SceneDisplayParameters() {
  m_bits.UnsignedInteger();
  ReferencedBase();
  m_bits.Bit();  // active
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) Light();
  if (m_bits.Bit()) Camera();
  if (m_bits.Bit()) Doubles(3);  // rotation centre
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) SurfacePlane();  // clipping planes
  m_bits.UnsignedInteger();  // background style
  m_bits.UnsignedInteger();  // default style
  count = m_bits.Count(2);
  for (uint32_t i = 0; i < 2 * count; ++i) m_bits.UnsignedInteger();
  if (m_version >= kVersionViewExtensions) m_bits.Bit();  // absolute
}

void EntityReader::Filter() {
  m_bits.UnsignedInteger();
  ReferencedBase();
  m_bits.Bit();  // active
  m_bits.Bit();  // layers inclusive
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) m_bits.UnsignedInteger();
  m_bits.Bit();  // entities inclusive
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) EntityReference();
  m_bits.UserData();
}

void EntityReader::View() {
  m_bits.UnsignedInteger();
  BaseWithGraphics();
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) ReferenceOnPrcBase();
  SurfacePlane();
  if (m_bits.Bit()) SceneDisplayParameters();
  if (m_version >= kVersionViewExtensions) {
    m_bits.Skip(3);  // annotation view, default view, direction
    count = m_bits.Count(1);
    for (uint32_t i = 0; i < count; ++i) ReferenceOnPrcBase();
    count = m_bits.Count(1);
    for (uint32_t i = 0; i < count; ++i) Filter();
  }
  m_bits.UserData();
}

}  // namespace prc
}  // namespace a3d
