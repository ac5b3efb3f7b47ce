// Files the codec's writer never makes, as other tools write them: several file structures with
// links across them, entities the model keeps none of (read past), older versions, tessellations
// the codec cannot read past, schemas, and references that point nowhere.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "PrcTestFiles.h"
#include "a3dlib/Model.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

using namespace a3d;
using prctest::BitWriter;
using prctest::Bytes;
using Writer = std::function<void(BitWriter&)>;

const uint32_t kStructureA[4] = {0xA, 1, 2, 3};
const uint32_t kStructureB[4] = {0xB, 1, 2, 3};

struct OccurrenceFields {
  std::string name;
  uint32_t part = 0;
  uint32_t prototype = 0;
  const uint32_t* prototypeIn = nullptr;  // null: the same file structure
  uint32_t external = 0;
  const uint32_t* externalIn = nullptr;
  std::vector<uint32_t> children;
  Writer rest;  // from the location on, user data included; default: nothing of any of it
};

// UnsignedIntegers, one after the other.
void Unsigned(BitWriter& out, std::initializer_list<uint32_t> values) {
  for (uint32_t value : values) out.UnsignedInteger(value);
}

void Link(BitWriter& out, uint32_t index, const uint32_t* structure) {
  out.UnsignedInteger(index);
  if (index == 0) return;
  out.Bit(structure == nullptr);
  if (structure)
    for (int i = 0; i < 4; ++i) out.UnsignedInteger(structure[i]);
}

void Occurrence(BitWriter& out, const OccurrenceFields& fields, uint32_t id) {
  out.UnsignedInteger(310);
  prctest::BaseWithGraphics(out, fields.name, id);
  out.UnsignedInteger(fields.part);
  Link(out, fields.prototype, fields.prototypeIn);
  Link(out, fields.external, fields.externalIn);
  out.UnsignedInteger(static_cast<uint32_t>(fields.children.size()));
  for (uint32_t child : fields.children) out.UnsignedInteger(child);
  out.Character(0);
  out.Bit(false);
  out.Double(1.0);
  out.Character(1);
  out.Integer(0);
  if (fields.rest) {
    fields.rest(out);
    return;
  }
  out.Bit(false);  // location
  for (int i = 0; i < 6; ++i) out.UnsignedInteger(0);  // entity references, markups (4), views
  out.Bit(false);  // filter
  for (int i = 0; i < 3; ++i) out.UnsignedInteger(0);  // display filters, scenes, user data
}

// A poly-brep item with the given tessellation (index + 1).
void PolyBrep(BitWriter& out, const std::string& name, uint32_t id, uint32_t tessellation) {
  out.UnsignedInteger(237);
  prctest::BaseWithGraphics(out, name, id);
  out.UnsignedInteger(0);
  out.UnsignedInteger(tessellation);
  out.Bit(true);
  out.UnsignedInteger(0);
}

// A part whose items `items` writes, `count` of them.
void Part(BitWriter& out, const std::string& name, uint32_t id, uint32_t count, const Writer& items) {
  out.UnsignedInteger(311);
  prctest::BaseWithGraphics(out, name, id);
  for (int i = 0; i < 6; ++i) out.Double(i);
  out.UnsignedInteger(count);
  items(out);
  for (int i = 0; i < 6; ++i) out.UnsignedInteger(0);  // markups (4), views, user data
}

Bytes Tree(uint32_t parts, const Writer& writeParts, uint32_t occurrences, const Writer& writeOccurrences) {
  return prctest::BitsOf([&](BitWriter& out) {
    out.UnsignedInteger(304);
    prctest::Base(out, "");
    out.UnsignedInteger(parts);
    writeParts(out);
    out.UnsignedInteger(occurrences);
    writeOccurrences(out);
    out.UnsignedInteger(302);
    prctest::Base(out, "");
    Unsigned(out, {100, 1, 0});  // next free id, the root, user data
  });
}

