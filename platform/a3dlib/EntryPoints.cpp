// The entry points that do their job: the library's life cycle, model files, the Gets the model
// walk makes, and the Creates and Sets that build entity trees.
#include <string.h>

#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "a3dlib/Control.h"
#include "a3dlib/EntryPointExport.h"
#include "a3dlib/Library.h"
#include "a3dlib/ModelFileInput.h"
#include "a3dlib/RecordLog.h"
#include "a3dlib/StandInControl.h"
#include "a3dlib/StandInRecords.h"
#include "a3dlib/TessExpansion.h"
#include "extraction/A3DServices.h"

namespace a3d {

namespace {

// One call of an entry point: counts it, applies the failure rules and logs it.
class Call {
 public:
  Call(A3DEntryPointSlot slot, bool release) : m_slot(slot), m_release(release), m_logging(LogEnabled()) {
    if (!release) m_number = ++Library().calls[slot];
  }

  // The status the call fails with before it does anything, or 0. `target` is the entity the
  // call is given, when it is one the library handed out.
  int Gate(const Entity* target, bool needsInitialisation = true) {
    if (!m_release && CallFails(kEntryPointNames[m_slot], m_number, target ? &target->name : nullptr))
      return kStatusInjected;
    if (needsInitialisation && !Library().initialised) return kStatusNotInitialised;
    return kStatusSuccess;
  }

  void Detail(const std::string& detail) {
    if (m_logging) m_details += " " + detail;
  }
  void Handle(const char* key, const void* handle) {
    if (m_logging) Detail(std::string(key) + "=" + DescribeEntity(handle));
  }
  // What the caller filled in the record, read before the call looks at it.
  template <typename Record>
  void Given(const Record* record) {
    if (m_logging) Detail(DescribeRecord(record));
  }
  void Count(const char* key, size_t count) {
    if (m_logging) Detail(std::string(key) + "=" + std::to_string(count));
  }

  int Finish(int status) {
    if (m_logging)
      LogLine("call " + std::string(kEntryPointNames[m_slot]) + " " + std::to_string(status) + m_details);
    return status;
  }

 private:
  A3DEntryPointSlot m_slot;
  bool m_release;
  bool m_logging;
  uint32_t m_number = 0;
  std::string m_details;
};

// Runs the body of an entry point; nothing it throws leaves the library.
template <typename Body>
int Run(A3DEntryPointSlot slot, bool release, Body&& body) {
  try {
    Call call(slot, release);
    int status;
    try {
      status = body(call);
    } catch (...) {
      status = kStatusInternal;
    }
    return call.Finish(status);
  } catch (...) {
    return kStatusInternal;
  }
}

template <typename Record>
bool Sized(const Record* record) {
  return record && record->structSize == sizeof(Record);
}

// The live entity of kind T at this address, or null.
template <typename T>
T* Live(const void* handle) {
  return dynamic_cast<T*>(Library().store.Find(handle));
}

// Whether `count` entries at `array` can be read: a count without an array cannot.
template <typename T>
bool Readable(uint32_t count, const T* array) {
  return count == 0 || array != nullptr;
}

template <typename T>
std::vector<T> Copy(uint32_t count, const T* array) {
  return count ? std::vector<T>(array, array + count) : std::vector<T>();
}

// The entities of an array of handles, each a live T; false if any is not.
template <typename T>
bool LiveAll(uint32_t count, A3DEntity const* handles, std::vector<T*>& out) {
  if (!Readable(count, handles)) return false;
  out.clear();
  out.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    T* entity = Live<T>(handles[i]);
    if (!entity) return false;
    out.push_back(entity);
  }
  return true;
}

// A handle that may be null, else must be a live T.
template <typename T>
bool LiveOrNull(A3DEntity handle, T** out) {
  *out = handle ? Live<T>(handle) : nullptr;
  return !handle || *out;
}

template <typename T>
std::vector<A3DEntity> Handles(const std::vector<T*>& entities) {
  return std::vector<A3DEntity>(entities.begin(), entities.end());
}

// Gives back what a Get put in `record`: the arrays at `arrays`, then the record's fields.
template <typename Record>
int Release(Record* record, const Arrays& arrays) {
  RecordMemory& memory = Library().memory;
  if (!memory.KeepsAll(arrays)) return kStatusBadArgument;
  memory.Free(arrays);
  const uint16_t size = record->structSize;
  memset(static_cast<void*>(record), 0, sizeof *record);
  record->structSize = size;
  return kStatusSuccess;
}

bool FitsCount(size_t size) { return size <= UINT32_MAX; }

}  // namespace

}  // namespace a3d

