#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "ShellFixture.h"
#include "TestSupport.h"
#include "desktop/Desktop.h"
#include "shell/MenusAndToolbar.h"

using namespace testing_support;

namespace {

acrohost::MenusAndToolBar& Menus(EnteredShell& shell) { return shell.host().host().menus(); }

const acrohost::MenuItemRecord* Item(EnteredShell& shell, const char* name) {
  return Menus(shell).Item(Menus(shell).FindItem(name));
}

// The device-independent bitmap behind the toolbar's bitmap. On Windows a loaded bitmap is the
// display's own copy: there it is the resource of the module it was loaded from (the test program),
// in US English, and the loaded bitmap has its size.
std::string ToolbarBitmapBytes(HostBitmap bitmap) {
#if defined(_WIN32)
  BITMAP loaded;
  EXPECT_EQ(static_cast<int>(sizeof loaded), GetObjectA(static_cast<HBITMAP>(bitmap), sizeof loaded, &loaded));
  EXPECT_EQ(20, loaded.bmWidth);
  EXPECT_EQ(20, loaded.bmHeight);
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(102), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
  if (!data) return std::string();
  return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module, resource));
#else
  size_t size = 0;
  const unsigned char* bytes = Win32BitmapBytes(static_cast<HBITMAP>(bitmap), &size);
  return bytes ? std::string(reinterpret_cast<const char*>(bytes), size) : std::string();
#endif
}

TEST(Menus, InstallsTheHostMenuItemsTheButtonAndTheOwnMenu) {
  EnteredShell shell;
  ASSERT_TRUE(shell.entered()) << shell.error();
  acrohost::MenusAndToolBar& menus = Menus(shell);

  // The host-menu items, last in their host menus, shown with the short menus too.
  const struct {
    const char* name;
    const char* title;
    const char* menu;
  } hostItems[] = {{"ADBE:Vantrell", "Vantrell", "UsingExtensions"},
                   {"ADBE:AboutVantrell", "Vantrell...", "AboutExtensions"}};
  for (const auto& expected : hostItems) {
    const acrohost::MenuItemRecord* item = Item(shell, expected.name);
    ASSERT_NE(nullptr, item) << expected.name;
    EXPECT_EQ(expected.title, item->title);
    EXPECT_FALSE(item->longMenusOnly);
    EXPECT_EQ(nullptr, item->enable.callback);
    EXPECT_NE(nullptr, item->execute.callback);
    const acrohost::MenuRecord* menu = menus.Menu(item->menu);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(expected.menu, menu->name);
    EXPECT_EQ(menus.FindItem(expected.name), menu->items.back());
  }

  // The own menu at position 8 of the menu bar, with its three items in order.
  HostMenu own = menus.FindMenu("ADBE:VantrellMenu");
  ASSERT_NE(nullptr, own);
  const std::vector<HostMenu>& bar = menus.barMenus();
  ASSERT_GT(bar.size(), 8u);
  EXPECT_EQ(own, bar[8]);
  EXPECT_EQ("Vantrell", menus.Menu(own)->title);
  std::vector<std::string> titles, names;
  for (HostMenuItem item : menus.Menu(own)->items) {
    titles.push_back(menus.Item(item)->title);
    names.push_back(menus.Item(item)->name);
    EXPECT_TRUE(menus.Item(item)->longMenusOnly);
    EXPECT_NE(nullptr, menus.Item(item)->execute.callback);
    EXPECT_NE(nullptr, menus.Item(item)->enable.callback);
  }
  EXPECT_EQ((std::vector<std::string>{"&Export", "&Help", "&About"}), titles);
  EXPECT_EQ((std::vector<std::string>{"ADBE:Vantrell_Export", "ADBE:Vantrell_Help", "ADBE:Vantrell_About"}), names);

  // The button, right before the host's "endToolsGroup", with its tooltip.
  const std::vector<HostToolButton>& buttons = menus.toolBarButtons();
  HostToolButton button = menus.FindButton("ADBE:Vantrell");
  ASSERT_NE(nullptr, button);
  size_t at = 0;
  while (at < buttons.size() && buttons[at] != button) ++at;
  ASSERT_LT(at + 1, buttons.size());
  EXPECT_EQ("endToolsGroup", menus.Button(buttons[at + 1])->name);
  EXPECT_EQ("Activates Vantrell command", menus.Button(button)->tooltip);
  EXPECT_TRUE(menus.Button(button)->longMenusOnly);
  EXPECT_NE(nullptr, menus.Button(button)->icon);

  EXPECT_EQ(0, shell.host().OutstandingMenus());
  EXPECT_TRUE(EnteredShell::Alerts().empty());
}

