// The record convention: sizes, releases, what the library keeps until a release, and Gets given
// the wrong entity.
#include <gtest/gtest.h>

#include <functional>

#include "A3DTestLibrary.h"
#include "TestSupport.h"

namespace {

using a3dtest::CallsTo;
using a3dtest::Library;
using a3dtest::ReadLog;
using testing_support::ScopedEnv;
using testing_support::ScopedTempDir;

// Every entity kind the Gets read, in one small tree.
class RecordTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(library.Initialise());
    tessellation = library.Tess3D({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1}, {0, 0, 0, 3, 0, 6});
    wire = library.Wire({0, 0, 0, 1, 1, 1});
    item = library.Item(tessellation);
    part = library.Part({item});
    child = library.Occurrence({});
    occurrence = library.Occurrence({child}, part);
    model = library.Model({occurrence});
  }

  // Runs the Get named `get` on `entity` with a zeroed record whose structSize is off by `delta`.
  int Get(const std::string& get, A3DEntity entity, int delta = 0) {
    auto run = [&](auto fn, auto record) {
      record.structSize = static_cast<uint16_t>(sizeof record + delta);
      int status = fn(entity, &record);
      if (status == 0) {
        record.structSize = static_cast<uint16_t>(sizeof record);
        EXPECT_EQ(0, fn(nullptr, &record));
      }
      return status;
    };
    if (get == "A3DAsmModelFileGet") return run(library.A3DAsmModelFileGet, ModelFileRecord{});
    if (get == "A3DAsmProductOccurrenceGet") return run(library.A3DAsmProductOccurrenceGet, ProductOccurrenceRecord{});
    if (get == "A3DAsmPartDefinitionGet") return run(library.A3DAsmPartDefinitionGet, PartDefinitionRecord{});
    if (get == "A3DRiRepresentationItemGet") return run(library.A3DRiRepresentationItemGet, RepresentationItemRecord{});
    if (get == "A3DTessBaseGet") return run(library.A3DTessBaseGet, TessBaseRecord{});
    if (get == "A3DTess3DGet") return run(library.A3DTess3DGet, Tess3DRecord{});
    ADD_FAILURE() << get;
    return -1;
  }

  Library library;
  A3DEntity tessellation = nullptr, wire = nullptr, item = nullptr, part = nullptr, child = nullptr,
            occurrence = nullptr, model = nullptr;
};

TEST_F(RecordTest, EachGetAcceptsOnlyItsOwnSizeAndEntityKind) {
  struct Case {
    const char* get;
    A3DEntity RecordTest::*right;
    A3DEntity RecordTest::*wrong;
  };
  const Case cases[] = {
      {"A3DAsmModelFileGet", &RecordTest::model, &RecordTest::occurrence},
      {"A3DAsmProductOccurrenceGet", &RecordTest::occurrence, &RecordTest::part},
      {"A3DAsmPartDefinitionGet", &RecordTest::part, &RecordTest::item},
      {"A3DRiRepresentationItemGet", &RecordTest::item, &RecordTest::tessellation},
      {"A3DTessBaseGet", &RecordTest::wire, &RecordTest::item},
      {"A3DTess3DGet", &RecordTest::tessellation, &RecordTest::wire},
  };
  double notAnEntity[4] = {};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.get);
    EXPECT_EQ(0, Get(c.get, this->*c.right));
    for (int delta : {-1, 1, 8, -static_cast<int>(sizeof(void*))})
      EXPECT_EQ(kStatusBadArgument, Get(c.get, this->*c.right, delta)) << delta;
    EXPECT_EQ(kStatusBadEntity, Get(c.get, this->*c.wrong));
    EXPECT_EQ(kStatusBadEntity, Get(c.get, notAnEntity));
  }
}

TEST_F(RecordTest, AReleaseFreesZeroesAndMayBeRepeated) {
  Tess3DRecord record{};
  record.structSize = sizeof record;
  ASSERT_EQ(0, library.A3DTess3DGet(tessellation, &record));
  EXPECT_EQ(3u, record.normalCoordCount);
  EXPECT_EQ(6u, record.indexCount);

  Tess3DRecord wrongSize = record;
  wrongSize.structSize = sizeof record - 4;
  EXPECT_EQ(kStatusBadArgument, library.A3DTess3DGet(nullptr, &wrongSize));

  ASSERT_EQ(0, library.A3DTess3DGet(nullptr, &record));
  Tess3DRecord zeroed{};
  zeroed.structSize = sizeof zeroed;
  EXPECT_EQ(0, memcmp(&zeroed, &record, sizeof record));
  EXPECT_EQ(0, library.A3DTess3DGet(nullptr, &record));  // holds nothing now
}

TEST_F(RecordTest, AReleaseOfAnythingButTheLibrarysOwnArraysFailsAndFreesNothing) {
  ModelFileRecord record{};
  record.structSize = sizeof record;
  ASSERT_EQ(0, library.A3DAsmModelFileGet(model, &record));
  A3DEntity* handedOut = record.occurrences;
  A3DEntity mine[1] = {occurrence};
  record.occurrences = mine;
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileGet(nullptr, &record));
  EXPECT_EQ(mine, record.occurrences);
  record.occurrences = handedOut;
  EXPECT_EQ(occurrence, record.occurrences[0]);  // still alive
  EXPECT_EQ(0, library.A3DAsmModelFileGet(nullptr, &record));
}

TEST_F(RecordTest, EmptyArraysAreHandedOutAsNull) {
  A3DEntity empty = library.Model({});
  ModelFileRecord record{};
  record.structSize = sizeof record;
  ASSERT_EQ(0, library.A3DAsmModelFileGet(empty, &record));
  EXPECT_EQ(0u, record.occurrenceCount);
  EXPECT_EQ(nullptr, record.occurrences);
  EXPECT_EQ(0, library.A3DAsmModelFileGet(nullptr, &record));
}

TEST_F(RecordTest, TerminateReportsTheArraysNotReleased) {
  ScopedTempDir folder;
  const std::string path = folder.File("calls.log");
  ScopedEnv log(VANTRELL_A3D_ENV_LOG, path.c_str());

  ModelFileRecord modelRecord{};
  modelRecord.structSize = sizeof modelRecord;
  ASSERT_EQ(0, library.A3DAsmModelFileGet(model, &modelRecord));  // 1 array
  Tess3DRecord tessRecord{};
  tessRecord.structSize = sizeof tessRecord;
  ASSERT_EQ(0, library.A3DTess3DGet(tessellation, &tessRecord));  // normals and indices
  TessBaseRecord baseRecord{};
  baseRecord.structSize = sizeof baseRecord;
  ASSERT_EQ(0, library.A3DTessBaseGet(wire, &baseRecord));  // coordinates
  ASSERT_EQ(0, library.A3DTessBaseGet(nullptr, &baseRecord));
  RepresentationItemRecord itemRecord{};
  itemRecord.structSize = sizeof itemRecord;
  ASSERT_EQ(0, library.A3DRiRepresentationItemGet(item, &itemRecord));  // none

  ASSERT_EQ(0, library.A3DDllTerminate());
  std::vector<a3dtest::LogLine> terminate = CallsTo(ReadLog(path), "A3DDllTerminate");
  ASSERT_EQ(1u, terminate.size());
  EXPECT_EQ("unreleased=3", terminate[0].details);

  // What terminate took back cannot be released again, and nothing breaks trying.
  ASSERT_TRUE(library.Initialise());
  EXPECT_EQ(kStatusBadArgument, library.A3DAsmModelFileGet(nullptr, &modelRecord));
}

}  // namespace
