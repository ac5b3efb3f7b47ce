#include "extraction/ModelWalk.h"

#include <string.h>

#include "extraction/A3DBinding.h"
#include "extraction/LastErrorText.h"

namespace {

// Assemblies are a handful of levels deep; a model nested deeper than this is damaged or hostile,
// and walking it would only exhaust the stack.
const int kMaxOccurrenceDepth = 256;

// The occurrences from the model file's root down to the one being walked.
struct OccurrencePath {
  A3DEntity occurrence;
  const OccurrencePath* parent;
  int depth;
};

bool IsOnPath(const OccurrencePath* path, A3DEntity occurrence) {
  for (; path; path = path->parent)
    if (path->occurrence == occurrence) return true;
  return false;
}

void Fail(const char* message) { SetLastErrorText(CStringT<char>(message)); }

int WalkOccurrence(A3DEntity occurrence, MeshList& meshes, const OccurrencePath* path) {
  if (!occurrence) return 1;
  int depth = path ? path->depth + 1 : 0;
  if (depth >= kMaxOccurrenceDepth || IsOnPath(path, occurrence)) {
    Fail("Unable to retrieve product occurence data");
    return 0;
  }
  ProductOccurrenceRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DAsmProductOccurrenceGet)(occurrence, &record) != 0) {
    Fail("Unable to retrieve product occurence data");
    return 0;
  }
  const OccurrencePath here = {occurrence, path, depth};
  int result = WalkOccurrence(record.linkedOccurrence1, meshes, &here);
  if (result) result = WalkOccurrence(record.linkedOccurrence2, meshes, &here);
  for (uint32_t i = 0; result && i < record.childCount; ++i) result = WalkOccurrence(record.children[i], meshes, &here);
  if (result && record.partDefinition) result = WalkPartDefinition(record.partDefinition, meshes);
  A3D_ENTRY(A3DAsmProductOccurrenceGet)(NULL, &record);
  return result;
}

}  // namespace

int WalkModelFile(A3DEntity modelFile, MeshList& meshes) {
  ModelFileRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DAsmModelFileGet)(modelFile, &record) != 0) {
    Fail("Unable to retrieve model file data");
    return 0;
  }
  int result = 1;
  for (uint32_t k = 0; result && k < record.occurrenceCount; ++k)
    result = WalkOccurrence(record.occurrences[k], meshes, NULL);
  A3D_ENTRY(A3DAsmModelFileGet)(NULL, &record);
  return result;
}

int WalkProductOccurrence(A3DEntity occurrence, MeshList& meshes) { return WalkOccurrence(occurrence, meshes, NULL); }

int WalkPartDefinition(A3DEntity partDefinition, MeshList& meshes) {
  PartDefinitionRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DAsmPartDefinitionGet)(partDefinition, &record) != 0) {
    Fail("Unable to retrieve part definition data");
    return 0;
  }
  int result = 1;
  for (uint32_t i = 0; result && i < record.itemCount; ++i)
    if (record.items[i]) result = WalkRepresentationItem(record.items[i], meshes);
  A3D_ENTRY(A3DAsmPartDefinitionGet)(NULL, &record);
  return result;
}

int WalkRepresentationItem(A3DEntity item, MeshList& meshes) {
  RepresentationItemRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DRiRepresentationItemGet)(item, &record) != 0) {
    Fail("Unable to retrieve representation item data");
    return 0;
  }
  int result = record.tessellation ? ConvertTessellation(record.tessellation, meshes) : 1;
  A3D_ENTRY(A3DRiRepresentationItemGet)(NULL, &record);
  return result;
}

int ConvertTessellation(A3DEntity tessellation, MeshList& meshes) {
  TessBaseRecord base;
  PrepareRecord(base);
  if (A3D_ENTRY(A3DTessBaseGet)(tessellation, &base) != 0) {
    Fail("Unable to retrieve tesselation data");
    return 0;
  }
  int type = 0;
  if (A3D_ENTRY(A3DEntityGetType)(tessellation, &type) != 0) {
    Fail("Unable to get tesselation type");
    A3D_ENTRY(A3DTessBaseGet)(NULL, &base);
    return 0;
  }
  if (type != kA3DTypeTess3D) {
    Fail("Unsupported tesselation type");
    A3D_ENTRY(A3DTessBaseGet)(NULL, &base);
    return 0;
  }
  Tess3DRecord tess;
  PrepareRecord(tess);
  if (A3D_ENTRY(A3DTess3DGet)(tessellation, &tess) != 0) {
    Fail("Unable to retrieve tesselation 3d data");
    A3D_ENTRY(A3DTessBaseGet)(NULL, &base);
    return 0;
  }

  const uint32_t triangleCount = tess.indexCount / 6;
  const uint32_t vertexCount = base.coordCount / 3;
  {
    ON_Mesh mesh(static_cast<int>(triangleCount), static_cast<int>(vertexCount), false, false);
    for (uint32_t v = 0; v < vertexCount; ++v)
      mesh.SetVertex(static_cast<int>(v), ON_3dPoint(base.coords[3 * v], base.coords[3 * v + 1], base.coords[3 * v + 2]));
    int faceCount = 0;
    for (uint32_t t = 0; t < triangleCount; ++t) {
      const uint32_t* group = tess.indices + 6 * static_cast<size_t>(t);
      const uint32_t a = group[1] / 3, b = group[3] / 3, c = group[5] / 3;
      if (a >= vertexCount || b >= vertexCount || c >= vertexCount) continue;
      mesh.SetTriangle(faceCount++, static_cast<int>(a), static_cast<int>(b), static_cast<int>(c));
    }
    meshes.Append(mesh);
    A3D_ENTRY(A3DTess3DGet)(NULL, &tess);
  }
  A3D_ENTRY(A3DTessBaseGet)(NULL, &base);
  return 1;
}