TEST(Menus, EachCommandIsReachedFromBothOfItsPlaces) {
  EnteredShell shell;
  ASSERT_TRUE(shell.entered()) << shell.error();
  DesktopSetOpenableExtensions(".nothing");
  // Help through either place: the help file beside the test program is missing, so each
  // attempt shows the help alert.
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:Vantrell"));
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:Vantrell_Help"));
  // About through either place.
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:AboutVantrell"));
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:Vantrell_About"));
  // Export through either place: the user cancels the save dialog each time.
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("button:ADBE:Vantrell"));
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:Vantrell_Export"));

  EXPECT_EQ((std::vector<std::string>{"Error displaying Vantrell for Acrobat help file.",
                                      "Error displaying Vantrell for Acrobat help file."}),
            EnteredShell::Alerts());
  EXPECT_EQ((std::vector<std::string>{"Vantrell for Acrobat 9 version 1.0", "Vantrell for Acrobat 9 version 1.0"}),
            EnteredShell::EventsOfKind(kDesktopAbout));
  EXPECT_EQ(2u, EnteredShell::EventsOfKind(kDesktopSaveDialog).size());
}

TEST(Menus, HostWithoutUsingExtensionsStillGetsEverythingElse) {
  acrohost::HostOptions options;
  options.lackingMenus = {"UsingExtensions"};
  EnteredShell shell(options);
  ASSERT_TRUE(shell.entered()) << shell.error();
  EXPECT_EQ(nullptr, Menus(shell).FindItem("ADBE:Vantrell"));
  EXPECT_NE(nullptr, Menus(shell).FindItem("ADBE:AboutVantrell"));
  EXPECT_NE(nullptr, Menus(shell).FindButton("ADBE:Vantrell"));
  EXPECT_NE(nullptr, Menus(shell).FindItem("ADBE:Vantrell_Help"));
  EXPECT_TRUE(EnteredShell::Alerts().empty());
  EXPECT_EQ(0, shell.host().OutstandingMenus());
}

TEST(Menus, OwnMenuThatCannotBeMadeGivesOneAlertAndLeavesTheRestWorking) {
  acrohost::HostOptions options;
  options.failNewMenus = true;
  EnteredShell shell(options);
  ASSERT_TRUE(shell.entered()) << shell.error();
  EXPECT_EQ((std::vector<std::string>{"Unable to create the Vantrell menu"}), EnteredShell::Alerts());
  EXPECT_EQ(nullptr, Menus(shell).FindItem("ADBE:Vantrell_Export"));
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("ADBE:AboutVantrell"));
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("button:ADBE:Vantrell"));
  EXPECT_EQ(1u, EnteredShell::EventsOfKind(kDesktopAbout).size());
  EXPECT_EQ(1u, EnteredShell::EventsOfKind(kDesktopSaveDialog).size());
}

// A module the test program has loaded that carries no bitmap resource.
void* ModuleWithoutBitmap() {
#if defined(_WIN32)
  return GetModuleHandleA("desktop.dll");
#else
  return GetModuleHandleA("libdesktop.so");
#endif
}

