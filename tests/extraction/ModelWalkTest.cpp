#include <gtest/gtest.h>

#include <cmath>

#include "ModelFiles.h"
#include "StandInLibrary.h"
#include "extraction/LastErrorText.h"
#include "extraction/ModelWalk.h"
#include "extraction/WalkBounds.h"

using namespace testing_support;

namespace {

// The ids of the meshes in the list: each test triangle's first x coordinate.
std::vector<int> MeshIds(const MeshList& meshes) {
  std::vector<int> ids;
  for (int i = 0; i < meshes.Count(); ++i) ids.push_back(static_cast<int>(std::lround(meshes[i].m_V[0].x)));
  return ids;
}

A3DEntity NamedTriangleItem(int id, const char* itemName = nullptr) {
  A3DEntity item = TreeBuilder::Item(TreeBuilder::Triangle(id));
  if (itemName) TreeBuilder::Name(item, itemName);
  return item;
}

// An occurrence whose part definition holds one triangle item.
A3DEntity PartOccurrence(int id, const char* name = nullptr) {
  A3DEntity occurrence = TreeBuilder::Occurrence({}, TreeBuilder::Part({NamedTriangleItem(id)}));
  if (name) TreeBuilder::Name(occurrence, name);
  return occurrence;
}

TEST(ModelWalk, VisitsPrototypeExternalDataChildrenThenPartDefinition) {
  StandInLog log;
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  A3DEntity root = TreeBuilder::Occurrence({PartOccurrence(3), PartOccurrence(4)},
                                           TreeBuilder::Part({NamedTriangleItem(5), NamedTriangleItem(6)}),
                                           PartOccurrence(1), PartOccurrence(2));
  A3DEntity model = TreeBuilder::ModelFile({root, PartOccurrence(7)});
  MeshList meshes;
  EXPECT_EQ(1, WalkModelFile(model, meshes));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7}), MeshIds(meshes));
}

TEST(ModelWalk, SharedOccurrenceYieldsItsMeshesOnceForEachReference) {
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  A3DEntity shared = PartOccurrence(8);
  A3DEntity first = TreeBuilder::Occurrence({}, nullptr, shared);
  A3DEntity second = TreeBuilder::Occurrence({shared}, nullptr, shared);
  MeshList meshes;
  EXPECT_EQ(1, WalkModelFile(TreeBuilder::ModelFile({first, second}), meshes));
  ASSERT_EQ((std::vector<int>{8, 8, 8}), MeshIds(meshes));
  EXPECT_EQ(meshes[0].m_V[1].x, meshes[2].m_V[1].x);
}

TEST(ModelWalk, EmptyStepsSucceedWithoutMeshesAndLeaveTheTextAlone) {
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  SetLastErrorText(CStringT<char>("untouched"));
  A3DEntity emptyOccurrence = TreeBuilder::Occurrence({});
  A3DEntity emptyPart = TreeBuilder::Occurrence({}, TreeBuilder::Part({}));
  A3DEntity exactOnly = TreeBuilder::Occurrence({}, TreeBuilder::Part({TreeBuilder::BrepItem(), TreeBuilder::Item(nullptr)}));
  MeshList meshes;
  EXPECT_EQ(1, WalkModelFile(TreeBuilder::ModelFile({}), meshes));
  EXPECT_EQ(1, WalkModelFile(TreeBuilder::ModelFile({emptyOccurrence, emptyPart, exactOnly}), meshes));
  EXPECT_EQ(0, meshes.Count());
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
}

struct FailureCase {
  const char* name;
  const char* failRule;     // VANTRELL_A3D_FAIL
  bool wireThirdItem;       // the third item of the part holds a wire tessellation
  const char* text;
  std::vector<int> meshes;  // what stays in the list
  const char* neverTouched; // an entity name that no call may mention
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

// The tree: root occurrence "root" with prototype "proto" (mesh 1), external data "ext" (mesh 2),
// children "child1".."child3" (meshes 3..5) and a part "part" of four items "item1".."item4"
// (meshes 6..9, item3's tessellation "tess3").
class WalkFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WalkFailure, StopsAtTheFirstFailureAndReleasesEveryRecord) {
  const FailureCase& c = GetParam();
  StandInLog log;
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  A3DEntity proto = PartOccurrence(1, "proto");
  A3DEntity ext = PartOccurrence(2, "ext");
  A3DEntity children[3] = {PartOccurrence(3, "child1"), PartOccurrence(4, "child2"), PartOccurrence(5, "child3")};
  A3DEntity tess3 = c.wireThirdItem ? TreeBuilder::WireTessellation() : TreeBuilder::Triangle(8);
  TreeBuilder::Name(tess3, "tess3");
  A3DEntity item3 = TreeBuilder::Item(tess3);
  TreeBuilder::Name(item3, "item3");
  A3DEntity part = TreeBuilder::Part({NamedTriangleItem(6, "item1"), NamedTriangleItem(7, "item2"), item3,
                                      NamedTriangleItem(9, "item4")});
  TreeBuilder::Name(part, "part");
  A3DEntity root = TreeBuilder::Occurrence({children[0], children[1], children[2]}, part, proto, ext);
  TreeBuilder::Name(root, "root");
  A3DEntity model = TreeBuilder::ModelFile({root});
  TreeBuilder::Name(model, "model");
  log.Clear();