// A tree of one part holding one poly-brep with the given tessellation (index + 1), then the
// occurrences, numbered from 3.
Bytes OnePartTree(uint32_t tessellation, const std::vector<OccurrenceFields>& occurrences) {
  return Tree(
      1,
      [tessellation](BitWriter& out) {
        Part(out, "part", 1, 1, [tessellation](BitWriter& o) { PolyBrep(o, "item", 2, tessellation); });
      },
      static_cast<uint32_t>(occurrences.size()),
      [&occurrences](BitWriter& out) {
        uint32_t id = 3;
        for (const OccurrenceFields& fields : occurrences) Occurrence(out, fields, id++);
      });
}

OccurrenceFields Fields(const char* name, uint32_t part = 0) {
  OccurrenceFields fields;
  fields.name = name;
  fields.part = part;
  return fields;
}

Bytes Tessellations(uint32_t count, const Writer& body) {
  return prctest::BitsOf([&](BitWriter& out) {
    out.UnsignedInteger(305);
    prctest::Base(out, "");
    out.UnsignedInteger(count);
    body(out);
    out.UnsignedInteger(0);
  });
}

// A 3D tessellation of one triangle with point `first` at x, normals per corner.
void Triangle(BitWriter& out, double first, uint32_t version = 8137) {
  out.UnsignedInteger(172);
  out.Bit(false);
  out.UnsignedInteger(9);
  for (int i = 0; i < 9; ++i) out.Double(i == 0 ? first : i);
  out.Bit(true);  // has faces
  if (version >= 7039) out.Bit(false);
  if (version >= 7047) out.Bit(false);
  out.UnsignedInteger(3);
  for (double n : {0.0, 0.0, 1.0}) out.Double(n);
  out.UnsignedInteger(0);
  out.UnsignedInteger(6);
  for (uint32_t i : {0u, 0u, 0u, 3u, 0u, 6u}) out.UnsignedInteger(i);
  out.UnsignedInteger(1);
  out.UnsignedInteger(174);
  out.UnsignedInteger(0);
  out.UnsignedInteger(0);
  out.UnsignedInteger(0);
  out.UnsignedInteger(0x2);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(1);
  out.UnsignedInteger(0);
  out.Bit(false);
  out.UnsignedInteger(0);
}

Bytes Globals() { return prctest::BitsOf(prctest::EmptyGlobals); }

prctest::FileStructure Structure(const uint32_t* id, Bytes tree, Bytes tessellations, uint32_t version = 8137) {
  prctest::FileStructure structure;
  for (int i = 0; i < 4; ++i) structure.id[i] = id[i];
  structure.version = version;
  structure.globals = Globals();
  structure.tree = std::move(tree);
  structure.tessellations = std::move(tessellations);
  return structure;
}

Bytes ModelFile(const std::vector<std::pair<const uint32_t*, uint32_t>>& roots, size_t structures) {
  return prctest::BitsOf([&](BitWriter& out) { prctest::ModelFileSection(out, roots, structures); });
}

struct Loaded {
  int status = -1;
  EntityStore store;
  a3d::ModelFile* model = nullptr;
  explicit Loaded(const prctest::PrcFile& file) {
    Bytes bytes = prctest::Assemble(file);
    status = ReadModelBytes(bytes.data(), bytes.size(), store, &model);
  }
};

// One structure A: a part whose item has tessellation 1; occurrence "top" with that part.
prctest::PrcFile OneTriangleFile() {
  prctest::PrcFile file;
  Bytes tree = OnePartTree(1, {Fields("top", 1)});
  file.structures.push_back(Structure(kStructureA, tree, Tessellations(1, [](BitWriter& out) { Triangle(out, 5); })));
  file.modelFile = ModelFile({{kStructureA, 1}}, 1);
  return file;
}

