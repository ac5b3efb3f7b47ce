// The plug-in module as the host program loads it: the whole road, as a user runs it.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "HostFixture.h"
#include "ModelFiles.h"
#include "PdfFixtures.h"
#include "Reimport.h"
#include "RunProgram.h"
#include "TestSupport.h"

using namespace testing_support;
using pdf_fixtures::Page;

namespace fs = std::filesystem;

namespace {

std::string PlugInFile() { return PluginDir() + "/Vantrell.api"; }

// A plug-ins folder of the test's own holding a copy of the plug-in, with or without a help file.
class PlugInsFolder {
 public:
  explicit PlugInsFolder(bool withHelp, const std::string& below = "", const std::string& name = "Vantrell.api") {
    m_folder = fs::path(m_root.path()) / below / "plug_ins";
    fs::create_directories(m_folder);
    fs::copy_file(PlugInFile(), m_folder / name);
    if (withHelp) WriteFile((m_folder / "Vantrell.chm").string(), "help");
  }
  std::string path() const { return m_folder.string(); }
  std::string File(const std::string& name) const { return (m_folder / name).string(); }

 private:
  ScopedTempDir m_root;
  fs::path m_folder;
};

TEST(PlugInModule, LoadingAndUnloadingBuildsAndDestroysTheApplicationObjectOnce) {
  ScopedTempDir dir;
  ScopedEnv log("VANTRELL_MFC_LOG", dir.File("mfc.log").c_str());
  HMODULE module = LoadLibraryExA(PlugInFile().c_str(), nullptr, 0);
  ASSERT_NE(nullptr, module);
  EXPECT_NE(nullptr, GetProcAddress(module, "PlugInMain"));
  EXPECT_EQ((std::vector<std::string>{"CWinApp constructed name=(none)"}), ReadLines(dir.File("mfc.log")));
  FreeLibrary(module);
  EXPECT_EQ((std::vector<std::string>{"CWinApp constructed name=(none)", "CWinApp destroyed name=(none)"}),
            ReadLines(dir.File("mfc.log")));

  // The same through a whole run of the host, commands and all.
  WriteFile(dir.File("mfc.log"), "");
  ProgramRun run = RunAcrohost({"ADBE:Vantrell_About"});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ((std::vector<std::string>{"CWinApp constructed name=(none)", "CWinApp destroyed name=(none)"}),
            ReadLines(dir.File("mfc.log")));
}

TEST(PlugInModule, TheApplicationObjectIsBuiltFirstAndDestroyedLastOfTheStaticObjects) {
  ScopedTempDir dir;
  ScopedEnv log("VANTRELL_MFC_LOG", dir.File("mfc.log").c_str());
  ScopedEnv strings("VANTRELL_MFC_LOG_STRINGS", "1");
  HMODULE module = LoadLibraryExA(PlugInFile().c_str(), nullptr, 0);
  ASSERT_NE(nullptr, module);
  FreeLibrary(module);
  // The application object, the host-name table and the last-error text, then the reverse.
  EXPECT_EQ((std::vector<std::string>{"CWinApp constructed name=(none)", "CString constructed \"Acrobat ????\"",
                                      "CString constructed \"Acrobat 9\"", "CString constructed \"\"",
                                      "CString destroyed \"\"", "CString destroyed \"Acrobat 9\"",
                                      "CString destroyed \"Acrobat ????\"", "CWinApp destroyed name=(none)"}),
            ReadLines(dir.File("mfc.log")));
}

// The meshes' ids (the first x of each mesh's one triangle) in the written file, each mesh being
// the stand-in's triangle.
std::vector<int> MeshIdsInFile(const std::string& path) {
  std::vector<TriangleMesh> meshes;
  std::string error;
  EXPECT_TRUE(ReimportMeshes(path, &meshes, &error)) << error;
  std::vector<int> ids;
  for (const TriangleMesh& mesh : meshes) {
    EXPECT_EQ(1u, mesh.size());
    if (mesh.size() != 1) continue;
    ids.push_back(static_cast<int>(mesh[0][0]));
    EXPECT_EQ((Triangle{mesh[0][0], 0, 0, 1, 0, 0, 0, 1, 0}), mesh[0]);
  }
  return ids;
}

#if defined(_WIN32)
// The bytes of one resource of a module loaded as data; empty when it has none.
std::string ResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
  HRSRC resource = FindResourceExA(module, type, name, language);
  HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
  if (!data) return std::string();
  return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module, resource));
}