  MeshList meshes;
  int result;
  {
    ScopedEnv fail(VANTRELL_A3D_ENV_FAIL, c.failRule);
    result = WalkModelFile(model, meshes);
  }
  EXPECT_EQ(0, result);
  EXPECT_STREQ(c.text, GetLastErrorText().GetString());
  EXPECT_EQ(c.meshes, MeshIds(meshes));
  if (c.neverTouched) {
    EXPECT_FALSE(log.Mentions(std::string("\"") + c.neverTouched + "\"")) << c.neverTouched;
  }
  TerminateA3DLibrary();
  EXPECT_EQ(0, log.UnreleasedAtTerminate());
  ASSERT_EQ(1, InitA3DLibrary());  // the fixture terminates once more
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WalkFailure,
    ::testing::Values(
        FailureCase{"ModelFile", "A3DAsmModelFileGet", false, "Unable to retrieve model file data", {}, "root"},
        FailureCase{"Prototype", "A3DAsmProductOccurrenceGet@proto", false,
                    "Unable to retrieve product occurence data", {}, "ext"},
        FailureCase{"SecondChild", "A3DAsmProductOccurrenceGet@child2", false,
                    "Unable to retrieve product occurence data", {1, 2, 3}, "child3"},
        FailureCase{"PartDefinition", "A3DAsmPartDefinitionGet@part", false, "Unable to retrieve part definition data",
                    {1, 2, 3, 4, 5}, "item1"},
        FailureCase{"ThirdItem", "A3DRiRepresentationItemGet@item3", false,
                    "Unable to retrieve representation item data", {1, 2, 3, 4, 5, 6, 7}, "item4"},
        FailureCase{"TessellationBase", "A3DTessBaseGet@tess3", false, "Unable to retrieve tesselation data",
                    {1, 2, 3, 4, 5, 6, 7}, "item4"},
        FailureCase{"TessellationType", "A3DEntityGetType@tess3", false, "Unable to get tesselation type",
                    {1, 2, 3, 4, 5, 6, 7}, "item4"},
        FailureCase{"Tessellation3D", "A3DTess3DGet@tess3", false, "Unable to retrieve tesselation 3d data",
                    {1, 2, 3, 4, 5, 6, 7}, "item4"},
        FailureCase{"UnsupportedType", nullptr, true, "Unsupported tesselation type", {1, 2, 3, 4, 5, 6, 7}, "item4"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(ModelWalk, CycleInTheOccurrenceGraphFailsInsteadOfRecursingForever) {
  StandInLog log;
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  // outer's child is inner, and inner's prototype becomes outer.
  A3DEntity inner = PartOccurrence(1, "inner");
  A3DEntity outer = TreeBuilder::Occurrence({inner});
  ASSERT_EQ(0, TreeBuilder::SetPrototype(inner, outer));
  A3DEntity model = TreeBuilder::ModelFile({outer});
  MeshList meshes;
  EXPECT_EQ(0, WalkModelFile(model, meshes));
  EXPECT_STREQ("Unable to retrieve product occurence data", GetLastErrorText().GetString());
  EXPECT_EQ(0, meshes.Count());
  TerminateA3DLibrary();
  EXPECT_EQ(0, log.UnreleasedAtTerminate());
  ASSERT_EQ(1, InitA3DLibrary());
}

// A chain of occurrences, each the only child of the one before.
A3DEntity Chain(int depth) {
  A3DEntity occurrence = PartOccurrence(1);
  for (int i = 1; i < depth; ++i) occurrence = TreeBuilder::Occurrence({occurrence});
  return occurrence;
}

TEST(ModelWalk, NestingBeyondAnyRealAssemblyFails) {
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  MeshList meshes;
  EXPECT_EQ(1, WalkModelFile(TreeBuilder::ModelFile({Chain(200)}), meshes));
  EXPECT_EQ(1, meshes.Count());
  SetLastErrorText(CStringT<char>(""));
  EXPECT_EQ(0, WalkModelFile(TreeBuilder::ModelFile({Chain(300)}), meshes));
  EXPECT_STREQ("Unable to retrieve product occurence data", GetLastErrorText().GetString());
}

struct SharedLevelsCase {
  int levels;
  bool triangle;     // the last level holds a triangle, else exact geometry only
  const char* text;  // null: the walk succeeds
  uint64_t gets;     // the occurrence and item Gets: exactly this many, or at most when it fails
};

void PrintTo(const SharedLevelsCase& c, std::ostream* out) { *out << c.levels << (c.triangle ? " triangle" : ""); }

class SharedLevels : public ::testing::TestWithParam<SharedLevelsCase> {};

// Each level's two children are both the next level: a small file with 2^(levels-1) paths, each
// walked once per reference. Whatever number of paths the file describes, its walk makes at most
// 2^21 Gets of occurrences and items before it fails, well under a second (walk-benchmark).
TEST_P(SharedLevels, WalkFailsOnceItsWorkPassesItsBound) {
  const SharedLevelsCase& c = GetParam();
  ScopedTempDir dir;
  std::string path = dir.File("shared.prc");
  std::string bytes = SharedLevelsModelFileBytes(c.levels, c.triangle);
  EXPECT_LT(bytes.size(), 4096u);
  ASSERT_TRUE(WriteFile(path, bytes));
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  A3DEntity model = nullptr;
  ASSERT_EQ(0, A3D_ENTRY(A3DAsmModelFileLoadFromFile)(path.c_str(), nullptr, &model));
  SetLastErrorText(CStringT<char>("untouched"));
  MeshList meshes;
  int result;
  uint64_t gets, tessellations;
  {
    WalkGetCounter counter;
    result = WalkModelFileOfSize(model, bytes.size(), bytes.size(), meshes);
    gets = counter.occurrences() + counter.items();
    tessellations = counter.tessellations();
  }
  A3D_ENTRY(A3DAsmModelFileDelete)(model);
  // Every 3D tessellation got became a mesh, but for the one that would have crossed the bound.
  EXPECT_LE(tessellations, static_cast<uint64_t>(meshes.Count()) + 1);
  if (!c.text) {
    EXPECT_EQ(1, result);
    EXPECT_EQ(c.gets, gets);
    EXPECT_EQ(c.triangle ? 1 << (c.levels - 1) : 0, meshes.Count());
    EXPECT_STREQ("untouched", GetLastErrorText().GetString());
  } else {
    EXPECT_EQ(0, result);
    EXPECT_STREQ(c.text, GetLastErrorText().GetString());
    EXPECT_LE(gets, c.gets);
    EXPECT_LE(MeshListBytes(meshes), uint64_t(256) << 20);
  }
}

// 2^levels - 1 occurrences, and the item beneath each of the 2^(levels-1) last ones.
uint64_t SharedLevelsGets(int levels) { return (uint64_t(1) << levels) - 1 + (uint64_t(1) << (levels - 1)); }

INSTANTIATE_TEST_SUITE_P(
    Graphs, SharedLevels,
    ::testing::Values(SharedLevelsCase{12, true, nullptr, SharedLevelsGets(12)},
                      SharedLevelsCase{30, true, "Unable to retrieve tesselation 3d data", 1 << 21},
                      SharedLevelsCase{30, false, "Unable to retrieve product occurence data", 1 << 21}));

// One large tessellation shared by many items: the meshes stop at their bound, not at the host's
// memory.
TEST(ModelWalk, MeshesPastTheirBoundFailTheTessellationThatWouldCrossIt) {
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  // 2^16 triangles on one point: a mesh of about 1 MiB.
  A3DEntity tessellation = TreeBuilder::Tess3D({0, 0, 0}, std::vector<uint32_t>(6u << 16, 0));
  std::vector<A3DEntity> items(300, TreeBuilder::Item(tessellation));
  MeshList meshes;
  EXPECT_EQ(0, WalkModelFile(TreeBuilder::ModelFile({TreeBuilder::Occurrence({}, TreeBuilder::Part(items))}), meshes));
  EXPECT_STREQ("Unable to retrieve tesselation 3d data", GetLastErrorText().GetString());
  EXPECT_GT(meshes.Count(), 200);
  EXPECT_LT(meshes.Count(), 300);
  EXPECT_EQ(1 << 16, meshes[0].FaceCount());
  // The bound is the list's, as the scan walks one model file after another into it.
  const int held = meshes.Count();
  SetLastErrorText(CStringT<char>("untouched"));
  EXPECT_EQ(0, WalkModelFile(TreeBuilder::ModelFile({TreeBuilder::Occurrence({}, TreeBuilder::Part(items))}), meshes));
  EXPECT_STREQ("Unable to retrieve tesselation 3d data", GetLastErrorText().GetString());
  EXPECT_EQ(held, meshes.Count());
}

// Model files of 1.5 MiB allow the list 384 MiB of meshes, past the floor of 256 MiB.
TEST(ModelWalk, MeshesAreBoundedByTheBytesOfTheListsModelFiles) {
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  A3DEntity tessellation = TreeBuilder::Tess3D({0, 0, 0}, std::vector<uint32_t>(6u << 16, 0));
  std::vector<A3DEntity> items(400, TreeBuilder::Item(tessellation));
  A3DEntity model = TreeBuilder::ModelFile({TreeBuilder::Occurrence({}, TreeBuilder::Part(items))});
  MeshList meshes;
  EXPECT_EQ(0, WalkModelFileOfSize(model, 1 << 20, 3 << 19, meshes));
  EXPECT_STREQ("Unable to retrieve tesselation 3d data", GetLastErrorText().GetString());
  const uint64_t bound = uint64_t(384) << 20;
  EXPECT_LE(MeshListBytes(meshes), bound);
  EXPECT_GT(MeshListBytes(meshes) + MeshListBytes(meshes) / meshes.Count(), bound);
}

struct ConversionCase {
  const char* name;
  std::vector<double> coords;
  std::vector<uint32_t> indices;
  int vertices;
  std::vector<std::vector<int>> faces;  // vi of each face
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, ReadsPointOffsetsOfSixEntryGroups) {
  const ConversionCase& c = GetParam();
  BoundLibrary library;
  ASSERT_TRUE(library.ok());
  MeshList meshes;
  ASSERT_EQ(1, ConvertTessellation(TreeBuilder::Tess3D(c.coords, c.indices), meshes));
  ASSERT_EQ(1, meshes.Count());
  const ON_Mesh& mesh = meshes[0];
  EXPECT_EQ(c.vertices, mesh.VertexCount());
  for (int v = 0; v < mesh.VertexCount(); ++v) {
    EXPECT_EQ(static_cast<float>(c.coords[3 * v]), mesh.m_V[v].x);
    EXPECT_EQ(static_cast<float>(c.coords[3 * v + 1]), mesh.m_V[v].y);
    EXPECT_EQ(static_cast<float>(c.coords[3 * v + 2]), mesh.m_V[v].z);
  }
  ASSERT_EQ(static_cast<int>(c.faces.size()), mesh.FaceCount());
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    const int* vi = mesh.m_F[f].vi;
    EXPECT_EQ(c.faces[f], (std::vector<int>{vi[0], vi[1], vi[2], vi[3]})) << "face " << f;
  }
}

const std::vector<double> kNinePoints = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 2, 0, 0, 0, 2, 0, 2, 2, 0, 3, 0, 0, 0, 3, 0};

INSTANTIATE_TEST_SUITE_P(
    Tessellations, Conversion,
    ::testing::Values(
        ConversionCase{"GroupReadsEverySecondEntry", kNinePoints, {0, 0, 3, 9, 6, 18}, 9, {{0, 3, 6, 6}}},
        ConversionCase{"OffsetsRoundDownToTheirPoint", kNinePoints, {0, 7, 0, 4, 0, 26}, 9, {{2, 1, 8, 8}}},
        ConversionCase{"TrailingCoordinatesAndEntriesAreNotRead",
                       {0, 0, 0, 1, 0, 0, 0, 1, 0, 5},
                       {0, 0, 0, 3, 0, 6, 0, 6, 0, 3, 0, 0, 99},
                       3,
                       {{0, 1, 2, 2}, {2, 1, 0, 0}}},
        ConversionCase{"EmptyTessellationStillGivesAMesh", {}, {}, 0, {}},
        ConversionCase{"CoordinatesNarrowedWithoutOtherArithmetic",
                       {1.5, -2.25, 40.125, 0.1, 1e-40, -3.4028234663852886e38, 1e300, 0, 0},
                       {0, 0, 0, 3, 0, 6},
                       3,
                       {{0, 1, 2, 2}}},
        ConversionCase{"FacesPastThePointsAreLeftOut",
                       {0, 0, 0, 1, 0, 0, 0, 1, 0},
                       {0, 0, 0, 3, 0, 9, 0, 6, 0, 3, 0, 0, 0, 0xFFFFFFFFu, 0, 3, 0, 6},
                       3,
                       {{2, 1, 0, 0}}}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.name); });

}  // namespace
