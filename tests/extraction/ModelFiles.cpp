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

// A fan of triangles around the first of its points, the others on a zigzag line.
A3DEntity Fan(uint32_t triangles) {
  std::vector<double> coords;
  for (uint32_t p = 0; p < triangles + 2; ++p) coords.insert(coords.end(), {p * 0.5, p % 2 * 0.25, 0});
  std::vector<uint32_t> indices;
  for (uint32_t t = 0; t < triangles; ++t) indices.insert(indices.end(), {0, 0, 0, 3 * (t + 1), 0, 3 * (t + 2)});
  return TreeBuilder::Tess3D(coords, indices);
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

std::string SharedLevelsModelFileBytes(int levels, bool triangle, size_t padding) {
  return WrittenModelFile([&] {
    A3DEntity item = triangle ? TreeBuilder::Item(TreeBuilder::Triangle(1)) : TreeBuilder::BrepItem();
    A3DEntity level = TreeBuilder::Occurrence({}, TreeBuilder::Part({item}));
    for (int i = 1; i < levels; ++i) level = TreeBuilder::Occurrence({level, level});
    if (padding) {
      // Printable characters in the order of a linear congruential generator.
      std::string name(padding, ' ');
      uint32_t state = 1;
      for (char& c : name) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>('!' + (state >> 16) % 94);
      }
      TreeBuilder::Name(level, name.c_str());
    }
    return TreeBuilder::ModelFile({level});
  });
}

std::string TwoSharedLevelsModelFileBytes(int children, uint32_t triangles) {
  return WrittenModelFile([&] {
    A3DEntity part = TreeBuilder::Occurrence({}, TreeBuilder::Part({TreeBuilder::Item(Fan(triangles))}));
    A3DEntity level = TreeBuilder::Occurrence(std::vector<A3DEntity>(children, part));
    return TreeBuilder::ModelFile({TreeBuilder::Occurrence(std::vector<A3DEntity>(children, level))});
  });
}

}  // namespace testing_support
