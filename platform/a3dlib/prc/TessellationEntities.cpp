// Tessellations: 3D tessellations with their face records, wires and markups.
#include <utility>

#include "a3dlib/prc/EntityReader.h"
#include "a3dlib/prc/PrcTypes.h"

namespace a3d {
namespace prc {

namespace {

const uint32_t kTriangleKinds =
    kFaceTriangle | kFaceTriangleOneNormal | kFaceTriangleTextured | kFaceTriangleOneNormalTextured;
const uint32_t kPolyfaceKinds =
    kFacePolyface | kFacePolyfaceOneNormal | kFacePolyfaceTextured | kFacePolyfaceOneNormalTextured;

// The number of points a face's triangulated data visits: one colour each when the face has
// vertex colours. Sizes come per kind, in the order of the kind bits: one count for triangles,
// a count and then each size for fans and strips.
uint64_t FacePointCount(const TessFace& face) {
  uint64_t points = 0;
  size_t next = 0;
  for (uint32_t kind = 1; kind <= 0x8000; kind <<= 1) {
    if (!(face.kind & kind)) continue;
    if (kind & kPolyfaceKinds) throw FormatError("vertex colours of a polyface");
    if (next >= face.sizes.size()) throw FormatError("face sizes end early");
    uint32_t count = face.sizes[next++];
    if (kind & kTriangleKinds) {
      points += 3 * static_cast<uint64_t>(count);
      continue;
    }
    if (count > face.sizes.size() - next) throw FormatError("face sizes end early");
    for (uint32_t i = 0; i < count; ++i) points += face.sizes[next++] & ~kFaceSizeSingleNormal;
  }
  return points;
}

}  // namespace

void EntityReader::VertexColors(uint64_t colourCount, bool inWire) {
  bool rgba = m_bits.Bit();
  if (inWire) m_bits.Bit();  // colours per segment
  if (m_bits.Bit()) return;  // optimised: no colours stored
  unsigned colourBits = rgba ? 32 : 24;
  m_bits.Skip(colourBits);
  if (colourCount < 2) return;
  if (colourCount - 1 > m_bits.RemainingBits()) throw FormatError("more colours than data");
  for (uint64_t i = 1; i < colourCount; ++i) {
    if (!m_bits.Bit()) m_bits.Skip(colourBits);  // not the same as the one before
  }
}

void EntityReader::BaseTessellationData(TessellationContent& tessellation) {
  m_bits.Bit();  // calculated
  uint32_t count = m_bits.Count(2);
  tessellation.coords.resize(count);
  for (double& value : tessellation.coords) value = m_bits.Double();
}

TessFace EntityReader::Face() {
  ExpectType(kPrcTessFace);
  TessFace face;
  uint32_t lineAttributes = m_bits.Count(1);
  for (uint32_t i = 0; i < lineAttributes; ++i) m_bits.UnsignedInteger();
  m_bits.UnsignedInteger();  // start of the wire data
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) m_bits.UnsignedInteger();  // wire sizes
  uint32_t kind = m_bits.UnsignedInteger();
  if (kind > 0xFFFF) throw FormatError("unknown face kind");
  face.kind = static_cast<uint16_t>(kind);
  face.indexStart = m_bits.UnsignedInteger();
  count = m_bits.Count(1);
  face.sizes.resize(count);
  for (uint32_t& size : face.sizes) size = m_bits.UnsignedInteger();
  face.textureCoordIndexCount = m_bits.UnsignedInteger();
  if (m_bits.Bit()) VertexColors(FacePointCount(face), false);
  if (lineAttributes > 0) m_bits.UnsignedInteger();  // behaviour
  return face;
}

void EntityReader::Tess3DContent(TessellationContent& tessellation) {
  BaseTessellationData(tessellation);
  m_bits.Bit();  // has faces
  if (m_version >= kVersionTessHasLoops) m_bits.Bit();
  if (m_version >= kVersionTessRecalculateNormals && m_bits.Bit()) {
    tessellation.normalsRecalculated = true;
    m_bits.Character();  // recalculation flags
    m_bits.Double();     // crease angle
  }
  uint32_t count = m_bits.Count(2);
  tessellation.normals.resize(count);
  for (double& value : tessellation.normals) value = m_bits.Double();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) m_bits.UnsignedInteger();  // wire indices
  count = m_bits.Count(1);
  tessellation.indices.resize(count);
  for (uint32_t& index : tessellation.indices) index = m_bits.UnsignedInteger();
  count = m_bits.Count(8);
  tessellation.faces.reserve(count);
  for (uint32_t i = 0; i < count; ++i) tessellation.faces.push_back(Face());
  count = m_bits.Count(2);
  tessellation.textureCoords.resize(count);
  for (double& value : tessellation.textureCoords) value = m_bits.Double();
}

void EntityReader::WireContent(TessellationContent& tessellation) {
  BaseTessellationData(tessellation);
  uint32_t count = m_bits.Count(1);
  std::vector<int32_t> wire(count);
  for (int32_t& index : wire) index = m_bits.Integer();
  if (!m_bits.Bit()) return;
  // Each wire: its point count (with flag bits above), then its point indices.
  uint64_t points = 0;
  for (size_t i = 0; i < wire.size();) {
    size_t size = static_cast<uint32_t>(wire[i]) & 0x0FFFFFFFu;
    if (size > wire.size() - i - 1) throw FormatError("wire sizes do not match");
    points += size;
    i += 1 + size;
  }
  VertexColors(points, true);
}

void EntityReader::TessMarkupContent(TessellationContent& tessellation) {
  BaseTessellationData(tessellation);
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) m_bits.UnsignedInteger();  // codes
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) m_bits.String();  // texts
  m_bits.String();     // label
  m_bits.Character();  // behaviour
}

bool EntityReader::Tessellation(TessellationContent& tessellation) {
  uint32_t type = m_bits.UnsignedInteger();
  switch (type) {
    case kPrcTess3D:
      tessellation.type = type;
      Tess3DContent(tessellation);
      return true;
    case kPrcTess3DWire:
      tessellation.type = type;
      WireContent(tessellation);
      return true;
    case kPrcTessMarkup:
      tessellation.type = type;
      TessMarkupContent(tessellation);
      return true;
    case kPrcTess3DCompressed:
      tessellation.type = type;
      return false;
    default:
      tessellation.type = kPrcTess;
      return false;
  }
}

}  // namespace prc
}  // namespace a3d
