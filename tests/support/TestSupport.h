// Helpers shared by the tests: scoped environment variables and working folders, a fresh
// temporary folder per test, and the places where the build put the stand-ins.
#ifndef VANTRELL_TESTS_TESTSUPPORT_H
#define VANTRELL_TESTS_TESTSUPPORT_H

#include <string>
#include <vector>

namespace testing_support {

// Folders of the build.
std::string BinDir();             // host program, libraries, the standard A3DLIB.dll
std::string PluginDir();          // plug_ins/ with Vantrell.api
std::string A3DVariantDir(const std::string& variant);  // a3dlib-variants/<variant>/A3DLIB.dll
std::string SourceDir();
std::string TestDir();            // where the test programs are
// ../shared/reference/prc/samples beside the checkout, or "" when it is absent.
std::string ReferencePrcSamplesDir();

// Sets (or, with a null value, removes) an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string m_name;
  bool m_hadValue;
  std::string m_oldValue;
};

// Makes a folder the current one for the life of the object.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& folder);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::string m_old;
};

// A new empty folder, removed with everything in it when the object goes.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string File(const std::string& name) const;

 private:
  std::string m_path;
};

// Chooses which A3DLIB.dll the library search finds, for the life of the object: the standard
// stand-in ("standard"), one of the variants built from its source, or none at all ("none").
// It makes the library's folder the current one and empties PATH.
class ScopedA3DLibrary {
 public:
  explicit ScopedA3DLibrary(const std::string& variant = "standard");
  ~ScopedA3DLibrary();

 private:
  ScopedTempDir m_empty;
  ScopedEnv m_path;
  ScopedCurrentDir* m_dir;
};

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace testing_support

#endif
