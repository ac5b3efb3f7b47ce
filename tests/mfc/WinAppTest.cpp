// The application class family: construction, destruction, and message maps as a class that
// declares its own map sees them.
#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "mfc/WinApp.h"

namespace {

int EntriesBeforeClosing(const AFX_MSGMAP* map) {
  int count = 0;
  while (map->entries[count].handler) ++count;
  return count;
}

// An application as a plug-in declares it: no data, an empty map of its own.
class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp(nullptr) {}
  virtual ~CTestApp();

  static int s_destroyed;

  DECLARE_MESSAGE_MAP()
};

int CTestApp::s_destroyed = 0;
CTestApp::~CTestApp() { ++s_destroyed; }

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
END_MESSAGE_MAP()

// A target with one command handler, to see entries land before the closing one.
class CCommandTarget : public CCmdTarget {
 public:
  void OnCommand() {}

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandTarget, CCmdTarget)
{0x0111, 0, 100, 100, 0, static_cast<AFX_PMSG>(&CCommandTarget::OnCommand)},
END_MESSAGE_MAP()

TEST(WinAppTest, DerivedApplicationHasItsOwnEmptyMapOverTheApplicationMap) {
  CTestApp app;
  const CCmdTarget& target = app;
  const AFX_MSGMAP* map = target.GetMessageMap();
  EXPECT_EQ(CTestApp::GetThisMessageMap(), map);
  EXPECT_EQ(0, EntriesBeforeClosing(map));
  EXPECT_EQ(0u, map->entries[0].message);
  ASSERT_NE(nullptr, map->getBaseMap);
  EXPECT_EQ(CWinApp::GetThisMessageMap(), map->getBaseMap());
}

TEST(WinAppTest, MapChainRunsDownToTheRootMap) {
  const AFX_MSGMAP* expected[] = {CWinApp::GetThisMessageMap(), CWinThread::GetThisMessageMap(),
                                  CCmdTarget::GetThisMessageMap()};
  const AFX_MSGMAP* map = CWinApp::GetThisMessageMap();
  for (const AFX_MSGMAP* step : expected) {
    ASSERT_EQ(step, map);
    EXPECT_EQ(0, EntriesBeforeClosing(map));
    map = map->getBaseMap ? map->getBaseMap() : nullptr;
  }
  EXPECT_EQ(nullptr, map);
}

TEST(WinAppTest, EntriesComeBeforeTheClosingEntry) {
  CCommandTarget target;
  const AFX_MSGMAP* map = target.GetMessageMap();
  ASSERT_EQ(1, EntriesBeforeClosing(map));
  EXPECT_EQ(100u, map->entries[0].id);
  EXPECT_EQ(CCmdTarget::GetThisMessageMap(), map->getBaseMap());
  EXPECT_EQ(nullptr, map->entries[1].handler);
}

TEST(WinAppTest, ApplicationIsBuiltAndDestroyedWithoutTouchingAnything) {
  DesktopReset();
  CTestApp::s_destroyed = 0;
  CObject* app = new CTestApp;
  EXPECT_EQ(nullptr, static_cast<CWinApp*>(app)->m_pszAppName);
  delete app;  // through the root class: the destructors are virtual
  EXPECT_EQ(1, CTestApp::s_destroyed);
  EXPECT_EQ(0, DesktopEventCount());

  char name[] = "Named";
  CWinApp named(name);
  name[0] = 'X';
  EXPECT_STREQ("Named", named.m_pszAppName);
}

}  // namespace
