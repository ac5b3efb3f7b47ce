#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <thread>

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "HostFixture.h"
#include "ModelFiles.h"
#include "PdfFixtures.h"
#include "StandInLibrary.h"
#include "extraction/DocumentScan.h"
#include "acrohost/Tables.h"
#include "extraction/LastErrorText.h"
#include "extraction/TemporaryPrcFile.h"
#include "extraction/WalkBounds.h"
#include "host/HostCalls.h"
#include "host/HostTables.h"

using namespace testing_support;
using pdf_fixtures::Page;

namespace {

std::vector<int> MeshIds(const MeshList& meshes) {
  std::vector<int> ids;
  for (int i = 0; i < meshes.Count(); ++i) ids.push_back(static_cast<int>(std::lround(meshes[i].m_V[0].x)));
  return ids;
}

// What the 3D library's log says a load read: "bytes=<size>:<64-bit FNV-1a hash>".
std::string BytesAsLogged(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  char text[64];
  snprintf(text, sizeof text, "bytes=%llu:%016llx", static_cast<unsigned long long>(bytes.size()),
           static_cast<unsigned long long>(hash));
  return text;
}

// The bytes= item of a log line.
std::string LoggedBytes(const std::string& line) {
  size_t at = line.find(" bytes=");
  return at == std::string::npos ? std::string() : line.substr(at + 1, line.find(' ', at + 1) - at - 1);
}

// A host with a document, the standard 3D library, a fresh "temp" folder and the library's log.
class DocumentScan : public ::testing::Test {
 protected:
  DocumentScan() : m_upperTemp("TEMP", nullptr), m_temp("temp", m_tempDir.path().c_str()), m_library("standard") {}

  // The pages as a PDF file where the build has them, else in memory.
  void OpenDocument(const std::vector<Page>& pages) {
    std::string error;
    std::unique_ptr<acrohost::Document> document = pdf_fixtures::ReadableDocument(pages, m_files.File("document.pdf"), &error);
    ASSERT_TRUE(document) << error;
    m_host.OpenDocument(std::move(document));
    // Making the model files bound the library too.
    m_log.Clear();
  }

  int Extract(MeshList& meshes) {
    HostDocumentView view = m_host.ActiveView();
    return ExtractMeshesFromDocument(&view, &meshes);
  }

  // The sizes the host's reader handed out, in order.
  std::vector<std::string> ReadResults() {
    std::vector<std::string> results;
    for (const acrohost::HostCall& call : m_host.CallsOf("AcroSupport", 43)) results.push_back(call.result);
    return results;
  }

  std::string TemporaryFile() const { return m_tempDir.File("QNFTemp.prc"); }

  ScopedTempDir m_files;
  ScopedTempDir m_tempDir;
  // "TEMP" goes first: on Windows it is the same variable as "temp".
  ScopedEnv m_upperTemp;
  ScopedEnv m_temp;
  ScopedA3DLibrary m_library;
  StandInLog m_log;
  HostFixture m_host;
};

TEST_F(DocumentScan, GathersEveryPrcStreamPageByPageInAnnotationOrder) {
  pdf_fixtures::ThreeDData reference;
  reference.kind = pdf_fixtures::ThreeDData::kReferenceDictionary;
  pdf_fixtures::ThreeDData otherFormat;
  otherFormat.subtype = "U3D";
  otherFormat.bytes = "U3D data";
  Page first;
  first.annotations = {pdf_fixtures::Other("Text"), pdf_fixtures::Prc(ModelFileBytes({1, 2})),
                       pdf_fixtures::ThreeD(reference), pdf_fixtures::ThreeD(otherFormat),
                       pdf_fixtures::Prc(ModelFileBytes({3}), true)};
  Page empty;
  Page indirect;
  indirect.annots = Page::kIndirect;
  indirect.annotations = {pdf_fixtures::Prc(ModelFileBytes({4}))};
  Page missing;
  missing.annots = Page::kMissing;
  OpenDocument({first, empty, indirect, missing});
  SetLastErrorText(CStringT<char>("untouched"));

  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), MeshIds(meshes));
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
  EXPECT_FALSE(FileExists(TemporaryFile()));
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "Initialize", "Terminate", "unload"}), m_log.LifeCycle());
  EXPECT_EQ(0, m_log.UnreleasedAtTerminate());
  EXPECT_EQ(0u, m_host.OutstandingReaders());
}

