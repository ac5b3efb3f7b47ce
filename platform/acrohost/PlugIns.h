// Plug-ins: modules loaded by file name and walked through the entry protocol. PlugInMain (the
// offered handshake version, HostEntryData with the module instance), the set-up routine (the
// accepted version, HostSetUpData with the setUpVersion, an extension ID of the plug-in's own and
// the Core table), the handshake routine registered in handshakeSlot (the accepted version, a
// zeroed HostHandshakeRecord), then, for all plug-ins in order, the stages export tables,
// import/replace and init; the unload stage at the end, before the modules are freed.
//
// A plug-in that cannot be loaded, or whose entry, set-up or handshake fails, is reported and
// left out (a module that does not load, with the system loader's reason). One whose stage
// answers false is reported and gets no later stage but unload.
// Modules stay loaded until UnloadAll, so callbacks a plug-in left in menus stay callable.
#ifndef VANTRELL_ACROHOST_PLUGINS_H
#define VANTRELL_ACROHOST_PLUGINS_H

#include <stdint.h>

#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

class Host;

struct PlugInRecord {
  std::string name;              // the module's file name, or the name it was entered under
  void* module = nullptr;        // the loaded module, null for one entered in-process
  HostExtensionId extension = nullptr;
  uint32_t version = 0;          // the handshake version the plug-in accepted
  HostAtom extensionName = 0;    // from the handshake
  HostCallback exportTables = nullptr;
  HostCallback importReplace = nullptr;
  HostCallback init = nullptr;
  HostCallback unload = nullptr;
  bool active = false;           // through the handshake and every stage so far
  bool staged = false;           // its stages have run
  bool unloaded = false;
};

class PlugIns {
 public:
  explicit PlugIns(Host& host) : m_host(host) {}
  ~PlugIns();
  PlugIns(const PlugIns&) = delete;
  PlugIns& operator=(const PlugIns&) = delete;

  // Loads and enters every "*.api" module of a folder, in file name order. False, with the
  // reason, when the folder cannot be read; a plug-in that fails is reported through Failures.
  bool LoadFolder(const std::string& folder, std::string* error);
  // Loads one module and enters it. False, with the reason, when it is left out.
  bool LoadModule(const std::string& path, std::string* error);
  // Enters a plug-in whose PlugInMain is at hand (a plug-in linked into a test).
  bool Enter(const std::string& name, PlugInMainProc main, void* moduleInstance, std::string* error);
  // The three stages, stage by stage, for every active plug-in whose stages have not run yet.
  void RunStages();
  // The unload stage for every plug-in that passed its handshake, then every module is freed.
  void UnloadAll();

  const std::vector<PlugInRecord>& plugIns() const { return m_plugIns; }
  // What went wrong, one message a plug-in failure, in order.
  const std::vector<std::string>& failures() const { return m_failures; }

 private:
  bool Fail(const std::string& message, std::string* error);
  bool RunStage(PlugInRecord& plugIn, HostCallback PlugInRecord::*stage, const char* stageName);

  Host& m_host;
  std::vector<PlugInRecord> m_plugIns;
  std::vector<void*> m_modules;  // every module loaded, freed at the end
  std::vector<std::string> m_failures;
};

}  // namespace acrohost

#endif
