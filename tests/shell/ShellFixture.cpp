#include "ShellFixture.h"

#include <windows.h>

#include "desktop/Desktop.h"
#include "host/HostTables.h"
#include "shell/PlugInEntry.h"

namespace testing_support {

void ResetPlugInState() {
#define VANTRELL_RESET_TABLE(name) \
  g##name##Table = nullptr;        \
  g##name##TableVersion = 0;
  HOST_TABLES(VANTRELL_RESET_TABLE)
#undef VANTRELL_RESET_TABLE
  gPlugInExtensionId = nullptr;
  gModuleInstance = nullptr;
}

EnteredShell::EnteredShell(const acrohost::HostOptions& options) : EnteredShell(options, GetModuleHandleA(nullptr)) {}

EnteredShell::EnteredShell(const acrohost::HostOptions& options, void* moduleInstance) : m_host(options) {
  ResetPlugInState();
  DesktopReset();
  m_entered = m_host.EnterPlugIn("Vantrell", &PlugInMain, moduleInstance, &m_error);
}

EnteredShell::~EnteredShell() {
  ResetPlugInState();
  DesktopReset();
}

std::vector<std::string> EnteredShell::EventsOfKind(int kind) {
  std::vector<std::string> texts;
  for (int i = 0; i < DesktopEventCount(); ++i) {
    char text[4096];
    if (DesktopEvent(i, text, sizeof text) == kind) texts.push_back(text);
  }
  return texts;
}

std::vector<std::string> EnteredShell::Alerts() { return EventsOfKind(kDesktopAlert); }

}  // namespace testing_support