TEST(PlugInModule, TheFileHoldsTheToolbarBitmapAndTheManifestAsResources) {
  HMODULE module = LoadLibraryExA(PlugInFile().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, module);
  const WORD usEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  // The bitmap file without its file header: 344 bytes.
  const std::string bitmap = ResourceBytes(module, RT_BITMAP, MAKEINTRESOURCEA(102), usEnglish);
  EXPECT_EQ(344u, bitmap.size());
  EXPECT_EQ(ReadFile(SourceDir() + "/resources/Toolbar.bmp").substr(14), bitmap);
  EXPECT_EQ(ReadFile(SourceDir() + "/resources/Vantrell.manifest"),
            ResourceBytes(module, RT_MANIFEST, ISOLATIONAWARE_MANIFEST_RESOURCE_ID, usEnglish));
  FreeLibrary(module);
}
#endif

TEST(PlugInProgram, ExportWritesTheMeshesOfTheDocument) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1, 2})), pdf_fixtures::Other("Link"),
                      pdf_fixtures::Prc(ModelFileBytes({3}), true)};
  std::string pdf = dir.File("model.pdf");
  std::string error;
  ASSERT_TRUE(pdf_fixtures::WritePdf(pdf, {page, page}, &error)) << error;
  std::string output = dir.File("model.skp");

  ProgramRun run = RunAcrohost({"export", pdf, output});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), MeshIdsInFile(output));
  EXPECT_FALSE(FileExists(dir.File("QNFTemp.prc")));
}

// The way to a document where the host reads no PDF files (Windows): PRC files taken into it.
TEST(PlugInProgram, ExportWritesTheMeshesOfPrcFilesTakenIntoTheDocument) {
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  ASSERT_TRUE(WriteFile(dir.File("first.prc"), ModelFileBytes({1, 2})));
  ASSERT_TRUE(WriteFile(dir.File("second.prc"), ModelFileBytes({3})));
  const std::string output = dir.File("model.skp");
  ProgramRun run = RunAcrohost({"--take-prc", dir.File("first.prc"), "--take-prc", dir.File("second.prc"), "--save-as",
                                output, "ADBE:Vantrell_Export"});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), MeshIdsInFile(output));
  EXPECT_FALSE(FileExists(dir.File("QNFTemp.prc")));
}

TEST(PlugInProgram, ExportOfADocumentTheLibraryCannotReadShowsOneAlert) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  Page page;
  page.annotations = {pdf_fixtures::Prc(ModelFileBytes({1}, true))};
  std::string pdf = dir.File("model.pdf");
  ASSERT_TRUE(pdf_fixtures::WritePdf(pdf, {page}));
  ProgramRun run = RunAcrohost({"export", pdf, dir.File("model.skp")});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("alert: Unsupported tesselation type\n", run.err);
  EXPECT_FALSE(FileExists(dir.File("model.skp")));
}

TEST(PlugInProgram, ExportInAHostOfAnotherVersionIsRefused) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  std::string pdf = dir.File("empty.pdf");
  ASSERT_TRUE(pdf_fixtures::WritePdf(pdf, {Page()}));
  for (const char* version : {"8.0", "10.1"}) {
    ProgramRun run = RunAcrohost({"--host-version", version, "export", pdf, dir.File("out.skp")});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("alert: This plug-in is designed to work with Acrobat 9 only\n", run.err);
    EXPECT_FALSE(FileExists(dir.File("out.skp")));
  }
}

