// The library exports exactly the 199 names, and nothing else of its own; the variants lack what
// they say they lack; every name the system does not call fails.
#include <elf.h>
#include <link.h>
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "A3DTestLibrary.h"
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

// The names an ELF shared object defines in its dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  std::string image = testing_support::ReadFile(path);
  std::set<std::string> names;
  if (image.size() < sizeof(ElfW(Ehdr))) return names;
  const char* base = image.data();
  const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
  if (memcmp(header->e_ident, ELFMAG, SELFMAG) != 0) return names;
  const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(base + header->e_shoff);
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const ElfW(Shdr)& strings = sections[sections[i].sh_link];
    const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(base + sections[i].sh_offset);
    size_t count = sections[i].sh_size / sizeof(ElfW(Sym));
    for (size_t k = 0; k < count; ++k) {
      if (symbols[k].st_shndx == SHN_UNDEF || symbols[k].st_name == 0) continue;
      int binding = ELF64_ST_BIND(symbols[k].st_info);
      if (binding == STB_LOCAL) continue;
      names.insert(base + strings.sh_offset + symbols[k].st_name);
    }
  }
  return names;
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

TEST(Exports, TheDynamicSymbolTableHoldsTheNamesAndNothingElse) {
  const std::vector<std::string> all = AllNames();
  std::set<std::string> expected(all.begin(), all.end());
  EXPECT_EQ(expected, DefinedDynamicSymbols(testing_support::BinDir() + "/A3DLIB.dll"));

  const std::vector<std::string> missing = VANTRELL_A3D_MISSING_NAMES;
  for (const std::string& name : missing) expected.erase(name);
  EXPECT_EQ(expected, DefinedDynamicSymbols(testing_support::A3DVariantDir("missing-names") + "/A3DLIB.dll"));
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
