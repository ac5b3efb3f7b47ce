// walk-benchmark [TRIANGLES]
//
// For each size (10^4, 10^5 and 10^6 triangles, or the one given), in a process of its own:
// builds a model of one grid tessellation through the 3D library, writes it to a model file,
// loads it back, and walks it into a mesh list as the Export does. Prints the time of the load
// and of the walk, and the process's peak resident memory. The library is found as the plug-in
// finds it: beside this program.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "extraction/A3DBinding.h"
#include "extraction/ModelWalk.h"

namespace {

// A square grid of about `triangles` triangles in the walk's layout: six entries per triangle.
A3DEntity GridModel(uint32_t triangles) {
  uint32_t side = 1;
  while (2 * side * side < triangles) ++side;
  std::vector<double> coords;
  coords.reserve(3 * (side + 1) * (side + 1));
  for (uint32_t y = 0; y <= side; ++y)
    for (uint32_t x = 0; x <= side; ++x) {
      coords.push_back(x * 0.5);
      coords.push_back(y * 0.25);
      coords.push_back((x ^ y) & 7);
    }
  std::vector<uint32_t> indices;
  indices.reserve(6 * static_cast<size_t>(triangles));
  for (uint32_t t = 0; t < triangles; ++t) {
    uint32_t cell = t / 2, x = cell % side, y = cell / side;
    uint32_t p00 = y * (side + 1) + x, p10 = p00 + 1, p01 = p00 + side + 1, p11 = p01 + 1;
    uint32_t corners[3] = {p00, t % 2 ? p11 : p10, t % 2 ? p01 : p11};
    for (uint32_t corner : corners) {
      indices.push_back(0);
      indices.push_back(3 * corner);
    }
  }
  Tess3DRecord tess;
  PrepareRecord(tess);
  tess.indexCount = static_cast<uint32_t>(indices.size());
  tess.indices = indices.data();
  A3DEntity tessellation = nullptr;
  A3D_ENTRY(A3DTess3DCreate)(&tess, &tessellation);
  TessBaseRecord base;
  PrepareRecord(base);
  base.coordCount = static_cast<uint32_t>(coords.size());
  base.coords = coords.data();
  A3D_ENTRY(A3DTessBaseSet)(tessellation, &base);
  PolyBrepModelRecord polyBrep;
  PrepareRecord(polyBrep);
  A3DEntity item = nullptr;
  A3D_ENTRY(A3DRiPolyBrepModelCreate)(&polyBrep, &item);
  RepresentationItemRecord itemRecord;
  PrepareRecord(itemRecord);
  itemRecord.tessellation = tessellation;
  A3D_ENTRY(A3DRiRepresentationItemSet)(item, &itemRecord);
  PartDefinitionRecord part;
  PrepareRecord(part);
  part.itemCount = 1;
  part.items = &item;
  A3DEntity partDefinition = nullptr;
  A3D_ENTRY(A3DAsmPartDefinitionCreate)(&part, &partDefinition);
  ProductOccurrenceRecord occurrenceRecord;
  PrepareRecord(occurrenceRecord);
  occurrenceRecord.partDefinition = partDefinition;
  A3DEntity occurrence = nullptr;
  A3D_ENTRY(A3DAsmProductOccurrenceCreate)(&occurrenceRecord, &occurrence);
  ModelFileRecord model;
  PrepareRecord(model);
  model.unit = 1.0;
  model.occurrenceCount = 1;
  model.occurrences = &occurrence;
  A3DEntity modelFile = nullptr;
  A3D_ENTRY(A3DAsmModelFileCreate)(&model, &modelFile);
  return modelFile;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakMemoryKiB() {
#if defined(_WIN32)
  return -1;
#else
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

int RunOne(uint32_t triangles) {
  HMODULE library = LoadA3DLibrary();
  if (!library || !InitA3DLibrary()) {
    fprintf(stderr, "walk-benchmark: the 3D library cannot be bound\n");
    return 1;
  }
  char path[MAX_PATH + 1];
  GetTempPathA(sizeof path, path);
  std::string file = std::string(path) + "walk-benchmark-" + std::to_string(triangles) + ".model";
  {
    A3DEntity built = GridModel(triangles);
    ModelFileWriteParameters parameters;
    PrepareRecord(parameters);
    A3D_ENTRY(A3DAsmModelFileWriteToFile)(built, &parameters, file.c_str());
    A3D_ENTRY(A3DAsmModelFileDelete)(built);
  }
  auto start = std::chrono::steady_clock::now();
  A3DEntity model = nullptr;
  int status = A3D_ENTRY(A3DAsmModelFileLoadFromFile)(file.c_str(), nullptr, &model);
  double load = Seconds(start);
  _unlink(file.c_str());
  if (status != 0) {
    fprintf(stderr, "walk-benchmark: the model file cannot be loaded\n");
    return 1;
  }
  MeshList meshes;
  start = std::chrono::steady_clock::now();
  int walked = WalkModelFile(model, meshes);
  double walk = Seconds(start);
  A3D_ENTRY(A3DAsmModelFileDelete)(model);
  TerminateA3DLibrary();
  UnloadA3DLibrary(library);
  if (!walked || meshes.Count() != 1) return 1;
  printf("%9u triangles  %8d vertices  load %8.4f s  walk %8.4f s  peak memory %7ld KiB\n", triangles,
         meshes[0].VertexCount(), load, walk, PeakMemoryKiB());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return RunOne(static_cast<uint32_t>(strtoul(argv[1], nullptr, 10)));
  int failures = 0;
  for (uint32_t triangles : {10000u, 100000u, 1000000u}) {
#if defined(_WIN32)
    failures += RunOne(triangles) != 0;
#else
    // Each size in a process of its own, so that its peak memory is its own.
    fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
      int result = RunOne(triangles);
      fflush(stdout);
      _exit(result);
    }
    int status = 0;
    waitpid(child, &status, 0);
    failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
  }
  return failures ? 1 : 0;
}
