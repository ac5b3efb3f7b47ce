// The stand-in 3D library as its tests see it: loaded by name like the plug-in loads it, its entry
// points resolved with their real signatures, and small helpers to build and read entity trees.
#ifndef VANTRELL_TESTS_A3DLIB_A3DTESTLIBRARY_H
#define VANTRELL_TESTS_A3DLIB_A3DTESTLIBRARY_H

#include <windows.h>

#include <string>
#include <vector>

#include "a3dlib/StandInControl.h"
#include "a3dlib/StandInRecords.h"
#include "extraction/A3DServices.h"

namespace a3dtest {

#define A3DTEST_ENTRY_POINTS(X) \
  X(A3DDllGetVersion)           \
  X(A3DDllInitialize)           \
  X(A3DDllTerminate)            \
  X(A3DEntityGetType)           \
  X(A3DAsmModelFileLoadFromFile) \
  X(A3DAsmModelFileWriteToFile) \
  X(A3DAsmModelFileDelete)      \
  X(A3DAsmModelFileGet)         \
  X(A3DAsmProductOccurrenceGet) \
  X(A3DAsmPartDefinitionGet)    \
  X(A3DRiRepresentationItemGet) \
  X(A3DTessBaseGet)             \
  X(A3DTess3DGet)               \
  X(A3DTess3DCreate)            \
  X(A3DTessBaseSet)             \
  X(A3DRiPolyBrepModelCreate)   \
  X(A3DRiRepresentationItemSet) \
  X(A3DAsmPartDefinitionCreate) \
  X(A3DAsmProductOccurrenceCreate) \
  X(A3DAsmModelFileCreate)      \
  X(A3DRootBaseSet)             \
  X(A3DTess3DWireCreate)        \
  X(A3DTessMarkupCreate)        \
  X(A3DRiBrepModelCreate)       \
  X(A3DAsmProductOccurrenceSetProductPrototype)

// One face record to create: kind, first index entry, sizes.
struct Face {
  uint16_t kind;
  uint32_t indexStart;
  std::vector<uint32_t> sizes;
};

// What the Gets hand out, copied and released.
struct ModelFileData {
  double unit = 0;
  std::vector<A3DEntity> occurrences;
};
struct OccurrenceData {
  std::vector<A3DEntity> children;
  A3DEntity partDefinition = nullptr;
  A3DEntity linkedOccurrence1 = nullptr;
  A3DEntity linkedOccurrence2 = nullptr;
};
struct Tess3DData {
  std::vector<double> normals;
  std::vector<uint32_t> indices;
  uint32_t faceCount = 0;
  TessFaceRecord face{};            // the first face record, if any
  std::vector<uint32_t> faceSizes;  // its sizes
};

// A loaded A3DLIB.dll (the standard one or a variant), unloaded when the object goes.
class Library {
 public:
  explicit Library(const std::string& variant = "standard");
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool loaded() const { return m_module != nullptr; }
  HMODULE module() const { return m_module; }
  void Unload();
  // Loads the variant again after an unload.
  void Load();
  // Gets the version and initialises the library with it; true when both succeed.
  bool Initialise();

#define A3DTEST_MEMBER(name) name##Fn name = nullptr;
  A3DTEST_ENTRY_POINTS(A3DTEST_MEMBER)
#undef A3DTEST_MEMBER

  // Builders: each returns the new entity, failing the test (and returning null) when the call
  // does not succeed.
  A3DEntity Tess3D(const std::vector<double>& coords, const std::vector<double>& normals,
                   const std::vector<uint32_t>& indices, const std::vector<Face>& faces = {});
  A3DEntity Wire(const std::vector<double>& coords);
  A3DEntity Markup();                            // without points
  A3DEntity Item(A3DEntity tessellation, uint16_t modelFlag = 1);  // a poly-brep model
  A3DEntity Brep(A3DEntity tessellation);        // a b-rep model
  void SetTessellation(A3DEntity item, A3DEntity tessellation);
  A3DEntity Part(const std::vector<A3DEntity>& items);
  A3DEntity Occurrence(const std::vector<A3DEntity>& children, A3DEntity partDefinition = nullptr,
                       A3DEntity linked1 = nullptr, A3DEntity linked2 = nullptr);
  A3DEntity Model(const std::vector<A3DEntity>& occurrences, double unit = 1.0);
  void Name(A3DEntity entity, const char* name);

  // Readers: Get, copy, release; the status of the Get (the release must succeed).
  int ReadModelFile(A3DEntity entity, ModelFileData* data);
  int ReadOccurrence(A3DEntity entity, OccurrenceData* data);
  int ReadPart(A3DEntity entity, std::vector<A3DEntity>* items);
  int ReadItem(A3DEntity entity, A3DEntity* tessellation);
  int ReadCoords(A3DEntity entity, std::vector<double>* coords);
  int ReadTess3D(A3DEntity entity, Tess3DData* data);
  int TypeOf(A3DEntity entity);  // -1 when the call fails

 private:
  void Resolve();
  std::string m_variant;
  HMODULE m_module = nullptr;
};

// One line of the call log.
struct LogLine {
  std::string kind;    // "load", "call" or "unload"
  std::string name;    // the entry point, for calls
  int status = 0;      // for calls
  std::string details; // the rest of the line
};
std::vector<LogLine> ReadLog(const std::string& path);
// The calls of the log to `name`, in order.
std::vector<LogLine> CallsTo(const std::vector<LogLine>& log, const std::string& name);

}  // namespace a3dtest

#endif
