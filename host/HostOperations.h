// Every host operation that the system calls: its table, its selector and its signature.
//
// HOST_OPERATIONS(X) expands X(table, selector, name, result, parameters, arguments) once per
// operation. The plug-in's typed calls (HostCalls.h) and the stand-in host's tables are both made
// from this one list, so the two sides cannot disagree on a signature.
#ifndef VANTRELL_HOST_HOSTOPERATIONS_H
#define VANTRELL_HOST_HOSTOPERATIONS_H

#include "host/HostTypes.h"

// clang-format off
#define HOST_OPERATIONS(X) \
  /* Core */ \
  X(Core, 5, HostAtomFromString, HostAtom, (const char* text), (text)) \
  X(Core, 8, HostCallbackCreate, HostCallback, (HostExtensionId extension, HostRoutine routine), (extension, routine)) \
  X(Core, 10, HostGetTable, HostTable, (HostAtom name, uint32_t version), (name, version)) \
  /* AcroSupport */ \
  X(AcroSupport, 1, HostMemAlloc, void*, (size_t size), (size)) \
  X(AcroSupport, 3, HostMemFree, void, (void* block), (block)) \
  X(AcroSupport, 25, HostFileSysReleasePath, void, (HostFileSys fileSys, HostPathName path), (fileSys, path)) \
  X(AcroSupport, 43, HostStreamRead, int32_t, (char* buffer, int32_t itemSize, int32_t count, HostStream stream), (buffer, itemSize, count, stream)) \
  X(AcroSupport, 45, HostStreamClose, int32_t, (HostStream stream), (stream)) \
  X(AcroSupport, 52, HostFileSysCreatePath, HostPathName, (HostFileSys fileSys, HostAtom pathType, const char* path, void* relativeTo), (fileSys, pathType, path, relativeTo)) \
  X(AcroSupport, 103, HostTableGetVersion, uint32_t, (HostTable table), (table)) \
  X(AcroSupport, 123, HostFileSysForPath, HostFileSys, (HostAtom pathType, const char* path), (pathType, path)) \
  /* Cos */ \
  X(Cos, 2, HostCosObjGetType, int32_t, (HostCosObj object), (object)) \
  X(Cos, 19, HostCosNameValue, HostAtom, (HostCosObj name), (name)) \
  X(Cos, 21, HostCosDictGet, HostCosObj, (HostCosObj dictionary, HostAtom key), (dictionary, key)) \
  X(Cos, 32, HostCosStreamOpen, HostStream, (HostCosObj stream, int32_t mode), (stream, mode)) \
  /* PDModel */ \
  X(PDModel, 15, HostAnnotIsValid, HostBool, (HostAnnot annot), (annot)) \
  X(PDModel, 16, HostAnnotGetSubtype, HostAtom, (HostAnnot annot), (annot)) \
  X(PDModel, 26, HostAnnotGetCosObj, HostCosObj, (HostAnnot annot), (annot)) \
  X(PDModel, 83, HostDocGetNumPages, int32_t, (HostDoc doc), (doc)) \
  X(PDModel, 84, HostDocAcquirePage, HostPage, (HostDoc doc, int32_t index), (doc, index)) \
  X(PDModel, 152, HostPageGetAnnot, HostAnnot, (HostPage page, int32_t index), (page, index)) \
  X(PDModel, 157, HostPageGetNumAnnots, int32_t, (HostPage page), (page)) \
  /* AcroView */ \
  X(AcroView, 5, HostAlertNote, void, (const char* text), (text)) \
  X(AcroView, 7, HostAppGetVersion, void, (int16_t* major, int16_t* minor), (major, minor)) \
  X(AcroView, 12, HostAppGetActiveDocView, HostDocumentView, (void), ()) \
  X(AcroView, 16, HostAppGetMenuBar, HostMenuBar, (void), ()) \
  X(AcroView, 17, HostAppGetToolBar, HostToolBar, (void), ()) \
  X(AcroView, 48, HostDocViewGetDoc, HostDoc, (HostDocumentView view), (view)) \
  X(AcroView, 71, HostMenuBarAcquireMenuByName, HostMenu, (HostMenuBar menuBar, const char* name), (menuBar, name)) \
  X(AcroView, 77, HostMenuBarAddMenu, void, (HostMenuBar menuBar, HostMenu menu, int32_t position), (menuBar, menu, position)) \
  X(AcroView, 78, HostMenuNew, HostMenu, (const char* title, const char* name, HostExtensionId owner), (title, name, owner)) \
  X(AcroView, 80, HostMenuRelease, void, (HostMenu menu), (menu)) \
  X(AcroView, 89, HostMenuAddMenuItem, void, (HostMenu menu, HostMenuItem item, int32_t position), (menu, item, position)) \
  X(AcroView, 90, HostMenuItemNew, HostMenuItem, (const char* title, const char* name, HostMenu submenu, HostBool longMenusOnly, char shortcut, uint16_t flags, void* icon, HostExtensionId owner), (title, name, submenu, longMenusOnly, shortcut, flags, icon, owner)) \
  X(AcroView, 99, HostMenuItemSetExecuteProc, void, (HostMenuItem item, HostCallback proc, void* clientData), (item, proc, clientData)) \
  X(AcroView, 100, HostMenuItemSetEnableProc, void, (HostMenuItem item, HostCallback proc, void* clientData), (item, proc, clientData)) \
  X(AcroView, 163, HostToolBarGetButtonByName, HostToolButton, (HostToolBar toolBar, HostAtom name), (toolBar, name)) \
  X(AcroView, 165, HostToolBarAddButton, void, (HostToolBar toolBar, HostToolButton button, HostBool before, HostToolButton other), (toolBar, button, before, other)) \
  X(AcroView, 169, HostToolButtonNew, HostToolButton, (HostAtom name, HostBitmap icon, HostBool longMenusOnly, HostBool isSeparator), (name, icon, longMenusOnly, isSeparator)) \
  X(AcroView, 175, HostToolButtonSetExecuteProc, void, (HostToolButton button, HostCallback proc, void* clientData), (button, proc, clientData)) \
  X(AcroView, 176, HostToolButtonSetEnableProc, void, (HostToolButton button, HostCallback proc, void* clientData), (button, proc, clientData)) \
  X(AcroView, 214, HostToolButtonSetHelpText, void, (HostToolButton button, const char* text), (button, text)) \
  X(AcroView, 485, HostTakePrcFile, int32_t, (HostPathName path, HostFileSys fileSys, HostContainer container), (path, fileSys, container)) \
  /* ASExtra */ \
  X(ASExtra, 3, HostContainerNew, HostContainer, (void), ()) \
  X(ASExtra, 12, HostContainerDestroy, void, (HostContainer container), (container)) \
  X(ASExtra, 19, HostContainerSetName, int32_t, (HostContainer container, const char* name), (container, name))
// clang-format on

extern "C" {
#define VANTRELL_HOST_OPERATION_TYPE(table, selector, name, result, parameters, arguments) \
  typedef result(*name##Fn) parameters;
HOST_OPERATIONS(VANTRELL_HOST_OPERATION_TYPE)
#undef VANTRELL_HOST_OPERATION_TYPE
}

#endif
