#include "A3DTestLibrary.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace a3dtest {

Library::Library(const std::string& variant) : m_variant(variant) { Load(); }

Library::~Library() { Unload(); }

void Library::Load() {
  testing_support::ScopedA3DLibrary choice(m_variant);
  m_module = LoadLibraryExA("A3DLIB.dll", nullptr, 8);
  if (m_module) Resolve();
}

void Library::Unload() {
  if (m_module) FreeLibrary(m_module);
  m_module = nullptr;
#define A3DTEST_CLEAR(name) name = nullptr;
  A3DTEST_ENTRY_POINTS(A3DTEST_CLEAR)
#undef A3DTEST_CLEAR
}

void Library::Resolve() {
// Through void(*)(void), the one function type every other may be cast to and from.
#define A3DTEST_RESOLVE(name) \
  name = reinterpret_cast<name##Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(m_module, #name)));
  A3DTEST_ENTRY_POINTS(A3DTEST_RESOLVE)
#undef A3DTEST_RESOLVE
}

bool Library::Initialise() {
  int major = 0;
  int minor = 0;
  return loaded() && A3DDllGetVersion(&major, &minor) == 0 && A3DDllInitialize(major, minor) == 0;
}

A3DEntity Library::Tess3D(const std::vector<double>& coords, const std::vector<double>& normals,
                          const std::vector<uint32_t>& indices, const std::vector<Face>& faces) {
  std::vector<TessFaceRecord> faceRecords(faces.size());
  for (size_t i = 0; i < faces.size(); ++i) {
    faceRecords[i] = TessFaceRecord{};
    faceRecords[i].structSize = sizeof(TessFaceRecord);
    faceRecords[i].faceKind = faces[i].kind;
    faceRecords[i].indexStart = faces[i].indexStart;
    faceRecords[i].sizeCount = static_cast<uint32_t>(faces[i].sizes.size());
    faceRecords[i].sizes = const_cast<uint32_t*>(faces[i].sizes.data());
  }
  Tess3DRecord record{};
  record.structSize = sizeof record;
  record.normalCoordCount = static_cast<uint32_t>(normals.size());
  record.normalCoords = const_cast<double*>(normals.data());
  record.indexCount = static_cast<uint32_t>(indices.size());
  record.indices = const_cast<uint32_t*>(indices.data());
  record.faceCount = static_cast<uint32_t>(faceRecords.size());
  record.faces = faceRecords.data();
  A3DEntity tessellation = nullptr;
  EXPECT_EQ(0, A3DTess3DCreate(&record, &tessellation));
  TessBaseRecord base{};
  base.structSize = sizeof base;
  base.coordCount = static_cast<uint32_t>(coords.size());
  base.coords = const_cast<double*>(coords.data());
  EXPECT_EQ(0, A3DTessBaseSet(tessellation, &base));
  return tessellation;
}

A3DEntity Library::Wire(const std::vector<double>& coords) {
  Tess3DWireRecord record{};
  record.structSize = sizeof record;
  A3DEntity wire = nullptr;
  EXPECT_EQ(0, A3DTess3DWireCreate(&record, &wire));
  TessBaseRecord base{};
  base.structSize = sizeof base;
  base.coordCount = static_cast<uint32_t>(coords.size());
  base.coords = const_cast<double*>(coords.data());
  EXPECT_EQ(0, A3DTessBaseSet(wire, &base));
  return wire;
}

A3DEntity Library::Markup() {
  TessMarkupRecord record{};
  record.structSize = sizeof record;
  A3DEntity markup = nullptr;
  EXPECT_EQ(0, A3DTessMarkupCreate(&record, &markup));
  return markup;
}

A3DEntity Library::Brep(A3DEntity tessellation) {
  BrepModelRecord record{};
  record.structSize = sizeof record;
  A3DEntity item = nullptr;
  EXPECT_EQ(0, A3DRiBrepModelCreate(&record, &item));
  SetTessellation(item, tessellation);
  return item;
}

void Library::SetTessellation(A3DEntity item, A3DEntity tessellation) {
  RepresentationItemRecord record{};
  record.structSize = sizeof record;
  record.tessellation = tessellation;
  EXPECT_EQ(0, A3DRiRepresentationItemSet(item, &record));
}

A3DEntity Library::Item(A3DEntity tessellation, uint16_t modelFlag) {
  PolyBrepModelRecord record{};
  record.structSize = sizeof record;
  record.modelFlag = modelFlag;
  A3DEntity item = nullptr;
  EXPECT_EQ(0, A3DRiPolyBrepModelCreate(&record, &item));
  SetTessellation(item, tessellation);
  return item;
}

A3DEntity Library::Part(const std::vector<A3DEntity>& items) {
  PartDefinitionRecord record{};
  record.structSize = sizeof record;
  record.itemCount = static_cast<uint32_t>(items.size());
  record.items = const_cast<A3DEntity*>(items.data());
  A3DEntity part = nullptr;
  EXPECT_EQ(0, A3DAsmPartDefinitionCreate(&record, &part));
  return part;
}

