// The host program with a test plug-in: loading and the entry protocol, what the plug-in installs
// (--list), actions and their enable tests, the user's scripted answers, the hand-over with
// --save-document, --trace, the test options, and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "PdfFixtures.h"
#include "RunProgram.h"
#include "TestSupport.h"

namespace {

using pdf_fixtures::Page;
using testing_support::ProgramRun;
using testing_support::RunAcrohost;
using testing_support::RunAcrohostAt;
using testing_support::ScopedEnv;
using testing_support::ScopedTempDir;

const std::string kPlugIns = ACROHOST_TEST_PLUGINS_DIR;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The run reported, in one line, that the plug-in module `name` cannot be loaded, with a reason
// after the name. The reason is the system loader's, which differs between systems.
void ExpectLoadFailureWithReason(const ProgramRun& run, const std::string& name) {
  const std::string said = "acrohost: plug-in " + name + " cannot be loaded: ";
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind(said, 0), 0u) << run.err;
  EXPECT_GT(run.err.size(), said.size() + 1) << "no reason follows: " << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

ProgramRun RunWithTestPlugIn(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--plugins", kPlugIns});
  return RunAcrohost(arguments);
}

// What each annotation of a saved PDF file of one page carries: its decoded "3DD" stream when that
// is of subtype PRC, else "(no PRC)".
std::vector<std::string> PrcStreamsOfTheOnePage(const std::string& path) {
  testing_support::HostFixture fixture;
  std::string error;
  std::vector<std::string> streams;
  EXPECT_TRUE(fixture.OpenPdf(path, &error)) << error;
  acrohost::Document* document = fixture.host().documents().active();
  if (!document) return streams;
  EXPECT_EQ(document->PageCount(), 1);
  acrohost::CosId annots = document->Get(document->Page(0), "Annots");
  for (int i = 0; i < document->Count(annots); ++i) {
    acrohost::CosId data = document->Get(document->At(annots, i), "3DD");
    std::string subtype;
    std::unique_ptr<acrohost::ByteReader> reader;
    if (document->NameOf(document->Get(data, "Subtype"), &subtype) && subtype == "PRC")
      reader = document->OpenDecoded(data, 1 << 20, &error);
    if (!reader) {
      streams.push_back("(no PRC)");
      continue;
    }
    std::string contents(1 << 16, '\0');
    contents.resize(reader->Read(&contents[0], contents.size()));
    streams.push_back(contents);
  }
  return streams;
}

TEST(Program, ThePlugInIsEnteredAndInstallsItsMenusAndButton) {
  ProgramRun run = RunWithTestPlugIn({"--list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "menu \"File\" \"File\"\n"
            "menu \"Edit\" \"Edit\"\n"
            "menu \"View\" \"View\"\n"
            "menu \"Document\" \"Document\"\n"
            "menu \"Comments\" \"Comments\"\n"
            "menu \"Forms\" \"Forms\"\n"
            "menu \"Tools\" \"Tools\"\n"
            "menu \"Advanced\" \"Advanced\"\n"
            "menu \"Test:Menu\" \"Test\"\n"
            "  item \"Test:Hello\" \"&Hello\"\n"
            "  item \"Test:Disabled\" \"&Disabled\"\n"
            "  item \"Test:Alert\" \"&Alert\"\n"
            "  item \"Test:HandOver\" \"Hand &Over\"\n"
            "  item \"Test:Save\" \"&Save\"\n"
            "menu \"Window\" \"Window\"\n"
            "menu \"Help\" \"Help\"\n"
            "  item \"UsingExtensions\" \"Using Plug-ins\"\n"
            "    menu \"UsingExtensions\" \"Using Plug-ins\"\n"
            "      item \"Test:Help\" \"Test Help\"\n"
            "  item \"AboutExtensions\" \"About Plug-ins\"\n"
            "    menu \"AboutExtensions\" \"About Plug-ins\"\n"
            "toolbar\n"
            "  button \"Open\" \"Open\"\n"
            "  button \"Save\" \"Save\"\n"
            "  button \"Print\" \"Print\"\n"
            "  button \"Hand\" \"Hand Tool\"\n"
            "  button \"Select\" \"Select Tool\"\n"
            "  button \"Test:Button\" \"Runs the test\"\n"
            "  separator \"endToolsGroup\"\n"
            "  button \"ZoomIn\" \"Zoom In\"\n"
            "  button \"ZoomOut\" \"Zoom Out\"\n"
            "unload\n");
}

TEST(Program, ActionsRunInOrderAndTheExitStatusSaysHowItWent) {
  ScopedTempDir dir;
  const bool pdfFiles = pdf_fixtures::HavePdfFiles();
  if (pdfFiles) {
    ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("two pages.pdf"), {Page(), Page()}));
  }
  const std::string pdf = dir.File("two pages.pdf");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* out;  // stdout without the plug-in's "unload"
    std::string err;  // a part of stderr; "" for none at all
  };
  const Case cases[] = {
      {{pdf, "Test:Hello", "button:Test:Button", "Test:Help"},
       0,
       "hello: version 9.0, 2 pages\nbutton ran\nhello: version 9.0, 2 pages\n",
       ""},
      {{"Test:Hello", "--host-version", "8.1"}, 0, "hello: version 8.1, no document\n", ""},
      {{pdf, "Test:Alert", "Test:Hello"}, 1, "hello: version 9.0, 2 pages\n", "alert: The test plug-in alerts.\n"},
      {{"Test:Disabled", "Test:Hello"}, 1, "hello: version 9.0, no document\n", "acrohost: Test:Disabled is disabled"},
      {{"Test:Hello", "Test:Nothing"}, 2, "", "no menu item or button for the action Test:Nothing"},
      {{"button:Nothing"}, 2, "", "no menu item or button for the action button:Nothing"},
      {{dir.File("missing.pdf"), "Test:Hello"}, 2, "", "acrohost: cannot open " + dir.File("missing.pdf")},
      {{"--fail-new-menus", "button:Test:Button"}, 1, "button ran\n", "alert: Unable to create the Test menu\n"},
  };
  for (const Case& c : cases) {
    if (!pdfFiles && c.arguments[0] == pdf) continue;
    SCOPED_TRACE(c.arguments.back());
    ProgramRun run = RunWithTestPlugIn(c.arguments);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, std::string(c.out) + "unload\n");
    if (c.err.empty())
      EXPECT_EQ(run.err, "");
    else
      EXPECT_TRUE(Contains(run.err, c.err)) << run.err;
  }
}

