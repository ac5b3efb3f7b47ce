// The binding of the Acrobat 3D Library: loaded by name for the length of one use, its entry
// points resolved into one process-wide table, its version checked, then terminated and unloaded.
//
// A binding goes: LoadA3DLibrary; InitA3DLibrary (on 0 the caller unloads without terminating);
// calls through the table; TerminateA3DLibrary; UnloadA3DLibrary. The table's addresses are good
// only between a load and its unload.
#ifndef VANTRELL_EXTRACTION_A3DBINDING_H
#define VANTRELL_EXTRACTION_A3DBINDING_H

#include <windows.h>

#include "extraction/A3DEntryPointNames.h"
#include "extraction/A3DServices.h"

// Slot k holds the library's entry point named k-th in A3D_ENTRY_POINTS, or null when the library
// does not export that name.
extern FARPROC A3DEntryPointTable[kA3DEntryPointCount];

// The entry point `name` from the table, typed with its signature from A3DServices.h. The table
// holds the platform's untyped procedure addresses; the detour through void(*)(void), the
// generic function pointer type, says the cast is meant.
#define A3D_ENTRY(name) \
  (reinterpret_cast<name##Fn>(reinterpret_cast<void (*)(void)>(A3DEntryPointTable[kSlot_##name])))

// Loads "A3DLIB.dll" through the platform's library search and fills the table. Returns the
// module handle, or null with the last-error text set: when no library could be loaded, or when
// the library lacks an entry point that the system calls (it is then unloaded again).
HMODULE LoadA3DLibrary();

// Stores GetProcAddress(module, name) for every name in its slot; a missing name leaves null.
void ResolveA3DEntryPoints(HMODULE module);

// Checks that the library is of major version 2 and minor version 0 or above, then initialises
// it. Returns 1, or 0 with the last-error text set.
int InitA3DLibrary();

// The status of A3DDllTerminate.
int TerminateA3DLibrary();

// Releases the library; the result of FreeLibrary.
int UnloadA3DLibrary(HMODULE module);

#endif
