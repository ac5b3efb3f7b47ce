// The framework's application class and its bases: CObject, CCmdTarget, CWinThread, CWinApp.
//
// A module that is built on the framework holds one static object of a class derived from
// CWinApp. Constructing and destroying it touch nothing outside the object: no message loop,
// no window, no call into the module that holds it.
#ifndef VANTRELL_MFC_WINAPP_H
#define VANTRELL_MFC_WINAPP_H

#include <windows.h>

#include "mfc/MessageMap.h"

// The root of the framework's classes. Objects are not copied.
class CObject {
 public:
  virtual ~CObject();
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

 protected:
  CObject();
};

// An object that can receive commands and messages: it owns the root message map, which has no
// base map and no entries.
class CCmdTarget : public CObject {
 public:
  CCmdTarget();
  virtual ~CCmdTarget();

  static const AFX_MSGMAP* GetThisMessageMap();
  // The map of the object's most derived class that declares one.
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// A thread of the framework. Constructing one starts nothing.
class CWinThread : public CCmdTarget {
 public:
  CWinThread();
  virtual ~CWinThread();

  DECLARE_MESSAGE_MAP()
};

// The application. Its map has no entries of its own. When the environment variable
// VANTRELL_MFC_LOG names a file, construction and destruction each append a line to it:
// "CWinApp constructed name=NAME" and "CWinApp destroyed name=NAME" ("(none)" without a name).
class CWinApp : public CWinThread {
 public:
  // appName may be null: the application then has no name of its own.
  explicit CWinApp(LPCSTR appName = nullptr);
  virtual ~CWinApp();

  // A copy of the name given to the constructor, or null.
  const char* m_pszAppName;

  DECLARE_MESSAGE_MAP()
};

#endif