using namespace a3d;

// ---- Life cycle ----

A3D_EXPORT int A3DDllGetVersion(int* major, int* minor) {
  return Run(kSlot_A3DDllGetVersion, false, [&](Call& call) {
    if (int refused = call.Gate(nullptr, false)) return refused;
    if (!major || !minor) return static_cast<int>(kStatusBadArgument);
    int reportedMajor = 0;
    int reportedMinor = 0;
    if (!ReportedVersion(&reportedMajor, &reportedMinor)) {
      call.Detail("version=none");
      return static_cast<int>(kStatusNoVersion);
    }
    *major = reportedMajor;
    *minor = reportedMinor;
    call.Detail("version=" + std::to_string(reportedMajor) + "." + std::to_string(reportedMinor));
    return static_cast<int>(kStatusSuccess);
  });
}

A3D_EXPORT int A3DDllInitialize(int major, int minor) {
  return Run(kSlot_A3DDllInitialize, false, [&](Call& call) {
    call.Detail("major=" + std::to_string(major) + " minor=" + std::to_string(minor));
    if (int refused = call.Gate(nullptr, false)) return refused;
    if (InitialisationRefused()) return static_cast<int>(kStatusInitRefused);
    LibraryState& library = Library();
    if (!library.initialised) {
      library.memory.Clear();
      library.store.Clear();
      library.initialised = true;
    }
    return static_cast<int>(kStatusSuccess);
  });
}

A3D_EXPORT int A3DDllTerminate(void) {
  return Run(kSlot_A3DDllTerminate, false, [&](Call& call) {
    LibraryState& library = Library();
    call.Count("unreleased", library.memory.Outstanding());
    if (int refused = call.Gate(nullptr)) return refused;
    library.memory.Clear();
    library.store.Clear();
    library.initialised = false;
    return static_cast<int>(kStatusSuccess);
  });
}

A3D_EXPORT int A3DEntityGetType(A3DEntity entity, int* type) {
  return Run(kSlot_A3DEntityGetType, false, [&](Call& call) {
    call.Handle("entity", entity);
    Entity* found = Library().store.Find(entity);
    if (int refused = call.Gate(found)) return refused;
    if (!type) return static_cast<int>(kStatusBadArgument);
    if (!found) return static_cast<int>(kStatusBadEntity);
    *type = found->type;
    return static_cast<int>(kStatusSuccess);
  });
}

// ---- Model files ----

