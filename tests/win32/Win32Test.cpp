// The Linux stand-in for the Windows names the plug-in uses: Windows semantics where the plug-in
// relies on them.
#include <gtest/gtest.h>

#include <windows.h>

#include <sys/resource.h>

#include <filesystem>

#include "TestSupport.h"
#include "desktop/Desktop.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct SplitCase {
  const char* path;
  const char* drive;
  const char* dir;
  const char* fname;
  const char* ext;
};

TEST(SplitPath, TakesDriveFolderNameAndExtensionAsWindowsDoes) {
  const SplitCase cases[] = {
      {"C:\\A\\B\\Vantrell.api", "C:", "\\A\\B\\", "Vantrell", ".api"},
      {"\\\\server\\share\\plug_ins\\Vantrell.api", "", "\\\\server\\share\\plug_ins\\", "Vantrell", ".api"},
      {"/opt/vantrell/plug_ins/Vantrell.api", "", "/opt/vantrell/plug_ins/", "Vantrell", ".api"},
      {"C:Vantrell.api", "C:", "", "Vantrell", ".api"},
      {"C:\\folder.d\\name", "C:", "\\folder.d\\", "name", ""},
      {"archive.tar.gz", "", "", "archive.tar", ".gz"},
      {"C:\\", "C:", "\\", "", ""},
      {"", "", "", "", ""},
  };
  for (const SplitCase& c : cases) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    _splitpath(c.path, drive, dir, fname, ext);
    EXPECT_STREQ(c.drive, drive) << c.path;
    EXPECT_STREQ(c.dir, dir) << c.path;
    EXPECT_STREQ(c.fname, fname) << c.path;
    EXPECT_STREQ(c.ext, ext) << c.path;
  }
  // Parts not wanted may be left out.
  char dir[_MAX_DIR];
  _splitpath("D:\\x\\y.z", nullptr, dir, nullptr, nullptr);
  EXPECT_STREQ("\\x\\", dir);
}

TEST(Environment, NamesMatchWithoutRegardToCaseAndAnExactNameWins) {
  ScopedEnv upper("VANTRELL_TEST_VARIABLE", "upper");
  EXPECT_STREQ("upper", getenv("vantrell_test_variable"));
  {
    ScopedEnv lower("vantrell_test_variable", "lower");
    EXPECT_STREQ("lower", getenv("vantrell_test_variable"));
    EXPECT_STREQ("upper", getenv("VANTRELL_TEST_VARIABLE"));
  }
  EXPECT_EQ(nullptr, getenv("VANTRELL_TEST_VARIABLE_LONGER"));
  EXPECT_EQ(nullptr, getenv("VANTRELL_TEST"));
}

TEST(Files, BackslashesSeparateFolders) {
  ScopedTempDir dir;
  fs::create_directories(dir.File("sub"));
  std::string windowsPath = dir.path() + "\\sub\\file.prc";
  FILE* file = fopen(windowsPath.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  fputs("data", file);
  fclose(file);
  EXPECT_EQ("data", ReadFile(dir.File("sub/file.prc")));
  EXPECT_EQ(0, _unlink(windowsPath.c_str()));
  EXPECT_FALSE(FileExists(dir.File("sub/file.prc")));
  EXPECT_NE(0, _unlink(windowsPath.c_str()));
}

TEST(TempPath, EndsWithASeparator) {
  ScopedTempDir dir;
  ScopedEnv tmpdir("TMPDIR", dir.path().c_str());
  char buffer[MAX_PATH];
  DWORD length = GetTempPathA(sizeof buffer, buffer);
  EXPECT_EQ(dir.path() + "/", std::string(buffer, length));
  char tiny[4];
  EXPECT_GT(GetTempPathA(sizeof tiny, tiny), sizeof tiny);
}

// What a process may hold: the machine's memory, and the address space within the process's
// limit on it.
TEST(Memory, ReportsTheMachineAndWhatTheProcessMayMap) {
  MEMORYSTATUSEX memory;
  memset(&memory, 0, sizeof memory);
  EXPECT_FALSE(GlobalMemoryStatusEx(&memory));
  memory.dwLength = sizeof memory;
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  EXPECT_GT(memory.ullTotalPhys, uint64_t(64) << 20);
  EXPECT_LE(memory.ullAvailPhys, memory.ullTotalPhys);
  EXPECT_LE(memory.dwMemoryLoad, 100u);
  EXPECT_GE(memory.ullTotalPageFile, memory.ullTotalPhys);
  EXPECT_LE(memory.ullAvailVirtual, memory.ullTotalVirtual);

  struct rlimit old;
  ASSERT_EQ(0, getrlimit(RLIMIT_AS, &old));
  if (old.rlim_cur == RLIM_INFINITY) {
    EXPECT_EQ(uint64_t(1) << 47, memory.ullTotalVirtual);
  }
  // Lowered, the limit is the address space (read back at once: nothing else may map meanwhile).
  struct rlimit lower = old;
  lower.rlim_cur = old.rlim_cur == RLIM_INFINITY || old.rlim_cur > (rlim_t(1) << 40) ? rlim_t(1) << 40 : old.rlim_cur / 2;
  ASSERT_EQ(0, setrlimit(RLIMIT_AS, &lower));
  BOOL reported = GlobalMemoryStatusEx(&memory);
  setrlimit(RLIMIT_AS, &old);
  ASSERT_TRUE(reported);
  EXPECT_EQ(static_cast<uint64_t>(lower.rlim_cur), memory.ullTotalVirtual);
}

TEST(Shell, AnswersAsWindowsDoesForMissingAndUnopenableFiles) {
  DesktopReset();
  ScopedTempDir dir;
  WriteFile(dir.File("help.chm"), "help");
  WriteFile(dir.File("data.xyz"), "data");
  auto answer = [](const std::string& path) {
    return reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, "open", path.c_str(), "", nullptr, SW_SHOW));
  };
  EXPECT_EQ(static_cast<uintptr_t>(SE_ERR_FNF), answer(dir.File("missing.chm")));
  EXPECT_EQ(static_cast<uintptr_t>(SE_ERR_FNF), answer(dir.path()));
  EXPECT_EQ(static_cast<uintptr_t>(SE_ERR_NOASSOC), answer(dir.File("data.xyz")));
  EXPECT_EQ(0, DesktopCountEvents(kDesktopOpen));
  EXPECT_GT(answer(dir.path() + "\\help.chm"), 32u);
  ASSERT_EQ(1, DesktopCountEvents(kDesktopOpen));
  char opened[512];
  ASSERT_EQ(kDesktopOpen, DesktopEvent(0, opened, sizeof opened));
  EXPECT_EQ(dir.path() + "\\help.chm", opened);
}

