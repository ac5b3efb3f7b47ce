// Records exchanged with the Acrobat 3D Library.
//
// Every record is zeroed before use and carries its own size in bytes in its first 16-bit field.
// A record filled by a Get call owns library memory until the same Get is called again with a
// null entity and the same record. Records given to Create and Set calls are filled by the caller.
//
// The layouts are the library's: with 32-bit pointers they have exactly the offsets and sizes
// checked at the end of this file. With wider pointers the pointer fields widen and structSize
// is the record's real size.
#ifndef VANTRELL_EXTRACTION_A3DRECORDS_H
#define VANTRELL_EXTRACTION_A3DRECORDS_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

// An entity of the library (model file, product occurrence, part definition, representation item,
// tessellation): an opaque handle, null being 0.
typedef void* A3DEntity;

// The library's type code of a 3D tessellation, the one kind the model walk converts.
enum { kA3DTypeTess3D = 172 };

struct ModelFileRecord {
  uint16_t structSize;
  uint8_t reserved0[6];
  alignas(8) double unit;
  uint32_t occurrenceCount;
  A3DEntity* occurrences;
};

struct ProductOccurrenceRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
  uint32_t childCount;
  A3DEntity* children;
  A3DEntity partDefinition;
  A3DEntity linkedOccurrence1;  // the occurrence's prototype
  A3DEntity linkedOccurrence2;  // the occurrence's external data
  uint8_t reserved1[52];
};

struct PartDefinitionRecord {
  uint16_t structSize;
  uint8_t reserved0[78];
  uint32_t itemCount;
  A3DEntity* items;
  uint8_t reserved1[16];
};

struct RepresentationItemRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
  A3DEntity tessellation;
  uint8_t reserved1[4];
};

struct TessBaseRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
  uint32_t coordCount;
  double* coords;  // x, y, z per point
};

struct TessFaceRecord {
  uint16_t structSize;
  uint8_t reserved0[22];
  uint16_t faceKind;
  uint8_t reserved1[2];
  uint32_t indexStart;
  uint32_t sizeCount;
  uint32_t* sizes;
  uint8_t reserved2[20];
};

struct Tess3DRecord {
  uint16_t structSize;
  uint8_t reserved0[6];
  uint32_t normalCoordCount;
  double* normalCoords;
  uint8_t reserved1[8];
  uint32_t indexCount;
  uint32_t* indices;
  uint32_t faceCount;
  TessFaceRecord* faces;
  uint8_t reserved2[24];
};

struct RootBaseRecord {
  uint16_t structSize;
  uint8_t reserved0[10];
  const char* name;  // zero-terminated UTF-8
};

struct PolyBrepModelRecord {
  uint16_t structSize;
  uint16_t modelFlag;
};

struct ModelFileWriteParameters {
  uint16_t structSize;
  uint8_t reserved0[2];
  uint32_t writeOption1;
  uint16_t writeOption2;
  uint16_t writeOption3;
  uint32_t writeOption4;
  uint8_t reserved1[4];
};

// Zeroes the record and sets its size, as every call that takes a record expects.
template <typename Record>
inline void PrepareRecord(Record& record) {
  memset(&record, 0, sizeof record);
  record.structSize = static_cast<uint16_t>(sizeof record);
}

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ModelFileRecord) == 24, "ModelFileRecord size");
static_assert(offsetof(ModelFileRecord, unit) == 8, "ModelFileRecord.unit");
static_assert(offsetof(ModelFileRecord, occurrenceCount) == 16, "ModelFileRecord.occurrenceCount");
static_assert(offsetof(ModelFileRecord, occurrences) == 20, "ModelFileRecord.occurrences");

static_assert(sizeof(ProductOccurrenceRecord) == 76, "ProductOccurrenceRecord size");
static_assert(offsetof(ProductOccurrenceRecord, childCount) == 4, "ProductOccurrenceRecord.childCount");
static_assert(offsetof(ProductOccurrenceRecord, children) == 8, "ProductOccurrenceRecord.children");
static_assert(offsetof(ProductOccurrenceRecord, partDefinition) == 12, "ProductOccurrenceRecord.partDefinition");
static_assert(offsetof(ProductOccurrenceRecord, linkedOccurrence1) == 16, "ProductOccurrenceRecord.linkedOccurrence1");
static_assert(offsetof(ProductOccurrenceRecord, linkedOccurrence2) == 20, "ProductOccurrenceRecord.linkedOccurrence2");

static_assert(sizeof(PartDefinitionRecord) == 104, "PartDefinitionRecord size");
static_assert(offsetof(PartDefinitionRecord, itemCount) == 80, "PartDefinitionRecord.itemCount");
static_assert(offsetof(PartDefinitionRecord, items) == 84, "PartDefinitionRecord.items");

static_assert(sizeof(RepresentationItemRecord) == 12, "RepresentationItemRecord size");
static_assert(offsetof(RepresentationItemRecord, tessellation) == 4, "RepresentationItemRecord.tessellation");

static_assert(sizeof(TessBaseRecord) == 12, "TessBaseRecord size");
static_assert(offsetof(TessBaseRecord, coordCount) == 4, "TessBaseRecord.coordCount");
static_assert(offsetof(TessBaseRecord, coords) == 8, "TessBaseRecord.coords");

static_assert(sizeof(Tess3DRecord) == 64, "Tess3DRecord size");
static_assert(offsetof(Tess3DRecord, normalCoordCount) == 8, "Tess3DRecord.normalCoordCount");
static_assert(offsetof(Tess3DRecord, normalCoords) == 12, "Tess3DRecord.normalCoords");
static_assert(offsetof(Tess3DRecord, indexCount) == 24, "Tess3DRecord.indexCount");
static_assert(offsetof(Tess3DRecord, indices) == 28, "Tess3DRecord.indices");
static_assert(offsetof(Tess3DRecord, faceCount) == 32, "Tess3DRecord.faceCount");
static_assert(offsetof(Tess3DRecord, faces) == 36, "Tess3DRecord.faces");

static_assert(sizeof(TessFaceRecord) == 60, "TessFaceRecord size");
static_assert(offsetof(TessFaceRecord, faceKind) == 24, "TessFaceRecord.faceKind");
static_assert(offsetof(TessFaceRecord, indexStart) == 28, "TessFaceRecord.indexStart");
static_assert(offsetof(TessFaceRecord, sizeCount) == 32, "TessFaceRecord.sizeCount");
static_assert(offsetof(TessFaceRecord, sizes) == 36, "TessFaceRecord.sizes");

static_assert(sizeof(RootBaseRecord) == 16, "RootBaseRecord size");
static_assert(offsetof(RootBaseRecord, name) == 12, "RootBaseRecord.name");

static_assert(sizeof(PolyBrepModelRecord) == 4, "PolyBrepModelRecord size");
static_assert(offsetof(PolyBrepModelRecord, modelFlag) == 2, "PolyBrepModelRecord.modelFlag");

static_assert(sizeof(ModelFileWriteParameters) == 20, "ModelFileWriteParameters size");
static_assert(offsetof(ModelFileWriteParameters, writeOption1) == 4, "ModelFileWriteParameters.writeOption1");
static_assert(offsetof(ModelFileWriteParameters, writeOption2) == 8, "ModelFileWriteParameters.writeOption2");
static_assert(offsetof(ModelFileWriteParameters, writeOption3) == 10, "ModelFileWriteParameters.writeOption3");
static_assert(offsetof(ModelFileWriteParameters, writeOption4) == 12, "ModelFileWriteParameters.writeOption4");
#endif

#endif
