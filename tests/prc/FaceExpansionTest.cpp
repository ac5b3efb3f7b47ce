// Face records read from PRC expand into the triangles the model walk reads: every face kind,
// written by the codec and read back, then expanded as A3DTess3DGet hands it out. Normal offsets
// are 100 and up, point offsets below 100 and texture entries 900 and up, so that a misplaced
// entry shows.
#include <gtest/gtest.h>

#include <vector>

#include "a3dlib/Model.h"
#include "a3dlib/TessExpansion.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

using namespace a3d;

struct Face {
  uint16_t kind;
  uint32_t indexStart;
  std::vector<uint32_t> sizes;
  uint32_t textures;
};

struct Case {
  const char* what;
  std::vector<uint32_t> indices;
  std::vector<Face> faces;
  std::vector<uint32_t> expected;  // six entries per triangle
  bool normalsRecalculated = false;  // the entries hold no normal offsets
};

const uint32_t kSingle = 0x40000000u;

// Writes a model holding the tessellation, reads it back, and expands the tessellation read.
std::vector<uint32_t> ExpandAfterReading(const Case& c) {
  EntityStore store;
  Tess3D* tess = store.Make<Tess3D>();
  tess->coords.assign(30, 0.5);
  if (!c.normalsRecalculated) tess->normals.assign(6, 1.0);
  tess->normalsRecalculated = c.normalsRecalculated;
  tess->indices = c.indices;
  for (const Face& f : c.faces) {
    TessFace face;
    face.kind = f.kind;
    face.indexStart = f.indexStart;
    face.sizes = f.sizes;
    face.textureCoordIndexCount = f.textures;
    tess->faces.push_back(face);
  }
  RepresentationItem* item = store.Make<RepresentationItem>(kTypePolyBrepModel);
  item->tessellation = tess;
  PartDefinition* part = store.Make<PartDefinition>();
  part->items.push_back(item);
  ProductOccurrence* occurrence = store.Make<ProductOccurrence>();
  occurrence->partDefinition = part;
  ModelFile* model = store.Make<ModelFile>();
  model->roots.push_back(occurrence);

  std::vector<uint8_t> bytes;
  EXPECT_EQ(0, WriteModelBytes(*model, bytes));
  EntityStore readStore;
  ModelFile* read = nullptr;
  EXPECT_EQ(0, ReadModelBytes(bytes.data(), bytes.size(), readStore, &read));
  std::vector<uint32_t> entries;
  if (!read) return entries;
  const Tess3D* readTess = dynamic_cast<const Tess3D*>(read->roots.at(0)->partDefinition->items.at(0)->tessellation);
  EXPECT_NE(nullptr, readTess);
  if (readTess) {
    EXPECT_EQ(0, ExpandTess3DFaces(*readTess, entries));
  }
  return entries;
}

TEST(FaceExpansionTest, EveryFaceKindReadFromPrcBecomesTriangles) {
  const Case cases[] = {
      {"triangles", {100, 0, 101, 3, 102, 6}, {{0x2, 0, {1}, 0}}, {100, 0, 101, 3, 102, 6}},
      {"triangles with one normal, as the PRC builder makes them",
       {100, 0, 3, 6, 101, 9, 12, 15},
       {{0x20, 0, {2}, 0}},
       {100, 0, 100, 3, 100, 6, 101, 9, 101, 12, 101, 15}},
      {"a fan",
       {100, 0, 101, 3, 102, 6, 103, 9},
       {{0x4, 0, {1, 4}, 0}},
       {100, 0, 101, 3, 102, 6, 100, 0, 102, 6, 103, 9}},
      {"a strip",
       {100, 0, 101, 3, 102, 6, 103, 9},
       {{0x8, 0, {1, 4}, 0}},
       {100, 0, 101, 3, 102, 6, 102, 6, 101, 3, 103, 9}},
      {"two fans",
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15},
       {{0x4, 0, {2, 3, 3}, 0}},
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15}},
      {"a one-normal fan with a single normal",
       {100, 0, 3, 6, 9},
       {{0x40, 0, {1, 4 | kSingle}, 0}},
       {100, 0, 100, 3, 100, 6, 100, 0, 100, 6, 100, 9}},
      {"a one-normal strip with a single normal",
       {100, 0, 3, 6, 9},
       {{0x80, 0, {1, 4 | kSingle}, 0}},
       {100, 0, 100, 3, 100, 6, 100, 6, 100, 3, 100, 9}},
      {"textured triangles, two texture entries a corner",
       {100, 900, 901, 0, 101, 902, 903, 3, 102, 904, 905, 6},
       {{0x200, 0, {1}, 2}},
       {100, 0, 101, 3, 102, 6}},
      {"a textured fan",
       {100, 900, 0, 101, 901, 3, 102, 902, 6},
       {{0x400, 0, {1, 3}, 1}},
       {100, 0, 101, 3, 102, 6}},
      {"a textured strip",
       {100, 900, 0, 101, 901, 3, 102, 902, 6, 103, 903, 9},
       {{0x800, 0, {1, 4}, 1}},
       {100, 0, 101, 3, 102, 6, 102, 6, 101, 3, 103, 9}},
      {"textured triangles with one normal",
       {100, 900, 0, 901, 3, 902, 6},
       {{0x2000, 0, {1}, 1}},
       {100, 0, 100, 3, 100, 6}},
      {"a textured one-normal fan with a single normal",
       {100, 900, 0, 901, 3, 902, 6},
       {{0x4000, 0, {1, 3 | kSingle}, 1}},
       {100, 0, 100, 3, 100, 6}},
      {"a textured one-normal strip with a single normal",
       {100, 900, 0, 901, 3, 902, 6},
       {{0x8000, 0, {1, 3 | kSingle}, 1}},
       {100, 0, 100, 3, 100, 6}},
      {"triangles and a fan in one face, in the order of their flags",
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15},
       {{0x6, 0, {1, 1, 3}, 0}},
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15}},
      {"two faces, the second starting further on",
       {999, 100, 0, 101, 3, 102, 6, 103, 9, 12, 15},
       {{0x2, 1, {1}, 0}, {0x20, 7, {1}, 0}},
       {100, 0, 101, 3, 102, 6, 103, 9, 103, 12, 103, 15}},
      {"triangles whose normals are left to the reader", {0, 3, 6, 9, 3, 6}, {{0x2, 0, {2}, 0}},
       {0, 0, 0, 3, 0, 6, 0, 9, 0, 3, 0, 6}, true},
      {"a one-normal fan whose normals are left to the reader", {0, 3, 6, 9}, {{0x40, 0, {1, 4 | kSingle}, 0}},
       {0, 0, 0, 3, 0, 6, 0, 0, 0, 6, 0, 9}, true},
      {"a textured strip whose normals are left to the reader", {900, 0, 901, 3, 902, 6, 903, 9},
       {{0x800, 0, {1, 4}, 1}}, {0, 0, 0, 3, 0, 6, 0, 6, 0, 3, 0, 9}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ExpandAfterReading(c)) << c.what;
}

}  // namespace
