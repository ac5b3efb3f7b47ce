// Model files written and loaded again through the library's entry points: every tree the
// Creates can build comes back the same, damaged files are refused, and a model of a million
// triangles comes back whole (how fast it loads is prc_load_bench's to measure, not a test's).
// These tests hold for whichever codec the library is built with.
#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>

#include "A3DTestLibrary.h"
#include "TestSupport.h"

namespace {

using a3dtest::Face;
using a3dtest::Library;
using testing_support::ScopedEnv;
using testing_support::ScopedTempDir;

std::string Bits(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  std::ostringstream out;
  out << std::hex << bits;
  return out.str();
}

class CodecTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.Initialise()); }
  void TearDown() override { EXPECT_EQ(0, library.A3DDllTerminate()); }

  std::string Write(A3DEntity model, const std::string& name = "model.prc") {
    ModelFileWriteParameters parameters{};
    parameters.structSize = sizeof parameters;
    parameters.writeOption2 = parameters.writeOption3 = 1;
    parameters.writeOption4 = 1;
    std::string path = folder.File(name);
    EXPECT_EQ(0, library.A3DAsmModelFileWriteToFile(model, &parameters, path.c_str()));
    return path;
  }

  A3DEntity Load(const std::string& path, int* status = nullptr) {
    A3DEntity model = nullptr;
    int result = library.A3DAsmModelFileLoadFromFile(path.c_str(), nullptr, &model);
    if (status) *status = result;
    else EXPECT_EQ(0, result);
    return model;
  }

  // The entity's name, as the call log shows it.
  std::string NameOf(A3DEntity entity) {
    const std::string path = folder.File("names.log");
    std::remove(path.c_str());
    ScopedEnv log(VANTRELL_A3D_ENV_LOG, path.c_str());
    library.TypeOf(entity);
    std::vector<a3dtest::LogLine> lines = a3dtest::ReadLog(path);
    if (lines.empty()) return "?";
    std::string details = lines.back().details;
    size_t quote = details.find('"');
    return quote == std::string::npos ? "?" : details.substr(quote);
  }

  // Everything the Gets tell about the tree below `model`, entities numbered as first met, so
  // that two trees of the same shape give the same text whatever their handles. Unless `strict`,
  // Gets may fail (a damaged file may load entities that cannot be read).
  std::string Dump(A3DEntity model, bool strict = true) {
    std::ostringstream out;
    auto check = [&](int status) {
      if (strict) {
        EXPECT_EQ(0, status);
      }
      out << (status == 0 ? "" : " failed");
    };
    std::map<A3DEntity, int> numbers;
    std::vector<A3DEntity> order;
    auto number = [&](A3DEntity entity) {
      if (!entity) return std::string("-");
      auto found = numbers.emplace(entity, static_cast<int>(numbers.size()));
      if (found.second) order.push_back(entity);
      return "#" + std::to_string(found.first->second);
    };
    number(model);
    for (size_t next = 0; next < order.size(); ++next) {
      A3DEntity entity = order[next];
      int type = library.TypeOf(entity);
      out << number(entity) << " " << type << " " << NameOf(entity) << ":";
      if (type == 301) {
        a3dtest::ModelFileData data;
        check(library.ReadModelFile(entity, &data));
        out << " unit " << Bits(data.unit);
        for (A3DEntity root : data.occurrences) out << " " << number(root);
      } else if (type == 310) {
        a3dtest::OccurrenceData data;
        check(library.ReadOccurrence(entity, &data));
        for (A3DEntity child : data.children) out << " " << number(child);
        out << " part " << number(data.partDefinition) << " linked " << number(data.linkedOccurrence1) << " "
            << number(data.linkedOccurrence2);
      } else if (type == 311) {
        std::vector<A3DEntity> items;
        check(library.ReadPart(entity, &items));
        for (A3DEntity item : items) out << " " << number(item);
      } else if (type < 172 || type > 176) {  // a representation item of any kind
        A3DEntity tessellation = nullptr;
        check(library.ReadItem(entity, &tessellation));
        out << " " << number(tessellation);
      } else {
        std::vector<double> coords;
        check(library.ReadCoords(entity, &coords));
        for (double value : coords) out << " " << Bits(value);
        if (type == 172) {
          a3dtest::Tess3DData data;
          check(library.ReadTess3D(entity, &data));
          out << " normals";
          for (double value : data.normals) out << " " << Bits(value);
          out << " indices";
          for (uint32_t index : data.indices) out << " " << index;
          out << " faces " << data.faceCount;
        }
      }
      out << "\n";
    }
    return out.str();
  }

  // A tree with every kind of entity and link the Creates can make, shared entities included.
  A3DEntity RichTree(const std::vector<double>& specialValues) {
    std::vector<double> coords = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
    coords.insert(coords.end(), specialValues.begin(), specialValues.end());
    A3DEntity faces = library.Tess3D(coords, {0, 0, 1, 0, 0, -1},
                                     {0, 0, 0, 3, 0, 6, 0, 0, 0, 3, 0, 9, 3, 0, 6, 9},
                                     {{0x2 | 0x4, 0, {1, 1, 3}}, {0x20, 12, {1}}});
    A3DEntity raw = library.Tess3D({0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}, {0, 1, 0},
                                   {0, 0, 0, 3, 0, 6});
    A3DEntity wire = library.Wire({0, 0, 0, 10, 10, 10});
    A3DEntity markup = library.Markup();
    A3DEntity brep = library.Brep(wire);

    A3DEntity facesItem = library.Item(faces);
    library.Name(facesItem, "Item");  // tessellations carry no name in PRC
    A3DEntity mainPart = library.Part({facesItem, brep, library.Item(markup, 0), library.Item(nullptr)});
    library.Name(mainPart, "Part \"main\"");
    A3DEntity prototype = library.Occurrence({}, library.Part({library.Item(raw)}));
    library.Name(prototype, "Prototype");
    A3DEntity external = library.Occurrence({});
    A3DEntity shared = library.Occurrence({});
    library.Name(shared, "Shared");
    A3DEntity withEmptyPart = library.Occurrence({}, library.Part({}));
    A3DEntity root = library.Occurrence({shared, withEmptyPart}, mainPart, prototype, external);
    library.Name(root, "Root");
    A3DEntity second = library.Occurrence({shared}, nullptr, prototype);
    A3DEntity model = library.Model({root, second}, 0.352778);
    library.Name(model, "ModelFile");
    return model;
  }

  Library library;
  ScopedTempDir folder;
};

