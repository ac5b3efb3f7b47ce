// A tiny plug-in for the host's tests: it goes through the entry protocol as a real plug-in does
// and installs a menu, items and a toolbar button whose routines print what they do on stdout.
//
// Environment: TEST_PLUGIN_FAIL=setup|handshake|export|import|init makes that step answer false;
// TEST_PLUGIN_PRC names the file that "Test:HandOver" hands to the host; TEST_PLUGIN_EXPORT=1
// also installs "ADBE:Vantrell_Export", which behaves as "Test:Save".
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "desktop/Desktop.h"
#include "host/HostCalls.h"

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

HostExtensionId gExtension = nullptr;

bool FailsAt(const char* step) {
  const char* fail = getenv("TEST_PLUGIN_FAIL");
  return fail && strcmp(fail, step) == 0;
}

void Say(const char* text) {
  printf("%s\n", text);
  fflush(stdout);
}

HostCallback Callback(void (*routine)(void*)) {
  return HostCallbackCreate(gExtension, reinterpret_cast<HostRoutine>(routine));
}
HostCallback Callback(HostBool (*routine)(void*)) {
  return HostCallbackCreate(gExtension, reinterpret_cast<HostRoutine>(routine));
}
HostCallback Callback(HostBool (*routine)(void)) {
  return HostCallbackCreate(gExtension, reinterpret_cast<HostRoutine>(routine));
}

// ---- The commands ----

void Hello(void*) {
  int16_t major = 0, minor = 0;
  HostAppGetVersion(&major, &minor);
  char text[128];
  HostDocumentView view = HostAppGetActiveDocView();
  if (view)
    snprintf(text, sizeof text, "hello: version %d.%d, %d pages", major, minor,
             static_cast<int>(HostDocGetNumPages(HostDocViewGetDoc(view))));
  else
    snprintf(text, sizeof text, "hello: version %d.%d, no document", major, minor);
  Say(text);
}

void Alert(void*) { HostAlertNote("The test plug-in alerts."); }

void Never(void*) { Say("disabled item ran"); }

void Button(void* clientData) { Say(clientData ? static_cast<const char*>(clientData) : "button"); }

void HandOver(void*) {
  const char* path = getenv("TEST_PLUGIN_PRC");
  if (!path) return;
  HostAtom cstring = HostAtomFromString("Cstring");
  HostFileSys fileSys = HostFileSysForPath(cstring, path);
  HostPathName name = HostFileSysCreatePath(fileSys, cstring, path, nullptr);
  HostContainer container = HostContainerNew();
  HostContainerSetName(container, "Model");
  int32_t taken = HostTakePrcFile(name, fileSys, container);
  HostFileSysReleasePath(fileSys, name);
  HostContainerDestroy(container);
  Say(taken ? "handed over" : "hand-over refused");
}

void Save(void*) {
  DesktopSaveRequest request = {1, "skp", "Export.skp", 6, "SketchUp SKP Files (*.skp)|*.skp||", nullptr};
  char path[1024];
  if (!DesktopAskSavePath(&request, path, sizeof path)) {
    Say("save: cancelled");
    return;
  }
  FILE* existing = fopen(path, "rb");
  if (existing) {
    fclose(existing);
    if (!DesktopAskOverwrite(path)) {
      Say("save: not replaced");
      return;
    }
  }
  int options = -1;
  if (!DesktopAskWriterOptions(&options)) {
    Say("save: options cancelled");
    return;
  }
  char text[1200];
  snprintf(text, sizeof text, "save: %s with options %d", path, options);
  Say(text);
}

HostBool Enabled(void*) { return 1; }
HostBool Disabled(void*) { return 0; }

// ---- The stages ----

HostBool ExportTables(void) { return FailsAt("export") ? 0 : 1; }
HostBool ImportReplace(void) { return FailsAt("import") ? 0 : 1; }

HostMenuItem NewItem(const char* title, const char* name, void (*execute)(void*), HostBool (*enable)(void*)) {
  HostMenuItem item = HostMenuItemNew(title, name, nullptr, 0, 0, 0, nullptr, gExtension);
  HostMenuItemSetExecuteProc(item, Callback(execute), nullptr);
  if (enable) HostMenuItemSetEnableProc(item, Callback(enable), nullptr);
  return item;
}

