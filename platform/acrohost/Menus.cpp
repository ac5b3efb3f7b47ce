#include "acrohost/Menus.h"


#include <algorithm>

#include "acrohost/Atoms.h"
#include "acrohost/Callbacks.h"
#include "acrohost/Handles.h"
#include "acrohost/Host.h"
#include "acrohost/Operations.h"
#include "acrohost/Trace.h"

namespace acrohost {

namespace {

const char kButtonPrefix[] = "button:";

struct HostButton {
  const char* name;
  const char* tooltip;
  bool separator;
};

const HostButton kHostButtons[] = {
    {"Open", "Open", false},           {"Save", "Save", false},          {"Print", "Print", false},
    {"Hand", "Hand Tool", false},      {"Select", "Select Tool", false}, {"endToolsGroup", "", true},
    {"ZoomIn", "Zoom In", false},      {"ZoomOut", "Zoom Out", false},
};

const char* const kHostMenus[] = {"File", "Edit", "View", "Document", "Comments", "Forms", "Tools", "Advanced",
                                  "Window", "Help"};

struct HostSubmenu {
  const char* name;
  const char* title;
};

const HostSubmenu kHelpSubmenus[] = {{"UsingExtensions", "Using Plug-ins"}, {"AboutExtensions", "About Plug-ins"}};

template <typename Handle>
void Insert(std::vector<Handle>& list, Handle element, int32_t position) {
  size_t at = position < 0 ? 0 : std::min(static_cast<size_t>(position), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), element);
}

bool Lacks(const std::vector<std::string>& lacking, const std::string& name) {
  return std::find(lacking.begin(), lacking.end(), name) != lacking.end();
}

// Asks an element's enable test and runs its execute routine.
MenusAndToolBar::ActionResult Choose(const BoundProc& enable, const BoundProc& execute, const Callbacks& callbacks) {
  HostBool enabled = 1;
  if (enable.callback) callbacks.Enable(enable.callback, enable.clientData, &enabled);
  if (!enabled) return MenusAndToolBar::kActionDisabled;
  if (execute.callback) callbacks.Execute(execute.callback, execute.clientData);
  return MenusAndToolBar::kActionRan;
}

bool Bind(BoundProc* proc, HostCallback callback, void* clientData, const Callbacks& callbacks) {
  if (callback && !callbacks.Find(callback)) return false;
  proc->callback = callback;
  proc->clientData = clientData;
  return true;
}

}  // namespace

MenusAndToolBar::MenusAndToolBar(Atoms& atoms, const std::vector<std::string>& lackingMenus,
                                 const std::vector<std::string>& lackingButtons)
    : m_atoms(atoms), m_menuBar(NewHandle<HostMenuBar>()), m_toolBar(NewHandle<HostToolBar>()) {
  for (const char* name : kHostMenus) {
    if (Lacks(lackingMenus, name)) continue;
    HostMenu menu = AddMenu(name, name, nullptr);
    AddMenuToBar(m_menuBar, menu, 9999);
    if (std::string(name) != "Help") continue;
    for (const HostSubmenu& sub : kHelpSubmenus) {
      if (Lacks(lackingMenus, sub.name)) continue;
      HostMenu submenu = AddMenu(sub.title, sub.name, nullptr);
      HostMenuItem item = NewItem(sub.title, sub.name, submenu, false, 0, 0, nullptr, nullptr);
      AddItem(menu, item, 9999);
    }
  }
  for (const HostButton& host : kHostButtons) {
    if (Lacks(lackingButtons, host.name)) continue;
    HostToolButton button = NewButton(m_atoms.Intern(host.name), nullptr, false, host.separator);
    SetButtonHelpText(button, host.tooltip);
    AddButton(m_toolBar, button, false, nullptr);
  }
}

HostMenu MenusAndToolBar::AddMenu(const std::string& title, const std::string& name, HostExtensionId owner) {
  HostMenu menu = NewHandle<HostMenu>();
  MenuRecord& record = m_menus[HandleKey(menu)];
  record.title = title;
  record.name = name;
  record.owner = owner;
  return menu;
}

MenuRecord* MenusAndToolBar::MutableMenu(HostMenu menu) {
  auto found = m_menus.find(HandleKey(menu));
  return found == m_menus.end() ? nullptr : &found->second;
}

MenuItemRecord* MenusAndToolBar::MutableItem(HostMenuItem item) {
  auto found = m_items.find(HandleKey(item));
  return found == m_items.end() ? nullptr : &found->second;
}

ButtonRecord* MenusAndToolBar::MutableButton(HostToolButton button) {
  auto found = m_buttonRecords.find(HandleKey(button));
  return found == m_buttonRecords.end() ? nullptr : &found->second;
}

