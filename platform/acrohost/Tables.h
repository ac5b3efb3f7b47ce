// The host function tables: thirteen arrays of routine addresses indexed by selector, granted by
// name and version (Core 10) and reporting their version (AcroSupport 103).
#ifndef VANTRELL_ACROHOST_TABLES_H
#define VANTRELL_ACROHOST_TABLES_H

#include <stdint.h>

#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

enum TableId {
  kCoreTable,
  kAcroSupportTable,
  kCosTable,
  kPDModelTable,
  kPDFEditWriteTable,
  kPDFEditReadTable,
  kPDSysFontTable,
  kPagePDEContentTable,
  kAcroViewTable,
  kPDSWriteTable,
  kPDSReadTable,
  kWinTable,
  kASExtraTable,
  kTableCount
};

// The version of every table of this host (Acrobat 9).
constexpr uint32_t kHostTableVersion = 0x90000;
// Every table has this many entries, so that any selector the plug-in uses lies inside it.
constexpr int kTableLength = 512;

// "Core", "AcroSupport", ...
const char* TableName(int table);
// The table's index by name, or -1.
int TableByName(const std::string& name);

// How the host grants one table. By default the table exists, is granted at any version up to
// kHostTableVersion and reports kHostTableVersion.
struct TableGrant {
  bool present = true;
  std::vector<uint32_t> versions;  // when not empty: granted only at exactly these versions
  uint32_t reportedVersion = kHostTableVersion;
};

class Tables {
 public:
  // Fills every table: the routines of this host where it has one, null elsewhere.
  Tables();
  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;

  HostTable Table(int table) { return m_entries[table].data(); }
  TableGrant& Grant(int table) { return m_grants[table]; }

  // Core 10: the table of that name if it is granted at that version, else null.
  HostTable Request(const std::string& name, uint32_t version);
  // AcroSupport 103: the version a table reports; false for an address that is none of the tables.
  bool ReportedVersion(HostTable table, uint32_t* version) const;
  // Which table an address is, or -1.
  int Which(HostTable table) const;

 private:
  std::vector<HostRoutine> m_entries[kTableCount];
  TableGrant m_grants[kTableCount];
};

}  // namespace acrohost

#endif