TEST(PlugInProgram, AboutNamesTheRunningHost) {
  const struct {
    const char* version;
    const char* about;
  } hosts[] = {{"9.0", "about: Vantrell for Acrobat 9 version 1.0\n"},
               {"9.3", "about: Vantrell for Acrobat 9 version 1.0\n"},
               {"10.0", "about: Vantrell for Acrobat ???? version 1.0\n"}};
  for (const auto& host : hosts) {
    ProgramRun run = RunAcrohost({"--host-version", host.version, "ADBE:AboutVantrell", "ADBE:Vantrell_About"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(std::string(host.about) + host.about, run.out);
    EXPECT_EQ("", run.err);
  }
}

TEST(PlugInProgram, HelpOpensTheHelpFileBesideThePlugIn) {
  PlugInsFolder folder(true);
  for (const char* action : {"ADBE:Vantrell", "ADBE:Vantrell_Help"}) {
    ProgramRun run = RunAcrohost({"--plugins", folder.path(), "--host-version", "10.0", action});
    EXPECT_EQ(0, run.status) << run.err;
#if defined(_WIN32)
    // The real shell has the file: Wine's starts its help viewer, which, without a display, ends
    // at once. The desktop hears nothing of it.
    EXPECT_EQ("", run.out);
#else
    EXPECT_EQ("open: " + folder.File("Vantrell.chm") + "\n", run.out);
#endif
    EXPECT_EQ("", run.err);
  }
}

TEST(PlugInProgram, HelpWithoutItsFileShowsOneAlert) {
  PlugInsFolder folder(false);
  ProgramRun run = RunAcrohost({"--plugins", folder.path(), "ADBE:Vantrell_Help"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("", run.out);
  EXPECT_EQ("alert: Error displaying Vantrell for Acrobat help file.\n", run.err);
}

TEST(PlugInProgram, HelpFromAPlugInFileOfAnotherNameLooksBesideTheHostProgram) {
  // No module is called "Vantrell.api", so Help takes the host program's path: a copy of the host
  // program in a folder of its own shows which folder that is.
  PlugInsFolder folder(true, "", "Other.api");
  ScopedTempDir hostDir;
#if defined(_WIN32)
  const std::string hostName = "acrohost.exe";
#else
  const std::string hostName = "acrohost";
  // The copy finds the host's libraries where the build has them.
  ScopedEnv libraries("LD_LIBRARY_PATH", BinDir().c_str());
#endif
  const fs::path host = fs::path(hostDir.path()) / hostName;
  fs::copy_file(fs::path(BinDir()) / hostName, host);
  const std::string besideHost = (fs::canonical(hostDir.path()) / "Vantrell.chm").string();
  for (bool helpBesideHost : {false, true}) {
    if (helpBesideHost) {
      ASSERT_TRUE(WriteFile(besideHost, "help"));
    }
    ScopedTempDir outputs;
    int status = RunProgram(host.string(), {"--plugins", folder.path(), "ADBE:Vantrell_Help"}, outputs.File("out"),
                            outputs.File("err"));
    const std::string out = ReadFile(outputs.File("out")), err = ReadFile(outputs.File("err"));
    if (!helpBesideHost) {
      // The help file beside the plug-in is not the one looked for.
      EXPECT_EQ(1, status);
      EXPECT_EQ("", out);
      EXPECT_NE(std::string::npos, err.find("alert: Error displaying Vantrell for Acrobat help file.")) << err;
      continue;
    }
    EXPECT_EQ(0, status) << err;
    EXPECT_EQ("", err);
#if !defined(_WIN32)
    EXPECT_EQ("open: " + besideHost + "\n", out);
#endif
  }
}

TEST(PlugInProgram, HelpFromAPathTooLongForTheBufferShowsTheAlertInsteadOfATruncatedPath) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows loads no module from a path longer than MAX_PATH";
#endif
  std::string deep;
  while (deep.size() < 300) deep += "a-rather-long-folder-name/";
  PlugInsFolder folder(true, deep);
  ASSERT_GT(folder.File("Vantrell.api").size(), 260u);
  ProgramRun run = RunAcrohost({"--plugins", folder.path(), "ADBE:Vantrell_Help"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("", run.out);
  EXPECT_EQ("alert: Error displaying Vantrell for Acrobat help file.\n", run.err);
}

TEST(PlugInProgram, InstallsItsMenusAndButtonWhereTheUserFindsThem) {
  ProgramRun run = RunAcrohost({"--list"});
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> expectedInOrder = {
      "menu \"Advanced\" \"Advanced\"",
      "menu \"ADBE:VantrellMenu\" \"Vantrell\"",
      "  item \"ADBE:Vantrell_Export\" \"&Export\"",
      "  item \"ADBE:Vantrell_Help\" \"&Help\"",
      "  item \"ADBE:Vantrell_About\" \"&About\"",
      "menu \"Window\" \"Window\"",
      "      item \"ADBE:Vantrell\" \"Vantrell\"",
      "      item \"ADBE:AboutVantrell\" \"Vantrell...\"",
      "  button \"ADBE:Vantrell\" \"Activates Vantrell command\"",
      "  separator \"endToolsGroup\"",
  };
  size_t from = 0;
  for (const std::string& line : expectedInOrder) {
    size_t at = run.out.find(line + "\n", from);
    ASSERT_NE(std::string::npos, at) << line << "\n" << run.out;
    from = at + line.size();
  }
  EXPECT_NE(std::string::npos, run.out.find("  button \"ADBE:Vantrell\" \"Activates Vantrell command\"\n"
                                            "  separator \"endToolsGroup\"\n"));
}

TEST(PlugInProgram, HostThatCannotGrantATableLeavesThePlugInOut) {
  ProgramRun run = RunAcrohost({"--grant-table", "Cos=0x50001", "--list"});
  EXPECT_EQ(2, run.status);
  EXPECT_EQ(std::string::npos, run.out.find("Vantrell")) << run.out;
  EXPECT_NE(std::string::npos, run.err.find("Vantrell.api")) << run.err;
}

TEST(PlugInProgram, OwnMenuThatCannotBeMadeLeavesTheOtherWaysIn) {
  ProgramRun run = RunAcrohost({"--fail-new-menus", "--list", "ADBE:AboutVantrell"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("alert: Unable to create the Vantrell menu\n", run.err);
  EXPECT_EQ(std::string::npos, run.out.find("ADBE:VantrellMenu"));
  EXPECT_NE(std::string::npos, run.out.find("about: Vantrell for Acrobat 9 version 1.0\n"));
}

}  // namespace
