// The walk of one loaded PRC model file into meshes.
//
// From the model file through its product occurrences (recursively: the prototype, the external
// data, the children, then the part definition) and the part definitions' representation items
// down to each item's tessellation, every 3D tessellation becomes one ON_Mesh appended to the
// list, in that depth-first order. Nothing is placed, scaled or merged.
//
// Every routine returns 1 when nothing failed, or 0 with the last-error text naming the step
// that failed; the first failure ends the walk, and meshes appended before it stay in the list.
// Each routine releases every record it obtained, on every path. The 3D library must be loaded
// and initialised.
//
// The work of one call is bounded (WalkBounds.h), far above any real model: past the visits
// that its model file allows, the occurrence or representation item visited fails with its
// step's message, and once the mesh list, with what it held before the call, would pass the bytes
// of meshes that its model files allow, the tessellation that would cross it fails with "Unable
// to retrieve tesselation 3d data". So a small file that shares occurrences level upon level, and
// so describes more paths than could ever be walked, fails quickly instead of hanging the host.
// Without the sizes of the model files, a routine is bounded as the walk of a small file is.
#ifndef VANTRELL_EXTRACTION_MODELWALK_H
#define VANTRELL_EXTRACTION_MODELWALK_H

#include "extraction/A3DRecords.h"
#include "opennurbs/opennurbs.h"

typedef ON_ClassArray<ON_Mesh> MeshList;

// Walks the model file's root occurrences in order.
int WalkModelFile(A3DEntity modelFile, MeshList& meshes);

// The same, bounded by the sizes of the files: modelFileBytes, the bytes of the PRC file that the
// model file was loaded from; listModelBytes, those of every model file whose meshes the list
// holds, this one included.
int WalkModelFileOfSize(A3DEntity modelFile, uint64_t modelFileBytes, uint64_t listModelBytes, MeshList& meshes);

// Walks one occurrence and everything beneath it. An occurrence met again on its own path (a
// cycle), or nested deeper than any real assembly, fails with the occurrence's message. An
// occurrence shared by several parents is walked once for each of them.
int WalkProductOccurrence(A3DEntity occurrence, MeshList& meshes);

// Walks a part definition's representation items in order.
int WalkPartDefinition(A3DEntity partDefinition, MeshList& meshes);

// Converts the item's tessellation. An item without one (exact geometry only) yields no mesh.
int WalkRepresentationItem(A3DEntity item, MeshList& meshes);

// Turns one 3D tessellation into one mesh and appends a copy of it. Any other kind of
// tessellation fails with "Unsupported tesselation type". A triangle whose corners lie past the
// tessellation's points is left out, so every face of the mesh refers to its own vertices.
int ConvertTessellation(A3DEntity tessellation, MeshList& meshes);

#endif
