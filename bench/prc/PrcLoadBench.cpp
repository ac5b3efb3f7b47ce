// prc_load_bench [TRIANGLES]: writes a model of TRIANGLES triangles (a million by default) as the
// PRC builder lays it out (every corner its own point, a normal per triangle), then reports how long
// loading the file takes against inflating its compressed sections alone, the floor of any load.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "a3dlib/Model.h"
#include "a3dlib/prc/PrcCodec.h"
#include "a3dlib/prc/SectionCompression.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return uint32_t(bytes[offset]) | (uint32_t(bytes[offset + 1]) << 8) | (uint32_t(bytes[offset + 2]) << 16) |
         (uint32_t(bytes[offset + 3]) << 24);
}

a3d::ModelFile* BuildModel(a3d::EntityStore& store, uint32_t triangles) {
  a3d::Tess3D* tess = store.Make<a3d::Tess3D>();
  tess->coords.reserve(9 * size_t(triangles));
  tess->normals.reserve(3 * size_t(triangles));
  tess->indices.reserve(4 * size_t(triangles));
  // A wavy grid, in single precision widened, as meshes reach the builder.
  const uint32_t side = 1000;
  for (uint32_t f = 0; f < triangles; ++f) {
    float x = static_cast<float>((f / 2) % side) * 0.01f;
    float y = static_cast<float>((f / 2) / side) * 0.01f;
    float corners[9] = {x, y, x * y, x + 0.01f, y, x * 0.5f, x, y + 0.01f, y * 0.25f};
    if (f % 2) std::swap(corners[0], corners[3]);
    for (float value : corners) tess->coords.push_back(value);
    float n = 1.0f / (1.0f + x);
    for (float value : {n * 0.6f, n * 0.8f, 1.0f - n}) tess->normals.push_back(value);
    tess->indices.insert(tess->indices.end(), {3 * f, 9 * f, 9 * f + 3, 9 * f + 6});
  }
  a3d::TessFace face;
  face.kind = 0x20;
  face.sizes = {triangles};
  tess->faces.push_back(face);
  a3d::RepresentationItem* item = store.Make<a3d::RepresentationItem>(a3d::kTypePolyBrepModel);
  item->tessellation = tess;
  a3d::PartDefinition* part = store.Make<a3d::PartDefinition>();
  part->items.push_back(item);
  a3d::ProductOccurrence* occurrence = store.Make<a3d::ProductOccurrence>();
  occurrence->partDefinition = part;
  occurrence->name = "Model";
  a3d::ModelFile* model = store.Make<a3d::ModelFile>();
  model->roots.push_back(occurrence);
  model->name = "ModelFile";
  return model;
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t triangles = argc > 1 ? static_cast<uint32_t>(strtoul(argv[1], nullptr, 10)) : 1000000u;
  std::vector<uint8_t> file;
  double writeSeconds;
  {
    a3d::EntityStore store;
    a3d::ModelFile* model = BuildModel(store, triangles);
    Clock::time_point start = Clock::now();
    if (a3d::WriteModelBytes(*model, file) != 0) {
      fprintf(stderr, "the model could not be written\n");
      return 1;
    }
    writeSeconds = SecondsSince(start);
  }

  // The compressed sections: the five of the one file structure, and the model file.
  std::vector<uint32_t> offsets;
  for (int i = 1; i < 6; ++i) offsets.push_back(WordAt(file, 71 + 4 * i));
  offsets.push_back(WordAt(file, 95));

  const int rounds = 5;
  double inflateSeconds = 1e9;
  double loadSeconds = 1e9;
  size_t inflatedBytes = 0;
  for (int round = 0; round < rounds; ++round) {
    Clock::time_point start = Clock::now();
    inflatedBytes = 0;
    for (uint32_t offset : offsets) {
      a3d::prc::SectionBytes section;
      if (!a3d::prc::InflateSection(file.data() + offset, file.size() - offset, section)) {
        fprintf(stderr, "a section does not inflate\n");
        return 1;
      }
      inflatedBytes += section.size();
    }
    inflateSeconds = std::min(inflateSeconds, SecondsSince(start));

    a3d::EntityStore store;
    a3d::ModelFile* model = nullptr;
    start = Clock::now();
    if (a3d::ReadModelBytes(file.data(), file.size(), store, &model) != 0) {
      fprintf(stderr, "the file does not load\n");
      return 1;
    }
    loadSeconds = std::min(loadSeconds, SecondsSince(start));
  }
  printf("triangles         %u\n", triangles);
  printf("file              %.1f MB (%.1f MB inflated)\n", file.size() / 1e6, inflatedBytes / 1e6);
  printf("write             %.3f s\n", writeSeconds);
  printf("inflate sections  %.3f s (best of %d)\n", inflateSeconds, rounds);
  printf("load              %.3f s (best of %d)\n", loadSeconds, rounds);
  printf("load / inflate    %.2f\n", loadSeconds / inflateSeconds);
  return 0;
}
