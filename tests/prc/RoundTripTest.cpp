// Trees written as PRC and read back come back whole: every link, name and kind, and every double
// bit-identical. The files are sound PRC: a consistent header and ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ModelDescription.h"
#include "ModelTrees.h"
#include "a3dlib/prc/PrcCodec.h"
#include "TestSupport.h"

namespace {

using namespace a3d;
using prctest::Describe;

struct Reread {
  int status = -1;
  EntityStore store;
  ModelFile* model = nullptr;
};

void ReadBack(const std::vector<uint8_t>& bytes, Reread& out) {
  out.status = ReadModelBytes(bytes.data(), bytes.size(), out.store, &out.model);
}

TEST(RoundTripTest, TreesComeBackWhole) {
  struct Case {
    const char* what;
    ModelFile* (*build)(EntityStore&);
  };
  const Case cases[] = {
      {"the builder's tree", [](EntityStore& s) { return prctest::BuilderTree(s, 3); }},
      {"the builder's tree of an empty mesh", [](EntityStore& s) { return prctest::BuilderTree(s, 0); }},
      {"every link and kind", prctest::RichTree},
      {"no occurrences",
       [](EntityStore& s) {
         ModelFile* model = s.Make<ModelFile>();
         model->unit = 0.3527777777777778;
         return model;
       }},
  };
  for (const Case& c : cases) {
    EntityStore store;
    ModelFile* model = c.build(store);
    Reread reread;
    ReadBack(prctest::Write(*model), reread);
    ASSERT_EQ(0, reread.status) << c.what;
    const std::string description = Describe(*model);
    EXPECT_EQ(description, Describe(*reread.model)) << c.what;
    // Only what the model file reaches is created, each entity once.
    size_t reachable = std::count(description.begin(), description.end(), '\n');
    EXPECT_EQ(reachable, reread.store.Count()) << c.what;
  }
}

TEST(RoundTripTest, TheSameTreeGivesTheSameBytes) {
  EntityStore store;
  std::vector<uint8_t> first = prctest::Write(*prctest::RichTree(store));
  std::vector<uint8_t> second = prctest::Write(*prctest::RichTree(store));
  EXPECT_EQ(first, second);
  std::vector<uint8_t> other = prctest::Write(*prctest::BuilderTree(store, 2));
  // The file ids (bytes 11 to 26) differ with the content.
  EXPECT_NE(std::vector<uint8_t>(first.begin() + 11, first.begin() + 27), std::vector<uint8_t>(other.begin() + 11, other.begin() + 27));
}

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return uint32_t(bytes[offset]) | (uint32_t(bytes[offset + 1]) << 8) | (uint32_t(bytes[offset + 2]) << 16) |
         (uint32_t(bytes[offset + 3]) << 24);
}

TEST(RoundTripTest, TheHeaderDescribesTheFile) {
  EntityStore store;
  std::vector<uint8_t> bytes = prctest::Write(*prctest::BuilderTree(store, 4));
  ASSERT_GT(bytes.size(), 107u);
  EXPECT_EQ("PRC", std::string(bytes.begin(), bytes.begin() + 3));
  EXPECT_EQ(8137u, WordAt(bytes, 3));   // minimal version for reading
  EXPECT_EQ(8137u, WordAt(bytes, 7));   // authoring version
  EXPECT_EQ(1u, WordAt(bytes, 43));     // one file structure
  EXPECT_EQ(0u, WordAt(bytes, 63));     // reserved
  EXPECT_EQ(6u, WordAt(bytes, 67));     // six sections
  std::vector<uint32_t> offsets;
  for (int i = 0; i < 6; ++i) offsets.push_back(WordAt(bytes, 71 + 4 * i));
  uint32_t modelStart = WordAt(bytes, 95);
  uint32_t modelEnd = WordAt(bytes, 99);
  EXPECT_EQ(0u, WordAt(bytes, 103));  // no uncompressed files
  EXPECT_EQ(107u, offsets[0]);
  for (size_t i = 1; i < offsets.size(); ++i) EXPECT_LT(offsets[i - 1], offsets[i]);
  EXPECT_LT(offsets[5], modelStart);
  EXPECT_EQ(bytes.size(), modelEnd);
  // The file structure's own header repeats its id, which differs from the file's.
  EXPECT_EQ("PRC", std::string(bytes.begin() + offsets[0], bytes.begin() + offsets[0] + 3));
  std::vector<uint8_t> structureId(bytes.begin() + 47, bytes.begin() + 63);
  EXPECT_EQ(structureId, std::vector<uint8_t>(bytes.begin() + offsets[0] + 11, bytes.begin() + offsets[0] + 27));
  EXPECT_NE(structureId, std::vector<uint8_t>(bytes.begin() + 11, bytes.begin() + 27));
  // Every compressed section is a zlib stream.
  for (uint32_t offset : {offsets[1], offsets[2], offsets[3], offsets[4], offsets[5], modelStart}) {
    EXPECT_EQ(0x78, bytes[offset]);
    EXPECT_EQ(0, (bytes[offset] * 256 + bytes[offset + 1]) % 31);
  }
}

TEST(RoundTripTest, TreesPrcCannotHoldAreRefused) {
  struct Case {
    const char* what;
    void (*spoil)(EntityStore&, ModelFile&);
  };
  const Case cases[] = {
      {"an item kind the writer cannot write",
       [](EntityStore& s, ModelFile& m) { m.roots[0]->partDefinition->items.push_back(s.Make<RepresentationItem>(240)); }},
      {"a compressed tessellation",
       [](EntityStore& s, ModelFile& m) {
         m.roots[0]->partDefinition->items[0]->tessellation = s.Make<Tessellation>(kTypeTess3DCompressed);
       }},
      {"a 3D tessellation type on a plain tessellation",
       [](EntityStore& s, ModelFile& m) { m.roots[0]->partDefinition->items[0]->tessellation = s.Make<Tessellation>(kTypeTess3D); }},
      {"a null child", [](EntityStore&, ModelFile& m) { m.roots[0]->children.push_back(nullptr); }},
      {"a null root", [](EntityStore&, ModelFile& m) { m.roots.push_back(nullptr); }},
      {"a null item", [](EntityStore&, ModelFile& m) { m.roots[0]->partDefinition->items.push_back(nullptr); }},
  };
  for (const Case& c : cases) {
    EntityStore store;
    ModelFile* model = prctest::BuilderTree(store, 1);
    c.spoil(store, *model);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(kPrcUnsupported, WriteModelBytes(*model, bytes)) << c.what;
  }
}

TEST(RoundTripTest, FilesOnDisk) {
  testing_support::ScopedTempDir folder;
  EntityStore store;
  ModelFile* model = prctest::RichTree(store);
  const std::string path = folder.File("model.prc");
  ASSERT_EQ(0, WriteModelFile(*model, path));
  Reread reread;
  reread.status = ReadModelFile(path, reread.store, &reread.model);
  ASSERT_EQ(0, reread.status);
  EXPECT_EQ(Describe(*model), Describe(*reread.model));

  EntityStore empty;
  ModelFile* none = nullptr;
  EXPECT_EQ(kPrcCannotOpen, ReadModelFile(folder.File("missing.prc"), empty, &none));
  EXPECT_EQ(kPrcCannotOpen, WriteModelFile(*model, folder.File("no-such-folder/model.prc")));
  EXPECT_EQ(0u, empty.Count());
  EXPECT_EQ(nullptr, none);
}

}  // namespace
