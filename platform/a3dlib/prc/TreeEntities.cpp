// The tree's entities that the model keeps: part definitions with their representation items,
// and product occurrences.
#include <stddef.h>

#include "a3dlib/prc/EntityReader.h"
#include "a3dlib/prc/PrcTypes.h"

namespace a3d {
namespace prc {

void EntityReader::ItemContentBase(ItemContent& item) {
  item.name = BaseWithGraphics();
  m_bits.UnsignedInteger();  // local coordinate system
  item.tessellation = m_bits.UnsignedInteger();
}

void EntityReader::RepresentationItem(std::vector<ItemContent>& items) {
  NestingGuard guard(*this);
  ItemContent item;
  item.type = m_bits.UnsignedInteger();
  switch (item.type) {
    case kPrcBrepModel:
    case kPrcCurve:
    case kPrcPlane:
      ItemContentBase(item);
      if (m_bits.Bit()) {  // exact geometry: its topological context and body
        m_bits.UnsignedInteger();
        m_bits.UnsignedInteger();
      }
      if (item.type == kPrcBrepModel) item.closed = m_bits.Bit();
      break;
    case kPrcDirection:
      ItemContentBase(item);
      if (m_bits.Bit()) Doubles(3);  // origin
      Doubles(3);
      break;
    case kPrcPointSet: {
      ItemContentBase(item);
      uint32_t points = m_bits.Count(6);
      Doubles(3 * static_cast<uint64_t>(points));
      break;
    }
    case kPrcPolyBrepModel:
      ItemContentBase(item);
      item.closed = m_bits.Bit();
      break;
    case kPrcPolyWire:
      ItemContentBase(item);
      break;
    case kPrcCoordinateSystem:
      ItemContentBase(item);
      TransformationEntity();
      break;
    case kPrcSet: {
      ItemContentBase(item);
      size_t position = items.size();
      uint32_t members = m_bits.Count(1);
      for (uint32_t i = 0; i < members; ++i) RepresentationItem(items);
      m_bits.UserData();
      // The model's parts hold plain lists: the members take the set's place.
      if (item.tessellation != 0) items.insert(items.begin() + static_cast<ptrdiff_t>(position), item);
      return;
    }
    default:
      throw FormatError("unknown representation item");
  }
  m_bits.UserData();
  items.push_back(std::move(item));
}

PartContent EntityReader::PartDefinition() {
  ExpectType(kPrcPartDefinition);
  PartContent part;
  part.name = BaseWithGraphics();
  Doubles(6);  // bounding box
  uint32_t count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) RepresentationItem(part.items);
  MarkupData();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) View();
  m_bits.UserData();
  return part;
}

OccurrenceContent EntityReader::ProductOccurrence() {
  ExpectType(kPrcProductOccurrence);
  OccurrenceContent occurrence;
  occurrence.name = BaseWithGraphics();
  occurrence.part = m_bits.UnsignedInteger();
  for (OccurrenceLink* link : {&occurrence.prototype, &occurrence.externalData}) {
    link->index = m_bits.UnsignedInteger();
    if (link->index != 0) {
      link->sameFileStructure = m_bits.Bit();
      if (!link->sameFileStructure) link->fileStructure = ReadUniqueId();
    }
  }
  uint32_t count = m_bits.Count(1);
  occurrence.children.reserve(count);
  for (uint32_t i = 0; i < count; ++i) occurrence.children.push_back(m_bits.UnsignedInteger());
  m_bits.Character();  // product behaviour
  m_bits.Bit();        // unit from the CAD file
  m_bits.Double();     // unit
  m_bits.Character();  // product flags
  m_bits.Integer();    // load status
  if (m_bits.Bit()) TransformationEntity();  // location
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) EntityReference();
  MarkupData();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) View();
  if (m_bits.Bit()) Filter();
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) Filter();  // display filters
  count = m_bits.Count(1);
  for (uint32_t i = 0; i < count; ++i) SceneDisplayParameters();
  m_bits.UserData();
  return occurrence;
}

}  // namespace prc
}  // namespace a3d
