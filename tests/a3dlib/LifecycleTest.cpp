// Version, initialisation, failure rules and the call log, as set from outside and across loads.
#include <gtest/gtest.h>

#include <stddef.h>
#include <string.h>

#include "A3DTestLibrary.h"
#include "TestSupport.h"

namespace {

using a3dtest::CallsTo;
using a3dtest::Library;
using a3dtest::LogLine;
using a3dtest::ReadLog;
using testing_support::ScopedEnv;
using testing_support::ScopedTempDir;

struct VersionCase {
  const char* variant;
  const char* setting;  // null: unset
  bool succeeds;
  int major;
  int minor;
};

TEST(Version, ReportsTheSettingOrTheVariantsOwnOrFailsWithoutWriting) {
  const VersionCase cases[] = {
      {"standard", nullptr, true, 2, 0},  {"standard", "", true, 2, 0},
      {"version3", nullptr, true, 3, 0},  {"version3", "2.0", true, 2, 0},
      {"standard", "2.7", true, 2, 7},    {"standard", "3.0", true, 3, 0},
      {"standard", "1.9", true, 1, 9},    {"standard", "2.-1", true, 2, -1},
      {"standard", "-1.5", true, -1, 5},  {"standard", "fail", false, 0, 0},
      {"standard", "2", false, 0, 0},     {"standard", "2.0.1", false, 0, 0},
      {"standard", "two.0", false, 0, 0}, {"standard", " 2.0", false, 0, 0},
      {"standard", "2.99999999999", false, 0, 0},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(std::string(c.variant) + " " + (c.setting ? c.setting : "(unset)"));
    ScopedEnv version(VANTRELL_A3D_ENV_VERSION, c.setting);
    Library library(c.variant);
    ASSERT_TRUE(library.loaded());
    int major = 77;
    int minor = 77;
    int status = library.A3DDllGetVersion(&major, &minor);
    if (c.succeeds) {
      EXPECT_EQ(0, status);
      EXPECT_EQ(c.major, major);
      EXPECT_EQ(c.minor, minor);
    } else {
      EXPECT_EQ(kStatusNoVersion, status);
      EXPECT_EQ(77, major);
      EXPECT_EQ(77, minor);
    }
  }
}

TEST(Initialisation, NothingButTheLifeCycleWorksOutsideInitialiseAndTerminate) {
  Library library;
  A3DEntity out = nullptr;
  PolyBrepModelRecord record{};
  record.structSize = sizeof record;
  int type = 0;
  EXPECT_EQ(kStatusNotInitialised, library.A3DRiPolyBrepModelCreate(&record, &out));
  EXPECT_EQ(kStatusNotInitialised, library.A3DAsmModelFileLoadFromFile("nothing.prc", nullptr, &out));
  EXPECT_NE(0, library.A3DDllTerminate());

  ASSERT_TRUE(library.Initialise());
  ASSERT_EQ(0, library.A3DRiPolyBrepModelCreate(&record, &out));
  A3DEntity item = out;
  EXPECT_EQ(0, library.A3DEntityGetType(item, &type));
  EXPECT_EQ(237, type);

  // Terminating drops every entity; after a new initialisation the old handle means nothing.
  EXPECT_EQ(0, library.A3DDllTerminate());
  EXPECT_EQ(kStatusNotInitialised, library.A3DEntityGetType(item, &type));
  ASSERT_TRUE(library.Initialise());
  EXPECT_EQ(kStatusBadEntity, library.A3DEntityGetType(item, &type));
}

TEST(Initialisation, FailsWhenToldAndLeavesTheLibraryUninitialised) {
  ScopedEnv init(VANTRELL_A3D_ENV_INIT, "fail");
  Library library;
  EXPECT_EQ(kStatusInitRefused, library.A3DDllInitialize(2, 0));
  PolyBrepModelRecord record{};
  record.structSize = sizeof record;
  A3DEntity out = nullptr;
  EXPECT_EQ(kStatusNotInitialised, library.A3DRiPolyBrepModelCreate(&record, &out));
}

// A little tree: a model file with one occurrence "Model" whose part holds one 3D tessellation.
struct SmallTree {
  A3DEntity tessellation, item, part, occurrence, model;
  explicit SmallTree(Library& library) {
    tessellation = library.Tess3D({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1}, {0, 0, 0, 3, 0, 6});
    item = library.Item(tessellation);
    part = library.Part({item});
    occurrence = library.Occurrence({}, part);
    library.Name(occurrence, "Model");
    model = library.Model({occurrence});
  }
};

int TypeCall(Library& library, A3DEntity entity) {
  int type = 0;
  return library.A3DEntityGetType(entity, &type);
}

TEST(FailureRules, FailTheNamedCallsAndNoOthers) {
  Library library;
  ASSERT_TRUE(library.Initialise());
  SmallTree tree(library);
  a3dtest::Tess3DData data;

  {
    SCOPED_TRACE("the n-th call; releases are not counted and never fail");
    ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DTess3DGet#3");
    EXPECT_EQ(0, library.ReadTess3D(tree.tessellation, &data));  // call 1, then its release
    EXPECT_EQ(0, library.ReadTess3D(tree.tessellation, &data));  // call 2
    EXPECT_EQ(kStatusInjected, library.ReadTess3D(tree.tessellation, &data));
    EXPECT_EQ(0, library.ReadTess3D(tree.tessellation, &data));
  }
  {
    SCOPED_TRACE("every call of a bare name");
    ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DEntityGetType");
    EXPECT_EQ(kStatusInjected, TypeCall(library, tree.model));
    EXPECT_EQ(kStatusInjected, TypeCall(library, tree.tessellation));
  }
  {
    SCOPED_TRACE("calls on a named entity, among several rules");
    ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, " A3DCrvNurbsGet#1 , A3DAsmProductOccurrenceGet@Model,NoSuchName ");
    a3dtest::OccurrenceData occurrence;
    EXPECT_EQ(kStatusInjected, library.ReadOccurrence(tree.occurrence, &occurrence));
    A3DEntity other = library.Occurrence({});
    EXPECT_EQ(0, library.ReadOccurrence(other, &occurrence));
    EXPECT_EQ(0, TypeCall(library, tree.occurrence));
  }
  {
    SCOPED_TRACE("the library's own life cycle and loads can be failed too");
    ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DAsmModelFileLoadFromFile#1,A3DDllGetVersion#2");
    ScopedTempDir folder;
    ModelFileWriteParameters parameters{};
    parameters.structSize = sizeof parameters;
    std::string path = folder.File("model.prc");
    ASSERT_EQ(0, library.A3DAsmModelFileWriteToFile(tree.model, &parameters, path.c_str()));
    A3DEntity loaded = nullptr;
    EXPECT_EQ(kStatusInjected, library.A3DAsmModelFileLoadFromFile(path.c_str(), nullptr, &loaded));
    EXPECT_EQ(nullptr, loaded);
    EXPECT_EQ(0, library.A3DAsmModelFileLoadFromFile(path.c_str(), nullptr, &loaded));
    EXPECT_NE(nullptr, loaded);
    int major = 0;
    int minor = 0;
    EXPECT_EQ(kStatusInjected, library.A3DDllGetVersion(&major, &minor));  // the 1st was in Initialise
  }
  EXPECT_EQ(0, library.A3DDllTerminate());
}

