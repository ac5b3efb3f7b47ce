#include "acrohost/PlugIns.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>

#include "acrohost/Handles.h"
#include "acrohost/Host.h"

// Last: on Linux its names stand in for the Windows API.
#include <windows.h>

namespace acrohost {

namespace {

namespace fs = std::filesystem;

// The host's part of the handshake record, which the plug-in must leave as it is.
const uint8_t kHostMark[6] = {'a', 'c', 'r', 'o', 'h', 's'};

std::string Hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%X", value);
  return text;
}

bool HasApiExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return extension == ".api";
}

// Why the module at `path` did not load, in the system loader's words; called at once after the
// failed load, before anything else can change the thread's last error.
#if defined(_WIN32)
std::string LoadFailure(const std::string& path) {
  const DWORD code = GetLastError();
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  std::string reason(text, length);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
  // Some messages name the module as "%1".
  for (size_t at = 0; (at = reason.find("%1", at)) != std::string::npos; at += path.size()) reason.replace(at, 2, path);
  return reason.empty() ? "error " + std::to_string(code) : reason;
}
#else
// The loader's text names the file itself.
std::string LoadFailure(const std::string&) { return Win32LoadLibraryError(); }
#endif

}  // namespace

PlugIns::~PlugIns() { UnloadAll(); }

bool PlugIns::Fail(const std::string& message, std::string* error) {
  m_failures.push_back(message);
  m_host.Note(message);
  if (error) *error = message;
  return false;
}

bool PlugIns::LoadFolder(const std::string& folder, std::string* error) {
  std::error_code status;
  std::vector<fs::path> modules;
  for (fs::directory_iterator it(folder, status), end; !status && it != end; it.increment(status)) {
    if (HasApiExtension(it->path()) && it->is_regular_file(status)) modules.push_back(it->path());
  }
  if (status) {
    if (error) *error = "cannot read the plug-ins folder " + folder + ": " + status.message();
    return false;
  }
  std::sort(modules.begin(), modules.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  for (const fs::path& module : modules) LoadModule(module.string(), nullptr);
  return true;
}

bool PlugIns::LoadModule(const std::string& path, std::string* error) {
  std::string name = fs::path(path).filename().string();
  // The standard search for what the module imports, which starts in the host program's folder:
  // the libraries the plug-in links against are installed there, not in the plug-ins folder.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, 0);
  if (!module) {
    const std::string reason = LoadFailure(path);
    return Fail("plug-in " + name + " cannot be loaded: " + reason, error);
  }
  m_modules.push_back(module);
  FARPROC main = GetProcAddress(module, "PlugInMain");
  if (!main) return Fail("plug-in " + name + " has no PlugInMain", error);
  return Enter(name, reinterpret_cast<PlugInMainProc>(reinterpret_cast<void (*)(void)>(main)), module, error);
}

bool PlugIns::Enter(const std::string& name, PlugInMainProc main, void* moduleInstance, std::string* error) {
  const std::string who = "plug-in " + name;
  const HostOptions& options = m_host.options();
  PlugInRecord record;
  record.name = name;
  record.module = moduleInstance;

  HostEntryData entry{nullptr, moduleInstance};
  uint32_t accepted = 0;
  HostSetUpProc setUp = nullptr;
  if (!main || !main(options.offeredHandshakeVersion, &accepted, &setUp, &entry))
    return Fail(who + ": PlugInMain failed", error);
  if (!setUp) return Fail(who + ": PlugInMain gave no set-up routine", error);
  if (accepted > options.offeredHandshakeVersion)
    return Fail(who + " asks for handshake version " + Hex(accepted) + ", newer than the offered " +
                    Hex(options.offeredHandshakeVersion),
                error);
  record.version = accepted;

  HostSetUpData setUpData{};
  setUpData.setUpVersion = options.setUpVersion;
  setUpData.plugInExtensionId = NewHandle<HostExtensionId>();
  setUpData.coreTable = m_host.tables().Table(kCoreTable);
  record.extension = setUpData.plugInExtensionId;
  if (!setUp(accepted, &setUpData)) return Fail(who + ": set-up failed", error);
  if (!m_host.callbacks().Find(setUpData.handshakeSlot))
    return Fail(who + ": set-up registered no handshake routine", error);

  HostHandshakeRecord handshake;
  memset(&handshake, 0, sizeof handshake);
  memcpy(handshake.host, kHostMark, sizeof kHostMark);
  HostBool shook = 0;
  m_host.callbacks().Handshake(setUpData.handshakeSlot, accepted, &handshake, &shook);
  if (!shook) return Fail(who + ": handshake failed", error);
  if (memcmp(handshake.host, kHostMark, sizeof kHostMark) != 0)
    return Fail(who + ": handshake wrote into the host's part of the record", error);
  record.extensionName = handshake.extensionNameSlot;
  record.exportTables = handshake.exportTablesSlot;
  record.importReplace = handshake.importSlot;
  record.init = handshake.initSlot;
  record.unload = handshake.unloadSlot;
  record.active = true;
  m_plugIns.push_back(record);
  return true;
}

bool PlugIns::RunStage(PlugInRecord& plugIn, HostCallback PlugInRecord::*stage, const char* stageName) {
  HostCallback callback = plugIn.*stage;
  if (!plugIn.active || !callback) return plugIn.active;
  HostBool answer = 0;
  if (!m_host.callbacks().Stage(callback, &answer)) {
    plugIn.active = false;
    return Fail("plug-in " + plugIn.name + ": its " + stageName + " routine is no host callback", nullptr);
  }
  if (!answer) {
    plugIn.active = false;
    return Fail("plug-in " + plugIn.name + ": " + stageName + " failed", nullptr);
  }
  return true;
}

void PlugIns::RunStages() {
  std::vector<PlugInRecord*> waiting;
  for (PlugInRecord& plugIn : m_plugIns) {
    if (plugIn.staged) continue;
    plugIn.staged = true;
    waiting.push_back(&plugIn);
  }
  for (PlugInRecord* plugIn : waiting) RunStage(*plugIn, &PlugInRecord::exportTables, "export tables");
  for (PlugInRecord* plugIn : waiting) RunStage(*plugIn, &PlugInRecord::importReplace, "import and replace");
  for (PlugInRecord* plugIn : waiting) RunStage(*plugIn, &PlugInRecord::init, "init");
}

void PlugIns::UnloadAll() {
  for (PlugInRecord& plugIn : m_plugIns) {
    if (plugIn.unloaded) continue;
    plugIn.unloaded = true;
    plugIn.active = false;
    HostBool answer = 0;
    if (plugIn.unload) m_host.callbacks().Stage(plugIn.unload, &answer);
  }
  for (auto module = m_modules.rbegin(); module != m_modules.rend(); ++module)
    FreeLibrary(static_cast<HMODULE>(*module));
  m_modules.clear();
}

}  // namespace acrohost
