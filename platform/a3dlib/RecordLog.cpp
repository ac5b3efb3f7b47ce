#include "a3dlib/RecordLog.h"

#include <stdio.h>

#include <vector>

#include "a3dlib/Control.h"
#include "a3dlib/Library.h"

namespace a3d {

namespace {

std::string Real(double value) {
  char text[40];
  snprintf(text, sizeof text, "%.17g", value);  // enough digits to give back the same double
  return text;
}

std::string Number(uint32_t value) { return std::to_string(value); }

// The items of one record, each field marked as it is written, so that the bytes no field
// covers can be checked for zero at the end.
class Items {
 public:
  template <typename Record>
  Items(const Record& record, const std::string& prefix)
      : m_base(reinterpret_cast<const unsigned char*>(&record)), m_named(sizeof record, false), m_prefix(prefix) {}

  template <typename T>
  void Number(const char* key, const T& field) {
    Add(key, &field, sizeof field, std::to_string(field));
  }
  void Real(const char* key, const double& field) { Add(key, &field, sizeof field, a3d::Real(field)); }
  void Entity(const char* key, const A3DEntity& field) { Add(key, &field, sizeof field, DescribeEntity(field)); }
  void Text(const char* key, const char* const& field) {
    Add(key, &field, sizeof field, field ? Quoted(field) : std::string("null"));
  }
  // The `count` entries at the array, each as `format` writes it.
  template <typename T, typename Format>
  void List(const char* key, T* const& field, uint32_t count, Format&& format) {
    std::string list = "null";
    if (field) {
      list = "[";
      for (uint32_t i = 0; i < count; ++i) list += (i ? "," : "") + format(field[i]);
      list += "]";
    }
    Add(key, &field, sizeof field, list);
  }
  // A field whose items another record wrote: marked, with no item of its own.
  void Covered(const void* field, size_t size) { Mark(field, size); }
  void Append(const std::string& items) {
    if (!items.empty()) m_text += " " + items;
  }

  // The items, with `unnamed`: "zero", or the offsets of the bytes outside every field that
  // are not zero.
  std::string Finish() {
    std::string offsets;
    for (size_t i = 0; i < m_named.size(); ++i)
      if (!m_named[i] && m_base[i] != 0) offsets += (offsets.empty() ? "" : ",") + std::to_string(i);
    Append(m_prefix + "unnamed=" + (offsets.empty() ? std::string("zero") : "nonzero:" + offsets));
    return Text();
  }
  std::string Text() const { return m_text.empty() ? m_text : m_text.substr(1); }

 private:
  void Mark(const void* field, size_t size) {
    size_t offset = static_cast<size_t>(static_cast<const unsigned char*>(field) - m_base);
    for (size_t i = offset; i < offset + size && i < m_named.size(); ++i) m_named[i] = true;
  }
  void Add(const char* key, const void* field, size_t size, const std::string& value) {
    Mark(field, size);
    Append(m_prefix + key + "=" + value);
  }