TEST(Program, WithoutUsingExtensionsThePlugInInstallsTheRest) {
  ProgramRun run = RunWithTestPlugIn({"--lack-menu", "UsingExtensions", "--list", "Test:Hello"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(Contains(run.out, "Test:Help"));
  EXPECT_TRUE(Contains(run.out, "menu \"Test:Menu\" \"Test\""));
  EXPECT_TRUE(Contains(run.out, "button \"Test:Button\""));
}

TEST(Program, PlugInsThatFailTheEntryProtocolAreLeftOut) {
  struct Case {
    std::vector<std::string> options;
    const char* failStep;  // TEST_PLUGIN_FAIL
    const char* message;
    bool installed;  // the plug-in's menu is there all the same
  };
  const Case cases[] = {
      {{"--offer-handshake", "0x1FFFF"}, nullptr, "plug-in TestPlugIn.api: set-up failed", false},
      {{"--setup-version", "0x20001"}, nullptr, "plug-in TestPlugIn.api: set-up failed", false},
      {{"--lack-table", "ASExtra"}, nullptr, "plug-in TestPlugIn.api: set-up failed", false},
      {{"--grant-table", "Cos=0x50000"}, nullptr, "plug-in TestPlugIn.api: set-up failed", false},
      {{}, "setup", "plug-in TestPlugIn.api: set-up failed", false},
      {{}, "handshake", "plug-in TestPlugIn.api: handshake failed", false},
      {{}, "export", "plug-in TestPlugIn.api: export tables failed", false},
      {{}, "import", "plug-in TestPlugIn.api: import and replace failed", false},
      {{}, "init", "plug-in TestPlugIn.api: init failed", false},
      // The host's odd answers that the plug-in does not mind.
      {{"--offer-handshake", "0x30000", "--report-version", "Cos=0"}, nullptr, nullptr, true},
      {{"--grant-table", "Cos=0x60000,0x70000"}, nullptr, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "loads");
    ScopedEnv fail("TEST_PLUGIN_FAIL", c.failStep);
    std::vector<std::string> arguments = c.options;
    arguments.push_back("--list");
    ProgramRun run = RunWithTestPlugIn(arguments);
    EXPECT_EQ(run.status, c.message ? 2 : 0) << run.err;
    if (c.message) {
      EXPECT_EQ(run.err, std::string("acrohost: ") + c.message + "\n");
    }
    EXPECT_EQ(Contains(run.out, "Test:Menu"), c.installed);
  }
}

TEST(Program, AModuleThatIsNoPlugInIsReportedAndTheOthersLoad) {
  ScopedTempDir dir;
  std::filesystem::copy_file(kPlugIns + "/TestPlugIn.api", dir.File("TestPlugIn.api"));
  testing_support::WriteFile(dir.File("Broken.api"), "not a module");
  testing_support::WriteFile(dir.File("notes.txt"), "not a module, not loaded");
  ProgramRun run = RunAcrohost({"--plugins", dir.path(), "Test:Hello"});
  ExpectLoadFailureWithReason(run, "Broken.api");
  EXPECT_EQ(run.out, "hello: version 9.0, no document\nunload\n");

  ProgramRun noFolder = RunAcrohost({"--plugins", dir.File("nowhere"), "--list"});
  EXPECT_EQ(noFolder.status, 2);
  EXPECT_TRUE(Contains(noFolder.err, "no plug-ins folder")) << noFolder.err;
}

// A plug-in module whose own libraries are not found where the system looks for them. On Linux
// the installed plug-in finds them through its run path, relative to its own folder, so a copy
// outside the install tree finds none. On Windows they are looked for beside the host program
// and on PATH, so a copy of the host program with only its own libraries finds none.
TEST(Program, APlugInWhoseLibrariesAreNotFoundIsReportedWithTheLoadersReason) {
  ScopedTempDir plugIns;  // outside every install tree
#if defined(_WIN32)
  ScopedTempDir hostDir;
  const std::string host = hostDir.File("acrohost.exe");
  auto besideHost = [&](const char* file) {
    std::filesystem::copy_file(testing_support::BinDir() + "/" + file, hostDir.File(file));
  };
  besideHost("acrohost.exe");
  besideHost("desktop.dll");  // what the host program itself imports
  std::filesystem::copy_file(testing_support::PluginDir() + "/Vantrell.api", plugIns.File("Vantrell.api"));
  ScopedEnv path("PATH", "");
  ExpectLoadFailureWithReason(RunAcrohostAt(host, {"--plugins", plugIns.path(), "--list"}), "Vantrell.api");

  // With its libraries beside the host program the same copy loads.
  besideHost("Meshwright80.dll");
  besideHost("QNFGUI80.dll");
  ProgramRun loads = RunAcrohostAt(host, {"--plugins", plugIns.path(), "--list"});
#else
  ScopedTempDir installed, outputs;
  ASSERT_EQ(0, testing_support::RunProgram(VANTRELL_CMAKE_COMMAND,
                                           {"--install", VANTRELL_BUILD_DIR, "--prefix", installed.path()},
                                           outputs.File("out"), outputs.File("err")))
      << testing_support::ReadFile(outputs.File("err"));
  const std::string host = installed.File("acrohost");
  std::filesystem::copy_file(installed.File("plug_ins/Vantrell.api"), plugIns.File("Vantrell.api"));
  ExpectLoadFailureWithReason(RunAcrohostAt(host, {"--plugins", plugIns.path(), "--list"}), "Vantrell.api");

  // In the install tree it loads.
  ProgramRun loads = RunAcrohostAt(host, {"--list"});
#endif
  EXPECT_EQ(loads.status, 0) << loads.err;
  EXPECT_TRUE(Contains(loads.out, "ADBE:VantrellMenu")) << loads.out;
}

TEST(Program, TheUsersAnswersComeFromTheCommandLine) {
  ScopedTempDir dir;
  testing_support::WriteFile(dir.File("existing.skp"), "old");
  ScopedEnv exportItem("TEST_PLUGIN_EXPORT", "1");
  const std::string out = dir.File("out.skp");
  struct Case {
    std::vector<std::string> arguments;
    const char* said;
  };
  const Case cases[] = {
      {{"Test:Save"}, "save: cancelled"},
      {{"--save-as", out, "Test:Save"}, "save: OUT with options -1"},
      {{"--save-as", out, "--writer-options", "3", "Test:Save", "Test:Save"}, "save: OUT with options 3\nsave: cancelled"},
      {{"--save-as", out, "--save-as", out, "Test:Save", "Test:Save"}, "save: OUT with options -1\nsave: OUT with options -1"},
      {{"--save-as", out, "--cancel-options", "Test:Save"}, "save: options cancelled"},
      {{"--save-as", dir.File("existing.skp"), "--no-overwrite", "Test:Save"}, "save: not replaced"},
      {{"export", dir.File("doc.pdf"), out}, "save: OUT with options -1"},
  };
  const bool pdfFiles = pdf_fixtures::HavePdfFiles();
  if (pdfFiles) {
    ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), {Page()}));
  }
  for (const Case& c : cases) {
    if (!pdfFiles && c.arguments[0] == "export") continue;
    SCOPED_TRACE(c.arguments.back());
    ProgramRun run = RunWithTestPlugIn(c.arguments);
    std::string said = c.said;
    for (size_t at; (at = said.find("OUT")) != std::string::npos;) said.replace(at, 3, out);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, said + "\nunload\n");
  }
}