TEST(ReaderTest, LinksAcrossFileStructures) {
  prctest::PrcFile file;
  // A: "top" (prototype B's second, external data B's first, child A's second), "child" (A's part).
  OccurrenceFields topFields = Fields("top");
  topFields.prototype = 2;
  topFields.prototypeIn = kStructureB;
  topFields.external = 1;
  topFields.externalIn = kStructureB;
  topFields.children = {1};
  Bytes treeA = OnePartTree(1, {topFields, Fields("child", 1)});
  // B: "b0" (B's part, whose item has B's second tessellation), "b1" (prototype "b0", same structure).
  OccurrenceFields b1Fields = Fields("b1");
  b1Fields.prototype = 1;
  Bytes treeB = OnePartTree(2, {Fields("b0", 1), b1Fields});
  file.structures.push_back(Structure(kStructureA, treeA, Tessellations(1, [](BitWriter& out) { Triangle(out, 10); })));
  file.structures.push_back(Structure(kStructureB, treeB, Tessellations(2, [](BitWriter& out) {
                                        Triangle(out, 20);
                                        Triangle(out, 21);
                                      })));
  file.modelFile = ModelFile({{kStructureA, 1}, {kStructureB, 2}}, 2);
  Loaded loaded(file);
  ASSERT_EQ(0, loaded.status);
  ASSERT_EQ(2u, loaded.model->roots.size());
  ProductOccurrence* top = loaded.model->roots[0];
  ProductOccurrence* b1 = loaded.model->roots[1];
  EXPECT_EQ("top", top->name);
  EXPECT_EQ("b1", b1->name);
  EXPECT_EQ(b1, top->prototype);  // one entity, reached twice
  ASSERT_NE(nullptr, top->externalData);
  EXPECT_EQ("b0", top->externalData->name);
  EXPECT_EQ(top->externalData, b1->prototype);
  ASSERT_EQ(1u, top->children.size());
  EXPECT_EQ("child", top->children[0]->name);
  ASSERT_NE(nullptr, top->children[0]->partDefinition);
  EXPECT_EQ(10.0, top->children[0]->partDefinition->items.at(0)->tessellation->coords.at(0));
  EXPECT_EQ(21.0, top->externalData->partDefinition->items.at(0)->tessellation->coords.at(0));
  // The model file, four occurrences, two parts with an item each, and the two tessellations used.
  EXPECT_EQ(11u, loaded.store.Count());
}