TEST(Reload, EachLoadStartsAfreshAndReadsTheSettingsAgain) {
  ScopedTempDir folder;
  ScopedEnv log(VANTRELL_A3D_ENV_LOG, folder.File("calls.log").c_str());
  Library library;
  {
    ScopedEnv version(VANTRELL_A3D_ENV_VERSION, "2.3");
    ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DEntityGetType#1");
    int major = 0;
    int minor = 0;
    ASSERT_EQ(0, library.A3DDllGetVersion(&major, &minor));
    EXPECT_EQ(3, minor);
    ASSERT_EQ(0, library.A3DDllInitialize(major, minor));
    SmallTree tree(library);
    EXPECT_EQ(kStatusInjected, TypeCall(library, tree.model));
    EXPECT_EQ(0, TypeCall(library, tree.model));
    library.Unload();  // without terminating: the unload takes everything
  }
  ScopedEnv version(VANTRELL_A3D_ENV_VERSION, "2.5");
  ScopedEnv rules(VANTRELL_A3D_ENV_FAIL, "A3DEntityGetType#1");
  library.Load();
  ASSERT_TRUE(library.loaded());
  int major = 0;
  int minor = 0;
  ASSERT_EQ(0, library.A3DDllGetVersion(&major, &minor));
  EXPECT_EQ(5, minor);
  // A3DDllInitialize was called before the reload: this load is not initialised yet.
  EXPECT_EQ(kStatusNotInitialised, library.A3DRiRepresentationItemGet(nullptr, nullptr));
  ASSERT_EQ(0, library.A3DDllInitialize(major, minor));
  SmallTree tree(library);
  EXPECT_EQ(kStatusInjected, TypeCall(library, tree.model));  // the count started again
  EXPECT_EQ(0, library.A3DDllTerminate());
  library.Unload();

  std::vector<LogLine> lines = ReadLog(folder.File("calls.log"));
  int loads = 0;
  int unloads = 0;
  for (const LogLine& line : lines) {
    loads += line.kind == "load";
    unloads += line.kind == "unload";
  }
  EXPECT_EQ(2, loads);
  EXPECT_EQ(2, unloads);
}

