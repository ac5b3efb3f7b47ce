// Entity trees built with the Create and Set calls and read back with the Gets: every field,
// copies, refused handles, type codes, shared occurrences and the deletion of model files.
#include <gtest/gtest.h>

#include <functional>

#include "A3DTestLibrary.h"
#include "TestSupport.h"

namespace {

using a3dtest::Library;
using a3dtest::ModelFileData;
using a3dtest::OccurrenceData;

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.Initialise()); }
  void TearDown() override { EXPECT_EQ(0, library.A3DDllTerminate()); }
  bool Alive(A3DEntity entity) { return library.TypeOf(entity) != -1; }
  Library library;
};

TEST_F(TreeTest, EveryFieldOfEveryRecordComesBackAsCreated) {
  A3DEntity tessellation = library.Tess3D({1.5, -2.25, 40.125, 1e300, -0.0, 5e-324}, {0, 0, 1, 0, 1, 0},
                                          {3, 0, 0, 3, 3, 0, 9}, {});
  A3DEntity item = library.Item(tessellation, 1);
  A3DEntity emptyItem = library.Item(nullptr, 0);
  A3DEntity part = library.Part({item, emptyItem});
  A3DEntity childA = library.Occurrence({});
  A3DEntity childB = library.Occurrence({});
  A3DEntity prototype = library.Occurrence({});
  A3DEntity external = library.Occurrence({});
  A3DEntity occurrence = library.Occurrence({childA, childB}, part, prototype, external);
  A3DEntity model = library.Model({occurrence, childA}, 0.352778);

  ModelFileData modelData;
  ASSERT_EQ(0, library.ReadModelFile(model, &modelData));
  EXPECT_EQ(0.352778, modelData.unit);
  EXPECT_EQ((std::vector<A3DEntity>{occurrence, childA}), modelData.occurrences);

  OccurrenceData occurrenceData;
  ASSERT_EQ(0, library.ReadOccurrence(occurrence, &occurrenceData));
  EXPECT_EQ((std::vector<A3DEntity>{childA, childB}), occurrenceData.children);
  EXPECT_EQ(part, occurrenceData.partDefinition);
  EXPECT_EQ(prototype, occurrenceData.linkedOccurrence1);
  EXPECT_EQ(external, occurrenceData.linkedOccurrence2);
  ASSERT_EQ(0, library.ReadOccurrence(childA, &occurrenceData));
  EXPECT_TRUE(occurrenceData.children.empty());
  EXPECT_EQ(nullptr, occurrenceData.partDefinition);
  EXPECT_EQ(nullptr, occurrenceData.linkedOccurrence1);
  EXPECT_EQ(nullptr, occurrenceData.linkedOccurrence2);

  std::vector<A3DEntity> items;
  ASSERT_EQ(0, library.ReadPart(part, &items));
  EXPECT_EQ((std::vector<A3DEntity>{item, emptyItem}), items);
  A3DEntity itemTessellation = nullptr;
  ASSERT_EQ(0, library.ReadItem(item, &itemTessellation));
  EXPECT_EQ(tessellation, itemTessellation);
  ASSERT_EQ(0, library.ReadItem(emptyItem, &itemTessellation));
  EXPECT_EQ(nullptr, itemTessellation);

  std::vector<double> coords;
  ASSERT_EQ(0, library.ReadCoords(tessellation, &coords));
  const std::vector<double> expected = {1.5, -2.25, 40.125, 1e300, -0.0, 5e-324};
  ASSERT_EQ(expected.size(), coords.size());
  EXPECT_EQ(0, memcmp(expected.data(), coords.data(), expected.size() * sizeof(double)));

  // Without face records the index entries come out as stored, whole groups or not.
  a3dtest::Tess3DData tess;
  ASSERT_EQ(0, library.ReadTess3D(tessellation, &tess));
  EXPECT_EQ((std::vector<double>{0, 0, 1, 0, 1, 0}), tess.normals);
  EXPECT_EQ((std::vector<uint32_t>{3, 0, 0, 3, 3, 0, 9}), tess.indices);
  EXPECT_EQ(0u, tess.faceCount);
}

