#include "extraction/ModelWalk.h"

#include <string.h>

#include "extraction/A3DBinding.h"
#include "extraction/LastErrorText.h"
#include "extraction/WalkBounds.h"

namespace {

// Assemblies are a handful of levels deep; a model nested deeper than this is damaged or hostile,
// and walking it would only exhaust the stack.
const int kMaxOccurrenceDepth = 256;

// The work left to one walk: the visits of its model file, and the bytes of meshes that the list
// may still take. The meshes' bound holds for the whole list, not for each walk: the scan walks
// one model file after another into one list, and a document of many small hostile files must
// not grow it without end either.
struct WalkBudget {
  uint64_t visits;
  uint64_t meshBytes;
};

bool SpendVisit(WalkBudget& budget) {
  if (budget.visits == 0) return false;
  --budget.visits;
  return true;
}

WalkBudget Budget(const MeshList& meshes, uint64_t modelFileBytes, uint64_t listModelBytes) {
  const uint64_t held = MeshListBytes(meshes);
  const uint64_t bound = MeshListByteBound(listModelBytes);
  WalkBudget budget = {WalkVisitBound(modelFileBytes), held < bound ? bound - held : 0};
  return budget;
}

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

int WalkPart(A3DEntity partDefinition, MeshList& meshes, WalkBudget& budget);
int WalkItem(A3DEntity item, MeshList& meshes, WalkBudget& budget);
int Convert(A3DEntity tessellation, MeshList& meshes, WalkBudget& budget);

int WalkOccurrence(A3DEntity occurrence, MeshList& meshes, const OccurrencePath* path, WalkBudget& budget) {
  if (!occurrence) return 1;
  int depth = path ? path->depth + 1 : 0;
  if (depth >= kMaxOccurrenceDepth || IsOnPath(path, occurrence) || !SpendVisit(budget)) {
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
  int result = WalkOccurrence(record.linkedOccurrence1, meshes, &here, budget);
  if (result) result = WalkOccurrence(record.linkedOccurrence2, meshes, &here, budget);
  for (uint32_t i = 0; result && i < record.childCount; ++i)
    result = WalkOccurrence(record.children[i], meshes, &here, budget);
  if (result && record.partDefinition) result = WalkPart(record.partDefinition, meshes, budget);
  A3D_ENTRY(A3DAsmProductOccurrenceGet)(NULL, &record);
  return result;
}

int WalkPart(A3DEntity partDefinition, MeshList& meshes, WalkBudget& budget) {
  PartDefinitionRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DAsmPartDefinitionGet)(partDefinition, &record) != 0) {
    Fail("Unable to retrieve part definition data");
    return 0;
  }
  int result = 1;
  for (uint32_t i = 0; result && i < record.itemCount; ++i)
    if (record.items[i]) result = WalkItem(record.items[i], meshes, budget);
  A3D_ENTRY(A3DAsmPartDefinitionGet)(NULL, &record);
  return result;
}

int WalkItem(A3DEntity item, MeshList& meshes, WalkBudget& budget) {
  RepresentationItemRecord record;
  PrepareRecord(record);
  if (!SpendVisit(budget) || A3D_ENTRY(A3DRiRepresentationItemGet)(item, &record) != 0) {
    Fail("Unable to retrieve representation item data");
    return 0;
  }
  int result = record.tessellation ? Convert(record.tessellation, meshes, budget) : 1;
  A3D_ENTRY(A3DRiRepresentationItemGet)(NULL, &record);
  return result;
}

int Convert(A3DEntity tessellation, MeshList& meshes, WalkBudget& budget) {
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
  const uint64_t bytes = MeshBytes(vertexCount, triangleCount);
  if (bytes > budget.meshBytes) {
    Fail("Unable to retrieve tesselation 3d data");
    A3D_ENTRY(A3DTess3DGet)(NULL, &tess);
    A3D_ENTRY(A3DTessBaseGet)(NULL, &base);
    return 0;
  }
  budget.meshBytes -= bytes;
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

}  // namespace

int WalkModelFile(A3DEntity modelFile, MeshList& meshes) { return WalkModelFileOfSize(modelFile, 0, 0, meshes); }

int WalkModelFileOfSize(A3DEntity modelFile, uint64_t modelFileBytes, uint64_t listModelBytes, MeshList& meshes) {
  ModelFileRecord record;
  PrepareRecord(record);
  if (A3D_ENTRY(A3DAsmModelFileGet)(modelFile, &record) != 0) {
    Fail("Unable to retrieve model file data");
    return 0;
  }
  WalkBudget budget = Budget(meshes, modelFileBytes, listModelBytes);
  int result = 1;
  for (uint32_t k = 0; result && k < record.occurrenceCount; ++k)
    result = WalkOccurrence(record.occurrences[k], meshes, NULL, budget);
  A3D_ENTRY(A3DAsmModelFileGet)(NULL, &record);
  return result;
}

int WalkProductOccurrence(A3DEntity occurrence, MeshList& meshes) {
  WalkBudget budget = Budget(meshes, 0, 0);
  return WalkOccurrence(occurrence, meshes, NULL, budget);
}

int WalkPartDefinition(A3DEntity partDefinition, MeshList& meshes) {
  WalkBudget budget = Budget(meshes, 0, 0);
  return WalkPart(partDefinition, meshes, budget);
}

int WalkRepresentationItem(A3DEntity item, MeshList& meshes) {
  WalkBudget budget = Budget(meshes, 0, 0);
  return WalkItem(item, meshes, budget);
}

int ConvertTessellation(A3DEntity tessellation, MeshList& meshes) {
  WalkBudget budget = Budget(meshes, 0, 0);
  return Convert(tessellation, meshes, budget);
}
