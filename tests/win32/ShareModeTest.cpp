// Windows' share modes, as the plug-in's temporary file and the 3D library's read meet them. The
// same table runs against the real rules (Windows, Wine) and against the Linux stand-in, so the
// two are seen to agree.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestSupport.h"

using namespace testing_support;

namespace {

struct Opening {
  const char* name;
  DWORD access;
  DWORD share;
};

const Opening kOpenings[] = {
    {"read, sharing none", GENERIC_READ, 0},
    {"read, sharing read", GENERIC_READ, FILE_SHARE_READ},
    {"read, sharing write", GENERIC_READ, FILE_SHARE_WRITE},
    {"read, sharing both", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
    {"write, sharing none", GENERIC_WRITE, 0},
    {"write, sharing read", GENERIC_WRITE, FILE_SHARE_READ},
    {"write, sharing write", GENERIC_WRITE, FILE_SHARE_WRITE},
    {"write, sharing both", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
};

// Row: the handle already open; column: the second open, in the order of kOpenings. '+' where
// the second open succeeds.
const char* const kSecondOpenSucceeds[] = {
    "--------",  // read, sharing none
    "-+-+----",  // read, sharing read
    "-----+-+",  // read, sharing write
    "-+-+-+-+",  // read, sharing both
    "--------",  // write, sharing none
    "--++----",  // write, sharing read
    "------++",  // write, sharing write
    "--++--++",  // write, sharing both
};

HANDLE Open(const std::string& path, const Opening& opening) {
  return CreateFileA(path.c_str(), opening.access, opening.share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

TEST(ShareModes, ASecondOpenIsAdmittedExactlyWhenEachHandleSharesTheOthersAccess) {
  ScopedTempDir dir;
  const std::string path = dir.File("shared.prc");
  ASSERT_TRUE(WriteFile(path, "model"));
  for (size_t first = 0; first < 8; ++first) {
    HANDLE held = Open(path, kOpenings[first]);
    ASSERT_NE(INVALID_HANDLE_VALUE, held) << kOpenings[first].name;
    for (size_t second = 0; second < 8; ++second) {
      HANDLE other = Open(path, kOpenings[second]);
      EXPECT_EQ(kSecondOpenSucceeds[first][second] == '+', other != INVALID_HANDLE_VALUE)
          << "held: " << kOpenings[first].name << "; then: " << kOpenings[second].name;
      if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    }
    CloseHandle(held);
  }
}

// The shares of two handles add up: a third open must be admitted by both.
TEST(ShareModes, EveryOpenHandleMustAdmitTheNextOpen) {
  ScopedTempDir dir;
  const std::string path = dir.File("shared.prc");
  ASSERT_TRUE(WriteFile(path, "model"));
  HANDLE reader = Open(path, kOpenings[3]);  // read, sharing both
  HANDLE writer = Open(path, kOpenings[7]);  // write, sharing both
  ASSERT_NE(INVALID_HANDLE_VALUE, reader);
  ASSERT_NE(INVALID_HANDLE_VALUE, writer);
  HANDLE third = Open(path, kOpenings[1]);  // read, sharing read: refuses the writer
  EXPECT_EQ(INVALID_HANDLE_VALUE, third);
  CloseHandle(writer);
  third = Open(path, kOpenings[1]);
  EXPECT_NE(INVALID_HANDLE_VALUE, third);
  if (third != INVALID_HANDLE_VALUE) CloseHandle(third);
  CloseHandle(reader);
  // Once every handle is closed, nothing is refused.
  HANDLE alone = Open(path, kOpenings[4]);
  EXPECT_NE(INVALID_HANDLE_VALUE, alone);
  if (alone != INVALID_HANDLE_VALUE) CloseHandle(alone);
}

TEST(ShareModes, AFileIsDeletedOnlyWhenEveryOpenHandleSharesDeletion) {
  struct DeleteCase {
    DWORD access;
    DWORD share;
    bool deleted;
  };
  const DeleteCase cases[] = {
      {GENERIC_READ, 0, false},
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {GENERIC_WRITE, FILE_SHARE_READ, false},
      {GENERIC_READ, FILE_SHARE_DELETE, true},
      {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
  };
  for (const DeleteCase& c : cases) {
    ScopedTempDir dir;
    const std::string path = dir.File("shared.prc");
    ASSERT_TRUE(WriteFile(path, "model"));
    HANDLE held = CreateFileA(path.c_str(), c.access, c.share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(c.deleted, DeleteFileA(path.c_str()) != FALSE) << "access " << c.access << ", share " << c.share;
    CloseHandle(held);
    if (!c.deleted) {
      EXPECT_TRUE(FileExists(path));
      EXPECT_TRUE(DeleteFileA(path.c_str()));
    }
    EXPECT_FALSE(FileExists(path));
  }
}

}  // namespace
