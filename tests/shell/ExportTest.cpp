#include <gtest/gtest.h>

#include "ModelFiles.h"
#include "PdfFixtures.h"
#include "Reimport.h"
#include "ShellFixture.h"
#include "StandInLibrary.h"
#include "desktop/Desktop.h"
#include "extraction/LastErrorText.h"
#include "shell/ExportCommand.h"

using namespace testing_support;
using pdf_fixtures::Page;

namespace {

// A host at the given version with the shell entered, a document, the standard 3D library, a
// "temp" folder, and an output folder.
class Export : public ::testing::Test {
 protected:
  Export() : m_temp("temp", m_tempDir.path().c_str()), m_library("standard") {}

  void StartHost(int16_t major = 9) {
    acrohost::HostOptions options;
    options.versionMajor = major;
    m_shell.reset(new EnteredShell(options));
    ASSERT_TRUE(m_shell->entered()) << m_shell->error();
  }

  // The pages as a PDF file where the build has them, else in memory.
  void OpenDocument(const std::vector<Page>& pages) {
    std::string error;
    std::unique_ptr<acrohost::Document> document = pdf_fixtures::ReadableDocument(pages, m_out.File("document.pdf"), &error);
    ASSERT_TRUE(document) << error;
    m_shell->host().OpenDocument(std::move(document));
    // Making the model files bound the library too.
    m_log.Clear();
  }

  static Page PrcPage(const std::vector<std::vector<int>>& models) {
    Page page;
    for (const std::vector<int>& ids : models) page.annotations.push_back(pdf_fixtures::Prc(ModelFileBytes(ids)));
    return page;
  }

  std::string Output(const char* name = "Export.skp") { return m_out.File(name); }

  ScopedTempDir m_out;
  ScopedTempDir m_tempDir;
  ScopedEnv m_temp;
  ScopedA3DLibrary m_library;
  StandInLog m_log;
  std::unique_ptr<EnteredShell> m_shell;
};

// Reads the written file back and returns the first x of each mesh's first triangle.
std::vector<int> MeshIdsInFile(const std::string& path) {
  std::vector<TriangleMesh> meshes;
  std::string error;
  EXPECT_TRUE(ReimportMeshes(path, &meshes, &error)) << error;
  std::vector<int> ids;
  for (const TriangleMesh& mesh : meshes) ids.push_back(mesh.empty() ? -1 : static_cast<int>(mesh[0][0]));
  return ids;
}

TEST_F(Export, WritesTheMeshesOfEveryPrcStreamSilently) {
  StartHost();
  OpenDocument({PrcPage({{1, 2}, {3}}), PrcPage({{4}})});
  DesktopQueueSaveAnswer(Output().c_str());
  EXPECT_EQ(1, PerformExport());
  EXPECT_TRUE(EnteredShell::Alerts().empty());
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), MeshIdsInFile(Output()));

  // The dialog was opened with the settings of the command.
  DesktopSaveRequest request;
  ASSERT_EQ(1, DesktopLastSaveRequest(&request));
  EXPECT_FALSE(request.isSaveDialog == 0);
  EXPECT_STREQ("skp", request.defaultExt);
  EXPECT_STREQ("Export.skp", request.initialName);
  EXPECT_EQ(6u, request.flags);
  EXPECT_STREQ("SketchUp SKP Files (*.skp)|*.skp||", request.filter);
  EXPECT_EQ(nullptr, request.parentWindow);
}

TEST_F(Export, TheWrittenTrianglesAreTheTessellationsCoordinates) {
  StartHost();
  OpenDocument({PrcPage({{7}})});
  DesktopQueueSaveAnswer(Output().c_str());
  ASSERT_EQ(1, PerformExport());
  std::vector<TriangleMesh> meshes;
  ASSERT_TRUE(ReimportMeshes(Output(), &meshes));
  ASSERT_EQ(1u, meshes.size());
  // The stand-in triangle: (id, 0, 0), (1, 0, 0), (0, 1, 0).
  EXPECT_EQ((TriangleMesh{{7, 0, 0, 1, 0, 0, 0, 1, 0}}), meshes[0]);
}

