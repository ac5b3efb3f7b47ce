// The road back from meshes to PRC: a mesh list written through the 3D library as one PRC model
// file and handed to the host, and an existing PRC file handed to the host.
//
// The model file written always has the same shape: the model file "ModelFile" (unit 1.0), one
// product occurrence "Model", one part definition, one poly-brep item, and one 3D tessellation that
// holds every triangle in one face record of triangles with one normal each. No point and no normal
// is shared between triangles.
#ifndef VANTRELL_EXTRACTION_PRCBUILDER_H
#define VANTRELL_EXTRACTION_PRCBUILDER_H

#include <stddef.h>

#include "extraction/A3DRecords.h"
#include "extraction/ModelWalk.h"
#include "mfc/CStringT.h"

// Writes the list as a PRC model file to the temporary PRC path, hands it to the host, then
// deletes it. 0 only when BuildPrcFromMeshes fails; nothing is handed over or deleted then.
int PassMeshesToHostAsPrc(const MeshList* meshes);

// Hands the PRC file at path to the host and leaves the file in place. Always 1.
int PassPrcFileToHost(const CStringT<char>& path);

// Merges the list's meshes, in order, into one mesh and writes it with WritePrcModelFile.
int BuildPrcFromMeshes(const MeshList* meshes, const CStringT<char>& path);

// Builds the model file from a working copy of the mesh (quads split, face normals computed; the
// caller's mesh is not changed) and writes it to path, binding the 3D library for the call.
// Returns 0 with the last-error text set when the library cannot be bound or the host has no
// memory for the arrays; otherwise 1, whatever the library's calls report. A face whose first
// three corners are not all vertices of the mesh is left out.
int WritePrcModelFile(const ON_Mesh* mesh, const CStringT<char>& path);

// Gives the entity at *entity the name. 0 for a null address, else 1.
int SetEntityName(const char* name, A3DEntity* entity);

// A block of the host's allocator, and its return; HostFree passes over a null pointer.
void* HostAlloc(size_t size);
void HostFree(void* block);

#endif
