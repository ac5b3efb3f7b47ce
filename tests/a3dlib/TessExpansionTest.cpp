// A3DTess3DGet hands the face records of a 3D tessellation out as plain triangles: six entries
// per triangle (normal offset, point offset per corner) described by one face record of kind
// triangles. Normal offsets are 100 and up here, point offsets below 100, texture entries 900 and
// up, so that a misplaced entry shows.
#include <gtest/gtest.h>

#include "A3DTestLibrary.h"

namespace {

using a3dtest::Face;
using a3dtest::Library;

const uint32_t kSingle = 0x40000000u;

struct ExpansionCase {
  const char* what;
  std::vector<uint32_t> indices;
  std::vector<Face> faces;
  std::vector<uint32_t> expected;  // six entries per triangle
};

class TessExpansionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.Initialise()); }
  void TearDown() override { EXPECT_EQ(0, library.A3DDllTerminate()); }
  Library library;
};

TEST_F(TessExpansionTest, EveryFaceKindBecomesTriangles) {
  const ExpansionCase cases[] = {
      {"triangles",
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15},
       {{0x2, 0, {2}}},
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12, 105, 15}},
      {"triangles with one normal, as the PRC builder makes them",
       {0, 0, 3, 6, 3, 9, 12, 15},
       {{0x20, 0, {2}}},
       {0, 0, 0, 3, 0, 6, 3, 9, 3, 12, 3, 15}},
      {"a fan turns around its first point",
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12},
       {{0x4, 0, {1, 5}}},
       {100, 0, 101, 3, 102, 6, 100, 0, 102, 6, 103, 9, 100, 0, 103, 9, 104, 12}},
      {"a strip keeps the orientation of its first triangle",
       {100, 0, 101, 3, 102, 6, 103, 9, 104, 12},
       {{0x8, 0, {1, 5}}},
       {100, 0, 101, 3, 102, 6, 102, 6, 101, 3, 103, 9, 102, 6, 103, 9, 104, 12}},
      {"a one-normal fan with a single normal",
       {100, 0, 3, 6, 9},
       {{0x40, 0, {1, 4 | kSingle}}},
       {100, 0, 100, 3, 100, 6, 100, 0, 100, 6, 100, 9}},
      {"a one-normal fan with a normal per point",
       {100, 0, 101, 3, 102, 6, 103, 9},
       {{0x40, 0, {1, 4}}},
       {100, 0, 101, 3, 102, 6, 100, 0, 102, 6, 103, 9}},
      {"a one-normal strip with a single normal",
       {100, 0, 3, 6, 9},
       {{0x80, 0, {1, 4 | kSingle}}},
       {100, 0, 100, 3, 100, 6, 100, 6, 100, 3, 100, 9}},
      {"textured triangles",
       {100, 900, 0, 101, 901, 3, 102, 902, 6},
       {{0x200, 0, {1}}},
       {100, 0, 101, 3, 102, 6}},
      {"textured triangles with one normal",
       {100, 900, 0, 901, 3, 902, 6},
       {{0x2000, 0, {1}}},
       {100, 0, 100, 3, 100, 6}},
      {"a textured fan",
       {100, 900, 0, 101, 901, 3, 102, 902, 6, 103, 903, 9},
       {{0x400, 0, {1, 4}}},
       {100, 0, 101, 3, 102, 6, 100, 0, 102, 6, 103, 9}},
      {"a textured strip",
       {100, 900, 0, 101, 901, 3, 102, 902, 6, 103, 903, 9},
       {{0x800, 0, {1, 4}}},
       {100, 0, 101, 3, 102, 6, 102, 6, 101, 3, 103, 9}},
      {"a textured one-normal fan with a single normal",
       {100, 900, 0, 901, 3, 902, 6, 903, 9},
       {{0x4000, 0, {1, 4 | kSingle}}},
       {100, 0, 100, 3, 100, 6, 100, 0, 100, 6, 100, 9}},
      {"a textured one-normal strip with a single normal",
       {100, 900, 0, 901, 3, 902, 6, 903, 9},
       {{0x8000, 0, {1, 4 | kSingle}}},
       {100, 0, 100, 3, 100, 6, 100, 6, 100, 3, 100, 9}},
      {"triangles, fans and strips in one face, in that order",
       {100, 0, 101, 3, 102, 6, 110, 30, 111, 33, 112, 36, 120, 60, 121, 63, 122, 66, 123, 69},
       {{0x2 | 0x4 | 0x8, 0, {1, 1, 3, 1, 4}}},
       {100, 0, 101, 3, 102, 6, 110, 30, 111, 33, 112, 36, 120, 60, 121, 63, 122, 66, 122, 66, 121, 63, 123, 69}},
      {"two fans; one too short to make a triangle",
       {100, 0, 101, 3, 110, 30, 111, 33, 112, 36},
       {{0x4, 0, {2, 2, 3}}},
       {110, 30, 111, 33, 112, 36}},
      {"several faces, each from its own start",
       {7, 7, 100, 0, 101, 3, 102, 6, 7, 110, 30, 31, 32},
       {{0x2, 2, {1}}, {0, 0, {}}, {0x20, 9, {1}}},
       {100, 0, 101, 3, 102, 6, 110, 30, 110, 31, 110, 32}},
      {"faces without triangles", {1, 2, 3}, {{0x2, 0, {0}}, {0x4, 3, {0}}}, {}},
  };
  for (const ExpansionCase& c : cases) {
    SCOPED_TRACE(c.what);
    A3DEntity tessellation = library.Tess3D({}, {}, c.indices, c.faces);
    a3dtest::Tess3DData data;
    ASSERT_EQ(0, library.ReadTess3D(tessellation, &data));
    EXPECT_EQ(c.expected, data.indices);
    ASSERT_EQ(1u, data.faceCount);
    EXPECT_EQ(sizeof(TessFaceRecord), data.face.structSize);
    EXPECT_EQ(0x2, data.face.faceKind);
    EXPECT_EQ(0u, data.face.indexStart);
    EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(c.expected.size() / 6)}), data.faceSizes);
  }
}

