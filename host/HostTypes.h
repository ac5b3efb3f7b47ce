// Values exchanged with the Acrobat host, and the records of the plug-in's entry protocol.
//
// Atoms are 16-bit values, equal when their 16 bits are. Cos objects and annotations are 8-byte
// values passed and returned by value. Every other host value (table, handle, host callback) is
// as wide as a pointer: 32 bits in the 32-bit build. A null value is 0.
#ifndef VANTRELL_HOST_HOSTTYPES_H
#define VANTRELL_HOST_HOSTTYPES_H

#include <stddef.h>
#include <stdint.h>

typedef uint16_t HostAtom;
typedef uint16_t HostBool;  // the host's 16-bit Boolean: 1 true, 0 false

struct HostCosObj {
  uint32_t a;
  uint32_t b;
};

struct HostAnnot {
  uint32_t a;
  uint32_t b;
};

// Cos type codes the plug-in tests for.
enum { kHostCosName = 4, kHostCosStream = 8 };

// Opaque handles of the host.
typedef struct HostDocRec* HostDoc;
typedef struct HostPageRec* HostPage;
typedef struct HostDocumentViewRec* HostDocumentView;
typedef struct HostStreamRec* HostStream;
typedef struct HostFileSysRec* HostFileSys;
typedef struct HostPathNameRec* HostPathName;
typedef struct HostContainerRec* HostContainer;
typedef struct HostMenuBarRec* HostMenuBar;
typedef struct HostMenuRec* HostMenu;
typedef struct HostMenuItemRec* HostMenuItem;
typedef struct HostToolBarRec* HostToolBar;
typedef struct HostToolButtonRec* HostToolButton;
typedef struct HostExtensionRec* HostExtensionId;
typedef struct HostCallbackRec* HostCallback;
typedef void* HostBitmap;  // a platform bitmap handle (HBITMAP)

// A routine address as the host tables hold it; a table is an array of them indexed by selector.
typedef void (*HostRoutine)(void);
typedef HostRoutine* HostTable;

// Routines of the plug-in that the host calls through host callbacks.
typedef void (*HostExecuteProc)(void* clientData);
typedef HostBool (*HostEnableProc)(void* clientData);
typedef HostBool (*HostStageProc)(void);

// Records of the entry protocol. Their layout is the host's: with 32-bit pointers they have
// exactly the offsets checked below.

// The fourth argument of PlugInMain.
struct HostEntryData {
  void* hostHandle;      // not used by the plug-in
  void* moduleInstance;  // the instance handle of the plug-in module
};

struct HostHandshakeRecord;
struct HostSetUpData;
typedef HostBool (*HostSetUpProc)(uint32_t version, HostSetUpData* data);
typedef HostBool (*HostHandshakeProc)(uint32_t version, HostHandshakeRecord* record);

// The second argument of the set-up routine.
struct HostSetUpData {
  uint32_t setUpVersion;
  HostExtensionId plugInExtensionId;
  HostTable coreTable;
  HostCallback handshakeSlot;  // written by a successful set-up
};

// The second argument of the handshake routine.
struct HostHandshakeRecord {
  uint8_t host[6];  // the host's own; neither read nor written by the plug-in
  HostAtom extensionNameSlot;
  HostCallback exportTablesSlot;
  HostCallback importSlot;
  HostCallback initSlot;
  HostCallback unloadSlot;
};

// The plug-in's one export.
typedef HostBool (*PlugInMainProc)(uint32_t offeredVersion, uint32_t* acceptedVersion, HostSetUpProc* setUp,
                                   HostEntryData* entryData);

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(HostCosObj) == 8 && sizeof(HostAnnot) == 8, "Cos objects and annotations are 8 bytes");
static_assert(offsetof(HostEntryData, moduleInstance) == 4, "HostEntryData.moduleInstance");
static_assert(sizeof(HostSetUpData) == 16, "HostSetUpData size");
static_assert(offsetof(HostSetUpData, plugInExtensionId) == 4, "HostSetUpData.plugInExtensionId");
static_assert(offsetof(HostSetUpData, coreTable) == 8, "HostSetUpData.coreTable");
static_assert(offsetof(HostSetUpData, handshakeSlot) == 12, "HostSetUpData.handshakeSlot");
static_assert(sizeof(HostHandshakeRecord) == 24, "HostHandshakeRecord size");
static_assert(offsetof(HostHandshakeRecord, extensionNameSlot) == 6, "HostHandshakeRecord.extensionNameSlot");
static_assert(offsetof(HostHandshakeRecord, exportTablesSlot) == 8, "HostHandshakeRecord.exportTablesSlot");
static_assert(offsetof(HostHandshakeRecord, importSlot) == 12, "HostHandshakeRecord.importSlot");
static_assert(offsetof(HostHandshakeRecord, initSlot) == 16, "HostHandshakeRecord.initSlot");
static_assert(offsetof(HostHandshakeRecord, unloadSlot) == 20, "HostHandshakeRecord.unloadSlot");
#endif

#endif