namespace a3d {
namespace {

// The library is a Windows one: its callers' paths may separate folders with backslashes.
std::string FilePath(const char* path) {
  std::string native(path);
#if !defined(_WIN32)
  for (char& c : native)
    if (c == '\\') c = '/';
#endif
  return native;
}

bool FileExists(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file) fclose(file);
  return file != nullptr;
}

// With VANTRELL_A3D_LOAD_WAIT set, a load announces itself by creating "<value>.loading" and
// waits, before it reads its file, until the file <value> exists (at most a minute).
void WaitWhenAsked() {
  const char* setting = getenv(VANTRELL_A3D_ENV_LOAD_WAIT);
  if (!setting || !setting[0]) return;
  // A copy: the caller may change its environment while the load waits, which can free the text.
  const std::string gate = setting;
  if (FILE* announce = fopen((gate + ".loading").c_str(), "wb")) fclose(announce);
  for (int i = 0; i < 6000 && !FileExists(gate); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace
}  // namespace a3d

A3D_EXPORT int A3DAsmModelFileLoadFromFile(const char* path, const void* loadParameters, A3DEntity* out) {
  (void)loadParameters;  // no load option changes what the stand-in reads
  return Run(kSlot_A3DAsmModelFileLoadFromFile, false, [&](Call& call) {
    if (path) call.Detail("path=" + Quoted(path));
    if (int refused = call.Gate(nullptr)) return refused;
    if (!path || !out) return static_cast<int>(kStatusBadArgument);
    WaitWhenAsked();
    // The file is read whole and let go before it is parsed, as the log then says what was read.
    std::vector<uint8_t> bytes;
    FileReadResult read = ReadModelFileBytes(FilePath(path), &bytes);
    if (read == FileReadResult::kBadShareSetting) return static_cast<int>(kStatusBadArgument);
    if (read == FileReadResult::kOutOfMemory) return static_cast<int>(kStatusInternal);
    if (LogEnabled()) call.Detail(read == FileReadResult::kRead ? DescribeBytes(bytes) : "bytes=none");
    if (read != FileReadResult::kRead) return static_cast<int>(kStatusFile);
    ModelFile* modelFile = nullptr;
    if (ReadModelBytes(bytes.data(), bytes.size(), Library().store, &modelFile) != 0 || !modelFile)
      return static_cast<int>(kStatusFile);
    *out = modelFile;
    call.Handle("out", modelFile);
    return static_cast<int>(kStatusSuccess);
  });
}

A3D_EXPORT int A3DAsmModelFileWriteToFile(A3DEntity modelFile, const ModelFileWriteParameters* parameters,
                                          const char* path) {
  return Run(kSlot_A3DAsmModelFileWriteToFile, false, [&](Call& call) {
    call.Handle("entity", modelFile);
    if (path) call.Detail("path=" + Quoted(path));
    call.Given(parameters);
    Entity* found = Library().store.Find(modelFile);
    if (int refused = call.Gate(found)) return refused;
    if (!path || !Sized(parameters)) return static_cast<int>(kStatusBadArgument);
    ModelFile* model = dynamic_cast<ModelFile*>(found);
    if (!model) return static_cast<int>(kStatusBadEntity);
    return static_cast<int>(WriteModelFile(*model, FilePath(path)) == 0 ? kStatusSuccess : kStatusFile);
  });
}

A3D_EXPORT int A3DAsmModelFileDelete(A3DEntity modelFile) {
  return Run(kSlot_A3DAsmModelFileDelete, false, [&](Call& call) {
    call.Handle("entity", modelFile);
    Entity* found = Library().store.Find(modelFile);
    if (int refused = call.Gate(found)) return refused;
    ModelFile* model = dynamic_cast<ModelFile*>(found);
    if (!model) return static_cast<int>(kStatusBadEntity);
    call.Count("deleted", DeleteModelFile(Library().store, model));
    return static_cast<int>(kStatusSuccess);
  });
}

// ---- Gets ----

namespace {

// The common frame of a Get. With an entity: gate, record checked, the entity a live T, then
// `fill` fills the record. Without one: a release of the arrays `held` names in the record.
template <typename T, typename Record, typename Held, typename Fill>
int GetFrom(A3DEntryPointSlot slot, A3DEntity entity, Record* record, Held&& held, Fill&& fill) {
  return Run(slot, !entity, [&](Call& call) {
    if (entity)
      call.Handle("entity", entity);
    else
      call.Detail("release");
    Entity* found = Library().store.Find(entity);
    if (int refused = call.Gate(found)) return refused;
    if (!Sized(record)) return static_cast<int>(kStatusBadArgument);
    if (!entity) return Release(record, held(*record));
    T* target = dynamic_cast<T*>(found);
    if (!target) return static_cast<int>(kStatusBadEntity);
    return fill(*target, call);
  });
}

}  // namespace

A3D_EXPORT int A3DAsmModelFileGet(A3DEntity entity, ModelFileRecord* record) {
  return GetFrom<ModelFile>(
      kSlot_A3DAsmModelFileGet, entity, record,
      [](const ModelFileRecord& r) { return Arrays{r.occurrences}; },
      [&](ModelFile& model, Call& call) {
        if (!FitsCount(model.roots.size())) return static_cast<int>(kStatusData);
        record->unit = model.unit;
        record->occurrenceCount = static_cast<uint32_t>(model.roots.size());
        record->occurrences = Library().memory.Keep(Handles(model.roots));
        call.Count("occurrences", model.roots.size());
        return static_cast<int>(kStatusSuccess);
      });
}

A3D_EXPORT int A3DAsmProductOccurrenceGet(A3DEntity entity, ProductOccurrenceRecord* record) {
  return GetFrom<ProductOccurrence>(
      kSlot_A3DAsmProductOccurrenceGet, entity, record,
      [](const ProductOccurrenceRecord& r) { return Arrays{r.children}; },
      [&](ProductOccurrence& occurrence, Call& call) {
        if (!FitsCount(occurrence.children.size())) return static_cast<int>(kStatusData);
        record->childCount = static_cast<uint32_t>(occurrence.children.size());
        record->children = Library().memory.Keep(Handles(occurrence.children));
        record->partDefinition = occurrence.partDefinition;
        record->linkedOccurrence1 = occurrence.prototype;
        record->linkedOccurrence2 = occurrence.externalData;
        call.Count("children", occurrence.children.size());
        return static_cast<int>(kStatusSuccess);
      });
}

A3D_EXPORT int A3DAsmPartDefinitionGet(A3DEntity entity, PartDefinitionRecord* record) {
  return GetFrom<PartDefinition>(
      kSlot_A3DAsmPartDefinitionGet, entity, record, [](const PartDefinitionRecord& r) { return Arrays{r.items}; },
      [&](PartDefinition& part, Call& call) {
        if (!FitsCount(part.items.size())) return static_cast<int>(kStatusData);
        record->itemCount = static_cast<uint32_t>(part.items.size());
        record->items = Library().memory.Keep(Handles(part.items));
        call.Count("items", part.items.size());
        return static_cast<int>(kStatusSuccess);
      });
}

A3D_EXPORT int A3DRiRepresentationItemGet(A3DEntity entity, RepresentationItemRecord* record) {
  return GetFrom<RepresentationItem>(
      kSlot_A3DRiRepresentationItemGet, entity, record, [](const RepresentationItemRecord&) { return Arrays{}; },
      [&](RepresentationItem& item, Call&) {
        record->tessellation = item.tessellation;
        return static_cast<int>(kStatusSuccess);
      });
}

A3D_EXPORT int A3DTessBaseGet(A3DEntity entity, TessBaseRecord* record) {
  return GetFrom<Tessellation>(
      kSlot_A3DTessBaseGet, entity, record, [](const TessBaseRecord& r) { return Arrays{r.coords}; },
      [&](Tessellation& tessellation, Call& call) {
        if (!FitsCount(tessellation.coords.size())) return static_cast<int>(kStatusData);
        record->coordCount = static_cast<uint32_t>(tessellation.coords.size());
        record->coords = Library().memory.Keep(std::vector<double>(tessellation.coords));
        call.Count("coords", tessellation.coords.size());
        return static_cast<int>(kStatusSuccess);
      });
}

A3D_EXPORT int A3DTess3DGet(A3DEntity entity, Tess3DRecord* record) {
  return GetFrom<Tess3D>(
      kSlot_A3DTess3DGet, entity, record,
      [](const Tess3DRecord& r) { return Arrays{r.normalCoords, r.indices, r.faces}; },
      [&](Tess3D& tessellation, Call& call) {
        if (tessellation.type != kTypeTess3D) return static_cast<int>(kStatusBadEntity);
        // Face records are handed out as the one face of triangles they expand to.
        std::vector<uint32_t> indices;
        const bool hasFaces = !tessellation.faces.empty();
        if (!hasFaces)
          indices = tessellation.indices;
        else if (ExpandTess3DFaces(tessellation, indices) != 0)
          return static_cast<int>(kStatusData);
        if (!FitsCount(tessellation.normals.size()) || !FitsCount(indices.size()))
          return static_cast<int>(kStatusData);
        const size_t indexCount = indices.size();
        RecordMemory& memory = Library().memory;
        record->normalCoordCount = static_cast<uint32_t>(tessellation.normals.size());
        record->normalCoords = memory.Keep(std::vector<double>(tessellation.normals));
        record->indexCount = static_cast<uint32_t>(indexCount);
        record->indices = memory.Keep(std::move(indices));
        record->faceCount = hasFaces ? 1 : 0;
        record->faces = hasFaces ? memory.KeepTriangleFace(static_cast<uint32_t>(indexCount / 6)) : nullptr;
        call.Count("normals", tessellation.normals.size());
        call.Count("indices", indexCount);
        call.Count("faces", record->faceCount);
        return static_cast<int>(kStatusSuccess);
      });
}

// ---- Creates and Sets ----

namespace {

// The common frame of a Create: gate, record and out checked, then `make` builds the entity
// (or returns null when a field of the record is refused).
template <typename Record, typename Make>
int Create(A3DEntryPointSlot slot, const Record* record, A3DEntity* out, Make&& make) {
  return Run(slot, false, [&](Call& call) {
    call.Given(record);
    if (int refused = call.Gate(nullptr)) return refused;
    if (!Sized(record) || !out) return static_cast<int>(kStatusBadArgument);
    int status = kStatusSuccess;
    Entity* made = make(&status);
    if (!made) return status;
    *out = made;
    call.Handle("out", made);
    return static_cast<int>(kStatusSuccess);
  });
}

}  // namespace

A3D_EXPORT int A3DTess3DCreate(const Tess3DRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DTess3DCreate, record, out, [&](int* status) -> Entity* {
    *status = kStatusBadArgument;
    if (!Readable(record->normalCoordCount, record->normalCoords) || !Readable(record->indexCount, record->indices) ||
        !Readable(record->faceCount, record->faces))
      return nullptr;
    std::vector<TessFace> faces(record->faceCount);
    for (uint32_t i = 0; i < record->faceCount; ++i) {
      const TessFaceRecord& given = record->faces[i];
      if (given.structSize != sizeof(TessFaceRecord) || !Readable(given.sizeCount, given.sizes)) return nullptr;
      faces[i].kind = given.faceKind;
      faces[i].indexStart = given.indexStart;
      faces[i].sizes = Copy(given.sizeCount, given.sizes);
    }
    std::vector<double> normals = Copy(record->normalCoordCount, record->normalCoords);
    std::vector<uint32_t> indices = Copy(record->indexCount, record->indices);
    Tess3D* tessellation = Library().store.Make<Tess3D>();
    tessellation->normals = std::move(normals);
    tessellation->indices = std::move(indices);
    tessellation->faces = std::move(faces);
    return tessellation;
  });
}

A3D_EXPORT int A3DTess3DWireCreate(const Tess3DWireRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DTess3DWireCreate, record, out,
                [&](int*) -> Entity* { return Library().store.Make<Tessellation>(kTypeTess3DWire); });
}

