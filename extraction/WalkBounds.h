// The bounds on the model walk's work.
//
// Shared occurrences are walked once per reference, so a file of a few kilobytes can describe
// more paths than any host could walk or hold. The walk of each model file is therefore bounded
// in the occurrences and representation items it visits, and the mesh list in the bytes of
// meshes it holds. Both bounds grow with the model files they come from, as a real model spends
// bytes of its file on every occurrence it places and every triangle it holds, and neither falls
// below a floor that lies far above any small model. So a small file whose occurrences expand
// without end reaches a floor within about a second, while a large real model stays below its
// bounds.
#ifndef VANTRELL_EXTRACTION_WALKBOUNDS_H
#define VANTRELL_EXTRACTION_WALKBOUNDS_H

#include <windows.h>

#include <stdint.h>

#include "opennurbs/opennurbs.h"

// The occurrences and representation items that the walk of a model file of modelFileBytes
// bytes may visit: one for every two bytes of the file, and never fewer than 2^21.
uint64_t WalkVisitBound(uint64_t modelFileBytes);

// The bytes of meshes (as MeshBytes counts them) that the mesh list may hold when its meshes
// come from model files of listModelBytes bytes in all: 256 for every byte of those files, and
// never less than 256 MiB; above that floor, no more than the process can hold, as
// GlobalMemoryStatusEx reports it (see the overload below).
uint64_t MeshListByteBound(uint64_t listModelBytes);

// The same for a process whose memory is as given. What it can hold is half the machine's
// physical memory and at most a quarter of its address space, which leaves the rest to the 3D
// library's model, the writer and the host; without figures (null), 512 MiB, what the smallest
// address space the plug-in runs in (2 GiB) allows.
uint64_t MeshListByteBound(uint64_t listModelBytes, const MEMORYSTATUSEX* memory);

// What a mesh of these counts takes in the list: its vertices and faces, and for the mesh itself
// more than its size, since the list grows by doubling and each array is an allocation of its
// own.
uint64_t MeshBytes(uint32_t vertexCount, uint32_t faceCount);

// What the meshes of the list take, each counted as MeshBytes counts it.
uint64_t MeshListBytes(const ON_ClassArray<ON_Mesh>& meshes);

#endif