// Everything an occurrence and a part may carry besides what the model keeps, then a plain
// occurrence: the parse must come out in step.
void RichOccurrenceRest(BitWriter& out) {
  auto referenceOnBase = [&out] {
    out.UnsignedInteger(205);
    out.UnsignedInteger(310);
    out.Bit(false);  // in another file structure
    for (int i = 0; i < 4; ++i) out.UnsignedInteger(9);
    out.UnsignedInteger(3);
  };
  auto graphicsBase = [&out](const char* name) {
    out.UnsignedInteger(1);  // one attribute, with every kind of value
    out.UnsignedInteger(201);
    out.Bit(false);
    out.String("title");
    out.UnsignedInteger(6);
    const int kinds[] = {0, 1, 2, 3, 4, 5};
    for (int kind : kinds) {
      out.Bit(true);
      out.UnsignedInteger(static_cast<uint32_t>(kind));
      out.UnsignedInteger(static_cast<uint32_t>(kind));
      if (kind == 1 || kind == 3) out.Integer(-5);
      if (kind == 2) out.Double(2.5);
      if (kind == 4) out.String("value");
      if (kind == 5) {
        out.Integer(-1);
        out.UnsignedInteger(7);
      }
    }
    out.Name(name);
    for (int i = 0; i < 3; ++i) out.UnsignedInteger(40);
    out.Bit(false);  // graphics of its own
    out.UnsignedInteger(1);
    out.UnsignedInteger(2);
    out.UnsignedShort(0x0100);
  };
  auto plane = [&out] {
    out.UnsignedInteger(0);  // not looked at
    out.Bit(true);
    out.UnsignedInteger(0);
    out.Name("plane");
    out.UnsignedInteger(5);
    out.UnsignedInteger(0);
    out.Character(0x7F);  // every part of a transformation
    for (int i = 0; i < 3 + 9 + 6 + 3 + 1 + 4; ++i) out.Double(0.5);
    for (int i = 0; i < 8; ++i) out.Double(1);
  };
  auto entityReference = [&] {
    out.UnsignedInteger(203);
    graphicsBase("reference");
    out.UnsignedInteger(0);
    out.Bit(true);
    Unsigned(out, {206, 1});  // on topology, of an entity of type 1
    out.Bit(true);
    out.Bit(true);
    Unsigned(out, {1, 2, 2, 3, 4, 0});  // context, body, two indices; user data
  };
  auto filter = [&] {
    out.UnsignedInteger(320);
    prctest::Base(out, "filter");
    for (int i = 0; i < 3; ++i) out.UnsignedInteger(0);
    out.Bit(true);
    out.Bit(true);
    Unsigned(out, {2, 1, 2});  // two layers
    out.Bit(false);
    out.UnsignedInteger(1);
    entityReference();
    out.UnsignedInteger(0);
  };
  auto scene = [&] {
    out.UnsignedInteger(741);
    prctest::Base(out, "scene");
    for (int i = 0; i < 3; ++i) out.UnsignedInteger(0);
    out.Bit(true);
    out.UnsignedInteger(4);
    const int lightDoubles[] = {0, 6, 4, 11};  // directional: direction and intensity
    for (uint32_t light = 731; light <= 734; ++light) {
      out.UnsignedInteger(light);
      prctest::Base(out, "light");
      for (int i = 0; i < 6; ++i) out.UnsignedInteger(1);
      for (int i = 0; i < lightDoubles[light - 731]; ++i) out.Double(0.25);
    }
    out.Bit(true);  // camera
    out.UnsignedInteger(742);
    prctest::Base(out, "camera");
    for (int i = 0; i < 3; ++i) out.UnsignedInteger(0);
    out.Bit(false);
    for (int i = 0; i < 15; ++i) out.Double(3);
    out.Bit(true);  // rotation centre
    for (int i = 0; i < 3; ++i) out.Double(1);
    out.UnsignedInteger(1);
    plane();
    out.UnsignedInteger(1);
    out.UnsignedInteger(2);
    out.UnsignedInteger(1);
    out.UnsignedInteger(5);
    out.UnsignedInteger(6);
    out.Bit(true);  // absolute
  };
  out.Bit(true);  // location: a general transformation
  out.UnsignedInteger(207);
  for (int i = 0; i < 16; ++i) out.Double(i);
  out.UnsignedInteger(1);
  entityReference();
  // Markups: a linked item, a leader, a markup and an annotation set holding an item and a reference.
  out.UnsignedInteger(1);
  out.UnsignedInteger(204);
  graphicsBase("linked");
  out.UnsignedInteger(0);
  out.Bit(true);
  out.UnsignedInteger(205);
  out.UnsignedInteger(1);
  out.Bit(true);
  out.UnsignedInteger(2);
  out.Bit(false);
  out.Bits(0xA, 4);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(503);
  graphicsBase("leader");
  out.Bit(true);
  referenceOnBase();
  out.Bit(false);
  out.UnsignedInteger(2);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(502);
  graphicsBase("markup");
  out.UnsignedInteger(1);
  out.UnsignedInteger(2);
  out.UnsignedInteger(1);
  referenceOnBase();
  out.UnsignedInteger(1);
  referenceOnBase();
  out.UnsignedInteger(3);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(505);
  graphicsBase("set");
  out.UnsignedInteger(2);
  out.UnsignedInteger(504);
  graphicsBase("annotation");
  referenceOnBase();
  out.UnsignedInteger(0);
  out.UnsignedInteger(506);
  graphicsBase("annotation reference");
  out.UnsignedInteger(2);
  referenceOnBase();
  referenceOnBase();
  out.UnsignedInteger(0);
  out.UnsignedInteger(0);
  // A view with a scene and a filter.
  out.UnsignedInteger(1);
  out.UnsignedInteger(501);
  graphicsBase("view");
  out.UnsignedInteger(1);
  referenceOnBase();
  plane();
  out.Bit(true);
  scene();
  out.Bits(0x5, 3);
  out.UnsignedInteger(1);
  referenceOnBase();
  out.UnsignedInteger(1);
  filter();
  out.UnsignedInteger(0);
  out.Bit(true);  // the occurrence's filter
  filter();
  out.UnsignedInteger(1);
  filter();
  out.UnsignedInteger(1);
  scene();
  out.UnsignedInteger(0);
}