A3D_EXPORT int A3DTessMarkupCreate(const TessMarkupRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DTessMarkupCreate, record, out,
                [&](int*) -> Entity* { return Library().store.Make<Tessellation>(kTypeTessMarkup); });
}

A3D_EXPORT int A3DRiPolyBrepModelCreate(const PolyBrepModelRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DRiPolyBrepModelCreate, record, out, [&](int*) -> Entity* {
    RepresentationItem* item = Library().store.Make<RepresentationItem>(kTypePolyBrepModel);
    item->modelFlag = record->modelFlag;
    return item;
  });
}

A3D_EXPORT int A3DRiBrepModelCreate(const BrepModelRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DRiBrepModelCreate, record, out,
                [&](int*) -> Entity* { return Library().store.Make<RepresentationItem>(kTypeBrepModel); });
}

A3D_EXPORT int A3DAsmPartDefinitionCreate(const PartDefinitionRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DAsmPartDefinitionCreate, record, out, [&](int* status) -> Entity* {
    *status = kStatusBadArgument;
    if (!Readable(record->itemCount, record->items)) return nullptr;
    *status = kStatusBadEntity;
    std::vector<RepresentationItem*> items;
    if (!LiveAll(record->itemCount, record->items, items)) return nullptr;
    PartDefinition* part = Library().store.Make<PartDefinition>();
    part->items = std::move(items);
    return part;
  });
}