HostBool Init(void) {
  if (FailsAt("init")) return 0;
  HostMenuBar menuBar = HostAppGetMenuBar();
  HostMenu usingExtensions = HostMenuBarAcquireMenuByName(menuBar, "UsingExtensions");
  if (usingExtensions) {
    HostMenuAddMenuItem(usingExtensions, NewItem("Test Help", "Test:Help", Hello, nullptr), 9999);
    HostMenuRelease(usingExtensions);
  }

  HostToolBar toolBar = HostAppGetToolBar();
  HostToolButton anchor = HostToolBarGetButtonByName(toolBar, HostAtomFromString("endToolsGroup"));
  HostToolButton button = HostToolButtonNew(HostAtomFromString("Test:Button"), nullptr, 1, 0);
  HostToolBarAddButton(toolBar, button, 1, anchor);
  static char buttonText[] = "button ran";
  HostToolButtonSetExecuteProc(button, Callback(Button), buttonText);
  HostToolButtonSetEnableProc(button, Callback(Enabled), nullptr);
  HostToolButtonSetHelpText(button, "Runs the test");

  HostMenu menu = HostMenuNew("Test", "Test:Menu", gExtension);
  if (!menu) {
    HostAlertNote("Unable to create the Test menu");
    return 1;
  }
  HostMenuAddMenuItem(menu, NewItem("&Hello", "Test:Hello", Hello, Enabled), 9999);
  HostMenuAddMenuItem(menu, NewItem("&Disabled", "Test:Disabled", Never, Disabled), 9999);
  HostMenuAddMenuItem(menu, NewItem("&Alert", "Test:Alert", Alert, nullptr), 9999);
  HostMenuAddMenuItem(menu, NewItem("Hand &Over", "Test:HandOver", HandOver, nullptr), 9999);
  HostMenuAddMenuItem(menu, NewItem("&Save", "Test:Save", Save, nullptr), 9999);
  if (getenv("TEST_PLUGIN_EXPORT")) HostMenuAddMenuItem(menu, NewItem("&Export", "ADBE:Vantrell_Export", Save, nullptr), 9999);
  HostMenuBarAddMenu(menuBar, menu, 8);
  return 1;
}

HostBool Unload(void) {
  Say("unload");
  return 1;
}

HostBool Handshake(uint32_t version, HostHandshakeRecord* record) {
  if (version != 0x20000 || FailsAt("handshake")) return 0;
  record->extensionNameSlot = HostAtomFromString("Test:PlugIn");
  record->exportTablesSlot = Callback(ExportTables);
  record->importSlot = Callback(ImportReplace);
  record->initSlot = Callback(Init);
  record->unloadSlot = Callback(Unload);
  return 1;
}

bool Import(const char* name, uint32_t version, HostTable* table, uint32_t* tableVersion) {
  *table = HostGetTable(HostAtomFromString(name), version);
  *tableVersion = *table && gAcroSupportTable ? HostTableGetVersion(*table) : 0;
  return *table != nullptr;
}

HostBool SetUp(uint32_t version, HostSetUpData* data) {
  if (version != 0x20000 || data->setUpVersion != 0x20000 || FailsAt("setup")) return 0;
  gExtension = data->plugInExtensionId;
  gCoreTable = data->coreTable;
  if (!Import("AcroSupport", 0x60000, &gAcroSupportTable, &gAcroSupportTableVersion) ||
      !Import("Core", 0x50000, &gCoreTable, &gCoreTableVersion) ||
      !Import("Cos", 0x60000, &gCosTable, &gCosTableVersion) ||
      !Import("PDModel", 0x60000, &gPDModelTable, &gPDModelTableVersion) ||
      !Import("AcroView", 0x60000, &gAcroViewTable, &gAcroViewTableVersion) ||
      !Import("ASExtra", 0x60000, &gASExtraTable, &gASExtraTableVersion))
    return 0;
  data->handshakeSlot = HostCallbackCreate(gExtension, reinterpret_cast<HostRoutine>(Handshake));
  return 1;
}

}  // namespace

TEST_PLUGIN_EXPORT HostBool PlugInMain(uint32_t offered, uint32_t* accepted, HostSetUpProc* setUp,
                                       HostEntryData* entry) {
  (void)entry;
  *accepted = offered < 0x20000 ? offered : 0x20000;
  *setUp = SetUp;
  return 1;
}
