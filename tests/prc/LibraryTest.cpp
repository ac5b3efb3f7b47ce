// The stand-in 3D library built with the PRC codec, through its entry points as the plug-in calls
// them: files other tools wrote load and hand out their triangles, and what the PRC builder makes
// through the Create calls is written as PRC.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "A3DTestLibrary.h"
#include "TestSupport.h"
#include "a3dlib/Model.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

using a3dtest::Library;

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.Initialise()); }
  void TearDown() override { EXPECT_EQ(0, library.A3DDllTerminate()); }

  // The 3D tessellation of the model's first item, as the walk reaches it.
  A3DEntity FirstTessellation(A3DEntity model) {
    a3dtest::ModelFileData modelData;
    EXPECT_EQ(0, library.ReadModelFile(model, &modelData));
    if (modelData.occurrences.empty()) return nullptr;
    a3dtest::OccurrenceData occurrence;
    EXPECT_EQ(0, library.ReadOccurrence(modelData.occurrences[0], &occurrence));
    std::vector<A3DEntity> items;
    EXPECT_EQ(0, library.ReadPart(occurrence.partDefinition, &items));
    A3DEntity tessellation = nullptr;
    if (!items.empty()) {
      EXPECT_EQ(0, library.ReadItem(items[0], &tessellation));
    }
    return tessellation;
  }

  Library library;
  testing_support::ScopedTempDir folder;
};

TEST_F(LibraryTest, AnotherToolsCubeHandsOutItsTwelveTriangles) {
  const std::string samples = testing_support::ReferencePrcSamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no reference samples beside the checkout";
  A3DEntity model = nullptr;
  ASSERT_EQ(0, library.A3DAsmModelFileLoadFromFile((samples + "/cube_tri.prc").c_str(), nullptr, &model));
  A3DEntity tessellation = FirstTessellation(model);
  EXPECT_EQ(172, library.TypeOf(tessellation));
  std::vector<double> coords;
  EXPECT_EQ(0, library.ReadCoords(tessellation, &coords));
  EXPECT_EQ(24u, coords.size());
  a3dtest::Tess3DData data;
  ASSERT_EQ(0, library.ReadTess3D(tessellation, &data));
  ASSERT_EQ(72u, data.indices.size());  // twelve triangles of six entries
  for (size_t i = 1; i < data.indices.size(); i += 2) EXPECT_LT(data.indices[i], 24u);
  EXPECT_EQ(0, library.A3DAsmModelFileDelete(model));
}

TEST_F(LibraryTest, TheBuildersTreeIsWrittenAsPrc) {
  // Two triangles as the builder lays them out: a normal, then three corners, each.
  const std::vector<double> coords = {0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0, 3, 0, 0, 2, 1, 0};
  A3DEntity tessellation = library.Tess3D(coords, {0, 0, 1, 0, 0, -1}, {0, 0, 3, 6, 3, 9, 12, 15}, {{0x20, 0, {2}}});
  A3DEntity occurrence = library.Occurrence({}, library.Part({library.Item(tessellation)}));
  library.Name(occurrence, "Model");
  A3DEntity model = library.Model({occurrence});
  library.Name(model, "ModelFile");
  ModelFileWriteParameters parameters{};
  parameters.structSize = sizeof parameters;
  parameters.writeOption2 = parameters.writeOption3 = 1;
  parameters.writeOption4 = 1;
  const std::string path = folder.File("QNFTemp.prc");
  ASSERT_EQ(0, library.A3DAsmModelFileWriteToFile(model, &parameters, path.c_str()));
  EXPECT_EQ(0, library.A3DAsmModelFileDelete(model));

  const std::string bytes = testing_support::ReadFile(path);
  ASSERT_EQ("PRC", bytes.substr(0, 3));
  a3d::EntityStore store;
  a3d::ModelFile* read = nullptr;
  ASSERT_EQ(0, a3d::ReadModelBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), store, &read));
  EXPECT_EQ("ModelFile", read->name);
  EXPECT_EQ("Model", read->roots.at(0)->name);

  A3DEntity loaded = nullptr;
  ASSERT_EQ(0, library.A3DAsmModelFileLoadFromFile(path.c_str(), nullptr, &loaded));
  a3dtest::Tess3DData data;
  ASSERT_EQ(0, library.ReadTess3D(FirstTessellation(loaded), &data));
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 3, 0, 6, 3, 9, 3, 12, 3, 15}), data.indices);
  EXPECT_EQ(0, library.A3DAsmModelFileDelete(loaded));
}

}  // namespace
