#include "shell/MenusAndToolbar.h"

#include <windows.h>

#include "host/HostCalls.h"
#include "shell/ExportCommand.h"
#include "shell/HelpAndAbout.h"
#include "shell/PlugInEntry.h"

namespace {

const int32_t kEndOfMenu = 9999;
const int32_t kOwnMenuPosition = 8;

HostCallback MakeCallback(HostExecuteProc routine) {
  return HostCallbackCreate(gPlugInExtensionId, reinterpret_cast<HostRoutine>(routine));
}

HostCallback MakeCallback(HostEnableProc routine) {
  return HostCallbackCreate(gPlugInExtensionId, reinterpret_cast<HostRoutine>(routine));
}

// An item at the end of a host menu, when the host has that menu.
void AddHostMenuItem(HostMenuBar menuBar, const char* menuName, const char* title, const char* name,
                     HostExecuteProc execute) {
  if (!menuBar) return;
  HostMenu menu = HostMenuBarAcquireMenuByName(menuBar, menuName);
  if (!menu) return;
  HostMenuItem item = HostMenuItemNew(title, name, nullptr, 0, 0, 0, nullptr, gPlugInExtensionId);
  if (item) {
    HostMenuItemSetExecuteProc(item, MakeCallback(execute), nullptr);
    HostMenuAddMenuItem(menu, item, kEndOfMenu);
  }
  HostMenuRelease(menu);
}

// The button goes before the host's "endToolsGroup"; a host without that button still gets it, at
// the end of its toolbar, and a module without its bitmap still gets a button, without a picture.
void AddToolbarButton() {
  HostToolBar toolBar = HostAppGetToolBar();
  HostToolButton anchor = toolBar ? HostToolBarGetButtonByName(toolBar, HostAtomFromString("endToolsGroup")) : nullptr;
  HostBitmap bitmap = LoadToolbarBitmap();
  HostToolButton button = HostToolButtonNew(HostAtomFromString("ADBE:Vantrell"), bitmap, 1, 0);
  if (!button) return;
  if (toolBar) HostToolBarAddButton(toolBar, button, anchor ? 1 : 0, anchor);
  HostToolButtonSetExecuteProc(button, MakeCallback(&OnExportCommand), nullptr);
  HostToolButtonSetEnableProc(button, MakeCallback(&IsExportEnabled), nullptr);
  HostToolButtonSetHelpText(button, "Activates Vantrell command");
}

struct OwnMenuItem {
  const char* title;
  const char* name;
  HostExecuteProc execute;
  HostEnableProc enable;
};

const OwnMenuItem kOwnMenuItems[] = {
    {"&Export", "ADBE:Vantrell_Export", &OnExportCommand, &IsExportEnabled},
    {"&Help", "ADBE:Vantrell_Help", &OnHelpCommand, &IsHelpEnabled},
    {"&About", "ADBE:Vantrell_About", &OnAboutCommand, &IsAboutEnabled},
};

}  // namespace

HostBool InstallMenusAndToolbar() {
  HostMenuBar menuBar = HostAppGetMenuBar();
  AddHostMenuItem(menuBar, "UsingExtensions", "Vantrell", "ADBE:Vantrell", &OnPluginHelpItem);
  AddHostMenuItem(menuBar, "AboutExtensions", "Vantrell...", "ADBE:AboutVantrell", &OnAboutPluginItem);
  AddToolbarButton();

  HostMenu menu = HostMenuNew("Vantrell", "ADBE:VantrellMenu", gPlugInExtensionId);
  if (!menu) {
    HostAlertNote("Unable to create the Vantrell menu");
    return 1;
  }
  HostMenuItem items[3];
  for (int i = 0; i < 3; ++i) {
    const OwnMenuItem& own = kOwnMenuItems[i];
    items[i] = HostMenuItemNew(own.title, own.name, nullptr, 1, 0, 0, nullptr, gPlugInExtensionId);
    if (items[i]) {
      HostMenuItemSetExecuteProc(items[i], MakeCallback(own.execute), nullptr);
      HostMenuItemSetEnableProc(items[i], MakeCallback(own.enable), nullptr);
    }
  }
  // Added only once all three exist, top down.
  for (HostMenuItem item : items)
    if (item) HostMenuAddMenuItem(menu, item, kEndOfMenu);
  if (menuBar) HostMenuBarAddMenu(menuBar, menu, kOwnMenuPosition);
  return 1;
}

HostBitmap LoadToolbarBitmap() {
  return LoadBitmapA(static_cast<HINSTANCE>(gModuleInstance), MAKEINTRESOURCEA(102));
}

void OnPluginHelpItem(void*) { ShowHelp(); }
void OnAboutPluginItem(void*) { ShowAbout(); }
void OnExportCommand(void*) { ExportCommand(); }
void OnHelpCommand(void*) { ShowHelp(); }
void OnAboutCommand(void*) { ShowAbout(); }

HostBool IsExportEnabled(void*) { return 1; }
HostBool IsHelpEnabled(void*) { return 1; }
HostBool IsAboutEnabled(void*) { return 1; }