const MenuRecord* MenusAndToolBar::Menu(HostMenu menu) const {
  auto found = m_menus.find(HandleKey(menu));
  return found == m_menus.end() ? nullptr : &found->second;
}

const MenuItemRecord* MenusAndToolBar::Item(HostMenuItem item) const {
  auto found = m_items.find(HandleKey(item));
  return found == m_items.end() ? nullptr : &found->second;
}

const ButtonRecord* MenusAndToolBar::Button(HostToolButton button) const {
  auto found = m_buttonRecords.find(HandleKey(button));
  return found == m_buttonRecords.end() ? nullptr : &found->second;
}

HostMenu MenusAndToolBar::FindMenuIn(const std::vector<HostMenu>& menus, const std::string& name) const {
  for (HostMenu menu : menus) {
    const MenuRecord* record = Menu(menu);
    if (record->name == name) return menu;
    for (HostMenuItem item : record->items) {
      HostMenu submenu = Item(item)->submenu;
      if (!Menu(submenu)) continue;
      if (HostMenu found = FindMenuIn({submenu}, name)) return found;
    }
  }
  return nullptr;
}

HostMenuItem MenusAndToolBar::FindItemIn(const std::vector<HostMenu>& menus, const std::string& name) const {
  for (HostMenu menu : menus) {
    for (HostMenuItem item : Menu(menu)->items) {
      const MenuItemRecord* record = Item(item);
      if (record->name == name) return item;
      if (Menu(record->submenu)) {
        if (HostMenuItem found = FindItemIn({record->submenu}, name)) return found;
      }
    }
  }
  return nullptr;
}

HostMenu MenusAndToolBar::FindMenu(const std::string& name) const { return FindMenuIn(m_barMenus, name); }

HostMenuItem MenusAndToolBar::FindItem(const std::string& name) const { return FindItemIn(m_barMenus, name); }

HostToolButton MenusAndToolBar::FindButton(const std::string& name) const {
  for (HostToolButton button : m_buttons)
    if (Button(button)->name == name) return button;
  return nullptr;
}

int MenusAndToolBar::outstandingAcquisitions() const {
  int count = 0;
  for (const auto& entry : m_menus) count += entry.second.acquisitions;
  return count;
}

HostMenu MenusAndToolBar::AcquireMenuByName(HostMenuBar menuBar, const std::string& name) {
  if (menuBar != m_menuBar) return nullptr;
  HostMenu menu = FindMenu(name);
  if (menu) ++MutableMenu(menu)->acquisitions;
  return menu;
}

bool MenusAndToolBar::ReleaseMenu(HostMenu menu) {
  MenuRecord* record = MutableMenu(menu);
  if (!record || record->acquisitions == 0) return false;
  --record->acquisitions;
  return true;
}

bool MenusAndToolBar::AddMenuToBar(HostMenuBar menuBar, HostMenu menu, int32_t position) {
  MenuRecord* record = MutableMenu(menu);
  if (menuBar != m_menuBar || !record || record->onMenuBar || record->parentItem) return false;
  record->onMenuBar = true;
  Insert(m_barMenus, menu, position);
  return true;
}

HostMenu MenusAndToolBar::NewMenu(const std::string& title, const std::string& name, HostExtensionId owner) {
  return m_failNewMenus ? nullptr : AddMenu(title, name, owner);
}

HostMenuItem MenusAndToolBar::NewItem(const std::string& title, const std::string& name, HostMenu submenu,
                                      bool longMenusOnly, char shortcut, uint16_t flags, void* icon,
                                      HostExtensionId owner) {
  MenuRecord* sub = MutableMenu(submenu);
  if (submenu && (!sub || sub->onMenuBar || sub->parentItem)) return nullptr;
  HostMenuItem item = NewHandle<HostMenuItem>();
  MenuItemRecord& record = m_items[HandleKey(item)];
  record.title = title;
  record.name = name;
  record.submenu = submenu;
  record.longMenusOnly = longMenusOnly;
  record.shortcut = shortcut;
  record.flags = flags;
  record.icon = icon;
  record.owner = owner;
  if (sub) sub->parentItem = item;
  return item;
}

bool MenusAndToolBar::AddItem(HostMenu menu, HostMenuItem item, int32_t position) {
  MenuRecord* menuRecord = MutableMenu(menu);
  MenuItemRecord* itemRecord = MutableItem(item);
  if (!menuRecord || !itemRecord || itemRecord->menu) return false;
  itemRecord->menu = menu;
  Insert(menuRecord->items, item, position);
  return true;
}

bool MenusAndToolBar::SetItemExecute(HostMenuItem item, HostCallback callback, void* clientData,
                                     const Callbacks& callbacks) {
  MenuItemRecord* record = MutableItem(item);
  return record && Bind(&record->execute, callback, clientData, callbacks);
}