TEST_F(DocumentScan, FailureSkipsTheRestOfItsPageOnly) {
  Page first;
  first.annotations = {pdf_fixtures::Prc(ModelFileBytes({1})), pdf_fixtures::Prc("this is no model file"),
                       pdf_fixtures::Prc(ModelFileBytes({2}))};
  Page second;
  second.annotations = {pdf_fixtures::Prc(ModelFileBytes({3})), pdf_fixtures::Prc(ModelFileBytes({4}, true)),
                        pdf_fixtures::Prc(ModelFileBytes({5}))};
  Page third;
  third.annotations = {pdf_fixtures::Prc(ModelFileBytes({6}))};
  OpenDocument({first, second, third});

  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  // Page 1 stops at its second stream, page 2 at the unsupported item, page 3 is read in full.
  EXPECT_EQ((std::vector<int>{1, 3, 4, 6}), MeshIds(meshes));
  EXPECT_STREQ("Unsupported tesselation type", GetLastErrorText().GetString());
  EXPECT_EQ(5u, m_log.Calls("A3DAsmModelFileLoadFromFile").size());
  EXPECT_FALSE(FileExists(TemporaryFile()));
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "Initialize", "Terminate", "unload"}), m_log.LifeCycle());
  EXPECT_EQ(0, m_log.UnreleasedAtTerminate());
}

TEST_F(DocumentScan, EmptiesTheListBeforeTheFirstPage) {
  OpenDocument({Page()});
  MeshList meshes;
  meshes.Append(ON_Mesh(1, 1, false, false));
  meshes.Append(ON_Mesh());
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ(0, meshes.Count());
  EXPECT_EQ(0, meshes.Capacity());
}

// Under 1 MiB, one tessellation of 10^4 triangles reached by 10^6 paths: the meshes stop at
// their floor of 256 MiB after some 1200 paths, a fraction of a second here.
TEST_F(DocumentScan, SmallFileOfSharedOccurrencesStopsAtTheMeshesFloor) {
  const std::string bytes = TwoSharedLevelsModelFileBytes(1000, 10000);
  EXPECT_LT(bytes.size(), 1000000u);
  Page page;
  page.annotations = {pdf_fixtures::Prc(bytes)};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to retrieve tesselation 3d data", GetLastErrorText().GetString());
  ASSERT_GT(meshes.Count(), 0);
  EXPECT_EQ(10000, meshes[0].FaceCount());
  const uint64_t floor = uint64_t(256) << 20;
  EXPECT_LE(MeshListBytes(meshes), floor);
  EXPECT_GT(MeshListBytes(meshes) + MeshListBytes(meshes) / meshes.Count(), floor);
  size_t occurrences = 0;
  for (const std::string& line : m_log.Calls("A3DAsmProductOccurrenceGet"))
    if (line.find(" release") == std::string::npos) ++occurrences;
  EXPECT_LT(occurrences, 1300u);
  EXPECT_EQ(0, m_log.UnreleasedAtTerminate());
}

// 2^21 - 1 occurrences and 2^20 items, some 3.1 million visits past their floor of 2^21: a file
// of 6 MiB or more allows them, and the scan bounds the walk by the bytes of its file.
TEST_F(DocumentScan, VisitsAreBoundedByTheBytesOfTheirFile) {
  // Millions of calls: not logged.
  ScopedEnv noLog(VANTRELL_A3D_ENV_LOG, nullptr);
  const std::string bytes = SharedLevelsModelFileBytes(21, false, 8 << 20);
  EXPECT_GT(bytes.size(), 6u << 20);
  Page page;
  page.annotations = {pdf_fixtures::Prc(bytes)};
  OpenDocument({page});
  SetLastErrorText(CStringT<char>("untouched"));
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
}