TEST(Program, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--no-such-option"},
      {"--host-version", "9"},
      {"--host-version", "nine.zero"},
      {"--writer-options", "x"},
      {"--writer-options", "1", "--cancel-options"},
      {"--plugins"},
      {"--lack-table", "Nope"},
      {"--grant-table", "Cos"},
      {"--report-version", "Cos=1,2"},
      {"--offer-handshake", "-1"},
      {"--take-prc"},
      {"export", "doc.pdf"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments[0]);
    ProgramRun run = RunAcrohost(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, "(see acrohost --help)")) << run.err;
    EXPECT_EQ(run.out, "");
  }
  ProgramRun help = RunAcrohost({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: acrohost [OPTIONS] [DOCUMENT.pdf] [ACTION ...]\n", 0), 0u);
}

TEST(Program, TheHandOverAddsAnAnnotationThatTheSavedDocumentKeeps) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  const std::string prc = pdf_fixtures::PatternBytes(3000, 5);
  ASSERT_TRUE(testing_support::WriteFile(dir.File("model.prc"), prc));
  ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), {Page{Page::kIndirect, {pdf_fixtures::Other("Text")}}}));
  ScopedEnv file("TEST_PLUGIN_PRC", dir.File("model.prc").c_str());
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    std::vector<std::string> annotations;  // on the first page of the saved document
  };
  const Case cases[] = {
      {"into the document opened", {dir.File("doc.pdf"), "Test:HandOver"}, {"(no PRC)", prc}},
      {"into a new document", {"Test:HandOver", "Test:HandOver"}, {prc, prc}},
      {"the document saved over itself", {dir.File("doc.pdf"), "Test:HandOver"}, {"(no PRC)", prc}},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    std::string saved = i == 2 ? dir.File("doc.pdf") : dir.File("saved.pdf");
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.begin(), {"--save-document", saved});
    ProgramRun run = RunWithTestPlugIn(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "handed over\n"));
    EXPECT_TRUE(PrcStreamsOfTheOnePage(saved) == c.annotations);
  }
  ProgramRun nothing = RunWithTestPlugIn({"--save-document", dir.File("none.pdf")});
  EXPECT_EQ(nothing.status, 2);
  EXPECT_TRUE(Contains(nothing.err, "acrohost: no document to save")) << nothing.err;
  EXPECT_FALSE(testing_support::FileExists(dir.File("none.pdf")));
}

