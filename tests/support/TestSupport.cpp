#include "TestSupport.h"

#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace testing_support {

std::string BinDir() { return VANTRELL_BIN_DIR; }
std::string PluginDir() { return VANTRELL_PLUGIN_DIR; }
std::string A3DVariantDir(const std::string& variant) {
  return std::string(VANTRELL_A3DLIB_VARIANTS_DIR) + "/" + variant;
}
std::string SourceDir() { return VANTRELL_SOURCE_DIR; }
std::string TestDir() { return VANTRELL_TEST_DIR; }

std::string ReferencePrcSamplesDir() {
  fs::path samples = fs::path(VANTRELL_SOURCE_DIR).parent_path() / "shared" / "reference" / "prc" / "samples";
  std::error_code error;
  return fs::is_directory(samples, error) ? samples.string() : std::string();
}

namespace {

void SetVariable(const std::string& name, const char* value) {
#if defined(_WIN32)
  std::string assignment = name + "=" + (value ? value : "");
  _putenv(assignment.c_str());
#else
  if (value)
    setenv(name.c_str(), value, 1);
  else
    unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(const std::string& name, const char* value) : m_name(name) {
  const char* old = ::getenv(name.c_str());
  m_hadValue = old != nullptr;
  if (old) m_oldValue = old;
  SetVariable(name, value);
}

ScopedEnv::~ScopedEnv() { SetVariable(m_name, m_hadValue ? m_oldValue.c_str() : nullptr); }

ScopedCurrentDir::ScopedCurrentDir(const std::string& folder) : m_old(fs::current_path().string()) {
  fs::current_path(folder);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code error;
  fs::current_path(m_old, error);
}

ScopedTempDir::ScopedTempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("vantrell-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      m_path = candidate.string();
      break;
    }
  }
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code error;
  fs::remove_all(m_path, error);
}

std::string ScopedTempDir::File(const std::string& name) const { return (fs::path(m_path) / name).string(); }

ScopedA3DLibrary::ScopedA3DLibrary(const std::string& variant)
    : m_path("PATH", ""),
      m_dir(new ScopedCurrentDir(variant == "none"       ? m_empty.path()
                                 : variant == "standard" ? BinDir()
                                                         : A3DVariantDir(variant))) {}

ScopedA3DLibrary::~ScopedA3DLibrary() { delete m_dir; }

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace testing_support