// The meshes of 169 paths to one tessellation of 2^16 triangles: some 297 MiB, past their floor of
// 256 MiB, from a file under 1 MiB. The list's earlier model files allow them: the bound is the
// list's, grown by every model file walked into it.
TEST_F(DocumentScan, MeshesAreBoundedByEveryModelFileWalkedIntoTheList) {
  const std::string shared = TwoSharedLevelsModelFileBytes(13, 1 << 16);
  EXPECT_LT(shared.size(), 1u << 20);
  Page alone;
  alone.annotations = {pdf_fixtures::Prc(shared)};
  OpenDocument({alone});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to retrieve tesselation 3d data", GetLastErrorText().GetString());
  EXPECT_LE(MeshListBytes(meshes), uint64_t(256) << 20);
  // After a file of 1.5 MiB without meshes: 256 bytes of meshes for each byte of both.
  Page after;
  after.annotations = {pdf_fixtures::Prc(SharedLevelsModelFileBytes(1, false, 3 << 19)), pdf_fixtures::Prc(shared)};
  OpenDocument({after});
  SetLastErrorText(CStringT<char>("untouched"));
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
  EXPECT_EQ(169, meshes.Count());
  EXPECT_GT(MeshListBytes(meshes), uint64_t(256) << 20);
}

TEST_F(DocumentScan, FileAtTheTemporaryPathIsDeletedEvenWithoutPrcStreams) {
  for (const std::vector<Page>& pages : {std::vector<Page>{}, std::vector<Page>{Page()}}) {
    SCOPED_TRACE(pages.size());
    ASSERT_TRUE(WriteFile(TemporaryFile(), "left over"));
    OpenDocument(pages);
    SetLastErrorText(CStringT<char>("untouched"));
    MeshList meshes;
    EXPECT_EQ(1, Extract(meshes));
    EXPECT_EQ(0, meshes.Count());
    EXPECT_STREQ("untouched", GetLastErrorText().GetString());
    EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
    EXPECT_FALSE(FileExists(TemporaryFile()));
  }
}

// A stale file longer than the streams, and a second stream shorter than the first: each load
// reads exactly its own stream, and the first model file is gone before the second is loaded.
TEST_F(DocumentScan, EachLoadReadsExactlyTheStreamWrittenForIt) {
  const std::string first = ModelFileBytes({1, 2, 3});
  const std::string second = ModelFileBytes({4});
  ASSERT_LT(second.size(), first.size());
  ASSERT_TRUE(WriteFile(TemporaryFile(), std::string(first.size() * 4, 'x')));
  Page page;
  page.annotations = {pdf_fixtures::Prc(first), pdf_fixtures::Prc(second)};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), MeshIds(meshes));
  std::vector<std::string> events;
  for (const std::string& line : m_log.Lines()) {
    if (line.rfind("call A3DAsmModelFileLoadFromFile ", 0) == 0) events.push_back("load " + LoggedBytes(line));
    if (line.rfind("call A3DAsmModelFileDelete ", 0) == 0) events.push_back("delete");
  }
  EXPECT_EQ((std::vector<std::string>{"load " + BytesAsLogged(first), "delete", "load " + BytesAsLogged(second), "delete"}),
            events);
}

// The host's reader answers a count it must never give: the stream is not taken as copied.
class BadReadCount : public DocumentScan, public ::testing::WithParamInterface<int32_t> {
 protected:
  static int32_t s_answer;
  static int32_t BadRead(char*, int32_t, int32_t, HostStream) { return s_answer; }
};
int32_t BadReadCount::s_answer = 0;

TEST_P(BadReadCount, FailsTheStreamAndStillClosesTheReader) {
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  std::vector<HostRoutine> table(gAcroSupportTable, gAcroSupportTable + acrohost::kTableLength);
  table[43] = reinterpret_cast<HostRoutine>(&BadRead);
  s_answer = GetParam();
  HostTable original = gAcroSupportTable;
  gAcroSupportTable = table.data();
  MeshList meshes;
  int result = Extract(meshes);
  gAcroSupportTable = original;
  EXPECT_EQ(0, result);
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_EQ(1u, m_host.CountCalls("AcroSupport", 45));
  EXPECT_EQ(0u, m_host.OutstandingReaders());
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
}

