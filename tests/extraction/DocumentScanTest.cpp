#include <gtest/gtest.h>

#include <cmath>

#include "HostFixture.h"
#include "ModelFiles.h"
#include "PdfFixtures.h"
#include "StandInLibrary.h"
#include "extraction/DocumentScan.h"
#include "extraction/LastErrorText.h"
#include "host/HostCalls.h"

using namespace testing_support;
using pdf_fixtures::Page;

namespace {

std::vector<int> MeshIds(const MeshList& meshes) {
  std::vector<int> ids;
  for (int i = 0; i < meshes.Count(); ++i) ids.push_back(static_cast<int>(std::lround(meshes[i].m_V[0].x)));
  return ids;
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

TEST_F(DocumentScan, FileAtTheTemporaryPathIsReplacedAndAlwaysDeleted) {
  ASSERT_TRUE(WriteFile(TemporaryFile(), "left over"));
  OpenDocument({Page()});
  MeshList meshes;
  EXPECT_EQ(1, Extract(meshes));
  EXPECT_FALSE(FileExists(TemporaryFile()));
}

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
TEST_F(DocumentScan, TemporaryFileThatCannotBeWrittenCompletelyIsNotLoaded) {
  std::error_code error;
  if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::string link = TemporaryFile();
  ASSERT_EQ(0, symlink("/dev/full", link.c_str()));
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}))};
  OpenDocument({page});
  MeshList meshes;
  EXPECT_EQ(0, Extract(meshes));
  EXPECT_STREQ("Unable to create PRC file", GetLastErrorText().GetString());
  EXPECT_TRUE(m_log.Calls("A3DAsmModelFileLoadFromFile").empty());
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

TEST_F(DocumentScan, WithoutTempThePlatformsTemporaryFolderServes) {
  ScopedEnv lower("temp", nullptr);
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