// A host that lacks something the init routine asks for, and what the plug-in installs in it.
struct DegradedHost {
  const char* name;
  acrohost::HostOptions options;
  bool withoutBitmap;
  std::vector<std::string> hostMenuItems;  // internal names
  bool ownMenuOnBar;
  std::vector<std::string> ownMenu;        // its items' internal names, top down
  const char* buttonBefore;                // the button after ours, "" when ours is last, null when not on the toolbar
};

void PrintTo(const DegradedHost& host, std::ostream* out) { *out << host.name; }

std::vector<DegradedHost> DegradedHosts() {
  const std::vector<std::string> hostItems{"ADBE:Vantrell", "ADBE:AboutVantrell"};
  const std::vector<std::string> ownItems{"ADBE:Vantrell_Export", "ADBE:Vantrell_Help", "ADBE:Vantrell_About"};
  std::vector<DegradedHost> hosts;
  DegradedHost host{"NoHelpItem", {}, false, hostItems, true, {"ADBE:Vantrell_Export", "ADBE:Vantrell_About"}, "endToolsGroup"};
  host.options.failNewItems = {"ADBE:Vantrell_Help"};
  hosts.push_back(host);
  host = {"NoOwnMenuItems", {}, false, hostItems, true, {}, "endToolsGroup"};
  host.options.failNewItems = ownItems;
  hosts.push_back(host);
  host = {"NoEndToolsGroup", {}, false, hostItems, true, ownItems, ""};
  host.options.lackingButtons = {"endToolsGroup"};
  hosts.push_back(host);
  hosts.push_back({"NoBitmap", {}, true, hostItems, true, ownItems, "endToolsGroup"});
  host = {"NoBitmapNorEndToolsGroup", {}, true, hostItems, true, ownItems, ""};
  host.options.lackingButtons = {"endToolsGroup"};
  hosts.push_back(host);
  host = {"NoMenuBar", {}, false, {}, false, {}, "endToolsGroup"};
  host.options.noMenuBar = true;
  hosts.push_back(host);
  host = {"NoToolBar", {}, false, hostItems, true, ownItems, nullptr};
  host.options.noToolBar = true;
  hosts.push_back(host);
  return hosts;
}

class MenusInADegradedHost : public ::testing::TestWithParam<DegradedHost> {};

TEST_P(MenusInADegradedHost, InstallsWhatTheHostCanHoldWithoutAnAlert) {
  const DegradedHost& expected = GetParam();
  EnteredShell shell(expected.options, expected.withoutBitmap ? ModuleWithoutBitmap() : GetModuleHandleA(nullptr));
  ASSERT_TRUE(shell.entered()) << shell.error();
  acrohost::MenusAndToolBar& menus = Menus(shell);
  EXPECT_TRUE(EnteredShell::Alerts().empty());
  // Nothing the host answered null was passed back to it.
  EXPECT_EQ(std::vector<std::string>(), shell.host().Notes());
  EXPECT_EQ(0, shell.host().OutstandingMenus());

  for (const char* name : {"ADBE:Vantrell", "ADBE:AboutVantrell"}) {
    bool wanted = std::find(expected.hostMenuItems.begin(), expected.hostMenuItems.end(), name) !=
                  expected.hostMenuItems.end();
    EXPECT_EQ(wanted, Item(shell, name) != nullptr) << name;
  }

  HostMenu own = menus.FindMenu("ADBE:VantrellMenu");
  if (!expected.ownMenuOnBar) {
    EXPECT_EQ(nullptr, own);
  } else {
    ASSERT_NE(nullptr, own);
    ASSERT_GT(menus.barMenus().size(), 8u);
    EXPECT_EQ(own, menus.barMenus()[8]);
    std::vector<std::string> names;
    for (HostMenuItem item : menus.Menu(own)->items) {
      names.push_back(menus.Item(item)->name);
      EXPECT_NE(nullptr, menus.Item(item)->execute.callback);
      EXPECT_NE(nullptr, menus.Item(item)->enable.callback);
    }
    EXPECT_EQ(expected.ownMenu, names);
  }

  HostToolButton button = menus.FindButton("ADBE:Vantrell");
  if (!expected.buttonBefore) {
    EXPECT_EQ(nullptr, button);
    return;
  }
  ASSERT_NE(nullptr, button);
  const std::vector<HostToolButton>& buttons = menus.toolBarButtons();
  size_t at = std::find(buttons.begin(), buttons.end(), button) - buttons.begin();
  EXPECT_EQ(expected.buttonBefore, at + 1 < buttons.size() ? menus.Button(buttons[at + 1])->name : std::string());
  EXPECT_EQ(expected.withoutBitmap, menus.Button(button)->icon == nullptr);
  EXPECT_EQ("Activates Vantrell command", menus.Button(button)->tooltip);
  // The button runs Export: the save dialog opens (and is cancelled).
  EXPECT_EQ(acrohost::MenusAndToolBar::kActionRan, shell.host().Perform("button:ADBE:Vantrell"));
  EXPECT_EQ(1u, EnteredShell::EventsOfKind(kDesktopSaveDialog).size());
}

