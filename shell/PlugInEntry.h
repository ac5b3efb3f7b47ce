// The host's way into the plug-in: the entry point, the set-up that imports the host function
// tables, and the handshake that names the plug-in and hands the host its stage routines.
#ifndef VANTRELL_SHELL_PLUGINENTRY_H
#define VANTRELL_SHELL_PLUGINENTRY_H

#include "host/HostTypes.h"

#if defined(_WIN32)
#define VANTRELL_ENTRY_POINT extern "C"
#else
#define VANTRELL_ENTRY_POINT extern "C" __attribute__((visibility("default")))
#endif

// The plug-in module's instance handle, as the host handed it to PlugInMain.
extern void* gModuleInstance;
// The identity the host gave the plug-in at set-up.
extern HostExtensionId gPlugInExtensionId;

// One table the set-up asks the host for.
struct HostTableRequest {
  const char* tableName;
  uint32_t wantedVersion;  // the lowest version accepted
  uint32_t* versionOut;
  HostTable* tableOut;
  HostBool isOptional;  // a failed optional request is passed over
};

// Versions tried, in this order, when the host cannot answer a request by version.
extern const uint32_t gFallbackTableVersions[];
extern const int gFallbackTableVersionCount;

// The module's one export. Records the module instance, answers the smaller of the offered
// handshake version and 0x20000, returns the set-up routine, and always succeeds.
VANTRELL_ENTRY_POINT HostBool PlugInMain(uint32_t offeredVersion, uint32_t* acceptedVersion, HostSetUpProc* setUp,
                                         HostEntryData* entryData);

// Stores the extension ID and the Core table, imports the thirteen host function tables and
// registers the handshake routine. False, storing nothing further, for a version other than
// 0x20000 or when a required table cannot be had.
HostBool SetUpHostTables(uint32_t version, HostSetUpData* data);

// Asks the host for one table at wantedVersion or above: by version when the AcroSupport table
// allows it, else through gFallbackTableVersions. Writes the table and its version (null and 0 on
// failure) and returns true when the version stored is not 0.
HostBool RequestHostTable(const char* tableName, uint32_t wantedVersion, uint32_t* versionOut, HostTable* tableOut);

// Gives the host the extension name and the four stage routines; false for a version other
// than 0x20000, leaving the record untouched.
HostBool HandshakeWithHost(uint32_t version, HostHandshakeRecord* record);

// The atom of "AcroSDK:Vantrell".
HostAtom MakeExtensionName();

// The stages that have nothing to do: the plug-in exports no table, imports nothing, and
// releases nothing at unload.
HostBool OnHandshakeExports();
HostBool OnHandshakeImports();
HostBool OnUnload();

#endif
