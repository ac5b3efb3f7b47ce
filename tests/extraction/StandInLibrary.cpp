#include "StandInLibrary.h"

#include <gtest/gtest.h>
#include <string.h>

#include "a3dlib/StandInRecords.h"

namespace testing_support {

StandInLog::StandInLog() : m_path(m_dir.File("a3d.log")), m_env(VANTRELL_A3D_ENV_LOG, m_path.c_str()) {}

std::vector<std::string> StandInLog::Lines() const { return ReadLines(m_path); }

std::vector<std::string> StandInLog::Calls(const std::string& entryPoint) const {
  std::vector<std::string> calls;
  for (const std::string& line : Lines())
    if (line.rfind("call " + entryPoint + " ", 0) == 0) calls.push_back(line);
  return calls;
}

bool StandInLog::Mentions(const std::string& text) const {
  for (const std::string& line : Lines())
    if (line.find(text) != std::string::npos) return true;
  return false;
}

bool StandInLog::MentionsPath(const std::string& path) const {
  std::string quoted = QuotedPath(path);
  return Mentions(quoted.substr(1, quoted.size() - 2));
}

std::string StandInLog::QuotedPath(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) quoted += c == '\\' || c == '"' ? std::string("\\") + c : std::string(1, c);
  return quoted + "\"";
}

std::map<std::string, std::string> StandInLog::Items(const std::string& callLine) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  int depth = 0;
  for (size_t i = 0; i < callLine.size(); ++i) {
    const char c = callLine[i];
    if (c == ' ' && !quoted && depth == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      continue;
    }
    word += c;
    if (quoted && c == '\\' && i + 1 < callLine.size()) {
      word += callLine[++i];
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '[') {
      ++depth;
    } else if (!quoted && c == ']') {
      --depth;
    }
  }
  if (!word.empty()) words.push_back(word);
  std::map<std::string, std::string> items;
  // "call", the entry point and the status come first.
  for (size_t w = 3; w < words.size(); ++w) {
    size_t equals = words[w].find('=');
    if (equals == std::string::npos) items[words[w]] = "";
    else items[words[w].substr(0, equals)] = words[w].substr(equals + 1);
  }
  return items;
}

int StandInLog::UnreleasedAtTerminate() const {
  int unreleased = -1;
  for (const std::string& line : Lines()) {
    if (line.rfind("call A3DDllTerminate ", 0) != 0) continue;
    size_t at = line.find("unreleased=");
    if (at != std::string::npos) unreleased = std::stoi(line.substr(at + 11));
  }
  return unreleased;
}

std::vector<std::string> StandInLog::LifeCycle() const {
  std::vector<std::string> events;
  for (const std::string& line : Lines()) {
    if (line.rfind("load ", 0) == 0) events.push_back("load");
    if (line.rfind("unload ", 0) == 0) events.push_back("unload");
    if (line.rfind("call A3DDllGetVersion ", 0) == 0) events.push_back("GetVersion");
    if (line.rfind("call A3DDllInitialize ", 0) == 0) events.push_back("Initialize");
    if (line.rfind("call A3DDllTerminate ", 0) == 0) events.push_back("Terminate");
  }
  return events;
}

void StandInLog::Clear() const { WriteFile(m_path, ""); }

BoundLibrary::BoundLibrary() : m_choice("standard"), m_module(LoadA3DLibrary()), m_ok(false) {
  if (m_module) m_ok = InitA3DLibrary() == 1;
}

BoundLibrary::~BoundLibrary() {
  if (m_ok) TerminateA3DLibrary();
  if (m_module) UnloadA3DLibrary(m_module);
}

namespace {

FARPROC g_countedEntries[kA3DEntryPointCount];
uint64_t g_counts[kA3DEntryPointCount];

template <A3DEntryPointSlot kSlot, typename Record>
int CountedGet(A3DEntity entity, Record* record) {
  if (entity) ++g_counts[kSlot];
  typedef int (*Get)(A3DEntity, Record*);
  return reinterpret_cast<Get>(reinterpret_cast<void (*)(void)>(g_countedEntries[kSlot]))(entity, record);
}

template <A3DEntryPointSlot kSlot, typename Record>
void CountCalls() {
  g_countedEntries[kSlot] = A3DEntryPointTable[kSlot];
  g_counts[kSlot] = 0;
  A3DEntryPointTable[kSlot] = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(&CountedGet<kSlot, Record>));
}

const A3DEntryPointSlot kCountedSlots[] = {kSlot_A3DAsmProductOccurrenceGet, kSlot_A3DRiRepresentationItemGet,
                                           kSlot_A3DTess3DGet};

}  // namespace

WalkGetCounter::WalkGetCounter() {
  CountCalls<kSlot_A3DAsmProductOccurrenceGet, ProductOccurrenceRecord>();
  CountCalls<kSlot_A3DRiRepresentationItemGet, RepresentationItemRecord>();
  CountCalls<kSlot_A3DTess3DGet, Tess3DRecord>();
}

WalkGetCounter::~WalkGetCounter() {
  for (A3DEntryPointSlot slot : kCountedSlots) A3DEntryPointTable[slot] = g_countedEntries[slot];
}

