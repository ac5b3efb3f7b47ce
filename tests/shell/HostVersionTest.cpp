#include <gtest/gtest.h>

#include "ShellFixture.h"
#include "desktop/Desktop.h"
#include "shell/HostVersion.h"

using namespace testing_support;

namespace {

struct HostCase {
  int16_t major, minor;
  int isVersion9;
  const char* title;
};

void PrintTo(const HostCase& c, std::ostream* out) { *out << c.major << "." << c.minor; }

class HostVersionCheck : public ::testing::TestWithParam<HostCase> {};

TEST_P(HostVersionCheck, TestsTheMajorVersionAndNamesTheHostInTheTitle) {
  const HostCase& c = GetParam();
  acrohost::HostOptions options;
  options.versionMajor = c.major;
  options.versionMinor = c.minor;
  EnteredShell shell(options);
  ASSERT_TRUE(shell.entered()) << shell.error();

  EXPECT_EQ(c.isVersion9, IsHostVersion9());
  EXPECT_EQ(c.isVersion9, CheckHostVersion(1));
  // The alert names the wanted host, never the placeholder.
  EXPECT_EQ(c.isVersion9 ? std::vector<std::string>{}
                         : std::vector<std::string>{"This plug-in is designed to work with Acrobat 9 only"},
            EnteredShell::Alerts());
  BuildProductStrings();
  EXPECT_STREQ(c.title, gProductTitle);
  BuildProductStrings();
  EXPECT_STREQ(c.title, gProductTitle);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostVersionCheck,
                         ::testing::Values(HostCase{9, 0, 1, "Vantrell for Acrobat 9 version 1.0"},
                                           HostCase{9, 5, 1, "Vantrell for Acrobat 9 version 1.0"},
                                           HostCase{8, 0, 0, "Vantrell for Acrobat ???? version 1.0"},
                                           HostCase{10, 0, 0, "Vantrell for Acrobat ???? version 1.0"},
                                           HostCase{-9, 0, 0, "Vantrell for Acrobat ???? version 1.0"}));

TEST(HostVersion, CheckForANonVersion9HostPassesThere) {
  acrohost::HostOptions options;
  options.versionMajor = 10;
  EnteredShell shell(options);
  ASSERT_TRUE(shell.entered()) << shell.error();
  EXPECT_EQ(1, CheckHostVersion(0));
  EXPECT_TRUE(EnteredShell::Alerts().empty());
}

}  // namespace
