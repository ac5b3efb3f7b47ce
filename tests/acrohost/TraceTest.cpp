// The record of the calls into the tables: one entry a call, in memory and in the trace file,
// with the arguments and results shown by their declared types.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostFixture.h"
#include "TestSupport.h"
#include "host/HostCalls.h"

namespace {

using testing_support::HostFixture;

std::vector<std::string> Lines(HostFixture& fixture) {
  std::vector<std::string> lines;
  for (const acrohost::HostCall& call : fixture.Calls()) lines.push_back(call.Line());
  return lines;
}

TEST(Trace, EveryCallIsRecordedWithItsArgumentsAndResult) {
  HostFixture fixture;
  HostAtom cos = HostAtomFromString("Cos");
  HostTable table = HostGetTable(cos, 0x60000);
  HostTableGetVersion(table);
  HostGetTable(HostAtomFromString("Nope"), 0xFFFFFFFF);
  HostCosDictGet(HostCosObj{0, 0}, cos);
  HostPageGetAnnot(nullptr, -2);
  HostAppGetActiveDocView();
  HostMenu help = HostMenuBarAcquireMenuByName(HostAppGetMenuBar(), "Help");
  HostMenuRelease(help);
  HostAtomFromString("say \"hi\"\n\\");
  HostAtomFromString(nullptr);
  HostAtomFromString(std::string(200, 'x').c_str());

  std::string menuBar = "menubar#" + std::to_string(reinterpret_cast<uintptr_t>(HostAppGetMenuBar()));
  std::string menu = "menu#" + std::to_string(reinterpret_cast<uintptr_t>(help));
  const std::string atom = "atom " + std::to_string(cos) + " \"Cos\"";
  const std::vector<std::string> expected = {
      "Core 5 HostAtomFromString(\"Cos\") -> " + atom,
      "Core 10 HostGetTable(" + atom + ", 0x60000) -> table Cos",
      "AcroSupport 103 HostTableGetVersion(table Cos) -> 0x90000",
      "Core 5 HostAtomFromString(\"Nope\") -> atom " + std::to_string(cos + 1) + " \"Nope\"",
      "Core 10 HostGetTable(atom " + std::to_string(cos + 1) + " \"Nope\", 0xFFFFFFFF) -> null",
      "Cos 21 HostCosDictGet(cos null, " + atom + ") -> cos null",
      "PDModel 152 HostPageGetAnnot(null, -2) -> annot null",
      "AcroView 12 HostAppGetActiveDocView() -> null",
      "AcroView 16 HostAppGetMenuBar() -> " + menuBar,
      "AcroView 71 HostMenuBarAcquireMenuByName(" + menuBar + ", \"Help\") -> " + menu,
      "AcroView 80 HostMenuRelease(" + menu + ")",
      "Core 5 HostAtomFromString(\"say \\\"hi\\\"\\x0A\\\\\") -> atom " + std::to_string(cos + 2) +
          " \"say \\\"hi\\\"\\x0A\\\\\"",
      "Core 5 HostAtomFromString(null) -> atom 0",
      "Core 5 HostAtomFromString(\"" + std::string(120, 'x') + "...\") -> atom " + std::to_string(cos + 3) + " \"" +
          std::string(120, 'x') + "...\"",
  };
  std::vector<std::string> lines = Lines(fixture);
  lines.pop_back();  // the menu bar asked again for the expectation
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(fixture.CountCalls("Core", 5), 5u);
  EXPECT_EQ(fixture.CallsOf("AcroView", 80).size(), 1u);
}

TEST(Trace, TheTraceFileHasOneLineACallAsTheyHappen) {
  testing_support::ScopedTempDir dir;
  HostFixture fixture;
  std::string error;
  ASSERT_TRUE(fixture.host().trace().WriteTo(dir.File("trace.txt"), &error)) << error;
  int16_t major = 0, minor = 0;
  HostAppGetVersion(&major, &minor);
  void* block = HostMemAlloc(16);
  // Written before the next call, so a crash loses nothing.
  std::vector<std::string> lines = testing_support::ReadLines(dir.File("trace.txt"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("AcroView 7 HostAppGetVersion(0x", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("AcroSupport 1 HostMemAlloc(16) -> 0x", 0), 0u) << lines[1];
  HostMemFree(block);
  lines = testing_support::ReadLines(dir.File("trace.txt"));
  EXPECT_EQ(lines, Lines(fixture));

  EXPECT_FALSE(fixture.host().trace().WriteTo(dir.File("no/such/folder/trace.txt"), &error));
  EXPECT_NE(error.find("cannot create the trace file"), std::string::npos);
}

TEST(Trace, NothingIsRecordedWhenRecordingIsOff) {
  HostFixture fixture;
  fixture.host().trace().SetRecording(false);
  HostAtomFromString("x");
  EXPECT_TRUE(fixture.Calls().empty());
}

}  // namespace
