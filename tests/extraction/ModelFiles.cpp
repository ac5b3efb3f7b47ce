#include "ModelFiles.h"

#include <gtest/gtest.h>
#include <string.h>

#include "StandInLibrary.h"

namespace testing_support {

namespace {

// The file the library writes of the model that `build` makes with the library bound.
template <typename Build>
std::string WrittenModelFile(Build build) {
  ScopedTempDir dir;
  std::string path = dir.File("model.prc");
  {
    BoundLibrary library;
    EXPECT_TRUE(library.ok());
    A3DEntity model = build();
    ModelFileWriteParameters parameters;
    memset(&parameters, 0, sizeof parameters);
    parameters.structSize = sizeof parameters;
    EXPECT_EQ(0, A3D_ENTRY(A3DAsmModelFileWriteToFile)(model, &parameters, path.c_str()));
    A3D_ENTRY(A3DAsmModelFileDelete)(model);
  }
  std::string bytes = ReadFile(path);
  EXPECT_FALSE(bytes.empty());
  return bytes;
}

}  // namespace

std::string ModelFileBytes(const std::vector<int>& ids, bool unsupportedLast) {
  return WrittenModelFile([&] {
    std::vector<A3DEntity> items;
    for (int id : ids) items.push_back(TreeBuilder::Item(TreeBuilder::Triangle(id)));
    if (unsupportedLast) items.push_back(TreeBuilder::Item(TreeBuilder::WireTessellation()));
    return TreeBuilder::ModelFile({TreeBuilder::Occurrence({}, TreeBuilder::Part(items))});
  });
}

std::string SharedLevelsModelFileBytes(int levels, bool triangle) {
  return WrittenModelFile([&] {
    A3DEntity item = triangle ? TreeBuilder::Item(TreeBuilder::Triangle(1)) : TreeBuilder::BrepItem();
    A3DEntity level = TreeBuilder::Occurrence({}, TreeBuilder::Part({item}));
    for (int i = 1; i < levels; ++i) level = TreeBuilder::Occurrence({level, level});
    return TreeBuilder::ModelFile({level});
  });
}

}  // namespace testing_support