// Items of every kind: a set holding a b-rep with exact geometry, a coordinate system and a set
// with a poly-brep; a point set, a direction, a curve, a plane and a poly-wire.
void RichItems(BitWriter& out) {
  auto content = [&out](uint32_t type, const char* name, uint32_t tessellation) {
    out.UnsignedInteger(type);
    prctest::BaseWithGraphics(out, name, 50);
    out.UnsignedInteger(0);
    out.UnsignedInteger(tessellation);
  };
  content(239, "set", 0);
  out.UnsignedInteger(3);
  content(232, "exact", 0);
  out.Bit(true);
  Unsigned(out, {1, 2});  // topological context and body
  out.Bit(true);          // closed
  out.UnsignedInteger(0);
  content(240, "axes", 0);
  out.UnsignedInteger(202);
  out.Character(0x0F);  // translation, rotation, mirror, scale
  for (int i = 0; i < 3 + 6 + 1; ++i) out.Double(1);
  out.UnsignedInteger(0);
  content(239, "inner set", 2);
  out.UnsignedInteger(1);
  content(237, "inner mesh", 1);
  out.Bit(false);
  Unsigned(out, {0, 0, 0});  // user data of the mesh, the inner set and the set
  content(236, "points", 0);
  out.UnsignedInteger(2);
  for (int i = 0; i < 6; ++i) out.Double(i);
  out.UnsignedInteger(0);
  content(234, "direction", 0);
  out.Bit(true);
  for (int i = 0; i < 6; ++i) out.Double(i);
  out.UnsignedInteger(0);
  content(233, "curve", 3);
  out.Bit(false);
  out.UnsignedInteger(0);
  content(235, "plane", 0);
  out.Bit(false);
  out.UnsignedInteger(0);
  content(238, "polywire", 0);
  out.UnsignedInteger(0);
}

// A 3D tessellation with line attributes and vertex colours, a wire with colours, a markup.
void RichTessellations(BitWriter& out) {
  out.UnsignedInteger(172);
  out.Bit(false);
  out.UnsignedInteger(9);
  for (int i = 0; i < 9; ++i) out.Double(i);
  out.Bit(true);
  out.Bit(false);
  out.Bit(true);  // normals to be recalculated
  out.Character(0);
  out.Double(30);
  out.UnsignedInteger(0);
  out.UnsignedInteger(2);  // wire indices
  out.UnsignedInteger(0);
  out.UnsignedInteger(3);
  out.UnsignedInteger(6);
  for (uint32_t i : {0u, 3u, 6u, 0u, 6u, 3u}) out.UnsignedInteger(i);
  out.UnsignedInteger(1);
  out.UnsignedInteger(174);
  out.UnsignedInteger(1);  // line attributes
  out.UnsignedInteger(1);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(2);
  out.UnsignedInteger(0x2);
  out.UnsignedInteger(0);
  out.UnsignedInteger(1);
  out.UnsignedInteger(2);
  out.UnsignedInteger(0);
  out.Bit(true);  // vertex colours, RGB, not optimised: six points
  out.Bit(false);
  out.Bit(false);
  out.Bits(0x102030, 24);
  for (int i = 0; i < 5; ++i) {
    out.Bit(i % 2 == 0);
    if (i % 2) out.Bits(0x405060, 24);
  }
  out.UnsignedInteger(7);  // behaviour
  out.UnsignedInteger(0);

  out.UnsignedInteger(175);
  out.Bit(false);
  out.UnsignedInteger(6);
  for (int i = 0; i < 6; ++i) out.Double(-i);
  out.UnsignedInteger(3);
  for (int32_t i : {0x10000002, 0, 3}) out.Integer(i);
  out.Bit(true);
  out.Bit(true);   // RGBA
  out.Bit(false);  // per vertex
  out.Bit(false);
  out.Bits(0x11223344, 32);
  out.Bit(false);
  out.Bits(0x55667788, 32);

  out.UnsignedInteger(176);
  out.Bit(false);
  out.UnsignedInteger(3);
  for (int i = 0; i < 3; ++i) out.Double(7);
  out.UnsignedInteger(2);
  out.UnsignedInteger(1);
  out.UnsignedInteger(2);
  out.UnsignedInteger(1);
  out.String("text");
  out.String("label");
  out.Character(1);

  Triangle(out, 42);
}

