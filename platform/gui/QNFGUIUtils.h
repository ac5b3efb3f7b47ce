// The GUI library QNFGUI80: dialogs that the maker's plug-ins share.
#ifndef VANTRELL_GUI_QNFGUIUTILS_H
#define VANTRELL_GUI_QNFGUIUTILS_H

#include <windows.h>

#include "mfc/CStringT.h"

// The class's members are exported from the library and imported by its users.
#if defined(_WIN32)
#if defined(QNFGUI_BUILDING)
#define QNFGUI_API __declspec(dllexport)
#else
#define QNFGUI_API __declspec(dllimport)
#endif
#else
#define QNFGUI_API __attribute__((visibility("default")))
#endif

class QNFGUI_API QNFGUIUtils {
 public:
  // Shows the About box with the title; returns when the user has closed it. The parent window
  // may be null (no parent).
  static void About(const CString& title, HWND* parent);
};

#endif
