// The entry points of the Acrobat 3D Library that the system calls, with their signatures.
//
// Every entry point returns an int status: 0 is success, anything else failure. "out" is the
// address of a handle that the call sets. The library exports them with C linkage under these
// names; the binding resolves them into the entry-point table.
#ifndef VANTRELL_EXTRACTION_A3DSERVICES_H
#define VANTRELL_EXTRACTION_A3DSERVICES_H

#include "extraction/A3DRecords.h"

extern "C" {
// The library's version and life cycle.
typedef int (*A3DDllGetVersionFn)(int* major, int* minor);
typedef int (*A3DDllInitializeFn)(int major, int minor);
typedef int (*A3DDllTerminateFn)(void);

// Model files: loaded from and written to files, deleted with everything beneath them.
typedef int (*A3DAsmModelFileLoadFromFileFn)(const char* path, const void* loadParameters, A3DEntity* out);
typedef int (*A3DAsmModelFileWriteToFileFn)(A3DEntity modelFile, const ModelFileWriteParameters* parameters,
                                             const char* path);
typedef int (*A3DAsmModelFileDeleteFn)(A3DEntity modelFile);

// Gets: fill the record for the entity; with a null entity, release what an earlier Get put in
// the same record.
typedef int (*A3DAsmModelFileGetFn)(A3DEntity modelFile, ModelFileRecord* record);
typedef int (*A3DAsmProductOccurrenceGetFn)(A3DEntity occurrence, ProductOccurrenceRecord* record);
typedef int (*A3DAsmPartDefinitionGetFn)(A3DEntity partDefinition, PartDefinitionRecord* record);
typedef int (*A3DRiRepresentationItemGetFn)(A3DEntity item, RepresentationItemRecord* record);
typedef int (*A3DTessBaseGetFn)(A3DEntity tessellation, TessBaseRecord* record);
typedef int (*A3DTess3DGetFn)(A3DEntity tessellation, Tess3DRecord* record);
typedef int (*A3DEntityGetTypeFn)(A3DEntity entity, int* type);

// Creates and Sets: take records that the caller filled.
typedef int (*A3DTess3DCreateFn)(const Tess3DRecord* record, A3DEntity* out);
typedef int (*A3DTessBaseSetFn)(A3DEntity tessellation, const TessBaseRecord* record);
typedef int (*A3DRiPolyBrepModelCreateFn)(const PolyBrepModelRecord* record, A3DEntity* out);
typedef int (*A3DRiRepresentationItemSetFn)(A3DEntity item, const RepresentationItemRecord* record);
typedef int (*A3DAsmPartDefinitionCreateFn)(const PartDefinitionRecord* record, A3DEntity* out);
typedef int (*A3DAsmProductOccurrenceCreateFn)(const ProductOccurrenceRecord* record, A3DEntity* out);
typedef int (*A3DAsmModelFileCreateFn)(const ModelFileRecord* record, A3DEntity* out);
typedef int (*A3DRootBaseSetFn)(A3DEntity entity, const RootBaseRecord* record);
}

#endif
