// Message maps: how a framework class names the commands and window messages it handles.
//
// Every class that declares a map with DECLARE_MESSAGE_MAP() owns one static table, defined
// between BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(). The table points to the
// map of its base class and lists its entries; the list always ends with a closing entry, whose
// handler is null, so a class that handles nothing has a list of that one entry. A message that
// no entry of a map takes goes on to the base map; the root map (CCmdTarget's) has no base.
#ifndef VANTRELL_MFC_MESSAGEMAP_H
#define VANTRELL_MFC_MESSAGEMAP_H

#include <windows.h>

class CCmdTarget;

// A handler, called on the object that owns the map.
typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
  UINT message;        // the window message; 0 in the closing entry
  UINT code;           // the notification or command code
  UINT id;             // the first command or control id
  UINT lastId;         // the last id of a range; id itself for a single one
  UINT_PTR signature;  // how the handler takes its arguments
  AFX_PMSG handler;    // null only in the closing entry
};

struct AFX_MSGMAP {
  // The base class's map; null for the root map. A function rather than a pointer, so that a map
  // may refer to one defined in another module without depending on the order of initialisation.
  const AFX_MSGMAP* (*getBaseMap)();
  const AFX_MSGMAP_ENTRY* entries;  // ends with the closing entry
};

// Inside a class derived from CCmdTarget: declares the class's own map and its accessor, which
// overrides the base class's. Both are public, so that the map can be inspected; declarations
// after the macro are public too.
#define DECLARE_MESSAGE_MAP()                    \
 public:                                         \
  static const AFX_MSGMAP* GetThisMessageMap();  \
  const AFX_MSGMAP* GetMessageMap() const override;

// At namespace scope, in one source file: defines the map of theClass, whose base map is that of
// baseClass. Entries, if any, go between this and END_MESSAGE_MAP().
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
    typedef baseClass TheBaseClass;                                                  \
    static const AFX_MSGMAP_ENTRY messageEntries[] = {
#define END_MESSAGE_MAP()                                                                  \
      {0, 0, 0, 0, 0, nullptr}};                                                           \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
    return &messageMap;                                                                    \
  }

#endif
