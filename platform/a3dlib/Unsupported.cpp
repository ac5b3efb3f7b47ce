// Every other name of the library: exported, and failing with kStatusUnsupported.
#include "a3dlib/EntryPointExport.h"
#include "a3dlib/Library.h"
#include "a3dlib/StandInControl.h"

namespace a3d {
int Unsupported(A3DEntryPointSlot slot);
}

// The names EntryPoints.cpp implements. The list below is expanded with these renamed, so that it
// defines none of them a second time; the renamed stubs are not exported.
#define A3DDllGetVersion Implemented_A3DDllGetVersion
#define A3DDllInitialize Implemented_A3DDllInitialize
#define A3DDllTerminate Implemented_A3DDllTerminate
#define A3DEntityGetType Implemented_A3DEntityGetType
#define A3DAsmModelFileLoadFromFile Implemented_A3DAsmModelFileLoadFromFile
#define A3DAsmModelFileWriteToFile Implemented_A3DAsmModelFileWriteToFile
#define A3DAsmModelFileDelete Implemented_A3DAsmModelFileDelete
#define A3DAsmModelFileGet Implemented_A3DAsmModelFileGet
#define A3DAsmModelFileCreate Implemented_A3DAsmModelFileCreate
#define A3DAsmProductOccurrenceGet Implemented_A3DAsmProductOccurrenceGet
#define A3DAsmProductOccurrenceCreate Implemented_A3DAsmProductOccurrenceCreate
#define A3DAsmPartDefinitionGet Implemented_A3DAsmPartDefinitionGet
#define A3DAsmPartDefinitionCreate Implemented_A3DAsmPartDefinitionCreate
#define A3DRiRepresentationItemGet Implemented_A3DRiRepresentationItemGet
#define A3DRiRepresentationItemSet Implemented_A3DRiRepresentationItemSet
#define A3DRiPolyBrepModelCreate Implemented_A3DRiPolyBrepModelCreate
#define A3DRiBrepModelCreate Implemented_A3DRiBrepModelCreate
#define A3DTessBaseGet Implemented_A3DTessBaseGet
#define A3DTessBaseSet Implemented_A3DTessBaseSet
#define A3DTess3DGet Implemented_A3DTess3DGet
#define A3DTess3DCreate Implemented_A3DTess3DCreate
#define A3DTess3DWireCreate Implemented_A3DTess3DWireCreate
#define A3DTessMarkupCreate Implemented_A3DTessMarkupCreate
#define A3DRootBaseSet Implemented_A3DRootBaseSet
#define A3DAsmProductOccurrenceSetProductPrototype Implemented_A3DAsmProductOccurrenceSetProductPrototype

// The slot is pasted from the name as written, the function named after its expansion.
#define VANTRELL_A3D_UNSUPPORTED(name) \
  A3D_EXPORT int name(void) { return a3d::Unsupported(kSlot_##name); }
A3D_ENTRY_POINTS(VANTRELL_A3D_UNSUPPORTED)