A3D_EXPORT int A3DAsmProductOccurrenceCreate(const ProductOccurrenceRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DAsmProductOccurrenceCreate, record, out, [&](int* status) -> Entity* {
    *status = kStatusBadArgument;
    if (!Readable(record->childCount, record->children)) return nullptr;
    *status = kStatusBadEntity;
    std::vector<ProductOccurrence*> children;
    PartDefinition* part = nullptr;
    ProductOccurrence* prototype = nullptr;
    ProductOccurrence* externalData = nullptr;
    if (!LiveAll(record->childCount, record->children, children) || !LiveOrNull(record->partDefinition, &part) ||
        !LiveOrNull(record->linkedOccurrence1, &prototype) || !LiveOrNull(record->linkedOccurrence2, &externalData))
      return nullptr;
    ProductOccurrence* occurrence = Library().store.Make<ProductOccurrence>();
    occurrence->children = std::move(children);
    occurrence->partDefinition = part;
    occurrence->prototype = prototype;
    occurrence->externalData = externalData;
    return occurrence;
  });
}

A3D_EXPORT int A3DAsmModelFileCreate(const ModelFileRecord* record, A3DEntity* out) {
  return Create(kSlot_A3DAsmModelFileCreate, record, out, [&](int* status) -> Entity* {
    *status = kStatusBadArgument;
    if (!Readable(record->occurrenceCount, record->occurrences)) return nullptr;
    *status = kStatusBadEntity;
    std::vector<ProductOccurrence*> roots;
    if (!LiveAll(record->occurrenceCount, record->occurrences, roots)) return nullptr;
    ModelFile* model = Library().store.Make<ModelFile>();
    model->unit = record->unit;
    model->roots = std::move(roots);
    return model;
  });
}