bool MenusAndToolBar::SetItemEnable(HostMenuItem item, HostCallback callback, void* clientData,
                                    const Callbacks& callbacks) {
  MenuItemRecord* record = MutableItem(item);
  return record && Bind(&record->enable, callback, clientData, callbacks);
}

HostToolButton MenusAndToolBar::ButtonByName(HostToolBar toolBar, HostAtom name) const {
  if (toolBar != m_toolBar || name == Atoms::kNull) return nullptr;
  for (HostToolButton button : m_buttons)
    if (Button(button)->nameAtom == name) return button;
  return nullptr;
}

HostToolButton MenusAndToolBar::NewButton(HostAtom name, HostBitmap icon, bool longMenusOnly, bool isSeparator) {
  const std::string* text = m_atoms.Text(name);
  if (!text) return nullptr;
  HostToolButton button = NewHandle<HostToolButton>();
  ButtonRecord& record = m_buttonRecords[HandleKey(button)];
  record.nameAtom = name;
  record.name = *text;
  record.icon = icon;
  record.longMenusOnly = longMenusOnly;
  record.isSeparator = isSeparator;
  return button;
}

bool MenusAndToolBar::AddButton(HostToolBar toolBar, HostToolButton button, bool before, HostToolButton other) {
  ButtonRecord* record = MutableButton(button);
  if (toolBar != m_toolBar || !record || record->onToolBar) return false;
  record->onToolBar = true;
  auto at = std::find(m_buttons.begin(), m_buttons.end(), other);
  if (!other || at == m_buttons.end())
    m_buttons.insert(before ? m_buttons.begin() : m_buttons.end(), button);
  else
    m_buttons.insert(before ? at : at + 1, button);
  return true;
}

bool MenusAndToolBar::SetButtonExecute(HostToolButton button, HostCallback callback, void* clientData,
                                       const Callbacks& callbacks) {
  ButtonRecord* record = MutableButton(button);
  return record && Bind(&record->execute, callback, clientData, callbacks);
}

bool MenusAndToolBar::SetButtonEnable(HostToolButton button, HostCallback callback, void* clientData,
                                      const Callbacks& callbacks) {
  ButtonRecord* record = MutableButton(button);
  return record && Bind(&record->enable, callback, clientData, callbacks);
}

bool MenusAndToolBar::SetButtonHelpText(HostToolButton button, const std::string& text) {
  ButtonRecord* record = MutableButton(button);
  if (!record) return false;
  record->tooltip = text;
  return true;
}

void MenusAndToolBar::ListMenu(HostMenu menu, int depth, std::string* out) const {
  const MenuRecord* record = Menu(menu);
  *out += std::string(2 * depth, ' ') + "menu " + QuotedText(record->name) + " " + QuotedText(record->title) + "\n";
  for (HostMenuItem item : record->items) {
    const MenuItemRecord* itemRecord = Item(item);
    *out += std::string(2 * depth + 2, ' ') + "item " + QuotedText(itemRecord->name) + " " + QuotedText(itemRecord->title) +
            "\n";
    if (Menu(itemRecord->submenu)) ListMenu(itemRecord->submenu, depth + 2, out);
  }
}

std::string MenusAndToolBar::Listing() const {
  std::string out;
  for (HostMenu menu : m_barMenus) ListMenu(menu, 0, &out);
  out += "toolbar\n";
  for (HostToolButton button : m_buttons) {
    const ButtonRecord* record = Button(button);
    if (record->isSeparator)
      out += "  separator " + QuotedText(record->name) + "\n";
    else
      out += "  button " + QuotedText(record->name) + " " + QuotedText(record->tooltip) + "\n";
  }
  return out;
}

bool MenusAndToolBar::HasAction(const std::string& action) const {
  if (action.compare(0, sizeof kButtonPrefix - 1, kButtonPrefix) == 0)
    return FindButton(action.substr(sizeof kButtonPrefix - 1)) != nullptr;
  return FindItem(action) != nullptr;
}

MenusAndToolBar::ActionResult MenusAndToolBar::Perform(const std::string& action, const Callbacks& callbacks) {
  if (action.compare(0, sizeof kButtonPrefix - 1, kButtonPrefix) == 0) {
    HostToolButton button = FindButton(action.substr(sizeof kButtonPrefix - 1));
    if (!button) return kActionUnknown;
    // Copies: the routines may change the toolbar while they run.
    ButtonRecord record = *Button(button);
    return Choose(record.enable, record.execute, callbacks);
  }
  HostMenuItem item = FindItem(action);
  if (!item) return kActionUnknown;
  MenuItemRecord record = *Item(item);
  return Choose(record.enable, record.execute, callbacks);
}

