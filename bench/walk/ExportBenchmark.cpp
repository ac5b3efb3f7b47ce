// export-benchmark [TRIANGLES [DOCUMENT.pdf]]
//
// Writes a PDF document of one 3D annotation holding one mesh of TRIANGLES triangles (6,000,000
// unless told, whose meshes pass 256 MiB), nothing shared, through the road back as make-sample
// does: the plug-in's PRC builder writes the mesh, the stand-in host takes it into a document and
// saves it. Then exports the document with the host program beside this one, as a user would
// (`acrohost export`), and prints the Export's time and peak memory and how many triangles reached
// the file. Fails unless the Export succeeded with every triangle. With DOCUMENT.pdf the document
// is written there and kept, for Exports through other builds. Linux only: it saves PDF files and
// starts a program.
#include <windows.h>

#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "Grid.h"
#include "acrohost/Host.h"
#include "extraction/LastErrorText.h"
#include "extraction/PrcBuilder.h"
#include "host/HostTables.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

ON_Mesh GridMesh(uint32_t triangles) {
  const uint32_t side = GridSide(triangles);
  const uint32_t points = (side + 1) * (side + 1);
  ON_Mesh mesh(static_cast<int>(triangles), static_cast<int>(points), false, false);
  for (uint32_t p = 0; p < points; ++p) {
    double point[3];
    GridPoint(p, side, point);
    mesh.SetVertex(static_cast<int>(p), ON_3dPoint(point[0], point[1], point[2]));
  }
  for (uint32_t t = 0; t < triangles; ++t) {
    uint32_t corners[3];
    GridTriangle(t, side, corners);
    mesh.SetTriangle(static_cast<int>(t), static_cast<int>(corners[0]), static_cast<int>(corners[1]),
                     static_cast<int>(corners[2]));
  }
  return mesh;
}

// The road back, in a host of this process whose tables the plug-in's code calls.
bool WriteDocument(uint32_t triangles, const std::string& path) {
  acrohost::Host host;
#define VANTRELL_IMPORT_TABLE(name)                                    \
  g##name##Table = host.tables().Table(acrohost::TableByName(#name)); \
  g##name##TableVersion = acrohost::kHostTableVersion;
  HOST_TABLES(VANTRELL_IMPORT_TABLE)
#undef VANTRELL_IMPORT_TABLE
  host.documents().OpenNewMemoryDocument();
  {
    MeshList meshes;
    meshes.Append(GridMesh(triangles));
    if (!PassMeshesToHostAsPrc(&meshes)) {
      fprintf(stderr, "export-benchmark: %s\n", GetLastErrorText().GetString());
      return false;
    }
  }
  std::string error;
  if (!host.documents().active()->Save(path, &error)) {
    fprintf(stderr, "export-benchmark: cannot save %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

// The triangles that the COLLADA file declares, over all its meshes.
unsigned long long DeclaredTriangles(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return 0;
  const std::string tag = "<triangles count=\"";
  unsigned long long triangles = 0;
  std::string text;
  char buffer[1 << 16];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, n);
    size_t at;
    while ((at = text.find(tag)) != std::string::npos && text.find('"', at + tag.size()) != std::string::npos) {
      triangles += strtoull(text.c_str() + at + tag.size(), nullptr, 10);
      text.erase(0, at + tag.size());
    }
    // Keep what may be the start of a tag cut by the buffer's end.
    if (text.size() > tag.size()) text.erase(0, text.size() - tag.size());
  }
  fclose(file);
  return triangles;
}

double Megabytes(const std::string& path) {
  std::error_code error;
  return static_cast<double>(fs::file_size(path, error)) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t triangles = argc > 1 ? static_cast<uint32_t>(strtoul(argv[1], nullptr, 10)) : 6000000u;
  char self[MAX_PATH + 1];
  GetModuleFileNameA(NULL, self, sizeof self);
  const fs::path bin = fs::path(self).parent_path();
  char folder[] = "/tmp/export-benchmark-XXXXXX";
  if (!mkdtemp(folder)) {
    perror("export-benchmark: mkdtemp");
    return 1;
  }
  // The road back's PRC file and the Export's go there too.
  setenv("temp", folder, 1);
  const std::string document = argc > 2 ? argv[2] : std::string(folder) + "/model.pdf";
  const std::string output = std::string(folder) + "/model.skp";
  // Written by a process of its own, so that its memory is not counted as the Export's: a started
  // program's peak memory includes what its starter held.
  fflush(stdout);
  pid_t writer = fork();
  if (writer == 0) _exit(WriteDocument(triangles, document) ? 0 : 1);
  int written = 1;
  if (writer < 0 || waitpid(writer, &written, 0) != writer || !WIFEXITED(written) || WEXITSTATUS(written) != 0)
    return 1;

  std::string program = (bin / "acrohost").string();
  const char* arguments[] = {program.c_str(), "export", document.c_str(), output.c_str(), nullptr};
  auto start = std::chrono::steady_clock::now();
  pid_t child;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, const_cast<char**>(arguments), environ) != 0) {
    perror("export-benchmark: acrohost");
    return 1;
  }
  int status = 0;
  struct rusage usage;
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool exported = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  const unsigned long long declared = exported ? DeclaredTriangles(output) : 0;
  printf("%u triangles, document %.1f MB: export %s after %.2f s, peak memory %.0f MiB, %llu triangles written (%.1f MB)\n",
         triangles, Megabytes(document), exported ? "succeeded" : "FAILED", seconds, usage.ru_maxrss / 1024.0, declared,
         Megabytes(output));
  fs::remove(output);
  if (argc <= 2) fs::remove(document);
  fs::remove(folder);
  return exported && declared == triangles ? 0 : 1;
}