namespace {

// The common frame of a Set: gate, record checked, the entity a live T, then `set` applies the
// record (or returns a failure status without touching anything).
template <typename T, typename Record, typename Set>
int SetOn(A3DEntryPointSlot slot, A3DEntity entity, const Record* record, Set&& set) {
  return Run(slot, false, [&](Call& call) {
    call.Handle("entity", entity);
    call.Given(record);
    Entity* found = Library().store.Find(entity);
    if (int refused = call.Gate(found)) return refused;
    if (!Sized(record)) return static_cast<int>(kStatusBadArgument);
    T* target = dynamic_cast<T*>(found);
    if (!target) return static_cast<int>(kStatusBadEntity);
    return set(*target, call);
  });
}

}  // namespace

A3D_EXPORT int A3DTessBaseSet(A3DEntity tessellation, const TessBaseRecord* record) {
  return SetOn<Tessellation>(kSlot_A3DTessBaseSet, tessellation, record, [&](Tessellation& target, Call&) {
    if (!Readable(record->coordCount, record->coords)) return static_cast<int>(kStatusBadArgument);
    target.coords = Copy(record->coordCount, record->coords);
    return static_cast<int>(kStatusSuccess);
  });
}

A3D_EXPORT int A3DRiRepresentationItemSet(A3DEntity item, const RepresentationItemRecord* record) {
  return SetOn<RepresentationItem>(kSlot_A3DRiRepresentationItemSet, item, record,
                                   [&](RepresentationItem& target, Call&) {
                                     Tessellation* tessellation = nullptr;
                                     if (!LiveOrNull(record->tessellation, &tessellation))
                                       return static_cast<int>(kStatusBadEntity);
                                     target.tessellation = tessellation;
                                     return static_cast<int>(kStatusSuccess);
                                   });
}

A3D_EXPORT int A3DRootBaseSet(A3DEntity entity, const RootBaseRecord* record) {
  return SetOn<Entity>(kSlot_A3DRootBaseSet, entity, record, [&](Entity& target, Call&) {
    target.name = record->name ? record->name : "";
    return static_cast<int>(kStatusSuccess);
  });
}

// Links a prototype to an occurrence after both exist (null unlinks it). The one way to make an
// occurrence graph that loops back on itself, which a damaged file may also hold.
A3D_EXPORT int A3DAsmProductOccurrenceSetProductPrototype(A3DEntity occurrence, A3DEntity prototype) {
  return Run(kSlot_A3DAsmProductOccurrenceSetProductPrototype, false, [&](Call& call) {
    call.Handle("entity", occurrence);
    call.Handle("prototype", prototype);
    Entity* found = Library().store.Find(occurrence);
    if (int refused = call.Gate(found)) return refused;
    ProductOccurrence* target = dynamic_cast<ProductOccurrence*>(found);
    ProductOccurrence* linked = nullptr;
    if (!target || !LiveOrNull(prototype, &linked)) return static_cast<int>(kStatusBadEntity);
    target->prototype = linked;
    return static_cast<int>(kStatusSuccess);
  });
}

