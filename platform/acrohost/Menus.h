// The host's menu bar and toolbar (AcroView 16, 17, 71, 77, 78, 80, 89, 90, 99, 100, 163, 165,
// 169, 175, 176, 214), and the user's way to choose an item or a button.
//
// The menu bar starts with the host's menus: File, Edit, View, Document, Comments, Forms, Tools,
// Advanced, Window and Help, each known by that internal name and title. Help holds the items
// "Using Plug-ins" and "About Plug-ins" (internal names "UsingExtensions" and "AboutExtensions"),
// whose submenus bear the same names and are empty until plug-ins add to them. The toolbar starts
// with the host's buttons Open, Save, Print, Hand, Select, the separator endToolsGroup, ZoomIn and
// ZoomOut. Host items and buttons have no execute routine.
//
// Positions in a menu or the menu bar count from 0; any position at or past the end (9999 by
// convention) appends, and a negative one puts the element first.
#ifndef VANTRELL_ACROHOST_MENUS_H
#define VANTRELL_ACROHOST_MENUS_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

class Atoms;
class Callbacks;

// A routine of a plug-in that the host calls through a host callback, with its client data.
struct BoundProc {
  HostCallback callback = nullptr;
  void* clientData = nullptr;
};

struct MenuRecord {
  std::string title;
  std::string name;
  HostExtensionId owner = nullptr;  // null for the host's menus
  std::vector<HostMenuItem> items;
  bool onMenuBar = false;
  HostMenuItem parentItem = nullptr;  // the item whose submenu it is
  int acquisitions = 0;               // by name (AcroView 71), not yet released (AcroView 80)
};

struct MenuItemRecord {
  std::string title;
  std::string name;
  HostMenu submenu = nullptr;
  bool longMenusOnly = false;
  char shortcut = 0;
  uint16_t flags = 0;
  void* icon = nullptr;
  HostExtensionId owner = nullptr;
  BoundProc execute;
  BoundProc enable;
  HostMenu menu = nullptr;  // the menu it was added to
};

struct ButtonRecord {
  HostAtom nameAtom = 0;
  std::string name;
  HostBitmap icon = nullptr;
  bool longMenusOnly = false;
  bool isSeparator = false;
  BoundProc execute;
  BoundProc enable;
  std::string tooltip;
  bool onToolBar = false;
};

class MenusAndToolBar {
 public:
  // The host's menus and buttons, without the menus named in lackingMenus (a lacking submenu's
  // item goes with it) and the buttons named in lackingButtons.
  MenusAndToolBar(Atoms& atoms, const std::vector<std::string>& lackingMenus,
                  const std::vector<std::string>& lackingButtons);

  HostMenuBar menuBar() const { return m_menuBar; }
  HostToolBar toolBar() const { return m_toolBar; }
  // When set, AcroView 78 creates no menu.
  void SetFailNewMenus(bool fail) { m_failNewMenus = fail; }

  // ---- Operations; each returns false (or null) and changes nothing for unknown handles ----
  HostMenu AcquireMenuByName(HostMenuBar menuBar, const std::string& name);
  bool ReleaseMenu(HostMenu menu);
  bool AddMenuToBar(HostMenuBar menuBar, HostMenu menu, int32_t position);
  HostMenu NewMenu(const std::string& title, const std::string& name, HostExtensionId owner);
  HostMenuItem NewItem(const std::string& title, const std::string& name, HostMenu submenu, bool longMenusOnly,
                       char shortcut, uint16_t flags, void* icon, HostExtensionId owner);
  // An item goes into one menu only.
  bool AddItem(HostMenu menu, HostMenuItem item, int32_t position);
  // A null callback removes the routine; a callback the host did not make is refused.
  bool SetItemExecute(HostMenuItem item, HostCallback callback, void* clientData, const Callbacks& callbacks);
  bool SetItemEnable(HostMenuItem item, HostCallback callback, void* clientData, const Callbacks& callbacks);
  HostToolButton ButtonByName(HostToolBar toolBar, HostAtom name) const;
  HostToolButton NewButton(HostAtom name, HostBitmap icon, bool longMenusOnly, bool isSeparator);
  // Before or after other; with no other (or one not on the toolbar) first or last.
  bool AddButton(HostToolBar toolBar, HostToolButton button, bool before, HostToolButton other);
  bool SetButtonExecute(HostToolButton button, HostCallback callback, void* clientData, const Callbacks& callbacks);
  bool SetButtonEnable(HostToolButton button, HostCallback callback, void* clientData, const Callbacks& callbacks);
  bool SetButtonHelpText(HostToolButton button, const std::string& text);

  // ---- What is installed ----
  const MenuRecord* Menu(HostMenu menu) const;
  const MenuItemRecord* Item(HostMenuItem item) const;
  const ButtonRecord* Button(HostToolButton button) const;
  const std::vector<HostMenu>& barMenus() const { return m_barMenus; }
  const std::vector<HostToolButton>& toolBarButtons() const { return m_buttons; }
  // The first menu of that name on the menu bar (submenus included), the first item of that
  // internal name in those menus, the first button of that name on the toolbar; null when none.
  HostMenu FindMenu(const std::string& name) const;
  HostMenuItem FindItem(const std::string& name) const;
  HostToolButton FindButton(const std::string& name) const;
  // Menus acquired by name and not yet released, over all menus.
  int outstandingAcquisitions() const;

  // The menu bar and toolbar, one element a line:
  //   menu "NAME" "TITLE"                (a menu of the menu bar)
  //     item "NAME" "TITLE"              (its items in order, two spaces deeper)
  //       menu "NAME" "TITLE"            (the submenu of an item, with its items deeper still)
  //   toolbar
  //     button "NAME" "TOOLTIP"          (the toolbar's buttons in order)
  //     separator "NAME"
  // Texts are quoted, with \" \\ and \xHH escapes.
  std::string Listing() const;

  // ---- The user ----
  enum ActionResult { kActionRan, kActionDisabled, kActionUnknown };
  // An action is the internal name of an item on the menu bar or "button:NAME".
  bool HasAction(const std::string& action) const;
  // Asks the enable test (an element without one is enabled) and, when it answers true, runs the
  // execute routine (an element without one does nothing).
  ActionResult Perform(const std::string& action, const Callbacks& callbacks);

 private:
  HostMenu AddMenu(const std::string& title, const std::string& name, HostExtensionId owner);
  HostMenu FindMenuIn(const std::vector<HostMenu>& menus, const std::string& name) const;
  HostMenuItem FindItemIn(const std::vector<HostMenu>& menus, const std::string& name) const;
  void ListMenu(HostMenu menu, int depth, std::string* out) const;
  MenuRecord* MutableMenu(HostMenu menu);
  MenuItemRecord* MutableItem(HostMenuItem item);
  ButtonRecord* MutableButton(HostToolButton button);

  Atoms& m_atoms;
  HostMenuBar m_menuBar;
  HostToolBar m_toolBar;
  bool m_failNewMenus = false;
  std::vector<HostMenu> m_barMenus;
  std::vector<HostToolButton> m_buttons;
  std::map<uintptr_t, MenuRecord> m_menus;
  std::map<uintptr_t, MenuItemRecord> m_items;
  std::map<uintptr_t, ButtonRecord> m_buttonRecords;
};

}  // namespace acrohost

#endif