TEST_F(TessExpansionTest, FaceRecordsThatCannotBeReadFailTheGet) {
  const ExpansionCase cases[] = {
      {"a polyface", {100, 0, 101, 3, 102, 6}, {{0x1, 0, {1}}}, {}},
      {"a one-normal polyface", {100, 0, 3, 6}, {{0x10, 0, {1}}}, {}},
      {"fans counted but their sizes missing", {100, 0, 101, 3, 102, 6}, {{0x4, 0, {2, 3}}}, {}},
      {"sizes left over", {100, 0, 101, 3, 102, 6}, {{0x2, 0, {1, 5}}}, {}},
      {"no sizes at all", {100, 0, 101, 3, 102, 6}, {{0x2, 0, {}}}, {}},
      {"more triangles than entries", {100, 0, 101, 3, 102, 6}, {{0x2, 0, {2}}}, {}},
      {"a start past the entries", {100, 0, 101, 3, 102, 6}, {{0x2, 7, {0}}}, {}},
      {"a count no index array can hold", {100, 0, 101, 3, 102, 6}, {{0x2, 0, {0xFFFFFFFFu}}}, {}},
      {"a fan longer than the entries", {100, 0, 3, 6}, {{0x40, 0, {1, 0x3FFFFFFFu | kSingle}}}, {}},
  };
  for (const ExpansionCase& c : cases) {
    SCOPED_TRACE(c.what);
    A3DEntity tessellation = library.Tess3D({}, {}, c.indices, c.faces);
    Tess3DRecord record{};
    record.structSize = sizeof record;
    EXPECT_EQ(kStatusData, library.A3DTess3DGet(tessellation, &record));
    Tess3DRecord untouched{};
    untouched.structSize = sizeof untouched;
    EXPECT_EQ(0, memcmp(&untouched, &record, sizeof record));
  }
}

TEST_F(TessExpansionTest, NormalsComeOutAsStoredWhateverTheFaces) {
  A3DEntity tessellation = library.Tess3D({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 0, -1},
                                          {3, 0, 3, 6}, {{0x20, 0, {1}}});
  a3dtest::Tess3DData data;
  ASSERT_EQ(0, library.ReadTess3D(tessellation, &data));
  EXPECT_EQ((std::vector<double>{0, 0, 1, 0, 0, -1}), data.normals);
  EXPECT_EQ((std::vector<uint32_t>{3, 0, 3, 3, 3, 6}), data.indices);
}

}  // namespace
