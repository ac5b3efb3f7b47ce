// The tables' grants and versions (Core 10, AcroSupport 103), atoms (Core 5), host callbacks
// (Core 8) and the host version (AcroView 7), as a plug-in reaches them.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HostFixture.h"
#include "host/HostCalls.h"

namespace {

using acrohost::TableGrant;
using testing_support::HostFixture;

const char* const kTables[] = {"Core",           "AcroSupport", "Cos",      "PDModel", "PDFEditWrite",
                               "PDFEditRead",    "PDSysFont",   "PagePDEContent", "AcroView", "PDSWrite",
                               "PDSRead",        "Win",         "ASExtra"};

HostTable Request(const char* name, uint32_t version) { return HostGetTable(HostAtomFromString(name), version); }

TEST(HostTables, EveryTableIsGrantedUpToTheHostsVersionAndReportsIt) {
  HostFixture fixture;
  std::set<HostTable> distinct;
  for (const char* name : kTables) {
    SCOPED_TRACE(name);
    HostTable table = Request(name, 0x60000);
    ASSERT_NE(table, nullptr);
    distinct.insert(table);
    EXPECT_EQ(Request(name, 0), table);
    EXPECT_EQ(Request(name, 0x90000), table);
    EXPECT_EQ(Request(name, 0x90001), nullptr);
    EXPECT_EQ(HostTableGetVersion(table), 0x90000u);
  }
  EXPECT_EQ(distinct.size(), 13u);
}

TEST(HostTables, GrantOptionsShapeTheAnswers) {
  struct Case {
    const char* what;
    const char* table;
    TableGrant grant;
    uint32_t asked;
    bool granted;
    uint32_t reported;
  };
  TableGrant lacking;
  lacking.present = false;
  TableGrant only50000;
  only50000.versions = {0x50000};
  TableGrant only40005and50001;
  only40005and50001.versions = {0x40005, 0x50001};
  TableGrant reportsZero, reportsAll, reports50000;
  reportsZero.reportedVersion = 0;
  reportsAll.reportedVersion = 0xFFFFFFFF;
  reports50000.reportedVersion = 0x50000;
  const Case cases[] = {
      {"a lacking table is granted at no version", "PDSRead", lacking, 0x60000, false, 0},
      {"a lacking table, asked at its lowest version", "Win", lacking, 0, false, 0},
      {"only 0x50000: not at a lower version", "PDSysFont", only50000, 0x40000, false, 0},
      {"only 0x50000: not at a higher version", "PDSysFont", only50000, 0x50001, false, 0},
      {"only 0x50000: at 0x50000", "PDSysFont", only50000, 0x50000, true, 0x90000},
      {"only 0x40005 and 0x50001: at 0x40005", "Win", only40005and50001, 0x40005, true, 0x90000},
      {"only 0x40005 and 0x50001: not at 0x60000", "Win", only40005and50001, 0x60000, false, 0},
      {"reports 0", "Cos", reportsZero, 0x60000, true, 0},
      {"reports 0xFFFFFFFF", "PDModel", reportsAll, 0x60000, true, 0xFFFFFFFF},
      {"AcroSupport reports 0x50000", "AcroSupport", reports50000, 0x60000, true, 0x50000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture fixture;
    fixture.host().tables().Grant(acrohost::TableByName(c.table)) = c.grant;
    HostTable table = Request(c.table, c.asked);
    EXPECT_EQ(table != nullptr, c.granted);
    if (table) {
      EXPECT_EQ(HostTableGetVersion(table), c.reported);
    }
    // The other tables keep their defaults.
    EXPECT_NE(Request(std::string(c.table) == "Core" ? "Cos" : "Core", 0x60000), nullptr);
  }
}

TEST(HostTables, UnknownNamesAndForeignTablesGetNothing) {
  HostFixture fixture;
  EXPECT_EQ(Request("NoSuchTable", 0x60000), nullptr);
  EXPECT_EQ(HostGetTable(0, 0x60000), nullptr);    // the null atom
  EXPECT_EQ(HostGetTable(999, 0x60000), nullptr);  // an atom no string has
  HostRoutine notATable[4] = {};
  EXPECT_EQ(HostTableGetVersion(notATable), 0u);
  EXPECT_EQ(HostTableGetVersion(nullptr), 0u);
  EXPECT_EQ(fixture.Notes().size(), 2u);
}

TEST(HostTables, AimedPlugInTablesFollowTheGrants) {
  HostFixture fixture;
  EXPECT_EQ(gCosTable, fixture.host().tables().Table(acrohost::kCosTable));
  EXPECT_EQ(gASExtraTableVersion, 0x90000u);
  fixture.host().tables().Grant(acrohost::kWinTable).present = false;
  fixture.host().tables().Grant(acrohost::kCosTable).reportedVersion = 0x70000;
  fixture.AimPlugInTables();
  EXPECT_EQ(gWinTable, nullptr);
  EXPECT_EQ(gWinTableVersion, 0u);
  EXPECT_EQ(gCosTableVersion, 0x70000u);
}

TEST(HostAtoms, OneStringOneAtomAndTheNullAtomForNone) {
  HostFixture fixture;
  HostAtom a = HostAtomFromString("3D");
  HostAtom b = HostAtomFromString("3DD");
  HostAtom empty = HostAtomFromString("");
  EXPECT_NE(a, 0);
  EXPECT_NE(b, 0);
  EXPECT_NE(empty, 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, empty);
  EXPECT_EQ(HostAtomFromString("3D"), a);
  EXPECT_EQ(HostAtomFromString(std::string("3").append("D").c_str()), a);  // by text, not address
  EXPECT_EQ(HostAtomFromString(nullptr), 0);
}

TEST(HostAtoms, WhenAllAtomsAreTakenNoStringGetsTheNullAtomsValue) {
  HostFixture fixture;
  fixture.host().trace().SetRecording(false);
  HostAtom first = HostAtomFromString("s0");
  std::set<HostAtom> atoms{first};
  int made = 1;
  for (; made < 70000; ++made) {
    HostAtom atom = HostAtomFromString(("s" + std::to_string(made)).c_str());
    if (atom == 0) break;
    atoms.insert(atom);
  }
  EXPECT_EQ(atoms.size(), static_cast<size_t>(made));  // all distinct, none the null atom's value
  EXPECT_EQ(fixture.host().atoms().size(), 0xFFFFu);  // every value but the null atom's was given
  EXPECT_EQ(HostAtomFromString("one too many"), 0);
  EXPECT_EQ(HostAtomFromString("s0"), first);  // those taken stay
  EXPECT_EQ(fixture.Notes().size(), 2u);
}

HostBool gLastAnswer = 0;
void* gLastClientData = nullptr;
HostBool AnswerTrue(void* clientData) {
  gLastClientData = clientData;
  return 1;
}
HostBool AnswerFalse(void*) { return 0; }

TEST(HostCallbacks, CallTheirRoutineWithTheClientData) {
  HostFixture fixture;
  HostExtensionId extension = reinterpret_cast<HostExtensionId>(uintptr_t{0x1234});
  HostCallback yes = HostCallbackCreate(extension, reinterpret_cast<HostRoutine>(AnswerTrue));
  HostCallback no = HostCallbackCreate(extension, reinterpret_cast<HostRoutine>(AnswerFalse));
  HostCallback empty = HostCallbackCreate(extension, nullptr);
  ASSERT_NE(yes, nullptr);
  EXPECT_NE(yes, no);  // every registration makes its own

  const acrohost::Callbacks& callbacks = fixture.host().callbacks();
  EXPECT_EQ(callbacks.Find(yes)->extension, extension);
  int data = 0;
  ASSERT_TRUE(callbacks.Enable(yes, &data, &gLastAnswer));
  EXPECT_EQ(gLastAnswer, 1);
  EXPECT_EQ(gLastClientData, &data);
  ASSERT_TRUE(callbacks.Enable(no, nullptr, &gLastAnswer));
  EXPECT_EQ(gLastAnswer, 0);
  // Nothing is called through a callback without a routine or one the host did not make.
  EXPECT_FALSE(callbacks.Enable(empty, nullptr, &gLastAnswer));
  EXPECT_FALSE(callbacks.Execute(reinterpret_cast<HostCallback>(uintptr_t{7}), nullptr));
  EXPECT_FALSE(callbacks.Execute(nullptr, nullptr));
}

TEST(HostVersion, IsReportedAsConfigured) {
  struct Case {
    int16_t major, minor;
  };
  for (const Case& c : {Case{9, 0}, Case{8, 1}, Case{10, 0}, Case{-1, 32767}}) {
    acrohost::HostOptions options;
    options.versionMajor = c.major;
    options.versionMinor = c.minor;
    HostFixture fixture(options);
    int16_t major = 0, minor = 0;
    HostAppGetVersion(&major, &minor);
    EXPECT_EQ(major, c.major);
    EXPECT_EQ(minor, c.minor);
  }
  HostFixture fixture;
  HostAppGetVersion(nullptr, nullptr);  // nothing to write, nothing written
}

}  // namespace
