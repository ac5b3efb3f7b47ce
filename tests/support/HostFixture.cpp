#include "HostFixture.h"

#include "RunProgram.h"
#include "TestSupport.h"
#include "host/HostTables.h"

namespace testing_support {

HostFixture::HostFixture(const acrohost::HostOptions& options) : m_host(options) {
  m_host.trace().SetRecording(true);
  AimPlugInTables();
}

HostFixture::~HostFixture() {
  // Plug-ins entered in-process may still call the host while they unload.
  m_host.plugIns().UnloadAll();
#define VANTRELL_CLEAR_TABLE(name) \
  g##name##Table = nullptr;        \
  g##name##TableVersion = 0;
  HOST_TABLES(VANTRELL_CLEAR_TABLE)
#undef VANTRELL_CLEAR_TABLE
}

void HostFixture::AimPlugInTables() {
  acrohost::Tables& tables = m_host.tables();
#define VANTRELL_AIM_TABLE(name)                                                   \
  {                                                                                \
    int table = acrohost::TableByName(#name);                                      \
    const acrohost::TableGrant& grant = tables.Grant(table);                       \
    g##name##Table = grant.present ? tables.Table(table) : nullptr;                \
    g##name##TableVersion = grant.present ? grant.reportedVersion : 0;             \
  }
  HOST_TABLES(VANTRELL_AIM_TABLE)
#undef VANTRELL_AIM_TABLE
}

bool HostFixture::OpenPdf(const std::string& path, std::string* error) {
  return m_host.documents().OpenPdf(path, error);
}

acrohost::MemoryDocument& HostFixture::OpenMemoryDocument() { return m_host.documents().OpenNewMemoryDocument(); }

acrohost::Document& HostFixture::OpenDocument(std::unique_ptr<acrohost::Document> document) {
  return m_host.documents().Open(std::move(document));
}

void HostFixture::CloseDocument() { m_host.documents().CloseActive(); }

HostDocumentView HostFixture::ActiveView() { return m_host.documents().activeView(); }

const std::vector<acrohost::HostCall>& HostFixture::Calls() { return m_host.trace().calls(); }

std::vector<acrohost::HostCall> HostFixture::CallsOf(const std::string& table, int selector) {
  return m_host.trace().CallsOf(table, selector);
}

size_t HostFixture::CountCalls(const std::string& table, int selector) {
  return m_host.trace().CountOf(table, selector);
}

void HostFixture::ClearCalls() { m_host.trace().Clear(); }

size_t HostFixture::OutstandingBlocks() { return m_host.handOver().outstandingBlocks(); }
size_t HostFixture::OutstandingPathNames() { return m_host.handOver().outstandingPathNames(); }
size_t HostFixture::OutstandingContainers() { return m_host.handOver().outstandingContainers(); }
size_t HostFixture::OutstandingReaders() { return m_host.streams().open(); }
int HostFixture::OutstandingMenus() { return m_host.menus().outstandingAcquisitions(); }
const std::vector<std::string>& HostFixture::Notes() { return m_host.notes(); }

bool HostFixture::EnterPlugIn(const std::string& name, PlugInMainProc main, void* moduleInstance,
                              std::string* error) {
  acrohost::PlugIns& plugIns = m_host.plugIns();
  if (!plugIns.Enter(name, main, moduleInstance, error)) return false;
  size_t failuresBefore = plugIns.failures().size();
  plugIns.RunStages();
  if (plugIns.failures().size() == failuresBefore) return true;
  if (error) *error = plugIns.failures().back();
  return false;
}

acrohost::MenusAndToolBar::ActionResult HostFixture::Perform(const std::string& action) {
  return m_host.menus().Perform(action, m_host.callbacks());
}

namespace {

// A program's text output with the line ends of Windows' text mode ("\r\n") read as "\n".
std::string TextLines(const std::string& output) {
  std::string text;
  for (size_t i = 0; i < output.size(); ++i)
    if (output[i] != '\r' || i + 1 == output.size() || output[i + 1] != '\n') text += output[i];
  return text;
}

}  // namespace

ProgramRun RunAcrohost(const std::vector<std::string>& arguments) {
#if defined(_WIN32)
  return RunAcrohostAt(BinDir() + "/acrohost.exe", arguments);
#else
  return RunAcrohostAt(BinDir() + "/acrohost", arguments);
#endif
}

ProgramRun RunAcrohostAt(const std::string& program, const std::vector<std::string>& arguments) {
  ScopedTempDir outputs;
  ProgramRun run;
  run.status = RunProgram(program, arguments, outputs.File("out"), outputs.File("err"));
  run.out = TextLines(ReadFile(outputs.File("out")));
  run.err = TextLines(ReadFile(outputs.File("err")));
  return run;
}

}  // namespace testing_support