TEST(Program, PrcFilesTakenFromTheCommandLineAreInTheDocumentBeforeTheActions) {
  ScopedTempDir dir;
  const std::string first = pdf_fixtures::PatternBytes(3000, 1), second = pdf_fixtures::PatternBytes(200, 2);
  ASSERT_TRUE(testing_support::WriteFile(dir.File("first.prc"), first));
  ASSERT_TRUE(testing_support::WriteFile(dir.File("second.prc"), second));
  const std::vector<std::string> takeBoth = {"--take-prc", dir.File("first.prc"), "--take-prc", dir.File("second.prc")};

  std::vector<std::string> arguments = takeBoth;
  arguments.push_back("Test:Hello");
  ProgramRun run = RunWithTestPlugIn(arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "hello: version 9.0, 1 pages\nunload\n");

  ProgramRun missing = RunWithTestPlugIn({"--take-prc", dir.File("missing.prc"), "Test:Hello"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(Contains(missing.err, "acrohost: cannot take the PRC file: cannot open " + dir.File("missing.prc")))
      << missing.err;
  EXPECT_FALSE(Contains(missing.out, "hello"));

  if (!pdf_fixtures::HavePdfFiles()) return;
  arguments = takeBoth;
  arguments.insert(arguments.begin(), {"--save-document", dir.File("new.pdf")});
  ASSERT_EQ(RunWithTestPlugIn(arguments).status, 0);
  EXPECT_TRUE(PrcStreamsOfTheOnePage(dir.File("new.pdf")) == (std::vector<std::string>{first, second}));

  ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), {Page{Page::kDirect, {pdf_fixtures::Prc("old")}}}));
  arguments = {"--save-document", dir.File("saved.pdf"), dir.File("doc.pdf"), "--take-prc", dir.File("second.prc")};
  ASSERT_EQ(RunWithTestPlugIn(arguments).status, 0);
  EXPECT_TRUE(PrcStreamsOfTheOnePage(dir.File("saved.pdf")) == (std::vector<std::string>{"old", second}));
}

TEST(Program, TheTraceFileHoldsEveryCallOfTheRun) {
  ScopedTempDir dir;
  ProgramRun run = RunWithTestPlugIn({"--trace", dir.File("trace.txt"), "Test:Hello"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = testing_support::ReadLines(dir.File("trace.txt"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Core 5 HostAtomFromString(\"AcroSupport\") -> atom 9 \"AcroSupport\"");
  EXPECT_EQ(lines[1], "Core 10 HostGetTable(atom 9 \"AcroSupport\", 0x60000) -> table AcroSupport");
  EXPECT_EQ(lines.back(), "AcroView 12 HostAppGetActiveDocView() -> null");

  ProgramRun unwritable = RunWithTestPlugIn({"--trace", dir.File("no/folder/trace.txt")});
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_TRUE(Contains(unwritable.err, "cannot create the trace file")) << unwritable.err;
}

}  // namespace
