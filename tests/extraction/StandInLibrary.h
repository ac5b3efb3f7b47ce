// Test helpers around the stand-in 3D library: its call log, a binding held for the length of a
// test, and a builder of entity trees through the library's own Create and Set calls.
#ifndef VANTRELL_TESTS_EXTRACTION_STANDINLIBRARY_H
#define VANTRELL_TESTS_EXTRACTION_STANDINLIBRARY_H

#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "a3dlib/StandInControl.h"
#include "extraction/A3DBinding.h"

namespace testing_support {

// The stand-in's call log, written to a file of the test's own temporary folder.
class StandInLog {
 public:
  StandInLog();
  std::vector<std::string> Lines() const;
  // The lines that begin with "call <entryPoint>".
  std::vector<std::string> Calls(const std::string& entryPoint) const;
  // Whether any line mentions `text`.
  bool Mentions(const std::string& text) const;
  // Whether any line mentions the path as the log quotes it (backslashes doubled).
  bool MentionsPath(const std::string& path) const;
  // The path as the log quotes it, quotes included.
  static std::string QuotedPath(const std::string& path);
  // The items of a call line after its status, by key: `key=value`, where a quoted text or a
  // bracketed list is one value, spaces and all.
  static std::map<std::string, std::string> Items(const std::string& callLine);
  // The unreleased count that the last terminate line reports, or -1 without one.
  int UnreleasedAtTerminate() const;
  // The lines naming the life cycle, in order: "load", "GetVersion", "Initialize", "Terminate",
  // "unload".
  std::vector<std::string> LifeCycle() const;
  void Clear() const;

 private:
  ScopedTempDir m_dir;
  std::string m_path;
  ScopedEnv m_env;
};

// The standard stand-in, loaded and initialised for the length of the object.
class BoundLibrary {
 public:
  BoundLibrary();
  ~BoundLibrary();
  bool ok() const { return m_ok; }

 private:
  ScopedA3DLibrary m_choice;
  HMODULE m_module;
  bool m_ok;
};

// Counts the calls of the walk's Gets of occurrences, representation items and 3D tessellations,
// releases left out, for the length of the object: their slots in the entry-point table point at
// counters that pass every call on. Made once the library is bound; one at a time.
class WalkGetCounter {
 public:
  WalkGetCounter();
  ~WalkGetCounter();
  uint64_t occurrences() const;
  uint64_t items() const;
  uint64_t tessellations() const;
};

// Builds entity trees through the bound library's entry points.
struct TreeBuilder {
  // A 3D tessellation with the given coordinates and index entries (no face records).
  static A3DEntity Tess3D(const std::vector<double>& coords, const std::vector<uint32_t>& indices);
  // A one-triangle 3D tessellation whose first point has x = id, so its mesh can be recognised.
  static A3DEntity Triangle(double id);
  static A3DEntity WireTessellation();
  // A poly-brep item holding the tessellation (null: none).
  static A3DEntity Item(A3DEntity tessellation);
  // A b-rep item without tessellation.
  static A3DEntity BrepItem();
  static A3DEntity Part(const std::vector<A3DEntity>& items);
  static A3DEntity Occurrence(const std::vector<A3DEntity>& children, A3DEntity part = nullptr,
                              A3DEntity linked1 = nullptr, A3DEntity linked2 = nullptr);
  static A3DEntity ModelFile(const std::vector<A3DEntity>& occurrences);
  static void Name(A3DEntity entity, const char* name);
  // Makes `prototype` the occurrence's prototype after both exist; the library's status.
  static int SetPrototype(A3DEntity occurrence, A3DEntity prototype);
};

}  // namespace testing_support

#endif
