#include "shell/PlugInEntry.h"

#include "host/HostCalls.h"
#include "shell/MenusAndToolbar.h"

void* gModuleInstance = nullptr;
HostExtensionId gPlugInExtensionId = nullptr;

const uint32_t gFallbackTableVersions[] = {0x50001, 0x50000, 0x40005, 0x40000, 0x20003, 0x20002, 0x20001};
const int gFallbackTableVersionCount = 7;

namespace {

const uint32_t kHandshakeVersion = 0x20000;
const uint32_t kNoVersion = 0xFFFFFFFFu;

const HostTableRequest kTableRequests[] = {
    {"Core", 0x50000, &gCoreTableVersion, &gCoreTable, 0},
    {"Cos", 0x60000, &gCosTableVersion, &gCosTable, 0},
    {"PDModel", 0x60000, &gPDModelTableVersion, &gPDModelTable, 0},
    {"PDFEditWrite", 0x60000, &gPDFEditWriteTableVersion, &gPDFEditWriteTable, 0},
    {"PDFEditRead", 0x60000, &gPDFEditReadTableVersion, &gPDFEditReadTable, 0},
    {"PDSysFont", 0x40000, &gPDSysFontTableVersion, &gPDSysFontTable, 0},
    {"PagePDEContent", 0x60000, &gPagePDEContentTableVersion, &gPagePDEContentTable, 0},
    {"AcroView", 0x60000, &gAcroViewTableVersion, &gAcroViewTable, 0},
    {"PDSWrite", 0x60000, &gPDSWriteTableVersion, &gPDSWriteTable, 0},
    {"PDSRead", 0x60000, &gPDSReadTableVersion, &gPDSReadTable, 0},
    {"Win", 0x50000, &gWinTableVersion, &gWinTable, 0},
    {"ASExtra", 0x60000, &gASExtraTableVersion, &gASExtraTable, 0},
};

HostCallback MakeCallback(HostRoutine routine) { return HostCallbackCreate(gPlugInExtensionId, routine); }

}  // namespace

HostBool PlugInMain(uint32_t offeredVersion, uint32_t* acceptedVersion, HostSetUpProc* setUp,
                    HostEntryData* entryData) {
  gModuleInstance = entryData->moduleInstance;
  *acceptedVersion = offeredVersion < kHandshakeVersion ? offeredVersion : kHandshakeVersion;
  *setUp = &SetUpHostTables;
  return 1;
}

HostBool SetUpHostTables(uint32_t version, HostSetUpData* data) {
  if (version != kHandshakeVersion) return 0;
  if (data->setUpVersion != kHandshakeVersion) return 0;
  gPlugInExtensionId = data->plugInExtensionId;
  gCoreTable = data->coreTable;

  // The bootstrap decides whether later requests may ask the host by version.
  gAcroSupportTable = HostGetTable(HostAtomFromString("AcroSupport"), 0x60000);
  if (gAcroSupportTable) gAcroSupportTableVersion = HostTableGetVersion(gAcroSupportTable);
  if (!RequestHostTable("AcroSupport", 0x80000, &gAcroSupportTableVersion, &gAcroSupportTable)) return 0;

  for (const HostTableRequest& request : kTableRequests) {
    if (!RequestHostTable(request.tableName, request.wantedVersion, request.versionOut, request.tableOut) &&
        !request.isOptional)
      return 0;
  }
  data->handshakeSlot = MakeCallback(reinterpret_cast<HostRoutine>(&HandshakeWithHost));
  return 1;
}

HostBool RequestHostTable(const char* tableName, uint32_t wantedVersion, uint32_t* versionOut, HostTable* tableOut) {
  HostAtom atom = HostAtomFromString(tableName);
  uint32_t version = kNoVersion;
  HostTable table = nullptr;
  if (gAcroSupportTableVersion >= 0x60000) {
    table = HostGetTable(atom, wantedVersion);
    if (table) version = HostTableGetVersion(table);
  }
  if (version == kNoVersion) {
    bool walked = false;
    HostTable found = nullptr;
    for (int k = 0; k < gFallbackTableVersionCount && gFallbackTableVersions[k] >= wantedVersion; ++k) {
      walked = true;
      found = HostGetTable(atom, gFallbackTableVersions[k]);
      if (found) {
        version = gFallbackTableVersions[k];
        break;
      }
    }
    if (found) {
      table = found;
    } else if (table && !walked) {
      // The host granted the table for the version asked but cannot say which version it is;
      // what it granted is at least the version asked.
      version = wantedVersion;
    } else {
      table = nullptr;
      version = 0;
    }
  }
  *tableOut = table;
  *versionOut = version;
  return version != 0 ? 1 : 0;
}

HostBool HandshakeWithHost(uint32_t version, HostHandshakeRecord* record) {
  if (version != kHandshakeVersion) return 0;
  record->extensionNameSlot = MakeExtensionName();
  record->exportTablesSlot = MakeCallback(reinterpret_cast<HostRoutine>(&OnHandshakeExports));
  record->importSlot = MakeCallback(reinterpret_cast<HostRoutine>(&OnHandshakeImports));
  record->initSlot = MakeCallback(reinterpret_cast<HostRoutine>(&InstallMenusAndToolbar));
  record->unloadSlot = MakeCallback(reinterpret_cast<HostRoutine>(&OnUnload));
  return 1;
}

HostAtom MakeExtensionName() { return HostAtomFromString("AcroSDK:Vantrell"); }

HostBool OnHandshakeExports() { return 1; }
HostBool OnHandshakeImports() { return 1; }
HostBool OnUnload() { return 1; }