TEST(ReaderTest, EntitiesTheModelKeepsNoneOfAreReadPast) {
  prctest::PrcFile file;
  Bytes tree = Tree(
      1, [](BitWriter& out) { Part(out, "part", 1, 6, RichItems); }, 2,
      [](BitWriter& out) {
        OccurrenceFields rich = Fields("rich", 1);
        rich.children = {1};
        rich.rest = RichOccurrenceRest;
        Occurrence(out, rich, 3);
        Occurrence(out, Fields("plain"), 4);
      });
  file.structures.push_back(Structure(kStructureA, tree, Tessellations(4, RichTessellations)));
  file.modelFile = ModelFile({{kStructureA, 1}}, 1);
  Loaded loaded(file);
  ASSERT_EQ(0, loaded.status);
  ProductOccurrence* rich = loaded.model->roots.at(0);
  ASSERT_EQ(1u, rich->children.size());
  EXPECT_EQ("plain", rich->children[0]->name);
  ASSERT_NE(nullptr, rich->partDefinition);
  // The sets gave way to their members; the inner set, having a tessellation, stays before its own.
  std::vector<std::string> names;
  std::vector<int> types;
  for (const RepresentationItem* item : rich->partDefinition->items) {
    names.push_back(item->name);
    types.push_back(item->type);
  }
  EXPECT_EQ((std::vector<std::string>{"exact", "axes", "inner set", "inner mesh", "points", "direction", "curve", "plane",
                                      "polywire"}),
            names);
  EXPECT_EQ((std::vector<int>{232, 240, 239, 237, 236, 234, 233, 235, 238}), types);
  EXPECT_EQ(1, rich->partDefinition->items[0]->modelFlag);  // closed
  const RepresentationItem* innerMesh = rich->partDefinition->items[3];
  ASSERT_NE(nullptr, innerMesh->tessellation);
  EXPECT_EQ(kTypeTess3D, innerMesh->tessellation->type);
  EXPECT_EQ(6u, static_cast<const Tess3D*>(innerMesh->tessellation)->indices.size());
  EXPECT_EQ(rich->partDefinition->items[2]->tessellation->type, kTypeTess3DWire);
  const Tessellation* markup = rich->partDefinition->items[6]->tessellation;
  ASSERT_NE(nullptr, markup);
  EXPECT_EQ(kTypeTessMarkup, markup->type);
  EXPECT_EQ((std::vector<double>{7, 7, 7}), markup->coords);
}

TEST(ReaderTest, OlderVersionsLackTheLaterFields) {
  prctest::PrcFile file = OneTriangleFile();
  file.structures[0].version = 7000;
  file.structures[0].tessellations = Tessellations(1, [](BitWriter& out) { Triangle(out, 5, 7000); });
  Loaded loaded(file);
  ASSERT_EQ(0, loaded.status);
  const Tess3D* tess = dynamic_cast<const Tess3D*>(loaded.model->roots[0]->partDefinition->items[0]->tessellation);
  ASSERT_NE(nullptr, tess);
  EXPECT_EQ(5.0, tess->coords[0]);
  EXPECT_EQ((std::vector<double>{0, 0, 1}), tess->normals);
}

// Tessellations 1 to 4 declared: a 3D one, a compressed one the codec cannot read past, then two
// it never reaches. Items refer to each.
TEST(ReaderTest, ACompressedTessellationEndsTheParseOfItsSection) {
  prctest::PrcFile file;
  Bytes tree = Tree(
      1,
      [](BitWriter& out) {
        Part(out, "part", 1, 4, [](BitWriter& o) {
          for (uint32_t t = 1; t <= 4; ++t) PolyBrep(o, "item", t + 1, t);
        });
      },
      1, [](BitWriter& out) { Occurrence(out, Fields("top", 1), 9); });
  file.structures.push_back(Structure(kStructureA, tree, Tessellations(4, [](BitWriter& out) {
                                        Triangle(out, 1);
                                        out.UnsignedInteger(173);
                                        out.Bits(0xDEADBEEF, 32);  // compressed data
                                      })));
  file.modelFile = ModelFile({{kStructureA, 1}}, 1);
  Loaded loaded(file);
  ASSERT_EQ(0, loaded.status);
  const std::vector<RepresentationItem*>& items = loaded.model->roots[0]->partDefinition->items;
  ASSERT_EQ(4u, items.size());
  EXPECT_EQ(kTypeTess3D, items[0]->tessellation->type);
  EXPECT_EQ(kTypeTess3DCompressed, items[1]->tessellation->type);
  EXPECT_EQ(171, items[2]->tessellation->type);  // a tessellation of unknown kind
  EXPECT_EQ(171, items[3]->tessellation->type);
  EXPECT_NE(items[2]->tessellation, items[3]->tessellation);
}