A3DEntity Library::Occurrence(const std::vector<A3DEntity>& children, A3DEntity partDefinition, A3DEntity linked1,
                              A3DEntity linked2) {
  ProductOccurrenceRecord record{};
  record.structSize = sizeof record;
  record.childCount = static_cast<uint32_t>(children.size());
  record.children = const_cast<A3DEntity*>(children.data());
  record.partDefinition = partDefinition;
  record.linkedOccurrence1 = linked1;
  record.linkedOccurrence2 = linked2;
  A3DEntity occurrence = nullptr;
  EXPECT_EQ(0, A3DAsmProductOccurrenceCreate(&record, &occurrence));
  return occurrence;
}

A3DEntity Library::Model(const std::vector<A3DEntity>& occurrences, double unit) {
  ModelFileRecord record{};
  record.structSize = sizeof record;
  record.unit = unit;
  record.occurrenceCount = static_cast<uint32_t>(occurrences.size());
  record.occurrences = const_cast<A3DEntity*>(occurrences.data());
  A3DEntity model = nullptr;
  EXPECT_EQ(0, A3DAsmModelFileCreate(&record, &model));
  return model;
}

void Library::Name(A3DEntity entity, const char* name) {
  RootBaseRecord record{};
  record.structSize = sizeof record;
  record.name = name;
  EXPECT_EQ(0, A3DRootBaseSet(entity, &record));
}

namespace {

// Gets the entity's record, hands it to `copy`, then releases it; the status of the Get.
template <typename Record, typename Get, typename Copy>
int ReadRecord(Get get, A3DEntity entity, Copy&& copy) {
  Record record{};
  record.structSize = sizeof record;
  int status = get(entity, &record);
  if (status != 0) return status;
  copy(record);
  EXPECT_EQ(0, get(nullptr, &record));
  return status;
}

}  // namespace

int Library::ReadModelFile(A3DEntity entity, ModelFileData* data) {
  return ReadRecord<ModelFileRecord>(A3DAsmModelFileGet, entity, [&](const ModelFileRecord& r) {
    data->unit = r.unit;
    data->occurrences.assign(r.occurrences, r.occurrences + r.occurrenceCount);
  });
}

int Library::ReadOccurrence(A3DEntity entity, OccurrenceData* data) {
  return ReadRecord<ProductOccurrenceRecord>(A3DAsmProductOccurrenceGet, entity, [&](const ProductOccurrenceRecord& r) {
    data->children.assign(r.children, r.children + r.childCount);
    data->partDefinition = r.partDefinition;
    data->linkedOccurrence1 = r.linkedOccurrence1;
    data->linkedOccurrence2 = r.linkedOccurrence2;
  });
}

int Library::ReadPart(A3DEntity entity, std::vector<A3DEntity>* items) {
  return ReadRecord<PartDefinitionRecord>(A3DAsmPartDefinitionGet, entity, [&](const PartDefinitionRecord& r) {
    items->assign(r.items, r.items + r.itemCount);
  });
}

int Library::ReadItem(A3DEntity entity, A3DEntity* tessellation) {
  return ReadRecord<RepresentationItemRecord>(A3DRiRepresentationItemGet, entity,
                                              [&](const RepresentationItemRecord& r) { *tessellation = r.tessellation; });
}

int Library::ReadCoords(A3DEntity entity, std::vector<double>* coords) {
  return ReadRecord<TessBaseRecord>(A3DTessBaseGet, entity, [&](const TessBaseRecord& r) {
    coords->assign(r.coords, r.coords + r.coordCount);
  });
}

int Library::ReadTess3D(A3DEntity entity, Tess3DData* data) {
  return ReadRecord<Tess3DRecord>(A3DTess3DGet, entity, [&](const Tess3DRecord& r) {
    data->normals.assign(r.normalCoords, r.normalCoords + r.normalCoordCount);
    data->indices.assign(r.indices, r.indices + r.indexCount);
    data->faceCount = r.faceCount;
    if (r.faceCount > 0) {
      data->face = r.faces[0];
      data->faceSizes.assign(r.faces[0].sizes, r.faces[0].sizes + r.faces[0].sizeCount);
      data->face.sizes = nullptr;
    }
  });
}

int Library::TypeOf(A3DEntity entity) {
  int type = 0;
  return A3DEntityGetType(entity, &type) == 0 ? type : -1;
}

std::vector<LogLine> ReadLog(const std::string& path) {
  std::vector<LogLine> log;
  for (const std::string& text : testing_support::ReadLines(path)) {
    std::istringstream in(text);
    LogLine line;
    in >> line.kind;
    if (line.kind == "call") in >> line.name >> line.status;
    std::getline(in, line.details);
    if (!line.details.empty() && line.details[0] == ' ') line.details.erase(0, 1);
    log.push_back(line);
  }
  return log;
}

std::vector<LogLine> CallsTo(const std::vector<LogLine>& log, const std::string& name) {
  std::vector<LogLine> calls;
  for (const LogLine& line : log)
    if (line.kind == "call" && line.name == name) calls.push_back(line);
  return calls;
}

}  // namespace a3dtest