TEST_F(CodecTest, EveryTreeTheCreatesBuildComesBackTheSame) {
  std::vector<double> specials = {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::lowest(),     std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(), 0.1f,
                                  -1e-310,                                   1.0 / 3.0,
                                  std::nan("0x5a5a5"),
                                  -0.0};
  A3DEntity model = RichTree(specials);
  const std::string before = Dump(model);
  const std::string path = Write(model);
  ASSERT_EQ(0, library.A3DAsmModelFileDelete(model));

  A3DEntity loaded = Load(path);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(before, Dump(loaded));
  // A file written from a loaded model is the same model again.
  A3DEntity again = Load(Write(loaded, "again.prc"));
  EXPECT_EQ(before, Dump(again));
  EXPECT_EQ(0, library.A3DAsmModelFileDelete(loaded));
  EXPECT_EQ(before, Dump(again));
}

TEST_F(CodecTest, TheSmallestTreesComeBackToo) {
  for (bool withOccurrence : {false, true}) {
    SCOPED_TRACE(withOccurrence);
    A3DEntity model = withOccurrence ? library.Model({library.Occurrence({})}) : library.Model({});
    const std::string before = Dump(model);
    A3DEntity loaded = Load(Write(model));
    EXPECT_EQ(before, Dump(loaded));
  }
}

TEST_F(CodecTest, WritesThatCannotHappenFail) {
  A3DEntity model = library.Model({library.Occurrence({})});
  ModelFileWriteParameters parameters{};
  parameters.structSize = sizeof parameters;
  const std::string nowhere = folder.File("no/such/folder/model.prc");
  EXPECT_EQ(kStatusFile, library.A3DAsmModelFileWriteToFile(model, &parameters, nowhere.c_str()));
  EXPECT_EQ(kStatusFile, library.A3DAsmModelFileWriteToFile(model, &parameters, folder.path().c_str()));
  const std::string path = folder.File("model.prc");
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileWriteToFile(model, nullptr, path.c_str()));
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileWriteToFile(model, &parameters, nullptr));
  parameters.structSize = 16;
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileWriteToFile(model, &parameters, path.c_str()));
  parameters.structSize = sizeof parameters;
  A3DEntity occurrence = library.Occurrence({});
  EXPECT_EQ(kStatusBadEntity, library.A3DAsmModelFileWriteToFile(occurrence, &parameters, path.c_str()));
  EXPECT_FALSE(testing_support::FileExists(path));
}

TEST_F(CodecTest, WhatIsNoModelFileIsRefused) {
  const std::string empty = folder.File("empty.prc");
  const std::string text = folder.File("text.prc");
  ASSERT_TRUE(testing_support::WriteFile(empty, ""));
  ASSERT_TRUE(testing_support::WriteFile(text, "PRC is not what this is, not at all.\n"));
  for (const std::string& path : {folder.File("missing.prc"), folder.path(), empty, text}) {
    SCOPED_TRACE(path);
    int status = 0;
    EXPECT_EQ(nullptr, Load(path, &status));
    EXPECT_EQ(kStatusFile, status);
  }
  A3DEntity out = nullptr;
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileLoadFromFile(nullptr, nullptr, &out));
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileLoadFromFile(empty.c_str(), nullptr, nullptr));
}

