#include <gtest/gtest.h>

#include "StandInLibrary.h"
#include "extraction/LastErrorText.h"

using namespace testing_support;

namespace {

struct VersionCase {
  const char* reported;  // what the stand-in reports, or "fail" for a call that writes nothing
  bool initFails;
  int result;
  const char* text;        // the last-error text afterwards
  const char* initialize;  // the A3DDllInitialize call expected in the log, or null for none
};

void PrintTo(const VersionCase& c, std::ostream* out) {
  *out << c.reported << (c.initFails ? " init fails" : "");
}

class VersionCheck : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionCheck, DecidesInitialisationAndMessage) {
  const VersionCase& c = GetParam();
  StandInLog log;
  ScopedEnv version(VANTRELL_A3D_ENV_VERSION, c.reported);
  ScopedEnv init(VANTRELL_A3D_ENV_INIT, c.initFails ? "fail" : nullptr);
  ScopedA3DLibrary library("standard");
  SetLastErrorText(CStringT<char>("before"));

  HMODULE module = LoadA3DLibrary();
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(c.result, InitA3DLibrary());
  if (c.result) TerminateA3DLibrary();
  UnloadA3DLibrary(module);

  EXPECT_STREQ(c.text, GetLastErrorText().GetString());
  std::vector<std::string> initCalls = log.Calls("A3DDllInitialize");
  if (c.initialize) {
    ASSERT_EQ(1u, initCalls.size());
    EXPECT_NE(std::string::npos, initCalls[0].find(c.initialize)) << initCalls[0];
  } else {
    EXPECT_TRUE(initCalls.empty());
  }
  // Terminated only after a successful initialisation, and unloaded on every path.
  std::vector<std::string> expected{"load", "GetVersion"};
  if (c.initialize) expected.push_back("Initialize");
  if (c.result) expected.push_back("Terminate");
  expected.push_back("unload");
  EXPECT_EQ(expected, log.LifeCycle());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionCheck,
    ::testing::Values(
        VersionCase{"2.0", false, 1, "before", "major=2 minor=0"},
        VersionCase{"2.7", false, 1, "before", "major=2 minor=7"},
        VersionCase{"3.0", false, 0, "Incompatible Acrobat 3D Library [Invalid major version]", nullptr},
        VersionCase{"1.9", false, 0, "Incompatible Acrobat 3D Library [Invalid major version]", nullptr},
        VersionCase{"2.-1", false, 0, "Incompatible Acrobat 3D Library [Invalid minor version]", nullptr},
        VersionCase{"fail", false, 0, "Incompatible Acrobat 3D Library [Invalid major version]", nullptr},
        VersionCase{"2.0", true, 0, "Unable to initialize the Acrobat 3D Library", "major=2 minor=0"}),
    [](const ::testing::TestParamInfo<VersionCase>& info) {
      std::string name = std::string("v") + info.param.reported + (info.param.initFails ? "_init_fails" : "");
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(A3DBinding, NoLibraryFoundLeavesTheTableAlone) {
  ScopedA3DLibrary none("none");
  FARPROC marker = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(&LoadA3DLibrary));
  for (FARPROC& slot : A3DEntryPointTable) slot = marker;

  EXPECT_EQ(nullptr, LoadA3DLibrary());
  EXPECT_STREQ("Unable to load Acrobat 3D Library (A3DLIB.DLL)", GetLastErrorText().GetString());
  for (FARPROC slot : A3DEntryPointTable) ASSERT_EQ(marker, slot);
}

TEST(A3DBinding, VariantOfAnotherVersionIsRefusedAndUnloaded) {
  StandInLog log;
  ScopedA3DLibrary library("version3");
  HMODULE module = LoadA3DLibrary();
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(0, InitA3DLibrary());
  UnloadA3DLibrary(module);
  EXPECT_STREQ("Incompatible Acrobat 3D Library [Invalid major version]", GetLastErrorText().GetString());
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "unload"}), log.LifeCycle());
}

TEST(A3DBinding, LibraryLackingAnEntryPointTheSystemCallsIsRefusedAtLoad) {
  StandInLog log;
  ScopedA3DLibrary library("missing-names");
  EXPECT_EQ(nullptr, LoadA3DLibrary());
  EXPECT_STREQ("Incompatible Acrobat 3D Library [Missing entry point A3DTess3DGet]", GetLastErrorText().GetString());
  // Resolved before the refusal: the missing names stay null, the others are filled.
  EXPECT_EQ(nullptr, A3DEntryPointTable[kSlot_A3DXXXGet]);
  EXPECT_EQ(nullptr, A3DEntryPointTable[kSlot_A3DCrvNurbsGet]);
  EXPECT_NE(nullptr, A3DEntryPointTable[kSlot_A3DXXXCreate]);
  EXPECT_EQ((std::vector<std::string>{"load", "unload"}), log.LifeCycle());
}

TEST(A3DBinding, LibraryLackingOnlyNamesTheSystemNeverCallsLoadsWithThoseSlotsNull) {
  StandInLog log;
  ScopedA3DLibrary library("missing-unused");
  HMODULE module = LoadA3DLibrary();
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(nullptr, A3DEntryPointTable[kSlot_A3DXXXGet]);
  EXPECT_EQ(nullptr, A3DEntryPointTable[kSlot_A3DCrvNurbsGet]);
  int filled = 0;
  for (FARPROC slot : A3DEntryPointTable) filled += slot != nullptr;
  EXPECT_EQ(197, filled);
  EXPECT_EQ(1, InitA3DLibrary());
  TerminateA3DLibrary();
  UnloadA3DLibrary(module);
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "Initialize", "Terminate", "unload"}), log.LifeCycle());
}

TEST(A3DBinding, EveryBindingLoadsAndResolvesAfresh) {
  StandInLog log;
  ScopedA3DLibrary library("standard");
  for (int round = 0; round < 2; ++round) {
    for (FARPROC& slot : A3DEntryPointTable) slot = nullptr;
    HMODULE module = LoadA3DLibrary();
    ASSERT_NE(nullptr, module);
    for (int slot = 0; slot < kA3DEntryPointCount; ++slot) ASSERT_NE(nullptr, A3DEntryPointTable[slot]) << slot;
    ASSERT_EQ(1, InitA3DLibrary());
    TerminateA3DLibrary();
    UnloadA3DLibrary(module);
  }
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "Initialize", "Terminate", "unload", "load",
                                      "GetVersion", "Initialize", "Terminate", "unload"}),
            log.LifeCycle());
}

}  // namespace