INSTANTIATE_TEST_SUITE_P(Table, MenusInADegradedHost, ::testing::ValuesIn(DegradedHosts()),
                         [](const ::testing::TestParamInfo<DegradedHost>& info) { return std::string(info.param.name); });

TEST(ToolbarBitmap, IsTheDeviceIndependentBitmapOfTheResource) {
  EnteredShell shell;
  ASSERT_TRUE(shell.entered()) << shell.error();
  HostBitmap bitmap = LoadToolbarBitmap();
  ASSERT_NE(nullptr, bitmap);
  const std::string resource = ToolbarBitmapBytes(bitmap);
  ASSERT_EQ(344u, resource.size());
  std::string file = ReadFile(SourceDir() + "/resources/Toolbar.bmp");
  ASSERT_EQ(358u, file.size());
  EXPECT_EQ(file.substr(14), resource);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(resource.data());

  auto word = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
  EXPECT_EQ(40, word(0));
  EXPECT_EQ(20, word(4));
  EXPECT_EQ(20, word(8));
  EXPECT_EQ(0x00040001, word(12));  // one plane, four bits per pixel
  EXPECT_EQ(0, word(16));
  EXPECT_EQ(240, word(20));
  EXPECT_EQ(16, word(32));
  EXPECT_EQ(16, word(36));
  const unsigned rgb[16] = {0x000000, 0xBF0000, 0x00BF00, 0xBFBF00, 0x0000BF, 0xBF00BF, 0x00BFBF, 0xC0C0C0,
                            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (int i = 0; i < 16; ++i) {
    const unsigned char* entry = bytes + 40 + 4 * i;
    EXPECT_EQ(rgb[i], static_cast<unsigned>(entry[2] << 16 | entry[1] << 8 | entry[0])) << i;
    EXPECT_EQ(0, entry[3]);
  }
  // Pixel (x, y) from the top: rows are stored bottom row first, two pixels a byte.
  auto pixel = [&](int x, int y) {
    unsigned char pair = bytes[104 + 12 * (19 - y) + x / 2];
    return x % 2 ? pair & 0xF : pair >> 4;
  };
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(0, bytes[104 + 12 * y + 10]);
    EXPECT_EQ(0, bytes[104 + 12 * y + 11]);
    for (int x = 0; x < 20; ++x) {
      int edge = std::min(std::min(x, y), std::min(19 - x, 19 - y));
      int p = pixel(x, y);
      if (edge < 2)
        EXPECT_EQ(7, p) << x << "," << y;
      else if (edge == 2)
        EXPECT_EQ(15, p) << x << "," << y;
      else if (edge == 3)
        EXPECT_EQ(12, p) << x << "," << y;  // the blue margin of the square
      else
        EXPECT_TRUE(p == 12 || p == 15 || p == 7) << x << "," << y;
    }
  }
}

}  // namespace
