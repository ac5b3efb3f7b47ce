#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "HostFixture.h"
#include "ShellFixture.h"
#include "host/HostTables.h"
#include "shell/MenusAndToolbar.h"
#include "shell/PlugInEntry.h"

using namespace testing_support;
using acrohost::TableGrant;

namespace {

HostExtensionId const kExtension = reinterpret_cast<HostExtensionId>(0x5150);

// A host whose tables the plug-in has not imported yet.
class SetUp : public ::testing::Test {
 protected:
  SetUp() { ResetPlugInState(); }
  ~SetUp() override { ResetPlugInState(); }

  HostBool RunSetUp(HostSetUpData* data = nullptr) {
    HostSetUpData local{0x20000, kExtension, m_host.host().tables().Table(acrohost::kCoreTable), nullptr};
    if (!data) data = &local;
    m_host.ClearCalls();
    HostBool result = SetUpHostTables(0x20000, data);
    m_handshakeSlot = data->handshakeSlot;
    return result;
  }

  // The versions asked of Core 10 for a table, in order.
  std::vector<std::string> VersionsAsked(const std::string& table) {
    std::vector<std::string> versions;
    for (const acrohost::HostCall& call : m_host.CallsOf("Core", 10)) {
      if (call.arguments.find("\"" + table + "\"") == std::string::npos) continue;
      versions.push_back(call.arguments.substr(call.arguments.rfind(' ') + 1));
    }
    return versions;
  }

  TableGrant& Grant(int table) { return m_host.host().tables().Grant(table); }

