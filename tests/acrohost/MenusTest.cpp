// The menu bar and the toolbar as a plug-in's init routine builds on them, and the user's choice
// of an item or a button.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HostFixture.h"
#include "host/HostCalls.h"

namespace {

using acrohost::MenusAndToolBar;
using testing_support::HostFixture;

const HostExtensionId kOwner = reinterpret_cast<HostExtensionId>(uintptr_t{0x4242});

std::string gRan;
void Record(void* clientData) { gRan += static_cast<const char*>(clientData); }
HostBool Yes(void*) { return 1; }
HostBool No(void*) { return 0; }
HostCallback Make(void (*routine)(void*)) { return HostCallbackCreate(kOwner, reinterpret_cast<HostRoutine>(routine)); }
HostCallback Make(HostBool (*routine)(void*)) {
  return HostCallbackCreate(kOwner, reinterpret_cast<HostRoutine>(routine));
}

// The names of the menu bar's menus, or of a menu's items, in order.
std::string BarNames(HostFixture& fixture) {
  std::string names;
  for (HostMenu menu : fixture.host().menus().barMenus()) names += fixture.host().menus().Menu(menu)->name + " ";
  return names;
}
std::string ItemNames(HostFixture& fixture, HostMenu menu) {
  std::string names;
  for (HostMenuItem item : fixture.host().menus().Menu(menu)->items) names += fixture.host().menus().Item(item)->name + " ";
  return names;
}
std::string ButtonNames(HostFixture& fixture) {
  std::string names;
  for (HostToolButton button : fixture.host().menus().toolBarButtons())
    names += fixture.host().menus().Button(button)->name + " ";
  return names;
}

TEST(Menus, HostMenusAreFoundByNameAndCountedUntilReleased) {
  HostFixture fixture;
  HostMenuBar bar = HostAppGetMenuBar();
  EXPECT_EQ(BarNames(fixture), "File Edit View Document Comments Forms Tools Advanced Window Help ");
  HostMenu usingExtensions = HostMenuBarAcquireMenuByName(bar, "UsingExtensions");  // a submenu of Help
  HostMenu aboutExtensions = HostMenuBarAcquireMenuByName(bar, "AboutExtensions");
  ASSERT_NE(usingExtensions, nullptr);
  ASSERT_NE(aboutExtensions, nullptr);
  EXPECT_EQ(HostMenuBarAcquireMenuByName(bar, "UsingExtensions"), usingExtensions);
  EXPECT_EQ(HostMenuBarAcquireMenuByName(bar, "NoSuchMenu"), nullptr);
  EXPECT_EQ(fixture.OutstandingMenus(), 3);
  HostMenuRelease(usingExtensions);
  HostMenuRelease(usingExtensions);
  HostMenuRelease(aboutExtensions);
  EXPECT_EQ(fixture.OutstandingMenus(), 0);
  EXPECT_TRUE(fixture.Notes().empty());
  HostMenuRelease(aboutExtensions);  // one release too many
  EXPECT_EQ(fixture.Notes().size(), 1u);
  EXPECT_EQ(fixture.OutstandingMenus(), 0);
}

TEST(Menus, PositionsCountFromZeroAndPastTheEndAppends) {
  struct Case {
    int32_t position;
    const char* bar;
  };
  const Case cases[] = {
      {8, "File Edit View Document Comments Forms Tools Advanced New Window Help "},
      {0, "New File Edit View Document Comments Forms Tools Advanced Window Help "},
      {-1, "New File Edit View Document Comments Forms Tools Advanced Window Help "},
      {10, "File Edit View Document Comments Forms Tools Advanced Window Help New "},
      {9999, "File Edit View Document Comments Forms Tools Advanced Window Help New "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    HostFixture fresh;
    HostMenu menu = HostMenuNew("New", "New", kOwner);
    HostMenuBarAddMenu(HostAppGetMenuBar(), menu, c.position);
    EXPECT_EQ(BarNames(fresh), c.bar);
  }

  HostFixture fixture;
  HostMenuBar bar = HostAppGetMenuBar();
  HostMenu menu = HostMenuNew("&Mine", "Mine", kOwner);
  HostMenuItem a = HostMenuItemNew("A", "A", nullptr, 1, 0, 0, nullptr, kOwner);
  HostMenuItem b = HostMenuItemNew("B", "B", nullptr, 0, 0, 0, nullptr, kOwner);
  HostMenuItem c = HostMenuItemNew("C", "C", nullptr, 0, 0, 0, nullptr, kOwner);
  HostMenuAddMenuItem(menu, a, 9999);
  HostMenuAddMenuItem(menu, b, 0);
  HostMenuAddMenuItem(menu, c, 1);
  EXPECT_EQ(ItemNames(fixture, menu), "B C A ");
  EXPECT_TRUE(fixture.host().menus().Item(a)->longMenusOnly);
  EXPECT_EQ(fixture.host().menus().Item(a)->owner, kOwner);
  EXPECT_EQ(fixture.host().menus().Menu(menu)->title, "&Mine");
  // An element goes to one place only.
  HostMenuAddMenuItem(menu, a, 0);
  HostMenuBarAddMenu(bar, menu, 0);
  HostMenuBarAddMenu(bar, menu, 0);
  EXPECT_EQ(ItemNames(fixture, menu), "B C A ");
  EXPECT_EQ(BarNames(fixture), "Mine File Edit View Document Comments Forms Tools Advanced Window Help ");
  EXPECT_EQ(fixture.Notes().size(), 2u);
}

TEST(Menus, ButtonsGoBeforeOrAfterAnother) {
  struct Case {
    bool before;
    const char* other;  // null: no other button
    const char* buttons;
  };
  const Case cases[] = {
      {true, "endToolsGroup", "Open Save Print Hand Select Mine endToolsGroup ZoomIn ZoomOut "},
      {false, "endToolsGroup", "Open Save Print Hand Select endToolsGroup Mine ZoomIn ZoomOut "},
      {true, nullptr, "Mine Open Save Print Hand Select endToolsGroup ZoomIn ZoomOut "},
      {false, nullptr, "Open Save Print Hand Select endToolsGroup ZoomIn ZoomOut Mine "},
  };
  for (const Case& c : cases) {
    HostFixture fixture;
    HostToolBar toolBar = HostAppGetToolBar();
    HostToolButton other = c.other ? HostToolBarGetButtonByName(toolBar, HostAtomFromString(c.other)) : nullptr;
    if (c.other) {
      ASSERT_NE(other, nullptr);
    }
    HostBitmap bitmap = reinterpret_cast<HostBitmap>(uintptr_t{0x777});
    HostToolButton button = HostToolButtonNew(HostAtomFromString("Mine"), bitmap, 1, 0);
    HostToolBarAddButton(toolBar, button, c.before ? 1 : 0, other);
    HostToolButtonSetHelpText(button, "Does mine");
    EXPECT_EQ(ButtonNames(fixture), c.buttons);
    const acrohost::ButtonRecord* record = fixture.host().menus().Button(button);
    EXPECT_EQ(record->icon, bitmap);
    EXPECT_TRUE(record->longMenusOnly);
    EXPECT_FALSE(record->isSeparator);
    EXPECT_EQ(record->tooltip, "Does mine");
    EXPECT_EQ(HostToolBarGetButtonByName(toolBar, HostAtomFromString("Mine")), button);
  }
  HostFixture fixture;
  EXPECT_EQ(HostToolBarGetButtonByName(HostAppGetToolBar(), HostAtomFromString("Nope")), nullptr);
  EXPECT_EQ(HostToolButtonNew(0, nullptr, 0, 0), nullptr);  // a button needs a name
}

TEST(Menus, OptionsTakeAwayHostMenusAndNewMenus) {
  acrohost::HostOptions options;
  options.lackingMenus = {"UsingExtensions", "Window"};
  options.failNewMenus = true;
  HostFixture fixture(options);
  HostMenuBar bar = HostAppGetMenuBar();
  EXPECT_EQ(HostMenuBarAcquireMenuByName(bar, "UsingExtensions"), nullptr);
  EXPECT_EQ(HostMenuBarAcquireMenuByName(bar, "Window"), nullptr);
  HostMenu about = HostMenuBarAcquireMenuByName(bar, "AboutExtensions");
  EXPECT_NE(about, nullptr);
  HostMenuRelease(about);
  EXPECT_EQ(HostMenuNew("Vantrell", "ADBE:VantrellMenu", kOwner), nullptr);
  EXPECT_EQ(BarNames(fixture), "File Edit View Document Comments Forms Tools Advanced Help ");
}

TEST(Menus, OptionsTakeAwayTheBarsHostButtonsAndNamedItems) {
  acrohost::HostOptions options;
  options.lackingButtons = {"endToolsGroup", "Print"};
  options.failNewItems = {"ADBE:Refused"};
  HostFixture fixture(options);
  EXPECT_EQ(ButtonNames(fixture), "Open Save Hand Select ZoomIn ZoomOut ");
  EXPECT_EQ(HostToolBarGetButtonByName(HostAppGetToolBar(), HostAtomFromString("endToolsGroup")), nullptr);
  EXPECT_EQ(HostMenuItemNew("Refused", "ADBE:Refused", nullptr, 0, 0, 0, nullptr, kOwner), nullptr);
  EXPECT_NE(HostMenuItemNew("Made", "ADBE:Made", nullptr, 0, 0, 0, nullptr, kOwner), nullptr);
  // Asked whenever needed: the bars go and come back with the options.
  fixture.host().options().noMenuBar = true;
  fixture.host().options().noToolBar = true;
  EXPECT_EQ(HostAppGetMenuBar(), nullptr);
  EXPECT_EQ(HostAppGetToolBar(), nullptr);
  fixture.host().options().noMenuBar = false;
  EXPECT_EQ(HostAppGetMenuBar(), fixture.host().menus().menuBar());
  EXPECT_TRUE(fixture.Notes().empty());
  // Looking up by name in no menu bar or toolbar of the host is noted.
  EXPECT_EQ(HostMenuBarAcquireMenuByName(nullptr, "Help"), nullptr);
  EXPECT_EQ(HostToolBarGetButtonByName(nullptr, HostAtomFromString("Open")), nullptr);
  EXPECT_EQ(fixture.Notes(), (std::vector<std::string>{"AcroView 71 was given no menu bar of the host",
                                                       "AcroView 163 was given no toolbar of the host"}));
}

TEST(Menus, AChoiceAsksTheEnableTestAndRunsTheItemWithItsClientData) {
  HostFixture fixture;
  HostMenu help = HostMenuBarAcquireMenuByName(HostAppGetMenuBar(), "UsingExtensions");
  static char a[] = "a", b[] = "b", c[] = "c", d[] = "d";
  struct Item {
    const char* name;
    HostCallback execute;
    void* data;
    HostCallback enable;
  };
  const Item items[] = {
      {"Run:Enabled", Make(Record), a, Make(Yes)},
      {"Run:Disabled", Make(Record), b, Make(No)},
      {"Run:NoTest", Make(Record), c, nullptr},
      {"Run:NoRoutine", nullptr, nullptr, Make(Yes)},
  };
  for (const Item& item : items) {
    HostMenuItem made = HostMenuItemNew(item.name, item.name, nullptr, 0, 0, 0, nullptr, kOwner);
    HostMenuItemSetExecuteProc(made, item.execute, item.data);
    HostMenuItemSetEnableProc(made, item.enable, item.data);
    HostMenuAddMenuItem(help, made, 9999);
  }
  HostMenuRelease(help);
  HostToolButton button = HostToolButtonNew(HostAtomFromString("Run:Button"), nullptr, 1, 0);
  HostToolBarAddButton(HostAppGetToolBar(), button, 1, nullptr);
  HostToolButtonSetExecuteProc(button, Make(Record), d);
  HostToolButtonSetEnableProc(button, Make(Yes), d);

  struct Case {
    const char* action;
    MenusAndToolBar::ActionResult result;
    const char* ran;
  };
  const Case cases[] = {
      {"Run:Enabled", MenusAndToolBar::kActionRan, "a"},
      {"Run:Disabled", MenusAndToolBar::kActionDisabled, ""},
      {"Run:NoTest", MenusAndToolBar::kActionRan, "c"},
      {"Run:NoRoutine", MenusAndToolBar::kActionRan, ""},
      {"button:Run:Button", MenusAndToolBar::kActionRan, "d"},
      {"button:Open", MenusAndToolBar::kActionRan, ""},  // a host button does nothing
      {"UsingExtensions", MenusAndToolBar::kActionRan, ""},
      {"Run:Nothing", MenusAndToolBar::kActionUnknown, ""},
      {"button:Nothing", MenusAndToolBar::kActionUnknown, ""},
      {"button:", MenusAndToolBar::kActionUnknown, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    gRan.clear();
    EXPECT_EQ(fixture.host().menus().HasAction(c.action), c.result != MenusAndToolBar::kActionUnknown);
    EXPECT_EQ(fixture.Perform(c.action), c.result);
    EXPECT_EQ(gRan, c.ran);
  }
}

TEST(Menus, CallbacksTheHostDidNotMakeAreRefused) {
  HostFixture fixture;
  HostMenuItem item = HostMenuItemNew("X", "X", nullptr, 0, 0, 0, nullptr, kOwner);
  HostMenuItemSetExecuteProc(item, reinterpret_cast<HostCallback>(uintptr_t{0x55}), nullptr);
  HostMenuItemSetExecuteProc(reinterpret_cast<HostMenuItem>(uintptr_t{0x55}), Make(Record), nullptr);
  EXPECT_EQ(fixture.host().menus().Item(item)->execute.callback, nullptr);
  EXPECT_EQ(fixture.Notes().size(), 2u);
}

TEST(Menus, TheListingShowsMenusItemsSubmenusAndButtons) {
  acrohost::HostOptions options;
  options.lackingMenus = {"File", "Edit", "View", "Document", "Comments", "Forms", "Tools", "Advanced", "Window"};
  HostFixture fixture(options);
  HostMenu about = HostMenuBarAcquireMenuByName(HostAppGetMenuBar(), "AboutExtensions");
  HostMenuAddMenuItem(about, HostMenuItemNew("Say \"hi\"\t", "My:About", nullptr, 0, 0, 0, nullptr, kOwner), 9999);
  HostMenuRelease(about);
  HostMenu mine = HostMenuNew("Mine", "My:Menu", kOwner);
  HostMenuAddMenuItem(mine, HostMenuItemNew("&Go", "My:Go", nullptr, 1, 0, 0, nullptr, kOwner), 9999);
  HostMenuBarAddMenu(HostAppGetMenuBar(), mine, 9999);
  std::string listing = fixture.host().menus().Listing();
  EXPECT_EQ(listing.substr(0, listing.find("toolbar\n")),
            "menu \"Help\" \"Help\"\n"
            "  item \"UsingExtensions\" \"Using Plug-ins\"\n"
            "    menu \"UsingExtensions\" \"Using Plug-ins\"\n"
            "  item \"AboutExtensions\" \"About Plug-ins\"\n"
            "    menu \"AboutExtensions\" \"About Plug-ins\"\n"
            "      item \"My:About\" \"Say \\\"hi\\\"\\x09\"\n"
            "menu \"My:Menu\" \"Mine\"\n"
            "  item \"My:Go\" \"&Go\"\n");
  // The toolbar follows, a button or separator a line (the program's tests read it whole).
  EXPECT_NE(listing.find("toolbar\n  button \"Open\" \"Open\"\n"), std::string::npos);
  EXPECT_NE(listing.find("\n  separator \"endToolsGroup\"\n"), std::string::npos);
}

TEST(Menus, HandlesAreNeverGivenOutTwice) {
  std::set<uintptr_t> handles;
  size_t made = 0;
  for (int round = 0; round < 2; ++round) {
    HostFixture fixture;  // a later host gives out none of an earlier one's handles either
    auto keep = [&](const void* handle) {
      handles.insert(reinterpret_cast<uintptr_t>(handle));
      ++made;
    };
    keep(HostAppGetMenuBar());
    keep(HostAppGetToolBar());
    for (int i = 0; i < 5; ++i) {
      keep(HostMenuNew("M", "M", kOwner));
      keep(HostMenuItemNew("I", "I", nullptr, 0, 0, 0, nullptr, kOwner));
      keep(HostToolButtonNew(HostAtomFromString("B"), nullptr, 0, 0));
      keep(HostCallbackCreate(kOwner, nullptr));
      keep(HostContainerNew());
    }
  }
  EXPECT_EQ(handles.size(), made);
  EXPECT_EQ(handles.count(0), 0u);
}

}  // namespace
