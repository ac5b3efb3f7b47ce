#include "extraction/PrcBuilder.h"

#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "extraction/A3DBinding.h"
#include "extraction/LastErrorText.h"
#include "extraction/TemporaryPrcPath.h"
#include "host/HostCalls.h"

namespace {

// Face kind of triangles that carry one normal each.
const uint16_t kTrianglesWithOneNormal = 32;

// The host's steps of taking a PRC file into the active document; the host has finished with
// the file when the last of them returns.
void HandOverPrcFile(const CStringT<char>& path) {
  HostAtom pathType = HostAtomFromString("Cstring");
  HostFileSys fileSys = HostFileSysForPath(pathType, path);
  HostPathName pathName = HostFileSysCreatePath(fileSys, pathType, path, NULL);
  HostContainer container = HostContainerNew();
  HostContainerSetName(container, "Model");
  HostTakePrcFile(pathName, fileSys, container);
  HostFileSysReleasePath(fileSys, pathName);
  HostContainerDestroy(container);
}

// Whether the face's first three corners are vertices of the mesh and of its topology.
bool HasUsableCorners(const ON_MeshFace& face, int vertexCount, const ON_MeshTopology& topology) {
  for (int k = 0; k < 3; ++k) {
    int v = face.vi[k];
    if (v < 0 || v >= vertexCount || v >= topology.m_topv_map.Count()) return false;
  }
  return true;
}

// The three arrays the tessellation is built from, taken from the host's allocator.
struct TessellationArrays {
  double* coords = NULL;
  double* normals = NULL;
  uint32_t* indices = NULL;

  // False when the host has no memory for them (or the sizes cannot be expressed).
  bool Take(uint32_t triangles) {
    // Compared as a size_t: the byte bound binds only where size_t is 32 bits.
    const size_t n = triangles;
    if (n > SIZE_MAX / 72 || n > UINT32_MAX / 9) return false;
    coords = static_cast<double*>(HostAlloc(72 * n));
    normals = static_cast<double*>(HostAlloc(24 * n));
    indices = static_cast<uint32_t*>(HostAlloc(16 * n));
    return n == 0 || (coords && normals && indices);
  }
  void Give() {
    HostFree(coords);
    HostFree(normals);
    HostFree(indices);
  }
};

// Fills the arrays: nine coordinates, three normal coordinates and four index entries per
// triangle, the corners taken through the topology.
void FillArrays(const ON_Mesh& mesh, TessellationArrays& arrays) {
  const ON_MeshTopology& topology = mesh.Topology();
  const int vertexCount = mesh.VertexCount();
  uint32_t f = 0;
  for (int face = 0; face < mesh.FaceCount(); ++face) {
    if (!HasUsableCorners(mesh.m_F[face], vertexCount, topology)) continue;
    const uint32_t c = 9 * f, m = 3 * f, i = 4 * f;
    for (int k = 0; k < 3; ++k) {
      const int t = topology.m_topv_map[mesh.m_F[face].vi[k]];
      const ON_3dPoint point(topology.TopVertexPoint(t));
      arrays.coords[c + 3 * k] = point.x;
      arrays.coords[c + 3 * k + 1] = point.y;
      arrays.coords[c + 3 * k + 2] = point.z;
    }
    const ON_3dVector normal(mesh.m_FN[face]);
    arrays.normals[m] = normal.x;
    arrays.normals[m + 1] = normal.y;
    arrays.normals[m + 2] = normal.z;
    arrays.indices[i] = m;
    arrays.indices[i + 1] = c;
    arrays.indices[i + 2] = c + 3;
    arrays.indices[i + 3] = c + 6;
    ++f;
  }
}

uint32_t CountUsableFaces(const ON_Mesh& mesh) {
  const ON_MeshTopology& topology = mesh.Topology();
  uint32_t count = 0;
  for (int face = 0; face < mesh.FaceCount(); ++face)
    if (HasUsableCorners(mesh.m_F[face], mesh.VertexCount(), topology)) ++count;
  return count;
}

// Builds the entity tree over the filled arrays and writes it. No status is tested: every step
// runs, each handle going on as the library left it.
void WriteEntityTree(TessellationArrays& arrays, uint32_t n, const CStringT<char>& path) {
  TessBaseRecord base;
  PrepareRecord(base);
  base.coordCount = 9 * n;
  base.coords = arrays.coords;

  TessFaceRecord face;
  PrepareRecord(face);
  face.faceKind = kTrianglesWithOneNormal;
  face.indexStart = 0;
  face.sizeCount = 1;
  face.sizes = &n;

  Tess3DRecord tess;
  PrepareRecord(tess);
  tess.normalCoordCount = 3 * n;
  tess.normalCoords = arrays.normals;
  tess.indexCount = 4 * n;
  tess.indices = arrays.indices;
  tess.faceCount = 1;
  tess.faces = &face;

  A3DEntity tessellation = NULL;
  A3D_ENTRY(A3DTess3DCreate)(&tess, &tessellation);
  A3D_ENTRY(A3DTessBaseSet)(tessellation, &base);

  A3DEntity polyBrep = NULL;
  PolyBrepModelRecord polyBrepRecord;
  PrepareRecord(polyBrepRecord);
  polyBrepRecord.modelFlag = 1;
  A3D_ENTRY(A3DRiPolyBrepModelCreate)(&polyBrepRecord, &polyBrep);

  RepresentationItemRecord item;
  PrepareRecord(item);
  item.tessellation = tessellation;
  A3D_ENTRY(A3DRiRepresentationItemSet)(polyBrep, &item);

  A3DEntity partDefinition = NULL;
  PartDefinitionRecord part;
  PrepareRecord(part);
  part.itemCount = 1;
  part.items = &polyBrep;
  A3D_ENTRY(A3DAsmPartDefinitionCreate)(&part, &partDefinition);

  A3DEntity occurrence = NULL;
  ProductOccurrenceRecord occurrenceRecord;
  PrepareRecord(occurrenceRecord);
  occurrenceRecord.partDefinition = partDefinition;
  A3D_ENTRY(A3DAsmProductOccurrenceCreate)(&occurrenceRecord, &occurrence);
  SetEntityName("Model", &occurrence);

  A3DEntity modelFile = NULL;
  ModelFileRecord model;
  PrepareRecord(model);
  model.unit = 1.0;
  model.occurrenceCount = 1;
  model.occurrences = &occurrence;
  A3D_ENTRY(A3DAsmModelFileCreate)(&model, &modelFile);
  SetEntityName("ModelFile", &modelFile);

  ModelFileWriteParameters parameters;
  PrepareRecord(parameters);
  parameters.writeOption1 = 0;
  parameters.writeOption2 = 1;
  parameters.writeOption3 = 1;
  parameters.writeOption4 = 1;
  A3D_ENTRY(A3DAsmModelFileWriteToFile)(modelFile, &parameters, path);
  A3D_ENTRY(A3DAsmModelFileDelete)(modelFile);
}

}  // namespace