TEST(CallLog, RecordsLoadCallsTerminateAndUnload) {
  ScopedTempDir folder;
  const std::string path = folder.File("calls.log");
  ScopedEnv log(VANTRELL_A3D_ENV_LOG, path.c_str());
  {
    Library library("version3");
    int major = 0;
    int minor = 0;
    ASSERT_EQ(0, library.A3DDllGetVersion(&major, &minor));
    ASSERT_EQ(0, library.A3DDllInitialize(2, 0));
    SmallTree tree(library);
    ModelFileRecord record{};
    record.structSize = sizeof record;
    ASSERT_EQ(0, library.A3DAsmModelFileGet(tree.model, &record));  // not released
    int type = 0;
    EXPECT_EQ(kStatusBadEntity, library.A3DEntityGetType(&record, &type));
    EXPECT_EQ(0, library.A3DDllTerminate());
  }
  std::vector<LogLine> lines = ReadLog(path);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ("load", lines.front().kind);
  EXPECT_EQ("variant=version3", lines.front().details);
  EXPECT_EQ("unload", lines.back().kind);
  EXPECT_EQ("unreleased=0", lines.back().details);

  std::vector<LogLine> version = CallsTo(lines, "A3DDllGetVersion");
  ASSERT_EQ(1u, version.size());
  EXPECT_EQ("version=3.0", version[0].details);
  std::vector<LogLine> named = CallsTo(lines, "A3DRootBaseSet");
  ASSERT_EQ(1u, named.size());
  EXPECT_EQ(0, named[0].status);
  EXPECT_NE(std::string::npos, named[0].details.find("entity=310:\"\""));
  EXPECT_NE(std::string::npos, named[0].details.find("name=\"Model\""));
  std::vector<LogLine> types = CallsTo(lines, "A3DEntityGetType");
  ASSERT_EQ(1u, types.size());
  EXPECT_EQ(kStatusBadEntity, types[0].status);
  EXPECT_EQ("entity=unknown", types[0].details);
  std::vector<LogLine> terminate = CallsTo(lines, "A3DDllTerminate");
  ASSERT_EQ(1u, terminate.size());
  EXPECT_EQ("unreleased=1", terminate[0].details);
}

TEST(CallLog, QuotesNamesThatNeedIt) {
  ScopedTempDir folder;
  const std::string path = folder.File("calls.log");
  ScopedEnv log(VANTRELL_A3D_ENV_LOG, path.c_str());
  Library library;
  ASSERT_TRUE(library.Initialise());
  A3DEntity occurrence = library.Occurrence({});
  library.Name(occurrence, "a \"b\" \\ c\td");
  std::vector<LogLine> named = CallsTo(ReadLog(path), "A3DRootBaseSet");
  ASSERT_EQ(1u, named.size());
  EXPECT_NE(std::string::npos, named[0].details.find(" name=\"a \\\"b\\\" \\\\ c\\x09d\" ")) << named[0].details;
}

// A record's fields are logged as handed, and so is every byte outside them that is not zero;
// only the size is read of a record whose size is wrong.
TEST(CallLog, ShowsTheBytesOfARecordOutsideItsFieldsAndOnlyTheSizeOfAWrongOne) {
  ScopedTempDir folder;
  const std::string path = folder.File("calls.log");
  ScopedEnv log(VANTRELL_A3D_ENV_LOG, path.c_str());
  Library library;
  ASSERT_TRUE(library.Initialise());
  uint32_t sizes[1] = {1};
  TessFaceRecord face;
  memset(&face, 0, sizeof face);
  face.structSize = sizeof face;
  face.faceKind = 2;
  face.sizeCount = 1;
  face.sizes = sizes;
  face.reserved2[0] = 5;
  Tess3DRecord tess;
  memset(&tess, 0, sizeof tess);
  tess.structSize = sizeof tess;
  tess.faceCount = 1;
  tess.faces = &face;
  tess.reserved1[1] = 7;
  A3DEntity tessellation = nullptr;
  EXPECT_EQ(0, library.A3DTess3DCreate(&tess, &tessellation));
  PolyBrepModelRecord wrongSize = {sizeof(PolyBrepModelRecord) + 1, 1};
  A3DEntity item = nullptr;
  EXPECT_EQ(kStatusBadArgument, library.A3DRiPolyBrepModelCreate(&wrongSize, &item));
  EXPECT_EQ(kStatusBadArgument, library.A3DRootBaseSet(tessellation, nullptr));

  std::vector<LogLine> lines = ReadLog(path);
  std::vector<LogLine> created = CallsTo(lines, "A3DTess3DCreate");
  ASSERT_EQ(1u, created.size());
  const std::string& details = created[0].details;
  EXPECT_NE(std::string::npos,
            details.find(" faces[0].unnamed=nonzero:" + std::to_string(offsetof(TessFaceRecord, reserved2)) + " "))
      << details;
  EXPECT_NE(std::string::npos,
            details.find(" unnamed=nonzero:" + std::to_string(offsetof(Tess3DRecord, reserved1) + 1) + " "))
      << details;
  EXPECT_NE(std::string::npos, details.find(" faces[0].faceKind=2 faces[0].indexStart=0 faces[0].sizeCount=1 "
                                            "faces[0].sizes=[1] "))
      << details;
  std::vector<LogLine> refused = CallsTo(lines, "A3DRiPolyBrepModelCreate");
  ASSERT_EQ(1u, refused.size());
  EXPECT_EQ("structSize=" + std::to_string(sizeof(PolyBrepModelRecord) + 1), refused[0].details);
  std::vector<LogLine> unnamed = CallsTo(lines, "A3DRootBaseSet");
  ASSERT_EQ(1u, unnamed.size());
  EXPECT_EQ("entity=172:\"\" record=null", unnamed[0].details);
  EXPECT_EQ(0, library.A3DDllTerminate());
}

}  // namespace