TEST_F(TreeTest, CreatesAndSetsCopyWhatTheyAreGiven) {
  std::vector<double> coords = {1, 2, 3};
  std::vector<double> normals = {0, 0, 1};
  std::vector<uint32_t> indices = {0, 0, 0, 0, 0, 0};
  std::vector<uint32_t> sizes = {1};
  A3DEntity tessellation = library.Tess3D(coords, normals, indices, {{0x2, 0, sizes}});
  A3DEntity occurrence = library.Occurrence({});
  std::vector<A3DEntity> roots = {occurrence};
  A3DEntity model = library.Model(roots);
  std::string name = "Model";
  library.Name(occurrence, name.c_str());

  coords.assign(3, 9.0);
  normals.assign(3, 9.0);
  indices.assign(6, 9);
  sizes[0] = 9;
  roots[0] = nullptr;
  name = "Other";

  std::vector<double> readCoords;
  ASSERT_EQ(0, library.ReadCoords(tessellation, &readCoords));
  EXPECT_EQ((std::vector<double>{1, 2, 3}), readCoords);
  a3dtest::Tess3DData tess;
  ASSERT_EQ(0, library.ReadTess3D(tessellation, &tess));
  EXPECT_EQ((std::vector<double>{0, 0, 1}), tess.normals);
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 0, 0, 0}), tess.indices);
  ModelFileData modelData;
  ASSERT_EQ(0, library.ReadModelFile(model, &modelData));
  EXPECT_EQ(roots.size(), modelData.occurrences.size());
  EXPECT_EQ(occurrence, modelData.occurrences[0]);
  testing_support::ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DEntityGetType@Model");
  EXPECT_EQ(-1, library.TypeOf(occurrence));
}

TEST_F(TreeTest, SetsReplaceWhatTheyWereGivenBefore) {
  A3DEntity first = library.Tess3D({1, 2, 3}, {}, {});
  A3DEntity item = library.Item(first);
  RepresentationItemRecord clear{};
  clear.structSize = sizeof clear;
  ASSERT_EQ(0, library.A3DRiRepresentationItemSet(item, &clear));
  A3DEntity tessellation = first;
  ASSERT_EQ(0, library.ReadItem(item, &tessellation));
  EXPECT_EQ(nullptr, tessellation);

  TessBaseRecord none{};
  none.structSize = sizeof none;
  ASSERT_EQ(0, library.A3DTessBaseSet(first, &none));
  std::vector<double> coords = {7};
  ASSERT_EQ(0, library.ReadCoords(first, &coords));
  EXPECT_TRUE(coords.empty());

  RootBaseRecord unnamed{};
  unnamed.structSize = sizeof unnamed;
  library.Name(item, "Item");
  ASSERT_EQ(0, library.A3DRootBaseSet(item, &unnamed));
  testing_support::ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DEntityGetType@");
  EXPECT_EQ(-1, library.TypeOf(item));  // its name is empty again
}