INSTANTIATE_TEST_SUITE_P(Counts, BadReadCount, ::testing::Values(-1, 1025));

// The host opens no reader for a stream whose filter it cannot apply: nothing is copied, and the
// user sees that the model could not be loaded.
TEST_F(DocumentScan, StreamTheHostCannotDecodeFailsAsAModelThatCannotBeLoaded) {
  pdf_fixtures::ThreeDData undecodable;
  undecodable.rawFilter = "FlateDecode";
  undecodable.bytes = "no flate data";
  Page page;
  page.annotations = {pdf_fixtures::ThreeD(undecodable), pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to load model file", GetLastErrorText().GetString());
  EXPECT_EQ(0, meshes.Count());
  std::vector<std::string> loads = m_log.Calls("A3DAsmModelFileLoadFromFile");
  ASSERT_EQ(1u, loads.size());
  EXPECT_EQ(BytesAsLogged(""), LoggedBytes(loads[0]));
}

// Another Export holds the file: this one fails at once and leaves that file alone; once it is
// let go, an Export works again.
TEST_F(DocumentScan, TemporaryFileHeldByAnotherExportFailsTheStream) {
  const CStringT<char> path(TemporaryFile().c_str());
  WrittenPrcFile theirs;
  HANDLE held = OpenTemporaryPrcFile(path, &theirs);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  const std::string model = "another Export's model";
  ASSERT_EQ(1, AppendToTemporaryPrcFile(held, model.data(), static_cast<DWORD>(model.size()), &theirs));
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page, page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_EQ(0u, m_host.CountCalls("Cos", 32));
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
  EXPECT_EQ(model, ReadFile(TemporaryFile()));
  CloseHandle(held);
  EXPECT_EQ(1, IsTemporaryPrcFileAsWritten(path, theirs));
  DeleteTemporaryPrcFile(path);
  EXPECT_FALSE(FileExists(TemporaryFile()));
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ(2, meshes.Count());
}

// A load that waits, once it has begun, until the test lets it go on: the library's
// VANTRELL_A3D_LOAD_WAIT handshake.
class LoadGate {
 public:
  explicit LoadGate(std::string file) : m_file(std::move(file)) {}
  const char* file() const { return m_file.c_str(); }
  // Whether the load has begun, within a minute.
  bool Begun() const {
    for (int i = 0; i < 6000 && !FileExists(m_file + ".loading"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return FileExists(m_file + ".loading");
  }
  void Open() const { WriteFile(m_file, ""); }

 private:
  std::string m_file;
};

// The host program's Export of a model of its own, with this "temp" folder, that waits inside its
// load until its gate opens.
class OtherExport {
 public:
  OtherExport(const ScopedTempDir& files, const LoadGate& gate) : m_gate(gate) {
    const std::string model = files.File("theirs.prc");
    m_output = files.File("theirs.skp");
    WriteFile(model, ModelFileBytes({7}));
    ScopedEnv wait(VANTRELL_A3D_ENV_LOAD_WAIT, gate.file());
    m_thread = std::thread(
        [this, model] { m_run = RunAcrohost({"--take-prc", model, "--save-as", m_output, "ADBE:Vantrell_Export"}); });
    m_begun = gate.Begun();
  }
  ~OtherExport() { Finish(); }
  bool begun() const { return m_begun; }
  const ProgramRun& Finish() {
    m_gate.Open();
    if (m_thread.joinable()) m_thread.join();
    return m_run;
  }
  const std::string& output() const { return m_output; }

 private:
  const LoadGate& m_gate;
  std::string m_output;
  std::thread m_thread;
  ProgramRun m_run;
  bool m_begun = false;
};

// Two Exports at once with one "temp" folder. The host program's Export has written its model
// and waits inside its load; this one writes, loads and checks its own meanwhile, and wins. The
// other then finds its file gone and fails with the message; it writes nothing.
TEST_F(DocumentScan, ExportThatLosesItsFileDuringItsLoadFailsAndWritesNothing) {
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  LoadGate gate(m_files.File("gate"));
  OtherExport other(m_files, gate);
  ASSERT_TRUE(other.begun());
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ(std::vector<int>({1}), MeshIds(meshes));
  const ProgramRun& run = other.Finish();
  EXPECT_EQ(1, run.status) << run.err;
  EXPECT_EQ("alert: Unable to create PRC file\n", run.err);
  EXPECT_FALSE(FileExists(other.output()));
  EXPECT_FALSE(FileExists(TemporaryFile()));
}

// Both Exports are inside their loads when the host program's goes on: its library reads the
// model this one wrote over its own. It sees that, and fails with the message instead of writing
// another's meshes; its deletion at the end then fails this one the same way.
TEST_F(DocumentScan, ExportWhoseFileAnotherRewroteWritesNoneOfTheOthersMeshes) {
  const std::string ours = ModelFileBytes({1});
  Page page;
  page.annotations = {pdf_fixtures::Prc(ours)};
  OpenDocument({page});
  LoadGate theirGate(m_files.File("their gate"));
  OtherExport other(m_files, theirGate);
  ASSERT_TRUE(other.begun());
  LoadGate ourGate(m_files.File("our gate"));
  ScopedEnv wait(VANTRELL_A3D_ENV_LOAD_WAIT, ourGate.file());
  MeshList meshes;
  int result = -1;
  std::thread export_([&] { result = Extract(meshes); });
  bool begun = ourGate.Begun();
  const ProgramRun& run = other.Finish();
  ourGate.Open();
  export_.join();
  ASSERT_TRUE(begun);
  EXPECT_EQ(1, run.status) << run.err;
  EXPECT_EQ("alert: Unable to create PRC file\n", run.err);
  EXPECT_FALSE(FileExists(other.output()));
  EXPECT_EQ(0, result);
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_EQ(0, meshes.Count());
  std::vector<std::string> loads = m_log.Calls("A3DAsmModelFileLoadFromFile");
  ASSERT_EQ(2u, loads.size());
  EXPECT_EQ(BytesAsLogged(ours), LoggedBytes(loads[0]));  // the other's load read our model
  EXPECT_EQ("bytes=none", LoggedBytes(loads[1]));
}

struct SwapCase {
  const char* name;
  bool sameBytes;  // the file is rewritten with just the bytes it held
  bool inPlace;    // the very file is rewritten, rather than another file renamed over it
};

void PrintTo(const SwapCase& c, std::ostream* out) { *out << c.name; }

// Two models of one length, so that only identity and bytes can tell them apart; made once.
struct SameLengthModels {
  int firstId = 0;
  std::string first, other;
};

const SameLengthModels& SameLengthModelsOnce() {
  static const SameLengthModels models = [] {
    SameLengthModels found;
    std::map<size_t, std::pair<int, std::string>> bySize;
    for (int id = 10; id < 60 && found.first.empty(); ++id) {
      std::string bytes = ModelFileBytes({id});
      auto same = bySize.find(bytes.size());
      if (same == bySize.end()) {
        bySize[bytes.size()] = {id, bytes};
      } else {
        found = {same->second.first, same->second.second, bytes};
      }
    }
    return found;
  }();
  return models;
}

class ChangedDuringTheLoad : public DocumentScan, public ::testing::WithParamInterface<SwapCase> {};

// While the first page's load is under way, someone changes the file at the name. Only a file
// that is still the very one written, with its bytes, gives meshes; otherwise the stream fails
// with the message and keeps nothing of that load, and the scan goes on with the next page.
TEST_P(ChangedDuringTheLoad, KeepsTheMeshesOnlyOfTheFileItWrote) {
  const SwapCase& c = GetParam();
  const SameLengthModels& models = SameLengthModelsOnce();
  const int firstId = models.firstId;
  const std::string& first = models.first;
  const std::string& other = models.other;
  ASSERT_FALSE(first.empty());
  const std::string swapped = c.sameBytes ? first : other;
  Page one, two;
  one.annotations = {pdf_fixtures::Prc(first)};
  two.annotations = {pdf_fixtures::Prc(ModelFileBytes({2}))};
  OpenDocument({one, two});
  LoadGate gate(m_files.File("gate"));
  MeshList meshes;
  int result = -1;
  std::thread export_;
  {
    ScopedEnv wait(VANTRELL_A3D_ENV_LOAD_WAIT, gate.file());
    export_ = std::thread([&] { result = Extract(meshes); });
    if (!gate.Begun()) {
      gate.Open();
      export_.join();
      FAIL() << "the load did not begin";
    }
  }
  if (c.inPlace) {
    FILE* file = fopen(TemporaryFile().c_str(), "r+b");
    EXPECT_TRUE(file != nullptr);
    if (file) {
      fwrite(swapped.data(), 1, swapped.size(), file);
      fclose(file);
    }
  } else {
    WriteFile(m_files.File("swapped.prc"), swapped);
    std::error_code error;
    std::filesystem::rename(m_files.File("swapped.prc"), TemporaryFile(), error);
    EXPECT_FALSE(error) << error.message();
  }
  gate.Open();
  export_.join();
  if (c.sameBytes && c.inPlace) {
    EXPECT_EQ(1, result);
    EXPECT_EQ(std::vector<int>({firstId, 2}), MeshIds(meshes));
  } else {
    EXPECT_EQ(0, result);
    EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
    EXPECT_EQ(std::vector<int>({2}), MeshIds(meshes));
  }
  EXPECT_FALSE(FileExists(TemporaryFile()));
}

INSTANTIATE_TEST_SUITE_P(Ways, ChangedDuringTheLoad,
                         ::testing::Values(SwapCase{"another model renamed over it", false, false},
                                           SwapCase{"the same bytes renamed over it", true, false},
                                           SwapCase{"rewritten with another model", false, true},
                                           SwapCase{"rewritten with its own bytes", true, true}),
                         [](const ::testing::TestParamInfo<SwapCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == ' ') ch = '_';
                           return name;
                         });

#if !defined(_WIN32)
struct PlantedCase {
  const char* name;
  bool needsRoot;
};

void PrintTo(const PlantedCase& c, std::ostream* out) { *out << c.name; }

class PlantedAtTheTemporaryPath : public DocumentScan, public ::testing::WithParamInterface<PlantedCase> {};

// What someone else may have put at the fixed name in a folder others write to: nothing of it is
// followed or written, and the Export fails.
TEST_P(PlantedAtTheTemporaryPath, IsNeitherFollowedNorWritten) {
  const PlantedCase& c = GetParam();
  if (c.needsRoot && geteuid() != 0) GTEST_SKIP() << "making a file of another owner needs root";
  const std::string path = TemporaryFile();
  const std::string target = m_files.File("target");
  const std::string name = c.name;
  if (name != "dangling link") {
    ASSERT_TRUE(WriteFile(target, "someone's file"));
  }
  if (name == "link" || name == "dangling link") {
    ASSERT_EQ(0, symlink(target.c_str(), path.c_str()));
  }
  if (name == "hard link") {
    ASSERT_EQ(0, link(target.c_str(), path.c_str()));
  }
  if (name == "file of another owner") {
    ASSERT_TRUE(WriteFile(path, "someone's file"));
    ASSERT_EQ(0, chmod(path.c_str(), 0666));
    ASSERT_EQ(0, chown(path.c_str(), 65534, 65534));
  }
  // Read back through a descriptor of its own, since the scan's end may delete the name.
  int planted = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (name == "pipe") {
    ASSERT_EQ(0, mkfifo(path.c_str(), 0666));
  }
  if (name == "folder") {
    ASSERT_EQ(0, mkdir(path.c_str(), 0777));
  }
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
  if (name == "dangling link") {
    EXPECT_FALSE(FileExists(target));
  } else if (name == "file of another owner") {
    char bytes[64] = {};
    EXPECT_EQ(14, pread(planted, bytes, sizeof bytes, 0));
    EXPECT_STREQ("someone's file", bytes);
  } else if (name != "pipe" && name != "folder") {
    EXPECT_EQ("someone's file", ReadFile(target));
  }
  if (planted >= 0) close(planted);
  if (name == "folder") rmdir(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Things, PlantedAtTheTemporaryPath,
                         ::testing::Values(PlantedCase{"link", false}, PlantedCase{"dangling link", false},
                                           PlantedCase{"hard link", false}, PlantedCase{"file of another owner", true},
                                           PlantedCase{"pipe", false}, PlantedCase{"folder", false}),
                         [](const ::testing::TestParamInfo<PlantedCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == ' ') ch = '_';
                           return name;
                         });
#endif

struct StreamSizeCase {
  size_t size;
  bool flate;
  std::vector<std::string> reads;
};

void PrintTo(const StreamSizeCase& c, std::ostream* out) { *out << c.size << (c.flate ? " flate" : ""); }

class StreamCopy : public DocumentScan, public ::testing::WithParamInterface<StreamSizeCase> {};

// The copy reads 1024 bytes at a time until a short read and writes exactly what it read.
TEST_P(StreamCopy, CopiesTheDecodedStreamThroughTheBuffer) {
  const StreamSizeCase& c = GetParam();
  std::string bytes = pdf_fixtures::PatternBytes(c.size);
  Page page;
  page.annotations = {pdf_fixtures::Prc(bytes, c.flate)};
  OpenDocument({page});

  HostDoc doc = HostDocViewGetDoc(m_host.ActiveView());
  HostAnnot annot = HostPageGetAnnot(HostDocAcquirePage(doc, 0), 0);
  HostCosObj stream = HostCosDictGet(HostAnnotGetCosObj(annot), HostAtomFromString("3DD"));
  std::string path = m_files.File("copy.prc");
  m_host.ClearCalls();
  EXPECT_EQ(1, WritePrcStreamToFile(stream, CStringT<char>(path.c_str())));
  EXPECT_EQ(c.reads, ReadResults());
  EXPECT_EQ(1u, m_host.CountCalls("AcroSupport", 45));
  EXPECT_EQ(0u, m_host.OutstandingReaders());
  EXPECT_EQ(bytes, ReadFile(path));
}

INSTANTIATE_TEST_SUITE_P(Sizes, StreamCopy,
                         ::testing::Values(StreamSizeCase{0, false, {"0"}}, StreamSizeCase{1500, false, {"1024", "476"}},
                                           StreamSizeCase{2048, false, {"1024", "1024", "0"}},
                                           StreamSizeCase{3000, true, {"1024", "1024", "952"}}));

TEST_F(DocumentScan, StreamOfNoBytesReachesTheLoaderAsAnEmptyFile) {
  Page page;
  page.annotations = {pdf_fixtures::Prc("")};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to load model file", GetLastErrorText().GetString());
  EXPECT_EQ(1u, m_log.Calls("A3DAsmModelFileLoadFromFile").size());
}

TEST_F(DocumentScan, UnwritableTemporaryFolderFailsEveryStream) {
  ScopedEnv temp("temp", m_files.File("no-such-folder").c_str());
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1})), pdf_fixtures::Prc(ModelFileBytes({2}))};
  OpenDocument({page, page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_EQ(0, meshes.Count());
  // The stream is not opened when its file cannot be made.
  EXPECT_EQ(0u, m_host.CountCalls("Cos", 32));
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
}

#if !defined(_WIN32)
// A full disk, as the process's limit on the size of the files it writes.
TEST_F(DocumentScan, TemporaryFileThatCannotBeWrittenCompletelyIsNotLoaded) {
  Page page;
  page.annotations = {pdf_fixtures::Prc(pdf_fixtures::PatternBytes(64 << 10))};
  OpenDocument({page});
  struct rlimit old;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &old));
  struct rlimit small = old;
  small.rlim_cur = 32 << 10;
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  MeshList meshes;
  int result = Extract(meshes);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(0, result);
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
  EXPECT_TRUE(m_log.Mentions("A3DDllTerminate"));
  EXPECT_FALSE(FileExists(TemporaryFile()));
}
#endif