TEST(ReaderTest, DamagedOrUnsupportedFilesLeaveTheStoreAsItWas) {
  struct Case {
    const char* what;
    int status;
    void (*spoil)(prctest::PrcFile&);
  };
  const Case cases[] = {
      {"a schema in the globals", kPrcUnsupported,
       [](prctest::PrcFile& f) {
         f.structures[0].globals = prctest::BitsOf([](BitWriter& out) {
           out.UnsignedInteger(1);
           out.UnsignedInteger(310);
           out.UnsignedInteger(1);
           out.UnsignedInteger(0);
         });
       }},
      {"a schema in the model file", kPrcUnsupported,
       [](prctest::PrcFile& f) {
         f.modelFile.insert(f.modelFile.begin(), {0x80, 0x80, 0x80});  // a count of 1 before the rest
       }},
      {"a newer minimal version", kPrcUnsupported, [](prctest::PrcFile& f) { f.minimalVersion = 8138; }},
      {"a child past the occurrences", kPrcDamaged,
       [](prctest::PrcFile& f) {
         OccurrenceFields fields = Fields("top");
         fields.children = {1};
         f.structures[0].tree = OnePartTree(1, {fields});
       }},
      {"a part past the parts", kPrcDamaged,
       [](prctest::PrcFile& f) { f.structures[0].tree = OnePartTree(1, {Fields("top", 2)}); }},
      {"a prototype past the occurrences", kPrcDamaged,
       [](prctest::PrcFile& f) {
         OccurrenceFields fields = Fields("top");
         fields.prototype = 2;
         f.structures[0].tree = OnePartTree(1, {fields});
       }},
      {"external data in a file structure that is not there", kPrcDamaged,
       [](prctest::PrcFile& f) {
         OccurrenceFields fields = Fields("top");
         fields.external = 1;
         fields.externalIn = kStructureB;
         f.structures[0].tree = OnePartTree(1, {fields});
       }},
      {"a root in a file structure that is not there", kPrcDamaged,
       [](prctest::PrcFile& f) { f.modelFile = ModelFile({{kStructureB, 1}}, 1); }},
      {"a root numbered 0", kPrcDamaged, [](prctest::PrcFile& f) { f.modelFile = ModelFile({{kStructureA, 0}}, 1); }},
      {"a tessellation past those declared", kPrcDamaged,
       [](prctest::PrcFile& f) { f.structures[0].tree = OnePartTree(2, {Fields("top", 1)}); }},
      {"an unknown item kind", kPrcDamaged,
       [](prctest::PrcFile& f) {
         f.structures[0].tree = Tree(
             1, [](BitWriter& out) { Part(out, "part", 1, 1, [](BitWriter& o) { o.UnsignedInteger(231); }); }, 0,
             [](BitWriter&) {});
       }},
      {"a tree section of another type", kPrcDamaged,
       [](prctest::PrcFile& f) { f.structures[0].tree = f.structures[0].tessellations; }},
  };
  for (const Case& c : cases) {
    prctest::PrcFile file = OneTriangleFile();
    c.spoil(file);
    Loaded loaded(file);
    EXPECT_EQ(c.status, loaded.status) << c.what;
    EXPECT_EQ(0u, loaded.store.Count()) << c.what;
    EXPECT_EQ(nullptr, loaded.model) << c.what;
  }
}

TEST(ReaderTest, TheGlobalsAreNotTheModelsConcern) {
  prctest::PrcFile file = OneTriangleFile();
  // Past its empty schema, globals the codec cannot follow: an unknown material.
  file.structures[0].globals = prctest::BitsOf([](BitWriter& out) {
    out.UnsignedInteger(0);
    out.UnsignedInteger(303);
    prctest::Base(out, "");
    out.UnsignedInteger(0);
    out.Double(0);
    out.Double(0);
    out.String("");
    for (int i = 0; i < 4; ++i) out.UnsignedInteger(0);
    out.UnsignedInteger(1);
    out.UnsignedInteger(799);
  });
  Loaded loaded(file);
  EXPECT_EQ(0, loaded.status);
}

}  // namespace