TEST_F(TreeTest, RefusedHandlesAndRecordsChangeNothing) {
  A3DEntity tessellation = library.Tess3D({0, 0, 0}, {}, {});
  A3DEntity item = library.Item(tessellation);
  A3DEntity part = library.Part({item});
  A3DEntity occurrence = library.Occurrence({});
  double foreign[2] = {};
  A3DEntity* const sentinel = reinterpret_cast<A3DEntity*>(&foreign[1]);

  // Arrays the records below point to.
  A3DEntity withForeign[] = {occurrence, foreign};
  A3DEntity onlyPart[] = {part};
  A3DEntity onlyNull[] = {nullptr};
  A3DEntity onlyTessellation[] = {tessellation};
  A3DEntity occurrenceAndPart[] = {occurrence, part};
  TessFaceRecord shortFace{};
  shortFace.structSize = sizeof shortFace - 1;

  using Call = std::function<int(A3DEntity*)>;
  // A Create given a zeroed record of its own size that `fill` completes.
  auto with = [](auto create, auto record, auto fill) -> Call {
    return [=](A3DEntity* out) mutable {
      record.structSize = sizeof record;
      fill(record);
      return create(&record, out);
    };
  };
  auto occurrenceWith = [&](auto fill) { return with(library.A3DAsmProductOccurrenceCreate, ProductOccurrenceRecord{}, fill); };
  auto tess3DWith = [&](auto fill) { return with(library.A3DTess3DCreate, Tess3DRecord{}, fill); };

  struct Case {
    const char* what;
    int expected;
    Call call;
  };
  std::vector<Case> cases = {
      {"child not handed out", kStatusBadEntity, occurrenceWith([&](ProductOccurrenceRecord& r) {
         r.childCount = 2;
         r.children = withForeign;
       })},
      {"child of the wrong kind", kStatusBadEntity, occurrenceWith([&](ProductOccurrenceRecord& r) {
         r.childCount = 1;
         r.children = onlyPart;
       })},
      {"null child", kStatusBadEntity, occurrenceWith([&](ProductOccurrenceRecord& r) {
         r.childCount = 1;
         r.children = onlyNull;
       })},
      {"children counted but absent", kStatusBadArgument,
       occurrenceWith([&](ProductOccurrenceRecord& r) { r.childCount = 1; })},
      {"part definition of the wrong kind", kStatusBadEntity,
       occurrenceWith([&](ProductOccurrenceRecord& r) { r.partDefinition = occurrence; })},
      {"prototype of the wrong kind", kStatusBadEntity,
       occurrenceWith([&](ProductOccurrenceRecord& r) { r.linkedOccurrence1 = part; })},
      {"external data not handed out", kStatusBadEntity,
       occurrenceWith([&](ProductOccurrenceRecord& r) { r.linkedOccurrence2 = foreign; })},
      {"item of the wrong kind", kStatusBadEntity,
       with(library.A3DAsmPartDefinitionCreate, PartDefinitionRecord{},
            [&](PartDefinitionRecord& r) {
              r.itemCount = 1;
              r.items = onlyTessellation;
            })},
      {"root of the wrong kind", kStatusBadEntity,
       with(library.A3DAsmModelFileCreate, ModelFileRecord{},
            [&](ModelFileRecord& r) {
              r.occurrenceCount = 2;
              r.occurrences = occurrenceAndPart;
            })},
      {"model file record of the wrong size", kStatusBadArgument,
       with(library.A3DAsmModelFileCreate, ModelFileRecord{}, [](ModelFileRecord& r) { r.structSize += 1; })},
      {"normals counted but absent", kStatusBadArgument, tess3DWith([](Tess3DRecord& r) { r.normalCoordCount = 3; })},
      {"face record of the wrong size", kStatusBadArgument, tess3DWith([&](Tess3DRecord& r) {
         r.faceCount = 1;
         r.faces = &shortFace;
       })},
      {"poly-brep record of the wrong size", kStatusBadArgument,
       with(library.A3DRiPolyBrepModelCreate, PolyBrepModelRecord{}, [](PolyBrepModelRecord& r) { r.structSize = 2; })},
      {"no record", kStatusBadArgument, [&](A3DEntity* out) { return library.A3DTessMarkupCreate(nullptr, out); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    A3DEntity out = sentinel;
    EXPECT_EQ(c.expected, c.call(&out));
    EXPECT_EQ(sentinel, out);
  }
  PolyBrepModelRecord brep{};
  brep.structSize = sizeof brep;
  EXPECT_EQ(kStatusBadArgument, library.A3DRiPolyBrepModelCreate(&brep, nullptr));

  // Sets on the wrong entity, or with a wrong value, leave the entity as it was.
  RepresentationItemRecord set{};
  set.structSize = sizeof set;
  set.tessellation = part;
  EXPECT_EQ(kStatusBadEntity, library.A3DRiRepresentationItemSet(item, &set));
  set.tessellation = tessellation;
  EXPECT_EQ(kStatusBadEntity, library.A3DRiRepresentationItemSet(part, &set));
  A3DEntity kept = nullptr;
  ASSERT_EQ(0, library.ReadItem(item, &kept));
  EXPECT_EQ(tessellation, kept);

  TessBaseRecord coords{};
  coords.structSize = sizeof coords;
  coords.coordCount = 3;
  EXPECT_EQ(kStatusBadArgument, library.A3DTessBaseSet(tessellation, &coords));  // no array
  double values[3] = {4, 5, 6};
  coords.coords = values;
  EXPECT_EQ(kStatusBadEntity, library.A3DTessBaseSet(item, &coords));
  EXPECT_EQ(kStatusBadEntity, library.A3DTessBaseSet(foreign, &coords));
  std::vector<double> read;
  ASSERT_EQ(0, library.ReadCoords(tessellation, &read));
  EXPECT_EQ((std::vector<double>{0, 0, 0}), read);

  RootBaseRecord name{};
  name.structSize = sizeof name;
  name.name = "x";
  EXPECT_EQ(kStatusBadEntity, library.A3DRootBaseSet(foreign, &name));
  name.structSize = 12;
  EXPECT_EQ(kStatusBadArgument, library.A3DRootBaseSet(item, &name));
}

TEST_F(TreeTest, EveryKindReportsItsTypeCode) {
  A3DEntity wire = library.Wire({});
  A3DEntity markup = library.Markup();
  A3DEntity brep = library.Brep(nullptr);
  A3DEntity tessellation = library.Tess3D({}, {}, {});
  A3DEntity poly = library.Item(nullptr);
  A3DEntity part = library.Part({});
  A3DEntity occurrence = library.Occurrence({});
  A3DEntity model = library.Model({});

  const std::pair<A3DEntity, int> cases[] = {{model, 301}, {occurrence, 310}, {part, 311}, {poly, 237},
                                             {brep, 232},  {tessellation, 172}, {wire, 175}, {markup, 176}};
  for (const auto& c : cases) EXPECT_EQ(c.second, library.TypeOf(c.first));
  int type = 0;
  EXPECT_EQ(kStatusBadEntity, library.A3DEntityGetType(nullptr, &type));
  EXPECT_EQ(kStatusBadArgument, library.A3DEntityGetType(model, nullptr));

  // Other tessellations take points, and only a 3D tessellation gives 3D data.
  TessBaseRecord base{};
  base.structSize = sizeof base;
  double points[6] = {1, 2, 3, 4, 5, 6};
  base.coordCount = 6;
  base.coords = points;
  ASSERT_EQ(0, library.A3DTessBaseSet(markup, &base));
  std::vector<double> coords;
  ASSERT_EQ(0, library.ReadCoords(markup, &coords));
  EXPECT_EQ(std::vector<double>(points, points + 6), coords);
  a3dtest::Tess3DData data;
  EXPECT_EQ(kStatusBadEntity, library.ReadTess3D(markup, &data));
  library.SetTessellation(brep, wire);
  A3DEntity read = nullptr;
  ASSERT_EQ(0, library.ReadItem(brep, &read));
  EXPECT_EQ(wire, read);
}

TEST_F(TreeTest, SharedOccurrencesAreOneEntityWhereverTheyAppear) {
  A3DEntity shared = library.Occurrence({}, library.Part({}));
  A3DEntity a = library.Occurrence({}, nullptr, shared);
  A3DEntity b = library.Occurrence({shared, shared}, nullptr, shared, shared);
  A3DEntity model = library.Model({a, b, shared});

  OccurrenceData data;
  ASSERT_EQ(0, library.ReadOccurrence(a, &data));
  EXPECT_EQ(shared, data.linkedOccurrence1);
  ASSERT_EQ(0, library.ReadOccurrence(b, &data));
  EXPECT_EQ((std::vector<A3DEntity>{shared, shared}), data.children);
  EXPECT_EQ(shared, data.linkedOccurrence1);
  EXPECT_EQ(shared, data.linkedOccurrence2);
  ModelFileData modelData;
  ASSERT_EQ(0, library.ReadModelFile(model, &modelData));
  EXPECT_EQ(shared, modelData.occurrences[2]);
}

TEST_F(TreeTest, DeletingAModelFileKeepsWhatOthersStillUse) {
  A3DEntity sharedTess = library.Tess3D({0, 0, 0}, {}, {});
  A3DEntity sharedPart = library.Part({library.Item(sharedTess)});
  A3DEntity shared = library.Occurrence({}, sharedPart);
  A3DEntity ownPart = library.Part({library.Item(library.Tess3D({}, {}, {}))});
  A3DEntity own = library.Occurrence({}, ownPart, shared);
  A3DEntity first = library.Model({own});
  A3DEntity second = library.Model({shared});
  // An occurrence in no model file still holds what it uses.
  A3DEntity heldPart = library.Part({});
  A3DEntity loose = library.Occurrence({}, heldPart);
  A3DEntity third = library.Model({library.Occurrence({}, heldPart)});

  ASSERT_EQ(0, library.A3DAsmModelFileDelete(first));
  EXPECT_FALSE(Alive(first));
  EXPECT_FALSE(Alive(own));
  EXPECT_FALSE(Alive(ownPart));
  EXPECT_TRUE(Alive(shared));
  EXPECT_TRUE(Alive(sharedPart));
  EXPECT_TRUE(Alive(sharedTess));
  EXPECT_EQ(kStatusBadEntity, library.A3DAsmModelFileDelete(first));

  ASSERT_EQ(0, library.A3DAsmModelFileDelete(second));
  EXPECT_FALSE(Alive(shared));
  EXPECT_FALSE(Alive(sharedPart));
  EXPECT_FALSE(Alive(sharedTess));

  ASSERT_EQ(0, library.A3DAsmModelFileDelete(third));
  EXPECT_TRUE(Alive(heldPart));
  EXPECT_TRUE(Alive(loose));
  EXPECT_EQ(kStatusBadEntity, library.A3DAsmModelFileDelete(loose));
}

}  // namespace
