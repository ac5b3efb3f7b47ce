// The library exports exactly the 199 names, and nothing else of its own; the variants lack what
// they say they lack; every name the system does not call fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "A3DTestLibrary.h"
#include "ExportedNames.h"
#include "TestSupport.h"
#include "extraction/A3DEntryPointNames.h"

namespace {

using a3dtest::Library;

std::vector<std::string> AllNames() {
  return {
#define NAME_OF(name) #name,
      A3D_ENTRY_POINTS(NAME_OF)
#undef NAME_OF
  };
}

std::set<std::string> ImplementedNames() {
  return {
#define NAME_OF(name) #name,
      A3DTEST_ENTRY_POINTS(NAME_OF)
#undef NAME_OF
  };
}

TEST(Exports, EveryVariantResolvesItsNamesAndLacksOnlyTheMissingOnes) {
  const std::vector<std::string> missing = VANTRELL_A3D_MISSING_NAMES;
  ASSERT_EQ(199u, AllNames().size());
  for (const char* variant : {"standard", "version3", "missing-names"}) {
    SCOPED_TRACE(variant);
    Library library(variant);
    ASSERT_TRUE(library.loaded());
    const bool lacksSome = std::string(variant) == "missing-names";
    for (const std::string& name : AllNames()) {
      const bool expectMissing = lacksSome && std::count(missing.begin(), missing.end(), name) > 0;
      EXPECT_EQ(expectMissing, GetProcAddress(library.module(), name.c_str()) == nullptr) << name;
    }
  }
}

TEST(Exports, TheModuleFileExportsTheNamesAndNothingElse) {
  const std::vector<std::string> all = AllNames();
  std::set<std::string> expected(all.begin(), all.end());
  EXPECT_EQ(expected, a3dtest::ExportedNames(testing_support::BinDir() + "/A3DLIB.dll"));

  const std::vector<std::string> missing = VANTRELL_A3D_MISSING_NAMES;
  for (const std::string& name : missing) expected.erase(name);
  EXPECT_EQ(expected, a3dtest::ExportedNames(testing_support::A3DVariantDir("missing-names") + "/A3DLIB.dll"));
}

TEST(Exports, EveryNameTheSystemDoesNotCallFails) {
  Library library;
  ASSERT_TRUE(library.Initialise());
  const std::set<std::string> implemented = ImplementedNames();
  int unsupported = 0;
  for (const std::string& name : AllNames()) {
    if (implemented.count(name)) continue;
    auto entry = reinterpret_cast<int (*)(void)>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(library.module(), name.c_str())));
    ASSERT_NE(nullptr, entry) << name;
    EXPECT_EQ(kStatusUnsupported, entry()) << name;
    ++unsupported;
  }
  EXPECT_EQ(199 - static_cast<int>(implemented.size()), unsupported);
  EXPECT_EQ(0, library.A3DDllTerminate());
}

}  // namespace
