// Where the writer writes, and how it fails: a target is replaced whole or not at all, nothing
// is left beside it, and every failure says why in plain words.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "TestMeshes.h"
#include "TestSupport.h"
#include "desktop/Desktop.h"
#include "writer/QNFMeshwright.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

const char kPrevious[] = "the previous content";

ON_ClassArray<ON_Mesh> OneTriangle() { return MakeList({MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})}); }

int Write(const ON_ClassArray<ON_Mesh>& meshes, const std::string& path, int options) {
  return QNFMeshwright::MeshToSKP(meshes, CString(path.c_str()), options, 0);
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class WriteFileTest : public ::testing::Test {
 protected:
  void SetUp() override { DesktopReset(); }

  ScopedTempDir m_dir;
};

TEST_F(WriteFileTest, ExistingFileIsReplacedAndNothingIsLeftBeside) {
  const std::string path = m_dir.File("Export.skp");
  ASSERT_TRUE(WriteFile(path, kPrevious));
  ASSERT_EQ(1, Write(OneTriangle(), path, QNFMeshwright::kOptionsObj)) << QNFMeshwright::GetError().GetString();
  EXPECT_EQ("# Written by Meshwright\no mesh1\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", ReadFile(path));
  EXPECT_EQ(std::vector<std::string>{"Export.skp"}, Entries(m_dir.path()));
}

TEST_F(WriteFileTest, BackslashesSeparateFoldersAsOnWindows) {
  fs::create_directory(m_dir.File("sub"));
  const std::string path = m_dir.path() + "\\sub\\Export.skp";
  ASSERT_EQ(1, Write(OneTriangle(), path, QNFMeshwright::kOptionsCollada)) << QNFMeshwright::GetError().GetString();
  EXPECT_TRUE(FileExists(m_dir.File("sub/Export.skp")));
}

TEST_F(WriteFileTest, SuccessClearsTheErrorText) {
  EXPECT_EQ(0, Write(OneTriangle(), "", QNFMeshwright::kOptionsCollada));
  EXPECT_STREQ("Unable to write a file without a name", QNFMeshwright::GetError());
  EXPECT_EQ(1, Write(OneTriangle(), m_dir.File("Export.skp"), QNFMeshwright::kOptionsCollada));
  EXPECT_STREQ("", QNFMeshwright::GetError());
}

// Meshes that cannot be written, each the second of a list of two.
ON_Mesh BadMesh(const std::string& fault) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const std::vector<ON_3fPoint> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  if (fault == "index past the vertices") return MakeMesh(square, {{0, 1, 2}, {1, 2, 4}});
  if (fault == "negative index") return MakeMesh(square, {{-1, 1, 2}});
  if (fault == "fourth corner of a quad") return MakeMesh(square, {{0, 1, 2, 7}});
  if (fault == "NaN") return MakeMesh({{0, 0, 0}, {1, nan, 0}, {0, 1, 0}}, {{0, 1, 2}});
  if (fault == "unused vertex at infinity") return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -infinity}}, {{0, 1, 2}});
  return ON_Mesh();
}

TEST_F(WriteFileTest, FailuresSayWhyAndLeaveTheTargetAsItWas) {
  enum Place { kExistingFile, kMissingFolder, kFolder };
  const struct {
    const char* fault;
    Place place;
    int options;
    const char* reason;
  } cases[] = {
      {"folder missing", kMissingFolder, QNFMeshwright::kOptionsCollada, "the folder does not exist"},
      {"path is a folder", kFolder, QNFMeshwright::kOptionsObj, "it is a folder"},
      {"unknown options", kExistingFile, 7, "the options value 7 is not one this writer knows"},
      {"index past the vertices", kExistingFile, QNFMeshwright::kOptionsCollada,
       "mesh 2 of 2 has a face that refers to a vertex it does not have"},
      {"negative index", kExistingFile, QNFMeshwright::kOptionsObj,
       "mesh 2 of 2 has a face that refers to a vertex it does not have"},
      {"fourth corner of a quad", kExistingFile, QNFMeshwright::kOptionsCollada,
       "mesh 2 of 2 has a face that refers to a vertex it does not have"},
      {"NaN", kExistingFile, QNFMeshwright::kOptionsObj,
       "mesh 2 of 2 has a vertex whose coordinates are not all finite numbers"},
      {"unused vertex at infinity", kExistingFile, QNFMeshwright::kOptionsCollada,
       "mesh 2 of 2 has a vertex whose coordinates are not all finite numbers"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    ScopedTempDir dir;
    std::string path = dir.File("Export.skp");
    if (c.place == kExistingFile) {
      ASSERT_TRUE(WriteFile(path, kPrevious));
    } else if (c.place == kFolder) {
      ASSERT_TRUE(fs::create_directory(path));
    } else {
      path = dir.File("missing/Export.skp");
    }
    const std::vector<std::string> before = Entries(dir.path());

    ON_ClassArray<ON_Mesh> meshes = OneTriangle();
    meshes.Append(BadMesh(c.fault));
    EXPECT_EQ(0, Write(meshes, path, c.options));
    EXPECT_EQ("Unable to write the file " + path + ": " + c.reason, QNFMeshwright::GetError().GetString());
    EXPECT_EQ(before, Entries(dir.path()));
    if (c.place == kExistingFile) {
      EXPECT_EQ(kPrevious, ReadFile(path));
    }
  }
}

// Makes a file or folder read-only for the life of the object, and tells whether that stops this
// process from writing (it does not for the superuser).
class ScopedReadOnly {
 public:
  explicit ScopedReadOnly(const std::string& path, const std::string& probe) : m_path(path) {
    struct stat status;
    stat(path.c_str(), &status);
    m_mode = status.st_mode & 07777;
    chmod(path.c_str(), m_mode & ~0222u);
    FILE* file = fopen(probe.c_str(), "ab");
    m_enforced = file == nullptr;
    if (file) fclose(file);
  }
  ~ScopedReadOnly() { chmod(m_path.c_str(), m_mode); }
  bool enforced() const { return m_enforced; }

 private:
  std::string m_path;
  mode_t m_mode;
  bool m_enforced;
};

TEST_F(WriteFileTest, ReadOnlyFolderOrFileIsNotWritten) {
  const std::string folder = m_dir.File("locked");
  ASSERT_TRUE(fs::create_directory(folder));
  const std::string inFolder = folder + "/Export.skp";
  const std::string lockedFile = m_dir.File("Locked.skp");
  ASSERT_TRUE(WriteFile(inFolder, kPrevious));
  ASSERT_TRUE(WriteFile(lockedFile, kPrevious));

  for (const std::string& path : {inFolder, lockedFile}) {
    SCOPED_TRACE(path);
    const std::string locked = path == inFolder ? folder : lockedFile;
    ScopedReadOnly readOnly(locked, path == inFolder ? folder + "/probe" : lockedFile);
    if (!readOnly.enforced()) GTEST_SKIP() << "permissions do not stop this user (superuser?)";
    EXPECT_EQ(0, Write(OneTriangle(), path, QNFMeshwright::kOptionsCollada));
    EXPECT_EQ("Unable to write the file " + path + ": permission denied", QNFMeshwright::GetError().GetString());
    EXPECT_EQ(kPrevious, ReadFile(path));
  }
  EXPECT_EQ(std::vector<std::string>{"Export.skp"}, Entries(folder));
}

}  // namespace
