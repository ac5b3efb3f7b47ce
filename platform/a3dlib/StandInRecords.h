// Records of the stand-in 3D library's Create calls for entities the system never builds, so that
// tests can make tessellations of other types and representation items of other kinds.
//
// Each record holds only its size: zero it and set structSize to sizeof the record. The entity
// comes out empty; A3DTessBaseSet gives a tessellation its points, A3DRiRepresentationItemSet
// gives an item its tessellation, A3DRootBaseSet names either.
#ifndef VANTRELL_A3DLIB_STANDINRECORDS_H
#define VANTRELL_A3DLIB_STANDINRECORDS_H

#include <stdint.h>

#include "extraction/A3DRecords.h"

// A3DTess3DWireCreate(record, out): a 3D wire tessellation, type 175.
struct Tess3DWireRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
};

// A3DTessMarkupCreate(record, out): a markup tessellation, type 176.
struct TessMarkupRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
};

// A3DRiBrepModelCreate(record, out): a b-rep model item, type 232.
struct BrepModelRecord {
  uint16_t structSize;
  uint8_t reserved0[2];
};

extern "C" {
typedef int (*A3DTess3DWireCreateFn)(const Tess3DWireRecord* record, A3DEntity* out);
typedef int (*A3DTessMarkupCreateFn)(const TessMarkupRecord* record, A3DEntity* out);
typedef int (*A3DRiBrepModelCreateFn)(const BrepModelRecord* record, A3DEntity* out);
// A3DAsmProductOccurrenceSetProductPrototype(occurrence, prototype): links (or, with null,
// unlinks) the occurrence's prototype after both exist.
typedef int (*A3DAsmProductOccurrenceSetProductPrototypeFn)(A3DEntity occurrence, A3DEntity prototype);
}

#endif
