// Files another tool wrote (Asymptote's PRC, in the shared reference samples beside the checkout)
// load with what their scripts drew, and come back whole when the codec writes them again.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "ModelDescription.h"
#include "TestSupport.h"
#include "a3dlib/Model.h"
#include "a3dlib/TessExpansion.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

using namespace a3d;

class SamplesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = testing_support::ReferencePrcSamplesDir();
    if (m_folder.empty()) GTEST_SKIP() << "no reference samples beside the checkout";
  }

  // Loads the sample and returns the items of its one occurrence's part.
  std::vector<RepresentationItem*> Load(const char* name) {
    int status = ReadModelFile(m_folder + "/" + name, m_store, &m_model);
    EXPECT_EQ(0, status) << name;
    if (status != 0) return {};
    EXPECT_EQ("PRC file", m_model->name);
    uint64_t unit;
    memcpy(&unit, &m_model->unit, sizeof(unit));
    EXPECT_EQ(0x3FD693E93E93E93Full, unit);  // 25.4 / 72: millimetres per point
    EXPECT_EQ(1u, m_model->roots.size());
    if (m_model->roots.size() != 1 || !m_model->roots[0]->partDefinition) return {};
    EXPECT_EQ("root", m_model->roots[0]->name);
    return m_model->roots[0]->partDefinition->items;
  }

  static const Tess3D* Tess3DOf(const RepresentationItem* item) {
    EXPECT_EQ(kTypePolyBrepModel, item->type);
    EXPECT_NE(nullptr, item->tessellation);
    if (!item->tessellation) return nullptr;
    EXPECT_EQ(kTypeTess3D, item->tessellation->type);
    return dynamic_cast<const Tess3D*>(item->tessellation);
  }

  // The triangles as point numbers, from the walk's layout.
  static std::vector<std::vector<uint32_t>> Triangles(const Tess3D& tess) {
    std::vector<uint32_t> entries;
    EXPECT_EQ(0, ExpandTess3DFaces(tess, entries));
    std::vector<std::vector<uint32_t>> triangles;
    for (size_t i = 0; i + 5 < entries.size(); i += 6)
      triangles.push_back({entries[i + 1] / 3, entries[i + 3] / 3, entries[i + 5] / 3});
    return triangles;
  }

  void ExpectWrittenBackWhole() {
    std::vector<uint8_t> bytes;
    ASSERT_EQ(0, WriteModelBytes(*m_model, bytes));
    EntityStore store;
    ModelFile* reread = nullptr;
    ASSERT_EQ(0, ReadModelBytes(bytes.data(), bytes.size(), store, &reread));
    EXPECT_EQ(prctest::Describe(*m_model), prctest::Describe(*reread));
  }

  std::string m_folder;
  EntityStore m_store;
  ModelFile* m_model = nullptr;
};

TEST_F(SamplesTest, CubeOfTwelveTriangles) {
  std::vector<RepresentationItem*> items = Load("cube_tri.prc");
  ASSERT_EQ(1u, items.size());
  EXPECT_EQ("cube", items[0]->name);
  const Tess3D* tess = Tess3DOf(items[0]);
  ASSERT_NE(nullptr, tess);
  EXPECT_EQ((std::vector<double>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1}), tess->coords);
  EXPECT_EQ(18u, tess->normals.size());
  EXPECT_EQ(72u, tess->indices.size());
  ASSERT_EQ(1u, tess->faces.size());
  EXPECT_EQ(0x2, tess->faces[0].kind);
  EXPECT_EQ((std::vector<uint32_t>{12}), tess->faces[0].sizes);
  const std::vector<std::vector<uint32_t>> drawn = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                                                    {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
  EXPECT_EQ(drawn, Triangles(*tess));
  ExpectWrittenBackWhole();
}

TEST_F(SamplesTest, TwoMeshesInOnePart) {
  std::vector<RepresentationItem*> items = Load("two_parts.prc");
  ASSERT_EQ(2u, items.size());
  EXPECT_EQ("tetra", items[0]->name);
  EXPECT_EQ("square", items[1]->name);
  const Tess3D* tetra = Tess3DOf(items[0]);
  const Tess3D* square = Tess3DOf(items[1]);
  ASSERT_TRUE(tetra && square);
  EXPECT_EQ(12u, tetra->coords.size());
  EXPECT_EQ((std::vector<std::vector<uint32_t>>{{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}}), Triangles(*tetra));
  EXPECT_EQ((std::vector<double>{2, 0, 0, 3, 0, 0, 3, 1, 0, 2, 1, 0}), square->coords);
  EXPECT_EQ((std::vector<std::vector<uint32_t>>{{0, 1, 2}, {0, 2, 3}}), Triangles(*square));
  ExpectWrittenBackWhole();
}

TEST_F(SamplesTest, ExactSphereHasItemsWithoutTessellation) {
  std::vector<RepresentationItem*> items = Load("sphere_nurbs.prc");
  ASSERT_FALSE(items.empty());
  for (const RepresentationItem* item : items) {
    EXPECT_EQ(kTypeBrepModel, item->type);
    EXPECT_EQ(nullptr, item->tessellation);
  }
  ExpectWrittenBackWhole();
}

TEST_F(SamplesTest, PatchCubeWhoseNormalsAreLeftToTheReader) {
  std::vector<RepresentationItem*> items = Load("cube_patch_tess.prc");
  ASSERT_EQ(1u, items.size());
  const Tess3D* tess = Tess3DOf(items[0]);
  ASSERT_NE(nullptr, tess);
  EXPECT_EQ(24u, tess->coords.size());
  EXPECT_TRUE(tess->normals.empty());
  EXPECT_EQ(36u, tess->indices.size());  // point offsets only: three per triangle
  EXPECT_TRUE(tess->normalsRecalculated);
  ASSERT_EQ(1u, tess->faces.size());
  EXPECT_EQ((std::vector<uint32_t>{12}), tess->faces[0].sizes);
  // The walk reads the twelve triangles of the cube's eight corners.
  std::vector<std::vector<uint32_t>> triangles = Triangles(*tess);
  ASSERT_EQ(12u, triangles.size());
  for (size_t t = 0; t < triangles.size(); ++t) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(tess->indices[3 * t + k] / 3, triangles[t][k]);
      EXPECT_LT(triangles[t][k], 8u);
    }
  }
  ExpectWrittenBackWhole();
}

}  // namespace
