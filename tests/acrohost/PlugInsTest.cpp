// A plug-in entered in the test's own process through the fixture: the entry protocol, the
// stages and the plug-in's items, as tests of the plug-in's own code use them.
#include <gtest/gtest.h>

#include <string>

#include "HostFixture.h"
#include "TestSupport.h"

extern "C" HostBool PlugInMain(uint32_t offered, uint32_t* accepted, HostSetUpProc* setUp, HostEntryData* entry);

namespace {

using acrohost::MenusAndToolBar;
using testing_support::HostFixture;

TEST(InProcessPlugIn, IsEnteredAndItsItemsRun) {
  HostFixture fixture;
  std::string error;
  ASSERT_TRUE(fixture.EnterPlugIn("TestPlugIn", PlugInMain, nullptr, &error)) << error;
  const acrohost::PlugInRecord& plugIn = fixture.host().plugIns().plugIns().at(0);
  EXPECT_EQ(plugIn.version, 0x20000u);
  EXPECT_EQ(*fixture.host().atoms().Text(plugIn.extensionName), "Test:PlugIn");
  EXPECT_EQ(fixture.host().menus().Item(fixture.host().menus().FindItem("Test:Hello"))->owner, plugIn.extension);
  EXPECT_EQ(fixture.OutstandingMenus(), 0);  // the plug-in released the menu it looked up

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(fixture.Perform("Test:Hello"), MenusAndToolBar::kActionRan);
  EXPECT_EQ(fixture.Perform("button:Test:Button"), MenusAndToolBar::kActionRan);
  EXPECT_EQ(fixture.Perform("Test:Disabled"), MenusAndToolBar::kActionDisabled);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "hello: version 9.0, no document\nbutton ran\n");
}

TEST(InProcessPlugIn, AFailingStepLeavesItOutWithTheReason) {
  struct Case {
    const char* step;
    const char* reason;
  };
  const Case cases[] = {
      {"setup", "plug-in TestPlugIn: set-up failed"},
      {"handshake", "plug-in TestPlugIn: handshake failed"},
      {"init", "plug-in TestPlugIn: init failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    testing_support::ScopedEnv fail("TEST_PLUGIN_FAIL", c.step);
    HostFixture fixture;
    std::string error;
    EXPECT_FALSE(fixture.EnterPlugIn("TestPlugIn", PlugInMain, nullptr, &error));
    EXPECT_EQ(error, c.reason);
    EXPECT_EQ(fixture.host().menus().FindItem("Test:Hello"), nullptr);
  }
}

}  // namespace