TEST_F(DocumentScan, TemporaryFolderFromTheEnvironmentWithoutRegardToCase) {
  ScopedEnv lower("temp", nullptr);
  ScopedTempDir upperDir;
  ScopedEnv upper("TEMP", upperDir.path().c_str());
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_TRUE(m_log.MentionsPath(upperDir.path()));
}

class WithoutTemp : public DocumentScan, public ::testing::WithParamInterface<const char*> {};

// "temp" unset, or set to nothing.
TEST_P(WithoutTemp, ThePlatformsTemporaryFolderServes) {
  ScopedEnv lower("temp", GetParam());
  ScopedTempDir platformTemp;
  // The variable that names the platform's folder first: TMP on Windows, TMPDIR elsewhere.
#if defined(_WIN32)
  ScopedEnv tmp("TMP", platformTemp.path().c_str());
#else
  ScopedEnv tmpdir("TMPDIR", platformTemp.path().c_str());
  ScopedEnv tmp("TMP", nullptr);
#endif
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ(1, meshes.Count());
  EXPECT_TRUE(m_log.MentionsPath(platformTemp.path()));
}

INSTANTIATE_TEST_SUITE_P(Values, WithoutTemp, ::testing::Values(nullptr, ""));

TEST_F(DocumentScan, LibraryThatCannotBeBoundLeavesTheListAlone) {
  ScopedEnv version(VANTRELL_A3D_ENV_VERSION, "3.0");
  OpenDocument({Page()});
  MeshList meshes;
  meshes.Append(ON_Mesh());
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_EQ(1, meshes.Count());
  EXPECT_STREQ("Incompatible Acrobat 3D Library [Invalid major version]", GetLastErrorText().GetString());
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "unload"}), m_log.LifeCycle());
  EXPECT_EQ(0u, m_host.CountCalls("AcroView", 48));
}

