// Damaged files fail cleanly: a non-zero status and nothing new in the store, or, where the damage
// leaves a readable file, a sound tree. Files are cut at every length and have their bytes flipped;
// their inflated sections are cut and flipped too and deflated again, so that the damage gets past
// zlib's checksums to the parsers.
#include <gtest/gtest.h>

#include <vector>

#include "ModelDescription.h"
#include "ModelTrees.h"
#include "PrcTestFiles.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

using namespace a3d;
using prctest::Bytes;

// Loads the bytes; a failure must leave the store empty, a success a tree that can be walked.
void ExpectCleanLoad(const Bytes& bytes, const std::string& what) {
  EntityStore store;
  ModelFile* model = nullptr;
  int status = ReadModelBytes(bytes.data(), bytes.size(), store, &model);
  if (status != 0) {
    EXPECT_EQ(0u, store.Count()) << what;
    EXPECT_EQ(nullptr, model) << what;
  } else {
    ASSERT_NE(nullptr, model) << what;
    EXPECT_FALSE(prctest::Describe(*model).empty());
  }
}

Bytes SmallFile() {
  EntityStore store;
  return prctest::Write(*prctest::BuilderTree(store, 2));
}

TEST(DamageTest, EveryCutFails) {
  const Bytes file = SmallFile();
  for (size_t length = 0; length < file.size(); ++length) {
    EntityStore store;
    ModelFile* model = nullptr;
    Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_NE(0, ReadModelBytes(cut.data(), cut.size(), store, &model)) << length;
    EXPECT_EQ(0u, store.Count()) << length;
  }
}

TEST(DamageTest, FlippedBytesFailCleanly) {
  const Bytes file = SmallFile();
  for (size_t i = 0; i < file.size(); ++i) {
    for (uint8_t flip : {0x01, 0x10, 0x80, 0xFF}) {
      Bytes damaged = file;
      damaged[i] ^= flip;
      ExpectCleanLoad(damaged, "byte " + std::to_string(i) + " flipped with " + std::to_string(flip));
    }
  }
}

// Each inflated section (tree, tessellations, model file) cut at every length and with every bit
// flipped in turn, deflated again.
TEST(DamageTest, DamagedSectionsFailCleanly) {
  const prctest::PrcFile original = prctest::Split(SmallFile());
  ASSERT_EQ(1u, original.structures.size());
  struct Target {
    const char* name;
    Bytes prctest::FileStructure::*section;  // null: the model file
  };
  const Target targets[] = {{"tree", &prctest::FileStructure::tree},
                            {"tessellations", &prctest::FileStructure::tessellations},
                            {"globals", &prctest::FileStructure::globals},
                            {"model file", nullptr}};
  for (const Target& target : targets) {
    auto sectionOf = [&target](prctest::PrcFile& file) -> Bytes& {
      return target.section ? file.structures[0].*target.section : file.modelFile;
    };
    prctest::PrcFile copy = original;
    const Bytes section = sectionOf(copy);
    for (size_t length = 0; length < section.size(); ++length) {
      prctest::PrcFile file = original;
      sectionOf(file).resize(length);
      ExpectCleanLoad(prctest::Assemble(file), std::string(target.name) + " cut to " + std::to_string(length));
    }
    for (size_t bit = 0; bit < section.size() * 8; ++bit) {
      prctest::PrcFile file = original;
      sectionOf(file)[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
      ExpectCleanLoad(prctest::Assemble(file), std::string(target.name) + " bit " + std::to_string(bit) + " flipped");
    }
  }
}

}  // namespace
