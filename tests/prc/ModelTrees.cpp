#include "ModelTrees.h"

#include <limits>

#include "a3dlib/prc/PrcCodec.h"

namespace prctest {

using namespace a3d;

ModelFile* BuilderTree(EntityStore& store, uint32_t triangles) {
  Tess3D* tess = store.Make<Tess3D>();
  for (uint32_t f = 0; f < triangles; ++f) {
    for (int k = 0; k < 9; ++k) tess->coords.push_back(static_cast<float>(0.1 * (f + 1) + k));
    tess->normals.insert(tess->normals.end(), {0.0, 0.0, f % 2 ? -1.0 : 1.0});
    tess->indices.insert(tess->indices.end(), {3 * f, 9 * f, 9 * f + 3, 9 * f + 6});
  }
  TessFace face;
  face.kind = 0x20;
  face.sizes = {triangles};
  tess->faces.push_back(face);
  RepresentationItem* item = store.Make<RepresentationItem>(kTypePolyBrepModel);
  item->tessellation = tess;
  item->modelFlag = 1;
  PartDefinition* part = store.Make<PartDefinition>();
  part->items.push_back(item);
  ProductOccurrence* occurrence = store.Make<ProductOccurrence>();
  occurrence->partDefinition = part;
  occurrence->name = "Model";
  ModelFile* model = store.Make<ModelFile>();
  model->unit = 1.0;
  model->roots.push_back(occurrence);
  model->name = "ModelFile";
  return model;
}

ModelFile* RichTree(EntityStore& store) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  Tess3D* faces = store.Make<Tess3D>();
  faces->coords = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, -0.0, nan, infinity, 4.9e-324, -1e300, 0.1};
  faces->normals = {0, 0, 1, 0, 0, -1};
  faces->textureCoords = {0, 0, 1, 0, 1, 1};
  // Entries of no particular meaning: the codec keeps them as they are.
  for (uint32_t i = 0; i < 60; ++i) faces->indices.push_back(i * 7 % 19);
  const uint16_t kinds[] = {0x2, 0x4, 0x8, 0x20, 0x40, 0x80, 0x200, 0x400, 0x800, 0x2000, 0x4000, 0x8000, 0x6};
  uint32_t start = 0;
  for (uint16_t kind : kinds) {
    TessFace face;
    face.kind = kind;
    face.indexStart = start;
    face.sizes = (kind & 0x2222) ? std::vector<uint32_t>{1} : std::vector<uint32_t>{2, 3, 0x40000004u};
    face.textureCoordIndexCount = kind >= 0x100 ? 2 : 0;
    faces->faces.push_back(face);
    start += 4;
  }
  Tess3D* bare = store.Make<Tess3D>();  // nothing at all
  Tessellation* wire = store.Make<Tessellation>(kTypeTess3DWire);
  wire->coords = {1, 2, 3, 4, 5, 6};
  Tessellation* markup = store.Make<Tessellation>(kTypeTessMarkup);
  markup->coords = {7, 8, 9};

  auto item = [&](int type, Tessellation* tessellation, const char* name, uint16_t flag) {
    RepresentationItem* result = store.Make<RepresentationItem>(type);
    result->tessellation = tessellation;
    result->name = name;
    result->modelFlag = flag;
    return result;
  };
  PartDefinition* shared = store.Make<PartDefinition>();
  shared->name = "shared part";
  shared->items = {item(kTypePolyBrepModel, faces, "faces", 1), item(kTypeBrepModel, faces, "same tessellation", 1),
                   item(kTypeBrepModel, nullptr, "", 0), item(233, wire, "curve", 0), item(235, markup, "plane", 0),
                   item(238, bare, "polywire", 0), item(kTypePolyBrepModel, bare, "polywire", 0)};
  PartDefinition* empty = store.Make<PartDefinition>();

  auto occurrence = [&](const char* name, PartDefinition* part) {
    ProductOccurrence* result = store.Make<ProductOccurrence>();
    result->name = name;
    result->partDefinition = part;
    return result;
  };
  ProductOccurrence* leaf = occurrence("leaf \xC3\xA9t\xC3\xA9", shared);
  ProductOccurrence* other = occurrence("", empty);
  ProductOccurrence* prototype = occurrence("prototype", shared);
  ProductOccurrence* external = occurrence("external", nullptr);
  ProductOccurrence* assembly = occurrence("assembly", nullptr);
  assembly->children = {leaf, other, leaf};  // the same child twice
  assembly->prototype = prototype;
  assembly->externalData = external;
  external->children = {assembly};  // a cycle
  ProductOccurrence* second = occurrence("assembly", shared);  // a repeated name
  second->children = {leaf};
  ModelFile* model = store.Make<ModelFile>();
  model->name = "rich";
  model->unit = 25.4;
  model->roots = {assembly, second, assembly};
  return model;
}

std::vector<uint8_t> Write(const ModelFile& modelFile) {
  std::vector<uint8_t> bytes;
  if (WriteModelBytes(modelFile, bytes) != 0) bytes.clear();
  return bytes;
}

}  // namespace prctest
