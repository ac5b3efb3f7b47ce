// walk-benchmark [TRIANGLES]
//
// For each size (10^4, 10^5 and 10^6 triangles, or the one given), in a process of its own:
// builds a model of one grid tessellation through the 3D library, writes it to a model file,
// loads it back, and walks it into a mesh list as the Export does, bounded by the file's size.
// Prints the time of the load and of the walk, and the process's peak resident memory.
//
// Without a size given, then the same for small hostile files whose shared occurrences describe
// more paths than could ever be walked: how long their walk takes to fail, and with which
// message. The library is found as the plug-in finds it: beside this program.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "Grid.h"
#include "extraction/A3DBinding.h"
#include "extraction/LastErrorText.h"
#include "extraction/ModelWalk.h"

namespace {

A3DEntity Tessellation(std::vector<double> coords, std::vector<uint32_t> indices) {
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
  return tessellation;
}

// A poly-brep item; without a tessellation, it stands for exact geometry only.
A3DEntity Item(A3DEntity tessellation) {
  PolyBrepModelRecord polyBrep;
  PrepareRecord(polyBrep);
  A3DEntity item = nullptr;
  A3D_ENTRY(A3DRiPolyBrepModelCreate)(&polyBrep, &item);
  RepresentationItemRecord record;
  PrepareRecord(record);
  record.tessellation = tessellation;
  A3D_ENTRY(A3DRiRepresentationItemSet)(item, &record);
  return item;
}

A3DEntity PartOccurrence(A3DEntity item) {
  PartDefinitionRecord part;
  PrepareRecord(part);
  part.itemCount = 1;
  part.items = &item;
  ProductOccurrenceRecord record;
  PrepareRecord(record);
  A3D_ENTRY(A3DAsmPartDefinitionCreate)(&part, &record.partDefinition);
  A3DEntity occurrence = nullptr;
  A3D_ENTRY(A3DAsmProductOccurrenceCreate)(&record, &occurrence);
  return occurrence;
}

A3DEntity Assembly(std::vector<A3DEntity> children) {
  ProductOccurrenceRecord record;
  PrepareRecord(record);
  record.childCount = static_cast<uint32_t>(children.size());
  record.children = children.data();
  A3DEntity occurrence = nullptr;
  A3D_ENTRY(A3DAsmProductOccurrenceCreate)(&record, &occurrence);
  return occurrence;
}

A3DEntity ModelFile(A3DEntity occurrence) {
  ModelFileRecord model;
  PrepareRecord(model);
  model.unit = 1.0;
  model.occurrenceCount = 1;
  model.occurrences = &occurrence;
  A3DEntity modelFile = nullptr;
  A3D_ENTRY(A3DAsmModelFileCreate)(&model, &modelFile);
  return modelFile;
}

// A tessellation of `triangles` triangles on a square grid, in the walk's layout: six entries
// per triangle.
A3DEntity GridTessellation(uint32_t triangles) {
  const uint32_t side = GridSide(triangles);
  std::vector<double> coords(3 * static_cast<size_t>(side + 1) * (side + 1));
  for (uint32_t p = 0; p < (side + 1) * (side + 1); ++p) GridPoint(p, side, &coords[3 * static_cast<size_t>(p)]);
  std::vector<uint32_t> indices;
  indices.reserve(6 * static_cast<size_t>(triangles));
  for (uint32_t t = 0; t < triangles; ++t) {
    uint32_t corners[3];
    GridTriangle(t, side, corners);
    for (uint32_t corner : corners) indices.insert(indices.end(), {0, 3 * corner});
  }
  return Tessellation(std::move(coords), std::move(indices));
}

A3DEntity GridModel(uint32_t triangles) { return ModelFile(PartOccurrence(Item(GridTessellation(triangles)))); }

// `levels` occurrences, each with two children that are both the next one, the last holding one
// triangle, or exact geometry only: 2^(levels-1) paths in a few hundred bytes.
A3DEntity SharedLevelsModel(int levels, bool triangle) {
  A3DEntity level = PartOccurrence(Item(triangle ? Tessellation({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 0, 3, 0, 6}) : nullptr));
  for (int i = 1; i < levels; ++i) level = Assembly({level, level});
  return ModelFile(level);
}

// children^2 paths to one grid tessellation.
A3DEntity TwoSharedLevelsModel(int children, uint32_t triangles) {
  A3DEntity level = Assembly(std::vector<A3DEntity>(children, PartOccurrence(Item(GridTessellation(triangles)))));
  return ModelFile(Assembly(std::vector<A3DEntity>(children, level)));
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

// A model file written from the model that `build` makes, loaded back.
struct LoadedModel {
  A3DEntity model;
  uint64_t bytes;
  double loadSeconds;
};

bool WriteAndLoad(const std::function<A3DEntity()>& build, const std::string& name, LoadedModel* loaded) {
  char folder[MAX_PATH + 1];
  GetTempPathA(sizeof folder, folder);
  std::string file = std::string(folder) + "walk-benchmark-" + name + ".model";
  {
    A3DEntity built = build();
    ModelFileWriteParameters parameters;
    PrepareRecord(parameters);
    A3D_ENTRY(A3DAsmModelFileWriteToFile)(built, &parameters, file.c_str());
    A3D_ENTRY(A3DAsmModelFileDelete)(built);
  }
  FILE* written = fopen(file.c_str(), "rb");
  if (!written) return false;
  fseek(written, 0, SEEK_END);
  loaded->bytes = static_cast<uint64_t>(ftell(written));
  fclose(written);
  auto start = std::chrono::steady_clock::now();
  loaded->model = nullptr;
  int status = A3D_ENTRY(A3DAsmModelFileLoadFromFile)(file.c_str(), nullptr, &loaded->model);
  loaded->loadSeconds = Seconds(start);
  _unlink(file.c_str());
  return status == 0;
}

// With the 3D library bound: writes the model that `build` makes to a model file, loads it back,
// walks it as the Export does (bounded by the file's size) and hands what came of it to `report`.
// The result of `report`, or 1 when the library or the model file cannot be had.
int TimeWalk(const std::function<A3DEntity()>& build, const std::string& name,
             const std::function<int(const LoadedModel&, int walked, const MeshList&, double seconds)>& report) {
  HMODULE library = LoadA3DLibrary();
  if (!library || !InitA3DLibrary()) {
    fprintf(stderr, "walk-benchmark: the 3D library cannot be bound\n");
    return 1;
  }
  int result = 1;
  LoadedModel loaded;
  if (WriteAndLoad(build, name, &loaded)) {
    MeshList meshes;
    auto start = std::chrono::steady_clock::now();
    int walked = WalkModelFileOfSize(loaded.model, loaded.bytes, loaded.bytes, meshes);
    result = report(loaded, walked, meshes, Seconds(start));
    A3D_ENTRY(A3DAsmModelFileDelete)(loaded.model);
  } else {
    fprintf(stderr, "walk-benchmark: the model file cannot be loaded\n");
  }
  TerminateA3DLibrary();
  UnloadA3DLibrary(library);
  return result;
}

int RunOne(uint32_t triangles) {
  return TimeWalk([&] { return GridModel(triangles); }, std::to_string(triangles),
                  [&](const LoadedModel& loaded, int walked, const MeshList& meshes, double seconds) {
                    if (!walked || meshes.Count() != 1) return 1;
                    printf("%9u triangles  %8d vertices  load %8.4f s  walk %8.4f s  peak memory %7ld KiB\n",
                           triangles, meshes[0].VertexCount(), loaded.loadSeconds, seconds, PeakMemoryKiB());
                    return 0;
                  });
}

struct HostileFile {
  const char* name;
  std::function<A3DEntity()> build;
};

const HostileFile kHostileFiles[] = {
    {"30 shared levels, one triangle", [] { return SharedLevelsModel(30, true); }},
    {"30 shared levels, exact geometry", [] { return SharedLevelsModel(30, false); }},
    {"10^6 paths to 10^4 triangles", [] { return TwoSharedLevelsModel(1000, 10000); }},
};

// The walk of a hostile file must fail; 1 when it does not.
int RunHostile(const HostileFile& hostile) {
  return TimeWalk(hostile.build, "hostile", [&](const LoadedModel& loaded, int walked, const MeshList& meshes, double seconds) {
    printf("%-34s %7llu bytes  walk %s after %6.3f s (%d meshes) \"%s\"  peak memory %7ld KiB\n", hostile.name,
           static_cast<unsigned long long>(loaded.bytes), walked ? "SUCCEEDED" : "fails", seconds, meshes.Count(),
           GetLastErrorText().GetString(), PeakMemoryKiB());
    return walked ? 1 : 0;
  });
}

// Each run in a process of its own where there is fork, so that its peak memory is its own.
int RunApart(const std::function<int()>& run) {
#if defined(_WIN32)
  return run();
#else
  fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    int result = run();
    fflush(stdout);
    _exit(result);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return RunOne(static_cast<uint32_t>(strtoul(argv[1], nullptr, 10)));
  int failures = 0;
  for (uint32_t triangles : {10000u, 100000u, 1000000u}) failures += RunApart([&] { return RunOne(triangles); }) != 0;
  for (const HostileFile& hostile : kHostileFiles) failures += RunApart([&] { return RunHostile(hostile); }) != 0;
  return failures ? 1 : 0;
}