// The signatures the system calls through must be the ones defined here.
static_assert(std::is_same<decltype(&A3DDllGetVersion), A3DDllGetVersionFn>::value, "A3DDllGetVersion");
static_assert(std::is_same<decltype(&A3DDllInitialize), A3DDllInitializeFn>::value, "A3DDllInitialize");
static_assert(std::is_same<decltype(&A3DDllTerminate), A3DDllTerminateFn>::value, "A3DDllTerminate");
static_assert(std::is_same<decltype(&A3DAsmModelFileLoadFromFile), A3DAsmModelFileLoadFromFileFn>::value, "Load");
static_assert(std::is_same<decltype(&A3DAsmModelFileWriteToFile), A3DAsmModelFileWriteToFileFn>::value, "Write");
static_assert(std::is_same<decltype(&A3DAsmModelFileDelete), A3DAsmModelFileDeleteFn>::value, "Delete");
static_assert(std::is_same<decltype(&A3DAsmModelFileGet), A3DAsmModelFileGetFn>::value, "A3DAsmModelFileGet");
static_assert(std::is_same<decltype(&A3DAsmProductOccurrenceGet), A3DAsmProductOccurrenceGetFn>::value, "PO Get");
static_assert(std::is_same<decltype(&A3DAsmPartDefinitionGet), A3DAsmPartDefinitionGetFn>::value, "PD Get");
static_assert(std::is_same<decltype(&A3DRiRepresentationItemGet), A3DRiRepresentationItemGetFn>::value, "RI Get");
static_assert(std::is_same<decltype(&A3DTessBaseGet), A3DTessBaseGetFn>::value, "A3DTessBaseGet");
static_assert(std::is_same<decltype(&A3DTess3DGet), A3DTess3DGetFn>::value, "A3DTess3DGet");
static_assert(std::is_same<decltype(&A3DEntityGetType), A3DEntityGetTypeFn>::value, "A3DEntityGetType");
static_assert(std::is_same<decltype(&A3DTess3DCreate), A3DTess3DCreateFn>::value, "A3DTess3DCreate");
static_assert(std::is_same<decltype(&A3DTessBaseSet), A3DTessBaseSetFn>::value, "A3DTessBaseSet");
static_assert(std::is_same<decltype(&A3DRiPolyBrepModelCreate), A3DRiPolyBrepModelCreateFn>::value, "PolyBrep");
static_assert(std::is_same<decltype(&A3DRiRepresentationItemSet), A3DRiRepresentationItemSetFn>::value, "RI Set");
static_assert(std::is_same<decltype(&A3DAsmPartDefinitionCreate), A3DAsmPartDefinitionCreateFn>::value, "PD");
static_assert(std::is_same<decltype(&A3DAsmProductOccurrenceCreate), A3DAsmProductOccurrenceCreateFn>::value, "PO");
static_assert(std::is_same<decltype(&A3DAsmModelFileCreate), A3DAsmModelFileCreateFn>::value, "MF Create");
static_assert(std::is_same<decltype(&A3DRootBaseSet), A3DRootBaseSetFn>::value, "A3DRootBaseSet");
static_assert(std::is_same<decltype(&A3DTess3DWireCreate), A3DTess3DWireCreateFn>::value, "Wire");
static_assert(std::is_same<decltype(&A3DTessMarkupCreate), A3DTessMarkupCreateFn>::value, "Markup");
static_assert(std::is_same<decltype(&A3DRiBrepModelCreate), A3DRiBrepModelCreateFn>::value, "Brep");
static_assert(std::is_same<decltype(&A3DAsmProductOccurrenceSetProductPrototype),
                           A3DAsmProductOccurrenceSetProductPrototypeFn>::value,
              "SetProductPrototype");

namespace a3d {

int Unsupported(A3DEntryPointSlot slot) {
  return Run(slot, false, [&](Call& call) {
    call.Detail("unsupported");
    if (int refused = call.Gate(nullptr, false)) return refused;
    return static_cast<int>(kStatusUnsupported);
  });
}

}  // namespace a3d
