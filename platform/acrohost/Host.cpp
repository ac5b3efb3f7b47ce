#include "acrohost/Host.h"

#include <stdio.h>

#include "acrohost/Operations.h"
#include "desktop/Desktop.h"

namespace acrohost {

namespace {

Host* gCurrent = nullptr;

}  // namespace

Host::Host(const HostOptions& options)
    : m_options(options),
      m_menus(m_atoms, options.lackingMenus, options.lackingButtons),
      m_previous(gCurrent),
      m_plugIns(*this) {
  m_menus.SetFailNewMenus(options.failNewMenus);
  gCurrent = this;
}

Host::~Host() {
  // Plug-ins unload while this host still serves their calls.
  m_plugIns.UnloadAll();
  if (gCurrent == this) gCurrent = m_previous;
}

Host* Host::Current() { return gCurrent; }

void Host::Note(const std::string& message) {
  m_notes.push_back(message);
  if (m_printNotes) fprintf(stderr, "acrohost: %s\n", message.c_str());
}

namespace ops {

void HostAlertNote(const char* text) {
  if (Host::Current()) DesktopShowAlert(text ? text : "");
}

void HostAppGetVersion(int16_t* major, int16_t* minor) {
  Host* host = Host::Current();
  if (!host) return;
  if (major) *major = host->options().versionMajor;
  if (minor) *minor = host->options().versionMinor;
}

}  // namespace ops
}  // namespace acrohost