TEST(Modules, FoundByFileNameAndTheirPathReadBack) {
  HMODULE desktop = GetModuleHandleA("LIBDESKTOP.SO");
  ASSERT_NE(nullptr, desktop);
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(desktop, path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(BinDir() + "/libdesktop.so", std::string(path, length));
  // A buffer too small gives a terminated, truncated path and its own size.
  char small[8];
  EXPECT_EQ(8u, GetModuleFileNameA(desktop, small, sizeof small));
  EXPECT_EQ(7u, strlen(small));
  EXPECT_EQ(nullptr, GetModuleHandleA("Vantrell.api"));
  // The host program stands for a null module.
  length = GetModuleFileNameA(nullptr, path, sizeof path);
  EXPECT_EQ(TestDir() + "/win32_tests", std::string(path, length));
}

TEST(Libraries, BareNamesAreSearchedInTheProgramFolderThenTheCurrentFolderThenPath) {
  ScopedTempDir current, onPath;
  std::string library = BinDir() + "/A3DLIB.dll";
  fs::copy_file(library, onPath.File("Search.dll"));
  ScopedEnv path("PATH", onPath.path().c_str());
  ScopedCurrentDir here(current.path());
  HMODULE found = LoadLibraryExA("search.DLL", nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_NE(nullptr, found);
  char where[MAX_PATH];
  GetModuleFileNameA(found, where, sizeof where);
  EXPECT_EQ(onPath.File("Search.dll"), where);
  FreeLibrary(found);

  fs::copy_file(library, current.File("Search.dll"));
  found = LoadLibraryExA("Search.dll", nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_NE(nullptr, found);
  GetModuleFileNameA(found, where, sizeof where);
  EXPECT_EQ(current.File("Search.dll"), where);
  EXPECT_NE(nullptr, GetProcAddress(found, "A3DDllGetVersion"));
  EXPECT_EQ(nullptr, GetProcAddress(found, "NoSuchName"));
  EXPECT_TRUE(FreeLibrary(found));

  EXPECT_EQ(nullptr, LoadLibraryExA("NoSuch.dll", nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  WriteFile(current.File("NotALibrary.dll"), "text");
  EXPECT_EQ(nullptr, LoadLibraryExA("NotALibrary.dll", nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

TEST(Libraries, AFailedLoadSaysWhy) {
  ScopedTempDir current;
  ScopedEnv path("PATH", "");
  ScopedCurrentDir here(current.path());
  EXPECT_EQ(nullptr, LoadLibraryExA("NoSuch.dll", nullptr, 0));
  EXPECT_STREQ("NoSuch.dll: no such file", Win32LoadLibraryError());
  WriteFile(current.File("NotALibrary.dll"), "text");
  EXPECT_EQ(nullptr, LoadLibraryExA("NotALibrary.dll", nullptr, 0));
  // The dynamic loader's own words, which name the file.
  EXPECT_EQ(0u, std::string(Win32LoadLibraryError()).rfind(current.File("NotALibrary.dll") + ": ", 0))
      << Win32LoadLibraryError();
  HMODULE found = LoadLibraryA((BinDir() + "/A3DLIB.dll").c_str());
  ASSERT_NE(nullptr, found);
  EXPECT_STREQ("", Win32LoadLibraryError());
  FreeLibrary(found);
}

}  // namespace