  const unsigned char* m_base;
  std::vector<bool> m_named;
  std::string m_prefix;
  std::string m_text;
};

// Every record starts with its size; the other fields are read only from a record of the right
// size, for a smaller one may end before them.
template <typename Record, typename Fields>
std::string Describe(const Record* record, const std::string& prefix, Fields&& fields) {
  if (!record) return prefix + "record=null";
  Items items(*record, prefix);
  items.Number("structSize", record->structSize);
  if (record->structSize != sizeof(Record)) return items.Text();
  fields(*record, items);
  return items.Finish();
}

template <typename Record>
std::string DescribeSizeOnly(const Record* record) {
  return Describe(record, "", [](const Record&, Items&) {});
}

std::string DescribeFace(const TessFaceRecord* face, const std::string& prefix) {
  return Describe(face, prefix, [](const TessFaceRecord& r, Items& items) {
    items.Number("faceKind", r.faceKind);
    items.Number("indexStart", r.indexStart);
    items.Number("sizeCount", r.sizeCount);
    items.List("sizes", r.sizes, r.sizeCount, Number);
  });
}

}  // namespace

std::string DescribeEntity(const void* handle) {
  if (!handle) return "null";
  const a3d::Entity* entity = Library().store.Find(handle);
  if (!entity) return "unknown";
  return std::to_string(entity->type) + ":" + Quoted(entity->name);
}

std::string DescribeRecord(const Tess3DRecord* record) {
  return Describe(record, "", [](const Tess3DRecord& r, Items& items) {
    items.Number("normalCoordCount", r.normalCoordCount);
    items.List("normalCoords", r.normalCoords, r.normalCoordCount, Real);
    items.Number("indexCount", r.indexCount);
    items.List("indices", r.indices, r.indexCount, Number);
    items.Number("faceCount", r.faceCount);
    items.Covered(&r.faces, sizeof r.faces);
    if (!r.faces) {
      items.Append("faces=null");
      return;
    }
    for (uint32_t i = 0; i < r.faceCount; ++i)
      items.Append(DescribeFace(&r.faces[i], "faces[" + std::to_string(i) + "]."));
  });
}

std::string DescribeRecord(const TessBaseRecord* record) {
  return Describe(record, "", [](const TessBaseRecord& r, Items& items) {
    items.Number("coordCount", r.coordCount);
    items.List("coords", r.coords, r.coordCount, Real);
  });
}

std::string DescribeRecord(const PolyBrepModelRecord* record) {
  return Describe(record, "", [](const PolyBrepModelRecord& r, Items& items) { items.Number("modelFlag", r.modelFlag); });
}

std::string DescribeRecord(const RepresentationItemRecord* record) {
  return Describe(record, "", [](const RepresentationItemRecord& r, Items& items) {
    items.Entity("tessellation", r.tessellation);
  });
}

std::string DescribeRecord(const PartDefinitionRecord* record) {
  return Describe(record, "", [](const PartDefinitionRecord& r, Items& items) {
    items.Number("itemCount", r.itemCount);
    items.List("items", r.items, r.itemCount, DescribeEntity);
  });
}

std::string DescribeRecord(const ProductOccurrenceRecord* record) {
  return Describe(record, "", [](const ProductOccurrenceRecord& r, Items& items) {
    items.Number("childCount", r.childCount);
    items.List("children", r.children, r.childCount, DescribeEntity);
    items.Entity("partDefinition", r.partDefinition);
    items.Entity("linkedOccurrence1", r.linkedOccurrence1);
    items.Entity("linkedOccurrence2", r.linkedOccurrence2);
  });
}

std::string DescribeRecord(const ModelFileRecord* record) {
  return Describe(record, "", [](const ModelFileRecord& r, Items& items) {
    items.Real("unit", r.unit);
    items.Number("occurrenceCount", r.occurrenceCount);
    items.List("occurrences", r.occurrences, r.occurrenceCount, DescribeEntity);
  });
}

std::string DescribeRecord(const RootBaseRecord* record) {
  return Describe(record, "", [](const RootBaseRecord& r, Items& items) { items.Text("name", r.name); });
}

std::string DescribeRecord(const ModelFileWriteParameters* record) {
  return Describe(record, "", [](const ModelFileWriteParameters& r, Items& items) {
    items.Number("writeOption1", r.writeOption1);
    items.Number("writeOption2", r.writeOption2);
    items.Number("writeOption3", r.writeOption3);
    items.Number("writeOption4", r.writeOption4);
  });
}

std::string DescribeRecord(const Tess3DWireRecord* record) { return DescribeSizeOnly(record); }
std::string DescribeRecord(const TessMarkupRecord* record) { return DescribeSizeOnly(record); }
std::string DescribeRecord(const BrepModelRecord* record) { return DescribeSizeOnly(record); }

}  // namespace a3d
