#include "extraction/A3DBinding.h"

#include <stdio.h>
#include <string.h>

#include "extraction/LastErrorText.h"

FARPROC A3DEntryPointTable[kA3DEntryPointCount];

namespace {

const char* const kEntryPointNames[kA3DEntryPointCount] = {
#define VANTRELL_A3D_NAME(name) #name,
    A3D_ENTRY_POINTS(VANTRELL_A3D_NAME)
#undef VANTRELL_A3D_NAME
};

// The entry points that some step of the system calls. A library without one of them is refused
// at load, so no call ever goes through a null slot.
const A3DEntryPointSlot kCalledEntryPoints[] = {
    kSlot_A3DDllGetVersion,           kSlot_A3DDllInitialize,       kSlot_A3DDllTerminate,
    kSlot_A3DAsmModelFileLoadFromFile, kSlot_A3DAsmModelFileWriteToFile, kSlot_A3DAsmModelFileDelete,
    kSlot_A3DAsmModelFileGet,         kSlot_A3DAsmProductOccurrenceGet, kSlot_A3DAsmPartDefinitionGet,
    kSlot_A3DRiRepresentationItemGet, kSlot_A3DTessBaseGet,         kSlot_A3DTess3DGet,
    kSlot_A3DEntityGetType,           kSlot_A3DTess3DCreate,        kSlot_A3DTessBaseSet,
    kSlot_A3DRiPolyBrepModelCreate,   kSlot_A3DRiRepresentationItemSet, kSlot_A3DAsmPartDefinitionCreate,
    kSlot_A3DAsmProductOccurrenceCreate, kSlot_A3DAsmModelFileCreate, kSlot_A3DRootBaseSet,
};

}  // namespace

HMODULE LoadA3DLibrary() {
  char fileName[260];
  strcpy(fileName, "A3DLIB.dll");
  HMODULE module = LoadLibraryExA(fileName, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) {
    SetLastErrorText(CStringT<char>("Unable to load Acrobat 3D Library (A3DLIB.DLL)"));
    return NULL;
  }
  ResolveA3DEntryPoints(module);
  for (A3DEntryPointSlot slot : kCalledEntryPoints) {
    if (A3DEntryPointTable[slot]) continue;
    CStringT<char> text;
    text.Format("Incompatible Acrobat 3D Library [Missing entry point %s]", kEntryPointNames[slot]);
    SetLastErrorText(text);
    FreeLibrary(module);
    return NULL;
  }
  return module;
}

void ResolveA3DEntryPoints(HMODULE module) {
  for (int slot = 0; slot < kA3DEntryPointCount; ++slot)
    A3DEntryPointTable[slot] = GetProcAddress(module, kEntryPointNames[slot]);
}

int InitA3DLibrary() {
  int major = 0;
  int minor = 0;
  A3D_ENTRY(A3DDllGetVersion)(&major, &minor);
  if (major != 2) {
    SetLastErrorText(CStringT<char>("Incompatible Acrobat 3D Library [Invalid major version]"));
    return 0;
  }
  if (minor < 0) {
    SetLastErrorText(CStringT<char>("Incompatible Acrobat 3D Library [Invalid minor version]"));
    return 0;
  }
  if (A3D_ENTRY(A3DDllInitialize)(major, minor) != 0) {
    SetLastErrorText(CStringT<char>("Unable to initialize the Acrobat 3D Library"));
    return 0;
  }
  return 1;
}

int TerminateA3DLibrary() { return A3D_ENTRY(A3DDllTerminate)(); }

int UnloadA3DLibrary(HMODULE module) { return FreeLibrary(module); }