TEST_F(CodecTest, EveryTruncationOfAFileIsRefused) {
  A3DEntity tessellation = library.Tess3D({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1}, {0, 0, 3, 6}, {{0x20, 0, {1}}});
  A3DEntity occurrence = library.Occurrence({}, library.Part({library.Item(tessellation)}));
  library.Name(occurrence, "Model");
  const std::string bytes = testing_support::ReadFile(Write(library.Model({occurrence})));
  ASSERT_FALSE(bytes.empty());
  const std::string path = folder.File("cut.prc");
  for (size_t length = 0; length < bytes.size(); ++length) {
    ASSERT_TRUE(testing_support::WriteFile(path, bytes.substr(0, length)));
    int status = 0;
    A3DEntity loaded = Load(path, &status);
    EXPECT_NE(0, status) << length;
    EXPECT_EQ(nullptr, loaded) << length;
  }
}

TEST_F(CodecTest, FlippedBytesNeverBreakTheLibrary) {
  A3DEntity tessellation = library.Tess3D({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1}, {0, 0, 3, 6}, {{0x20, 0, {1}}});
  A3DEntity occurrence = library.Occurrence({library.Occurrence({})}, library.Part({library.Item(tessellation)}));
  library.Name(occurrence, "Model");
  const std::string bytes = testing_support::ReadFile(Write(library.Model({occurrence})));
  const std::string path = folder.File("flipped.prc");
  int refused = 0;
  int flips = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    for (unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string damaged = bytes;
      damaged[i] = static_cast<char>(damaged[i] ^ mask);
      ASSERT_TRUE(testing_support::WriteFile(path, damaged));
      ++flips;
      int status = 0;
      A3DEntity loaded = Load(path, &status);
      if (status != 0) {
        EXPECT_EQ(nullptr, loaded);
        ++refused;
        continue;
      }
      // Whatever came in must hold together: it can be read through and deleted.
      Dump(loaded, false);
      EXPECT_EQ(0, library.A3DAsmModelFileDelete(loaded));
    }
  }
  EXPECT_GT(refused, 0);
}

TEST_F(CodecTest, AMillionTrianglesLoadAndReadInFull) {
  // A grid of points, triangles with a normal per corner in one face record.
  const uint32_t side = 709;  // (side-1)^2 * 2 is just over a million
  std::vector<double> coords;
  coords.reserve(side * side * 3);
  for (uint32_t y = 0; y < side; ++y)
    for (uint32_t x = 0; x < side; ++x) coords.insert(coords.end(), {double(x), double(y), 0.0});
  std::vector<uint32_t> indices;
  indices.reserve((side - 1) * (side - 1) * 12);
  for (uint32_t y = 0; y + 1 < side; ++y) {
    for (uint32_t x = 0; x + 1 < side; ++x) {
      uint32_t a = 3 * (y * side + x), b = a + 3, c = a + 3 * side, d = c + 3;
      indices.insert(indices.end(), {0, a, 0, b, 0, d, 0, a, 0, d, 0, c});
    }
  }
  const uint32_t triangles = static_cast<uint32_t>(indices.size() / 6);
  ASSERT_GE(triangles, 1000000u);
  A3DEntity tessellation = library.Tess3D(coords, {0, 0, 1}, indices, {{0x2, 0, {triangles}}});
  const std::string path = Write(library.Model({library.Occurrence({}, library.Part({library.Item(tessellation)}))}));
  ASSERT_EQ(0, library.A3DDllTerminate());
  ASSERT_TRUE(library.Initialise());

  A3DEntity model = Load(path);
  a3dtest::ModelFileData modelData;
  ASSERT_EQ(0, library.ReadModelFile(model, &modelData));
  a3dtest::OccurrenceData occurrence;
  ASSERT_EQ(0, library.ReadOccurrence(modelData.occurrences.at(0), &occurrence));
  std::vector<A3DEntity> items;
  ASSERT_EQ(0, library.ReadPart(occurrence.partDefinition, &items));
  A3DEntity loadedTessellation = nullptr;
  ASSERT_EQ(0, library.ReadItem(items.at(0), &loadedTessellation));
  TessBaseRecord base{};
  base.structSize = sizeof base;
  ASSERT_EQ(0, library.A3DTessBaseGet(loadedTessellation, &base));
  Tess3DRecord tess{};
  tess.structSize = sizeof tess;
  ASSERT_EQ(0, library.A3DTess3DGet(loadedTessellation, &tess));
  EXPECT_EQ(coords.size(), base.coordCount);
  ASSERT_EQ(indices.size(), tess.indexCount);
  EXPECT_EQ(0, memcmp(indices.data(), tess.indices, indices.size() * sizeof(uint32_t)));
  EXPECT_EQ(0, library.A3DTess3DGet(nullptr, &tess));
  EXPECT_EQ(0, library.A3DTessBaseGet(nullptr, &base));
}

}  // namespace