namespace ops {

namespace {

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

HostMenuBar HostAppGetMenuBar(void) {
  Host* host = Host::Current();
  return host && !host->options().noMenuBar ? host->menus().menuBar() : nullptr;
}

HostToolBar HostAppGetToolBar(void) {
  Host* host = Host::Current();
  return host && !host->options().noToolBar ? host->menus().toolBar() : nullptr;
}

HostMenu HostMenuBarAcquireMenuByName(HostMenuBar menuBar, const char* name) {
  Host* host = Host::Current();
  if (!host || !name) return nullptr;
  if (menuBar != host->menus().menuBar()) host->Note("AcroView 71 was given no menu bar of the host");
  return host->menus().AcquireMenuByName(menuBar, name);
}

void HostMenuBarAddMenu(HostMenuBar menuBar, HostMenu menu, int32_t position) {
  Host* host = Host::Current();
  if (host && !host->menus().AddMenuToBar(menuBar, menu, position))
    host->Note("AcroView 77 cannot add that menu to the menu bar");
}

HostMenu HostMenuNew(const char* title, const char* name, HostExtensionId owner) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  return host->menus().NewMenu(Text(title), Text(name), owner);
}

void HostMenuRelease(HostMenu menu) {
  Host* host = Host::Current();
  if (host && !host->menus().ReleaseMenu(menu)) host->Note("AcroView 80 was given a menu that is not acquired");
}

void HostMenuAddMenuItem(HostMenu menu, HostMenuItem item, int32_t position) {
  Host* host = Host::Current();
  if (host && !host->menus().AddItem(menu, item, position))
    host->Note("AcroView 89 cannot add that item to that menu");
}

HostMenuItem HostMenuItemNew(const char* title, const char* name, HostMenu submenu, HostBool longMenusOnly,
                             char shortcut, uint16_t flags, void* icon, HostExtensionId owner) {
  Host* host = Host::Current();
  if (!host || Lacks(host->options().failNewItems, Text(name))) return nullptr;
  HostMenuItem item =
      host->menus().NewItem(Text(title), Text(name), submenu, longMenusOnly != 0, shortcut, flags, icon, owner);
  if (!item) host->Note("AcroView 90 cannot make an item with that submenu");
  return item;
}

void HostMenuItemSetExecuteProc(HostMenuItem item, HostCallback proc, void* clientData) {
  Host* host = Host::Current();
  if (host && !host->menus().SetItemExecute(item, proc, clientData, host->callbacks()))
    host->Note("AcroView 99 was given an unknown item or callback");
}

void HostMenuItemSetEnableProc(HostMenuItem item, HostCallback proc, void* clientData) {
  Host* host = Host::Current();
  if (host && !host->menus().SetItemEnable(item, proc, clientData, host->callbacks()))
    host->Note("AcroView 100 was given an unknown item or callback");
}

HostToolButton HostToolBarGetButtonByName(HostToolBar toolBar, HostAtom name) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  if (toolBar != host->menus().toolBar()) host->Note("AcroView 163 was given no toolbar of the host");
  return host->menus().ButtonByName(toolBar, name);
}

void HostToolBarAddButton(HostToolBar toolBar, HostToolButton button, HostBool before, HostToolButton other) {
  Host* host = Host::Current();
  if (host && !host->menus().AddButton(toolBar, button, before != 0, other))
    host->Note("AcroView 165 cannot add that button to the toolbar");
}

HostToolButton HostToolButtonNew(HostAtom name, HostBitmap icon, HostBool longMenusOnly, HostBool isSeparator) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  HostToolButton button = host->menus().NewButton(name, icon, longMenusOnly != 0, isSeparator != 0);
  if (!button) host->Note("AcroView 169 was given no atom for the button's name");
  return button;
}

void HostToolButtonSetExecuteProc(HostToolButton button, HostCallback proc, void* clientData) {
  Host* host = Host::Current();
  if (host && !host->menus().SetButtonExecute(button, proc, clientData, host->callbacks()))
    host->Note("AcroView 175 was given an unknown button or callback");
}

void HostToolButtonSetEnableProc(HostToolButton button, HostCallback proc, void* clientData) {
  Host* host = Host::Current();
  if (host && !host->menus().SetButtonEnable(button, proc, clientData, host->callbacks()))
    host->Note("AcroView 176 was given an unknown button or callback");
}

void HostToolButtonSetHelpText(HostToolButton button, const char* text) {
  Host* host = Host::Current();
  if (host && !host->menus().SetButtonHelpText(button, Text(text)))
    host->Note("AcroView 214 was given an unknown button");
}

}  // namespace ops
}  // namespace acrohost
