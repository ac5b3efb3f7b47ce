// The About box, shown through the desktop.
#include "gui/QNFGUIUtils.h"

#include "desktop/Desktop.h"

void QNFGUIUtils::About(const CString& title, HWND* /*parent*/) { DesktopShowAbout(title.GetString()); }