int PassMeshesToHostAsPrc(const MeshList* meshes) {
  CStringT<char> path = MakeTemporaryPrcPath();
  if (!BuildPrcFromMeshes(meshes, path)) return 0;
  HandOverPrcFile(path);
  _unlink(path);
  return 1;
}

int PassPrcFileToHost(const CStringT<char>& path) {
  HandOverPrcFile(path);
  return 1;
}

int BuildPrcFromMeshes(const MeshList* meshes, const CStringT<char>& path) {
  ON_Mesh merged;
  for (int i = 0; i < meshes->Count(); ++i) merged.Append((*meshes)[i]);
  return WritePrcModelFile(&merged, path);
}

int WritePrcModelFile(const ON_Mesh* mesh, const CStringT<char>& path) {
  HMODULE library = LoadA3DLibrary();
  if (!library) return 0;
  if (!InitA3DLibrary()) {
    UnloadA3DLibrary(library);
    return 0;
  }
  ON_Mesh copy(*mesh);
  copy.ConvertQuadsToTriangles();
  copy.ComputeFaceNormals();
  const uint32_t n = CountUsableFaces(copy);

  int result = 1;
  TessellationArrays arrays;
  if (arrays.Take(n)) {
    FillArrays(copy, arrays);
    WriteEntityTree(arrays, n, path);
  } else {
    SetLastErrorText(CStringT<char>("Not enough memory to write the PRC file"));
    result = 0;
  }
  arrays.Give();
  TerminateA3DLibrary();
  UnloadA3DLibrary(library);
  return result;
}

int SetEntityName(const char* name, A3DEntity* entity) {
  if (!entity) return 0;
  RootBaseRecord record;
  PrepareRecord(record);
  record.name = name;
  A3D_ENTRY(A3DRootBaseSet)(*entity, &record);
  return 1;
}

void* HostAlloc(size_t size) { return HostMemAlloc(size); }

void HostFree(void* block) {
  if (block) HostMemFree(block);
}
