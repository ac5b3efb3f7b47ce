// The About box of the GUI library shows the title it is given.
#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "gui/QNFGUIUtils.h"

namespace {

TEST(AboutTest, ShowsTheTitleOnce) {
  DesktopReset();
  QNFGUIUtils::About(CString("Vantrell for Acrobat 9 version 1.0"), nullptr);
  ASSERT_EQ(1, DesktopEventCount());
  char title[256];
  EXPECT_EQ(kDesktopAbout, DesktopEvent(0, title, sizeof title));
  EXPECT_STREQ("Vantrell for Acrobat 9 version 1.0", title);
}

}  // namespace