struct Situation {
  const char* name;
  int16_t hostMajor;
  bool cancelSave;
  bool cancelOptions;
  bool unsupportedContent;
  bool outputInMissingFolder;
  std::vector<std::string> alerts;
  bool fileWritten;
  size_t saveDialogs;
  size_t optionDialogs;
  bool libraryLoaded;
};

void PrintTo(const Situation& s, std::ostream* out) { *out << s.name; }

class ExportSituation : public Export, public ::testing::WithParamInterface<Situation> {};

TEST_P(ExportSituation, ShowsAtMostOneAlertAndWritesOnlyOnSuccess) {
  const Situation& s = GetParam();
  StartHost(s.hostMajor);
  OpenDocument({PrcPage({{1}}), s.unsupportedContent ? Page{Page::kDirect, {pdf_fixtures::Prc(ModelFileBytes({2}, true))}}
                                                      : PrcPage({{2}})});
  std::string output = s.outputInMissingFolder ? m_out.File("missing/Export.skp") : Output();
  DesktopQueueSaveAnswer(s.cancelSave ? nullptr : output.c_str());
  DesktopSetWriterOptionsAnswer(s.cancelOptions ? 0 : 1, 1, 0);

  ExportCommand();
  std::vector<std::string> alerts = EnteredShell::Alerts();
  if (s.outputInMissingFolder) {
    ASSERT_EQ(1u, alerts.size());
    EXPECT_EQ(0u, alerts[0].find("Unable to write the file ")) << alerts[0];
  } else {
    EXPECT_EQ(s.alerts, alerts);
  }
  EXPECT_EQ(s.fileWritten, FileExists(output));
  EXPECT_EQ(s.saveDialogs, EnteredShell::EventsOfKind(kDesktopSaveDialog).size());
  EXPECT_EQ(s.optionDialogs, EnteredShell::EventsOfKind(kDesktopWriterOptions).size());
  EXPECT_EQ(s.libraryLoaded, !m_log.LifeCycle().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExportSituation,
    ::testing::Values(
        Situation{"Host8", 8, false, false, false, false, {"This plug-in is designed to work with Acrobat 9 only"},
                  false, 0, 0, false},
        Situation{"Host10", 10, false, false, false, false, {"This plug-in is designed to work with Acrobat 9 only"},
                  false, 0, 0, false},
        Situation{"SaveCancelled", 9, true, false, false, false, {}, false, 1, 0, false},
        Situation{"OptionsCancelled", 9, false, true, false, false, {}, false, 1, 1, false},
        Situation{"ExtractionFails", 9, false, false, true, false, {"Unsupported tesselation type"}, false, 1, 1, true},
        Situation{"WriterFails", 9, false, false, false, true, {}, false, 1, 1, true},
        Situation{"Success", 9, false, false, false, false, {}, true, 1, 1, true}),
    [](const ::testing::TestParamInfo<Situation>& info) { return std::string(info.param.name); });

TEST_F(Export, TheWriterGetsTheOptionsValueTheUserChoseUnchanged) {
  StartHost();
  OpenDocument({PrcPage({{1}})});
  const struct {
    int value;
    const char* file;
    const char* fileStart;  // null: no file
    const char* alertEnd;   // null: no alert
  } cases[] = {
      {1, "obj.skp", "# Written by Meshwright\no mesh1\n", nullptr},
      // A value only the user and the writer give a meaning: the writer refuses it, as it is.
      {-7, "odd.skp", nullptr, ": the options value -7 is not one this writer knows"},
  };
  for (const auto& c : cases) {
    DesktopReset();
    DesktopQueueSaveAnswer(Output(c.file).c_str());
    DesktopSetWriterOptionsAnswer(1, 0, c.value);
    EXPECT_EQ(c.fileStart ? 1 : 0, PerformExport()) << c.value;
    if (c.fileStart)
      EXPECT_EQ(0u, ReadFile(Output(c.file)).find(c.fileStart)) << c.value;
    else
      EXPECT_FALSE(FileExists(Output(c.file))) << c.value;
    std::vector<std::string> alerts;
    if (c.alertEnd) alerts.push_back("Unable to write the file " + Output(c.file) + c.alertEnd);
    EXPECT_EQ(alerts, EnteredShell::Alerts()) << c.value;
  }
}

TEST_F(Export, DocumentWithoutPrcContentStillHasTheWriterWriteAnEmptyScene) {
  StartHost();
  Page page;
  page.annotations = {pdf_fixtures::Other("Text")};
  OpenDocument({page});
  DesktopQueueSaveAnswer(Output().c_str());
  EXPECT_EQ(1, PerformExport());
  EXPECT_TRUE(EnteredShell::Alerts().empty());
  EXPECT_TRUE(MeshIdsInFile(Output()).empty());
}

TEST_F(Export, NoOpenDocumentEndsWithAClearAlert) {
  StartHost();
  m_shell->host().CloseDocument();
  DesktopQueueSaveAnswer(Output().c_str());
  EXPECT_EQ(0, PerformExport());
  EXPECT_EQ((std::vector<std::string>{"There is no open document"}), EnteredShell::Alerts());
  EXPECT_FALSE(FileExists(Output()));
}

TEST_F(Export, EveryExportStartsAfreshAndAFailureDoesNotLinger) {
  StartHost();
  OpenDocument({Page{Page::kDirect, {pdf_fixtures::Prc(ModelFileBytes({5}, true))}}});
  DesktopQueueSaveAnswer(Output("first.skp").c_str());
  EXPECT_EQ(0, PerformExport());
  ASSERT_EQ(1u, EnteredShell::Alerts().size());

  std::vector<std::string> firstRun = m_log.LifeCycle();
  OpenDocument({PrcPage({{6}})});
  DesktopQueueSaveAnswer(Output("second").c_str());
  EXPECT_EQ(1, PerformExport());
  EXPECT_EQ(1u, EnteredShell::Alerts().size());  // no new alert
  // The name typed without an extension gets the dialog's default one.
  EXPECT_EQ((std::vector<int>{6}), MeshIdsInFile(Output("second.skp")));
  // Each Export opened its own dialog with the same initial name, and asked for the options.
  EXPECT_EQ((std::vector<std::string>{"Export.skp", "Export.skp"}), EnteredShell::EventsOfKind(kDesktopSaveDialog));
  EXPECT_EQ(2u, EnteredShell::EventsOfKind(kDesktopWriterOptions).size());
  // The failure's text is still the last-error text: success clears nothing.
  EXPECT_STREQ("Unsupported tesselation type", GetLastErrorText().GetString());
  // Each bound the library afresh.
  const std::vector<std::string> binding{"load", "GetVersion", "Initialize", "Terminate", "unload"};
  EXPECT_EQ(binding, firstRun);
  EXPECT_EQ(binding, m_log.LifeCycle());
}

TEST_F(Export, ReplacingAFileTheUserDeclinesWritesNothing) {
  StartHost();
  OpenDocument({PrcPage({{1}})});
  ASSERT_TRUE(WriteFile(Output(), "keep me"));
  DesktopQueueSaveAnswer(Output().c_str());
  DesktopSetOverwriteAnswer(0);
  EXPECT_EQ(0, PerformExport());
  EXPECT_EQ("keep me", ReadFile(Output()));
  EXPECT_TRUE(EnteredShell::Alerts().empty());
  EXPECT_EQ(0u, EnteredShell::EventsOfKind(kDesktopWriterOptions).size());
}

}  // namespace
