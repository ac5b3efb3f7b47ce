#include "ModelFiles.h"

#include <gtest/gtest.h>
#include <string.h>

#include "StandInLibrary.h"

namespace testing_support {

std::string ModelFileBytes(const std::vector<int>& ids, bool unsupportedLast) {
  ScopedTempDir dir;
  std::string path = dir.File("model.prc");
  {
    BoundLibrary library;
    EXPECT_TRUE(library.ok());
    std::vector<A3DEntity> items;
    for (int id : ids) items.push_back(TreeBuilder::Item(TreeBuilder::Triangle(id)));
    if (unsupportedLast) items.push_back(TreeBuilder::Item(TreeBuilder::WireTessellation()));
    A3DEntity model = TreeBuilder::ModelFile({TreeBuilder::Occurrence({}, TreeBuilder::Part(items))});
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

}  // namespace testing_support
