// The stand-in host in the test's own process, with the plug-in's table pointers aimed at it, so
// that a test can call the plug-in's code (the document scan, the set-up, the commands) directly.
//
//   testing_support::HostFixture fixture;             // a host; gCoreTable ... gASExtraTable set
//   fixture.OpenPdf(path);                            // or fixture.OpenMemoryDocument()
//   ExtractMeshesFromDocument(&view, &meshes) ...     // view = fixture.ActiveView()
//   EXPECT_EQ(fixture.CountCalls("AcroSupport", 45), 1u);
//   EXPECT_EQ(fixture.OutstandingReaders(), 0u);
//
// Also: the host program run as a separate process, for tests of the whole.
#ifndef VANTRELL_TESTS_HOSTFIXTURE_H
#define VANTRELL_TESTS_HOSTFIXTURE_H

#include <string>
#include <vector>

#include "acrohost/Host.h"
#include "acrohost/MemoryDocument.h"
#include "host/HostTypes.h"

namespace testing_support {

class HostFixture {
 public:
  // A host with the options, recording every call; the plug-in's tables point at it.
  explicit HostFixture(const acrohost::HostOptions& options = acrohost::HostOptions());
  // Unloads plug-ins entered in-process, then sets the plug-in's table pointers and versions back
  // to null and 0.
  ~HostFixture();
  HostFixture(const HostFixture&) = delete;
  HostFixture& operator=(const HostFixture&) = delete;

  acrohost::Host& host() { return m_host; }

  // Aims each g<Name>Table at the host's table and sets g<Name>TableVersion to the version the
  // table reports, as a successful set-up would; a table the host lacks gives null and 0. The
  // constructor does it; call it again after changing grants.
  void AimPlugInTables();

  // ---- The active document ----
  // False, with the reason, when the file cannot be opened.
  bool OpenPdf(const std::string& path, std::string* error = nullptr);
  // A new empty in-memory document, made the active one; fill it through the reference.
  acrohost::MemoryDocument& OpenMemoryDocument();
  // Takes a document built elsewhere (pdf_fixtures::BuildDocument) as the active one.
  acrohost::Document& OpenDocument(std::unique_ptr<acrohost::Document> document);
  // No document is active afterwards (AcroView 12 answers null).
  void CloseDocument();
  // What AcroView 12 answers.
  HostDocumentView ActiveView();

  // ---- What the plug-in did ----
  const std::vector<acrohost::HostCall>& Calls();
  std::vector<acrohost::HostCall> CallsOf(const std::string& table, int selector);
  size_t CountCalls(const std::string& table, int selector);
  void ClearCalls();
  // Whatever a plug-in took and did not give back.
  size_t OutstandingBlocks();      // AcroSupport 1 without 3
  size_t OutstandingPathNames();   // AcroSupport 52 without 25
  size_t OutstandingContainers();  // ASExtra 3 without 12
  size_t OutstandingReaders();     // Cos 32 without AcroSupport 45
  int OutstandingMenus();          // AcroView 71 without 80
  // The host's own messages (what it refused or could not do).
  const std::vector<std::string>& Notes();

  // ---- A plug-in linked into the test ----
  // Walks PlugInMain, set-up and handshake (with the host's options), then the export, import
  // and init stages. False, with the reason, when the plug-in is left out or a stage fails.
  bool EnterPlugIn(const std::string& name, PlugInMainProc main, void* moduleInstance = nullptr,
                   std::string* error = nullptr);
  // Chooses a menu item by internal name, or a button as "button:NAME".
  acrohost::MenusAndToolBar::ActionResult Perform(const std::string& action);

 private:
  acrohost::Host m_host;
};

// One run of the host program.
struct ProgramRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;  // what it printed on stdout, every line ending in "\n" (also on Windows)
  std::string err;  // what it printed on stderr, the same way
};

// Runs bin/acrohost with the arguments, in the current folder, and waits for it.
ProgramRun RunAcrohost(const std::vector<std::string>& arguments);
// The same with another copy of the host program.
ProgramRun RunAcrohostAt(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace testing_support

#endif