uint64_t WalkGetCounter::occurrences() const { return g_counts[kSlot_A3DAsmProductOccurrenceGet]; }
uint64_t WalkGetCounter::items() const { return g_counts[kSlot_A3DRiRepresentationItemGet]; }
uint64_t WalkGetCounter::tessellations() const { return g_counts[kSlot_A3DTess3DGet]; }

namespace {

template <typename Record>
Record Zeroed() {
  Record record;
  PrepareRecord(record);
  return record;
}

// Calls an entry point that the system itself never calls, by its name.
template <typename Fn>
Fn Named(const char* name) {
  HMODULE module = GetModuleHandleA("A3DLIB.dll");
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

}  // namespace

A3DEntity TreeBuilder::Tess3D(const std::vector<double>& coords, const std::vector<uint32_t>& indices) {
  Tess3DRecord tess = Zeroed<Tess3DRecord>();
  tess.indexCount = static_cast<uint32_t>(indices.size());
  tess.indices = const_cast<uint32_t*>(indices.data());
  A3DEntity entity = nullptr;
  EXPECT_EQ(0, A3D_ENTRY(A3DTess3DCreate)(&tess, &entity));
  TessBaseRecord base = Zeroed<TessBaseRecord>();
  base.coordCount = static_cast<uint32_t>(coords.size());
  base.coords = const_cast<double*>(coords.data());
  EXPECT_EQ(0, A3D_ENTRY(A3DTessBaseSet)(entity, &base));
  return entity;
}

A3DEntity TreeBuilder::Triangle(double id) {
  return Tess3D({id, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 0, 3, 0, 6});
}

A3DEntity TreeBuilder::WireTessellation() {
  Tess3DWireRecord record = Zeroed<Tess3DWireRecord>();
  A3DEntity entity = nullptr;
  EXPECT_EQ(0, Named<A3DTess3DWireCreateFn>("A3DTess3DWireCreate")(&record, &entity));
  return entity;
}

A3DEntity TreeBuilder::Item(A3DEntity tessellation) {
  PolyBrepModelRecord record = Zeroed<PolyBrepModelRecord>();
  record.modelFlag = 1;
  A3DEntity item = nullptr;
  EXPECT_EQ(0, A3D_ENTRY(A3DRiPolyBrepModelCreate)(&record, &item));
  if (tessellation) {
    RepresentationItemRecord set = Zeroed<RepresentationItemRecord>();
    set.tessellation = tessellation;
    EXPECT_EQ(0, A3D_ENTRY(A3DRiRepresentationItemSet)(item, &set));
  }
  return item;
}

A3DEntity TreeBuilder::BrepItem() {
  BrepModelRecord record = Zeroed<BrepModelRecord>();
  A3DEntity item = nullptr;
  EXPECT_EQ(0, Named<A3DRiBrepModelCreateFn>("A3DRiBrepModelCreate")(&record, &item));
  return item;
}

A3DEntity TreeBuilder::Part(const std::vector<A3DEntity>& items) {
  PartDefinitionRecord record = Zeroed<PartDefinitionRecord>();
  record.itemCount = static_cast<uint32_t>(items.size());
  record.items = const_cast<A3DEntity*>(items.data());
  A3DEntity part = nullptr;
  EXPECT_EQ(0, A3D_ENTRY(A3DAsmPartDefinitionCreate)(&record, &part));
  return part;
}

A3DEntity TreeBuilder::Occurrence(const std::vector<A3DEntity>& children, A3DEntity part, A3DEntity linked1,
                                  A3DEntity linked2) {
  ProductOccurrenceRecord record = Zeroed<ProductOccurrenceRecord>();
  record.childCount = static_cast<uint32_t>(children.size());
  record.children = const_cast<A3DEntity*>(children.data());
  record.partDefinition = part;
  record.linkedOccurrence1 = linked1;
  record.linkedOccurrence2 = linked2;
  A3DEntity occurrence = nullptr;
  EXPECT_EQ(0, A3D_ENTRY(A3DAsmProductOccurrenceCreate)(&record, &occurrence));
  return occurrence;
}

A3DEntity TreeBuilder::ModelFile(const std::vector<A3DEntity>& occurrences) {
  ModelFileRecord record = Zeroed<ModelFileRecord>();
  record.unit = 1.0;
  record.occurrenceCount = static_cast<uint32_t>(occurrences.size());
  record.occurrences = const_cast<A3DEntity*>(occurrences.data());
  A3DEntity model = nullptr;
  EXPECT_EQ(0, A3D_ENTRY(A3DAsmModelFileCreate)(&record, &model));
  return model;
}

void TreeBuilder::Name(A3DEntity entity, const char* name) {
  RootBaseRecord record = Zeroed<RootBaseRecord>();
  record.name = name;
  EXPECT_EQ(0, A3D_ENTRY(A3DRootBaseSet)(entity, &record));
}

int TreeBuilder::SetPrototype(A3DEntity occurrence, A3DEntity prototype) {
  typedef int (*SetPrototypeFn)(A3DEntity, A3DEntity);
  return Named<SetPrototypeFn>("A3DAsmProductOccurrenceSetProductPrototype")(occurrence, prototype);
}

}  // namespace testing_support