TEST_F(DocumentScan, NoOpenDocumentIsAFailureWithAMessage) {
  m_host.CloseDocument();
  MeshList meshes;
  HostDocumentView view = m_host.ActiveView();
  ASSERT_EQ(nullptr, view);
  EXPECT_EQ(0, ExtractMeshesFromDocument(&view, &meshes));
  EXPECT_STREQ("There is no open document", GetLastErrorText().GetString());
  EXPECT_TRUE(m_log.LifeCycle().empty());
}

// What a PDF file cannot say: annotations that are no dictionary, "3DD" values that are no
// stream, streams without a subtype or with one that is not a name. All are passed over.
TEST_F(DocumentScan, PassesOverWhatIsNoPrcStreamSilently) {
  pdf_fixtures::ThreeDData noSubtype;
  noSubtype.subtypeForm = pdf_fixtures::ThreeDData::kSubtypeMissing;
  noSubtype.bytes = ModelFileBytes({9});
  pdf_fixtures::ThreeDData stringSubtype = noSubtype;
  stringSubtype.subtypeForm = pdf_fixtures::ThreeDData::kSubtypeString;
  pdf_fixtures::Annotation notStream = pdf_fixtures::Other("3D");
  pdf_fixtures::Annotation prcOfAnotherSubtype = pdf_fixtures::Prc(ModelFileBytes({9}));
  prcOfAnotherSubtype.subtype = "Text";
  Page page;
  page.annotations = {pdf_fixtures::NotADictionary(), notStream, prcOfAnotherSubtype, pdf_fixtures::ThreeD(noSubtype),
                      pdf_fixtures::ThreeD(stringSubtype), pdf_fixtures::Prc(ModelFileBytes({1}))};
  m_host.OpenDocument(pdf_fixtures::BuildDocument({page}));
  m_log.Clear();
  SetLastErrorText(CStringT<char>("untouched"));
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_EQ((std::vector<int>{1}), MeshIds(meshes));
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
  EXPECT_EQ(1u, m_log.Calls("A3DAsmModelFileLoadFromFile").size());
}

}  // namespace
