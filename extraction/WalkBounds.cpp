#include "extraction/WalkBounds.h"

#include <string.h>

namespace {

// The floors lie far above any small model: a model of 10^6 triangles takes some 40 MiB of
// meshes and a few hundred thousand visits.
const uint64_t kVisitFloor = uint64_t(1) << 21;
const uint64_t kMeshByteFloor = uint64_t(256) << 20;

// A real occurrence takes far more than two bytes of its file (its name, its placement, its
// references), and an item at least its reference from its part definition.
const uint64_t kFileBytesPerVisit = 2;

// A model without sharing holds about as many bytes of meshes as its PRC file before
// compression, a few times its file; real assemblies repeat parts, the factor leaves room for
// that. It is also the largest for which a file under 1 MiB stays within the floor.
const uint64_t kMeshBytesPerFileByte = 256;

// Without figures: a quarter of a 2 GiB address space.
const uint64_t kMeshBytesWithoutFigures = uint64_t(512) << 20;

const uint64_t kBytesPerMesh = 512;

uint64_t Smaller(uint64_t a, uint64_t b) { return a < b ? a : b; }
uint64_t Larger(uint64_t a, uint64_t b) { return a > b ? a : b; }

uint64_t ProportionalMeshBytes(uint64_t listModelBytes) {
  return listModelBytes > UINT64_MAX / kMeshBytesPerFileByte ? UINT64_MAX : listModelBytes * kMeshBytesPerFileByte;
}

}  // namespace

uint64_t WalkVisitBound(uint64_t modelFileBytes) { return Larger(kVisitFloor, modelFileBytes / kFileBytesPerVisit); }

uint64_t MeshListByteBound(uint64_t listModelBytes) {
  // The memory is asked only when the files would allow more than the floor.
  if (ProportionalMeshBytes(listModelBytes) <= kMeshByteFloor) return kMeshByteFloor;
  MEMORYSTATUSEX memory;
  memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  return MeshListByteBound(listModelBytes, GlobalMemoryStatusEx(&memory) ? &memory : NULL);
}

uint64_t MeshListByteBound(uint64_t listModelBytes, const MEMORYSTATUSEX* memory) {
  const uint64_t holdable =
      memory ? Smaller(memory->ullTotalPhys / 2, memory->ullTotalVirtual / 4) : kMeshBytesWithoutFigures;
  return Larger(kMeshByteFloor, Smaller(ProportionalMeshBytes(listModelBytes), holdable));
}

uint64_t MeshBytes(uint32_t vertexCount, uint32_t faceCount) {
  return kBytesPerMesh + sizeof(ON_3fPoint) * static_cast<uint64_t>(vertexCount) +
         sizeof(ON_MeshFace) * static_cast<uint64_t>(faceCount);
}

uint64_t MeshListBytes(const ON_ClassArray<ON_Mesh>& meshes) {
  uint64_t bytes = 0;
  for (int i = 0; i < meshes.Count(); ++i)
    bytes += MeshBytes(static_cast<uint32_t>(meshes[i].VertexCount()), static_cast<uint32_t>(meshes[i].FaceCount()));
  return bytes;
}
