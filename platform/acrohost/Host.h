// The stand-in PDF host: its function tables and everything they serve.
//
// The table routines are plain functions, so they find their host as the current one: a Host is
// the current host from its construction to its destruction (a host made while another exists
// takes over until it ends). Operations called when no host is current do nothing and answer null.
#ifndef VANTRELL_ACROHOST_HOST_H
#define VANTRELL_ACROHOST_HOST_H

#include <stdint.h>

#include <string>
#include <vector>

#include "acrohost/Atoms.h"
#include "acrohost/Callbacks.h"
#include "acrohost/Documents.h"
#include "acrohost/HandOver.h"
#include "acrohost/Menus.h"
#include "acrohost/PlugIns.h"
#include "acrohost/Streams.h"
#include "acrohost/Tables.h"
#include "acrohost/Trace.h"

namespace acrohost {

// What a host is told. lackingMenus, lackingButtons and failNewMenus are read when the host is
// made (afterwards: menus().SetFailNewMenus); the others whenever they are needed, so options()
// may change them.
struct HostOptions {
  // The version AcroView 7 reports.
  int16_t versionMajor = 9;
  int16_t versionMinor = 0;
  // The entry protocol: the handshake version offered to PlugInMain and the setUpVersion of the
  // set-up data.
  uint32_t offeredHandshakeVersion = 0x20000;
  uint32_t setUpVersion = 0x20000;
  // Host menus (by internal name) that this host lacks.
  std::vector<std::string> lackingMenus;
  // Host toolbar buttons (by name, "endToolsGroup" ...) that this host lacks.
  std::vector<std::string> lackingButtons;
  // AcroView 78 fails.
  bool failNewMenus = false;
  // AcroView 90 makes no item of these internal names.
  std::vector<std::string> failNewItems;
  // AcroView 16 answers no menu bar, AcroView 17 no toolbar.
  bool noMenuBar = false;
  bool noToolBar = false;
  // Decoded stream contents beyond this size are spooled to a temporary file.
  size_t spoolMemoryLimit = 1 << 20;
};

class Host {
 public:
  explicit Host(const HostOptions& options = HostOptions());
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host* Current();

  HostOptions& options() { return m_options; }
  Tables& tables() { return m_tables; }
  Atoms& atoms() { return m_atoms; }
  Callbacks& callbacks() { return m_callbacks; }
  Documents& documents() { return m_documents; }
  StreamReaders& streams() { return m_streams; }
  HandOver& handOver() { return m_handOver; }
  MenusAndToolBar& menus() { return m_menus; }
  PlugIns& plugIns() { return m_plugIns; }
  Trace& trace() { return m_trace; }

  // Messages of the host's own (not alerts): what it refused or could not do.
  void Note(const std::string& message);
  const std::vector<std::string>& notes() const { return m_notes; }
  // Also prints each message, as "acrohost: MESSAGE" on stderr.
  void SetPrintNotes(bool on) { m_printNotes = on; }

 private:
  HostOptions m_options;
  Tables m_tables;
  Atoms m_atoms;
  Callbacks m_callbacks;
  Documents m_documents;
  StreamReaders m_streams;
  HandOver m_handOver;
  MenusAndToolBar m_menus;
  Trace m_trace;
  std::vector<std::string> m_notes;
  bool m_printNotes = false;
  Host* m_previous;
  PlugIns m_plugIns;  // last: unloads plug-ins while the rest still stands
};

}  // namespace acrohost

#endif