  HostFixture m_host;
  HostCallback m_handshakeSlot = nullptr;
};

TEST(PlugInMainTest, AnswersAtMost0x20000AndHandsOutTheSetUp) {
  const struct {
    uint32_t offered, accepted;
  } cases[] = {{0x20000, 0x20000}, {0x30000, 0x20000}, {0xFFFFFFFFu, 0x20000}, {0x1FFFF, 0x1FFFF}, {0, 0}};
  for (const auto& c : cases) {
    int marker = 0;
    HostEntryData entry{reinterpret_cast<void*>(0x77), &marker};
    uint32_t accepted = 0xDEAD;
    HostSetUpProc setUp = nullptr;
    EXPECT_EQ(1, PlugInMain(c.offered, &accepted, &setUp, &entry));
    EXPECT_EQ(c.accepted, accepted) << std::hex << c.offered;
    EXPECT_EQ(&SetUpHostTables, setUp);
    EXPECT_EQ(&marker, gModuleInstance);
  }
  ResetPlugInState();
}

TEST_F(SetUp, ImportsEveryTableThroughTheGrantedCoreTable) {
  // The set-up data carries a copy of the Core table; after the "Core" request the plug-in must
  // call through the table the host granted instead.
  HostTable hostCore = m_host.host().tables().Table(acrohost::kCoreTable);
  std::vector<HostRoutine> copy(hostCore, hostCore + acrohost::kTableLength);
  HostSetUpData data{0x20000, kExtension, copy.data(), nullptr};
  ASSERT_EQ(1, RunSetUp(&data));
  EXPECT_EQ(kExtension, gPlugInExtensionId);
  EXPECT_EQ(hostCore, gCoreTable);
  EXPECT_NE(nullptr, data.handshakeSlot);
#define VANTRELL_EXPECT_TABLE(name)                                                       \
  EXPECT_EQ(m_host.host().tables().Table(acrohost::TableByName(#name)), g##name##Table); \
  EXPECT_EQ(acrohost::kHostTableVersion, g##name##TableVersion);
  HOST_TABLES(VANTRELL_EXPECT_TABLE)
#undef VANTRELL_EXPECT_TABLE
  // The handshake routine is what the slot calls.
  const acrohost::CallbackRecord* record = m_host.host().callbacks().Find(data.handshakeSlot);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(reinterpret_cast<HostRoutine>(&HandshakeWithHost), record->routine);
  EXPECT_EQ(kExtension, record->extension);
}

TEST_F(SetUp, AsksForEveryTableInOrderAtItsVersionAndStoresWhatTheHostReports) {
  // Each table reports a version of its own, so a version stored in the wrong place shows.
  for (int table = 0; table < acrohost::kTableCount; ++table)
    Grant(table).reportedVersion = acrohost::kHostTableVersion + 0x10 * static_cast<uint32_t>(table);
  ASSERT_EQ(1, RunSetUp());

  const struct {
    const char* name;
    uint32_t wanted;
    HostTable* table;
    uint32_t* version;
  } requests[] = {
      {"AcroSupport", 0x60000, nullptr, nullptr},  // the bootstrap
      {"AcroSupport", 0x80000, &gAcroSupportTable, &gAcroSupportTableVersion},
      {"Core", 0x50000, &gCoreTable, &gCoreTableVersion},
      {"Cos", 0x60000, &gCosTable, &gCosTableVersion},
      {"PDModel", 0x60000, &gPDModelTable, &gPDModelTableVersion},
      {"PDFEditWrite", 0x60000, &gPDFEditWriteTable, &gPDFEditWriteTableVersion},
      {"PDFEditRead", 0x60000, &gPDFEditReadTable, &gPDFEditReadTableVersion},
      {"PDSysFont", 0x40000, &gPDSysFontTable, &gPDSysFontTableVersion},
      {"PagePDEContent", 0x60000, &gPagePDEContentTable, &gPagePDEContentTableVersion},
      {"AcroView", 0x60000, &gAcroViewTable, &gAcroViewTableVersion},
      {"PDSWrite", 0x60000, &gPDSWriteTable, &gPDSWriteTableVersion},
      {"PDSRead", 0x60000, &gPDSReadTable, &gPDSReadTableVersion},
      {"Win", 0x50000, &gWinTable, &gWinTableVersion},
      {"ASExtra", 0x60000, &gASExtraTable, &gASExtraTableVersion},
  };
  // What the host was asked, one request a line: the host grants every table at any version up to
  // its own, so only the record shows a version asked too low.
  std::vector<std::string> expected, asked;
  for (const auto& r : requests) {
    char line[64];
    snprintf(line, sizeof line, "\"%s\", 0x%x", r.name, r.wanted);
    expected.push_back(line);
  }
  for (const acrohost::HostCall& call : m_host.CallsOf("Core", 10))
    asked.push_back(call.arguments.substr(call.arguments.find('"')));
  EXPECT_EQ(expected, asked);

  for (const auto& r : requests) {
    if (!r.table) continue;
    int table = acrohost::TableByName(r.name);
    EXPECT_EQ(m_host.host().tables().Table(table), *r.table) << r.name;
    EXPECT_EQ(Grant(table).reportedVersion, *r.version) << r.name;
  }
}

// One request through the fallback walk, the versioned look-up closed or open.
struct WalkCase {
  const char* name;
  bool versionedLookUp;
  uint32_t wanted;
  std::vector<uint32_t> grantedAt;
  uint32_t reportedVersion;
  std::vector<std::string> asked;
  uint32_t stored;  // 0: the request fails, storing no table
};

void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.name; }

class FallbackWalk : public SetUp, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(FallbackWalk, TakesTheFirstEntryTheHostGrantsOrStoresNullAndZero) {
  const WalkCase& c = GetParam();
  TableGrant& grant = Grant(acrohost::kWinTable);
  grant.versions = c.grantedAt;
  grant.reportedVersion = c.reportedVersion;
  m_host.AimPlugInTables();
  gAcroSupportTableVersion = c.versionedLookUp ? 0x60000 : 0x50000;
  m_host.ClearCalls();
  HostTable table = reinterpret_cast<HostTable>(uintptr_t{0x1234});
  uint32_t version = 0xBAD;
  EXPECT_EQ(c.stored != 0, RequestHostTable("Win", c.wanted, &version, &table) != 0);
  EXPECT_EQ(c.asked, VersionsAsked("Win"));
  EXPECT_EQ(c.stored, version);
  EXPECT_EQ(c.stored ? m_host.host().tables().Table(acrohost::kWinTable) : nullptr, table);
}

const uint32_t kReports = acrohost::kHostTableVersion;
const uint32_t kCannotSay = 0xFFFFFFFFu;

INSTANTIATE_TEST_SUITE_P(
    Table, FallbackWalk,
    ::testing::Values(
        WalkCase{"TheEntryEqualToTheVersionAskedIsTaken", false, 0x50000, {0x50000, 0x40000}, kReports,
                 {"0x50001", "0x50000"}, 0x50000},
        WalkCase{"TheWalkReachesItsSeventhEntry", false, 0x20001, {0x20001}, kReports,
                 {"0x50001", "0x50000", "0x40005", "0x40000", "0x20003", "0x20002", "0x20001"}, 0x20001},
        WalkCase{"AnEntryBelowTheVersionAskedIsNeverAsked", false, 0x40000, {0x20003}, kReports,
                 {"0x50001", "0x50000", "0x40005", "0x40000"}, 0},
        WalkCase{"AboveTheWalkNothingIsAsked", false, 0x60000, {}, kReports, {}, 0},
        WalkCase{"AWalkThatFindsNothingDropsTheTableThatCannotSayItsVersion", true, 0x40001, {0x40001}, kCannotSay,
                 {"0x40001", "0x50001", "0x50000", "0x40005"}, 0}),
    [](const ::testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST_F(SetUp, RefusesOtherVersionsBeforeStoringAnything) {
  HostSetUpData data{0x20000, kExtension, m_host.host().tables().Table(acrohost::kCoreTable), nullptr};
  EXPECT_EQ(0, SetUpHostTables(0x1FFFF, &data));
  data.setUpVersion = 0x20001;
  EXPECT_EQ(0, SetUpHostTables(0x20000, &data));
  EXPECT_EQ(nullptr, gPlugInExtensionId);
  EXPECT_EQ(nullptr, gCoreTable);
  EXPECT_EQ(nullptr, data.handshakeSlot);
  EXPECT_EQ(0u, m_host.CountCalls("Core", 5));
}

TEST_F(SetUp, WithoutAcroSupportAtVersion6TheSetUpFails) {
  Grant(acrohost::kAcroSupportTable).present = false;
  EXPECT_EQ(0, RunSetUp());
  EXPECT_EQ(nullptr, gAcroSupportTable);
  EXPECT_EQ(0u, gAcroSupportTableVersion);
  // The 0x80000 request makes no look-up: the walk has no entry that high.
  EXPECT_EQ((std::vector<std::string>{"0x60000"}), VersionsAsked("AcroSupport"));
  EXPECT_TRUE(VersionsAsked("Core").empty());
  EXPECT_EQ(nullptr, m_handshakeSlot);
}

TEST_F(SetUp, AcroSupportReportingAnOldVersionClosesTheVersionedLookUp) {
  Grant(acrohost::kAcroSupportTable).reportedVersion = 0x50000;
  EXPECT_EQ(0, RunSetUp());
  EXPECT_EQ(nullptr, gAcroSupportTable);
  EXPECT_EQ(0u, gAcroSupportTableVersion);
  EXPECT_EQ((std::vector<std::string>{"0x60000"}), VersionsAsked("AcroSupport"));
}

TEST_F(SetUp, TableOnlyAtAnOlderVersionIsFoundByTheFallbackWalk) {
  Grant(acrohost::kPDSysFontTable).versions = {0x40005};
  ASSERT_EQ(1, RunSetUp());
  EXPECT_EQ((std::vector<std::string>{"0x40000", "0x50001", "0x50000", "0x40005"}), VersionsAsked("PDSysFont"));
  EXPECT_EQ(0x40005u, gPDSysFontTableVersion);
  EXPECT_NE(nullptr, gPDSysFontTable);
}

TEST_F(SetUp, RequiredTableMissingAtItsVersionStopsTheSetUpThere) {
  Grant(acrohost::kCosTable).versions = {0x50001};
  EXPECT_EQ(0, RunSetUp());
  EXPECT_EQ((std::vector<std::string>{"0x60000"}), VersionsAsked("Cos"));
  EXPECT_EQ(nullptr, gCosTable);
  EXPECT_EQ(0u, gCosTableVersion);
  EXPECT_TRUE(VersionsAsked("PDModel").empty());
  EXPECT_EQ(nullptr, gPDModelTable);
  EXPECT_NE(nullptr, gCoreTable);
  EXPECT_EQ(nullptr, m_handshakeSlot);
}

TEST_F(SetUp, TableReportedAtVersion0IsStoredButFailsTheRequest) {
  Grant(acrohost::kPDModelTable).reportedVersion = 0;
  EXPECT_EQ(0, RunSetUp());
  EXPECT_EQ(m_host.host().tables().Table(acrohost::kPDModelTable), gPDModelTable);
  EXPECT_EQ(0u, gPDModelTableVersion);
  EXPECT_TRUE(VersionsAsked("PDFEditWrite").empty());
}

TEST_F(SetUp, TableThatCannotSayItsVersion) {
  // Wanted up to 0x50001: the walk looks again and records the version it found the table at.
  Grant(acrohost::kWinTable).reportedVersion = 0xFFFFFFFFu;
  // Wanted above: the walk cannot look, and the table granted for the version asked is kept.
  Grant(acrohost::kCosTable).reportedVersion = 0xFFFFFFFFu;
  ASSERT_EQ(1, RunSetUp());
  EXPECT_EQ((std::vector<std::string>{"0x50000", "0x50001"}), VersionsAsked("Win"));
  EXPECT_EQ(0x50001u, gWinTableVersion);
  EXPECT_EQ((std::vector<std::string>{"0x60000"}), VersionsAsked("Cos"));
  EXPECT_EQ(0x60000u, gCosTableVersion);
  EXPECT_EQ(m_host.host().tables().Table(acrohost::kCosTable), gCosTable);
}

TEST_F(SetUp, HandshakeNamesThePlugInAndHandsOverItsStages) {
  ASSERT_EQ(1, RunSetUp());
  HostHandshakeRecord record;
  memset(&record, 0xAB, sizeof record);
  EXPECT_EQ(0, HandshakeWithHost(0x10000, &record));
  for (size_t i = 0; i < sizeof record; ++i) ASSERT_EQ(0xAB, reinterpret_cast<unsigned char*>(&record)[i]);

  EXPECT_EQ(1, HandshakeWithHost(0x20000, &record));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(0xAB, record.host[i]);
  EXPECT_EQ(m_host.host().atoms().Intern("AcroSDK:Vantrell"), record.extensionNameSlot);
  const struct {
    HostCallback slot;
    HostRoutine routine;
  } slots[] = {{record.exportTablesSlot, reinterpret_cast<HostRoutine>(&OnHandshakeExports)},
               {record.importSlot, reinterpret_cast<HostRoutine>(&OnHandshakeImports)},
               {record.initSlot, reinterpret_cast<HostRoutine>(&InstallMenusAndToolbar)},
               {record.unloadSlot, reinterpret_cast<HostRoutine>(&OnUnload)}};
  for (const auto& s : slots) {
    const acrohost::CallbackRecord* callback = m_host.host().callbacks().Find(s.slot);
    ASSERT_NE(nullptr, callback);
    EXPECT_EQ(s.routine, callback->routine);
    EXPECT_EQ(kExtension, callback->extension);
  }
}

}  // namespace
