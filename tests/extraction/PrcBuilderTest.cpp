#include <gtest/gtest.h>

#include <string.h>

#include <stdlib.h>

#include <map>
#include <set>
#include <sstream>

#include "HostFixture.h"
#include "StandInLibrary.h"
#include "a3dlib/Model.h"
#include "extraction/DocumentScan.h"
#include "extraction/LastErrorText.h"
#include "extraction/PrcBuilder.h"

using namespace testing_support;

namespace {

ON_Mesh Mesh(const std::vector<ON_3fPoint>& points, const std::vector<std::vector<int>>& faces) {
  ON_Mesh mesh(static_cast<int>(faces.size()), static_cast<int>(points.size()), false, false);
  for (size_t v = 0; v < points.size(); ++v) mesh.SetVertex(static_cast<int>(v), ON_3dPoint(points[v]));
  for (size_t f = 0; f < faces.size(); ++f) {
    const std::vector<int>& vi = faces[f];
    ON_MeshFace face;
    for (int k = 0; k < 4; ++k) face.vi[k] = vi[k < static_cast<int>(vi.size()) ? k : 2];
    mesh.m_F.Append(face);
  }
  return mesh;
}

MeshList List(const std::vector<ON_Mesh>& meshes) {
  MeshList list;
  for (const ON_Mesh& mesh : meshes) list.Append(mesh);
  return list;
}

// The model file as the library's own codec reads it back: the tessellation's entries exactly as
// the builder gave them.
struct WrittenModel {
  a3d::EntityStore store;
  a3d::ModelFile* model = nullptr;
  a3d::Tess3D* tess = nullptr;

  explicit WrittenModel(const std::string& path) {
    EXPECT_EQ(0, a3d::ReadModelFile(path, store, &model));
    if (!model) return;
    EXPECT_EQ("ModelFile", model->name);
    EXPECT_EQ(1.0, model->unit);
    EXPECT_EQ(1u, model->roots.size());
    if (model->roots.size() != 1) return;
    a3d::ProductOccurrence* occurrence = model->roots[0];
    EXPECT_EQ("Model", occurrence->name);
    EXPECT_TRUE(occurrence->children.empty());
    EXPECT_EQ(nullptr, occurrence->prototype);
    EXPECT_EQ(nullptr, occurrence->externalData);
    EXPECT_NE(nullptr, occurrence->partDefinition);
    if (!occurrence->partDefinition) return;
    EXPECT_EQ(1u, occurrence->partDefinition->items.size());
    if (occurrence->partDefinition->items.size() != 1) return;
    a3d::RepresentationItem* item = occurrence->partDefinition->items[0];
    EXPECT_EQ(a3d::kTypePolyBrepModel, item->type);
    tess = dynamic_cast<a3d::Tess3D*>(item->tessellation);
    EXPECT_NE(nullptr, tess);
    if (!tess) return;
    EXPECT_EQ(1u, tess->faces.size());
    if (tess->faces.size() == 1) {
      EXPECT_EQ(32, tess->faces[0].kind);
      EXPECT_EQ(0u, tess->faces[0].indexStart);
      EXPECT_EQ(std::vector<uint32_t>{static_cast<uint32_t>(tess->indices.size() / 4)}, tess->faces[0].sizes);
    }
  }
};

// A host for the builder's allocations and hand-overs, the standard library, "temp", a log.
class PrcBuilder : public ::testing::Test {
 protected:
  PrcBuilder() : m_temp("temp", m_tempDir.path().c_str()), m_library("standard") {}

  std::string Write(const MeshList& meshes) {
    std::string path = m_files.File("model.prc");
    EXPECT_EQ(1, BuildPrcFromMeshes(&meshes, CStringT<char>(path.c_str())));
    return path;
  }

  ScopedTempDir m_files;
  ScopedTempDir m_tempDir;
  ScopedEnv m_temp;
  ScopedA3DLibrary m_library;
  StandInLog m_log;
  HostFixture m_host;
  MeshList m_empty;
};

TEST_F(PrcBuilder, EmptyListStillWritesTheModelFileAndItsOneOccurrence) {
  std::string path = Write(MeshList());
  WrittenModel written(path);
  ASSERT_NE(nullptr, written.tess);
  EXPECT_TRUE(written.tess->coords.empty());
  EXPECT_TRUE(written.tess->normals.empty());
  EXPECT_TRUE(written.tess->indices.empty());
  std::vector<std::string> sizes;
  for (const acrohost::HostCall& call : m_host.CallsOf("AcroSupport", 1)) sizes.push_back(call.arguments);
  EXPECT_EQ((std::vector<std::string>{"0", "0", "0"}), sizes);
  EXPECT_EQ(0u, m_host.OutstandingBlocks());
}

// One field of a record as the 3D library was handed it: the call ("A3DRootBaseSet#2" for the
// second call of that entry point), the field as the library's log names it, and its value.
struct Handed {
  std::string call;
  std::string field;
  std::string value;
};

// A record's structSize: its size in bytes, which with 32-bit pointers is the library's own (the
// records' layouts are checked where they are declared).
template <typename Record>
std::string Size() {
  return std::to_string(sizeof(Record));
}

// Every record the builder fills for a tessellation of n triangles, field by field, with the
// arrays as the library reads them, in the order of the calls.
std::vector<Handed> RecordsHanded(uint32_t n, const std::string& coords, const std::string& normals,
                                  const std::string& indices, const std::string& path) {
  const std::string tess = "172:\"\"", polyBrep = "237:\"\"", part = "311:\"\"";
  return {
      {"A3DTess3DCreate#1", "structSize", Size<Tess3DRecord>()},
      {"A3DTess3DCreate#1", "normalCoordCount", std::to_string(3 * n)},
      {"A3DTess3DCreate#1", "normalCoords", normals},
      {"A3DTess3DCreate#1", "indexCount", std::to_string(4 * n)},
      {"A3DTess3DCreate#1", "indices", indices},
      {"A3DTess3DCreate#1", "faceCount", "1"},
      {"A3DTess3DCreate#1", "faces[0].structSize", Size<TessFaceRecord>()},
      {"A3DTess3DCreate#1", "faces[0].faceKind", "32"},
      {"A3DTess3DCreate#1", "faces[0].indexStart", "0"},
      {"A3DTess3DCreate#1", "faces[0].sizeCount", "1"},
      {"A3DTess3DCreate#1", "faces[0].sizes", "[" + std::to_string(n) + "]"},
      {"A3DTess3DCreate#1", "faces[0].unnamed", "zero"},
      {"A3DTess3DCreate#1", "unnamed", "zero"},
      {"A3DTessBaseSet#1", "entity", tess},
      {"A3DTessBaseSet#1", "structSize", Size<TessBaseRecord>()},
      {"A3DTessBaseSet#1", "coordCount", std::to_string(9 * n)},
      {"A3DTessBaseSet#1", "coords", coords},
      {"A3DTessBaseSet#1", "unnamed", "zero"},
      {"A3DRiPolyBrepModelCreate#1", "structSize", Size<PolyBrepModelRecord>()},
      {"A3DRiPolyBrepModelCreate#1", "modelFlag", "1"},
      {"A3DRiPolyBrepModelCreate#1", "unnamed", "zero"},
      {"A3DRiRepresentationItemSet#1", "entity", polyBrep},
      {"A3DRiRepresentationItemSet#1", "structSize", Size<RepresentationItemRecord>()},
      {"A3DRiRepresentationItemSet#1", "tessellation", tess},
      {"A3DRiRepresentationItemSet#1", "unnamed", "zero"},
      {"A3DAsmPartDefinitionCreate#1", "structSize", Size<PartDefinitionRecord>()},
      {"A3DAsmPartDefinitionCreate#1", "itemCount", "1"},
      {"A3DAsmPartDefinitionCreate#1", "items", "[" + polyBrep + "]"},
      {"A3DAsmPartDefinitionCreate#1", "unnamed", "zero"},
      {"A3DAsmProductOccurrenceCreate#1", "structSize", Size<ProductOccurrenceRecord>()},
      {"A3DAsmProductOccurrenceCreate#1", "childCount", "0"},
      {"A3DAsmProductOccurrenceCreate#1", "children", "null"},
      {"A3DAsmProductOccurrenceCreate#1", "partDefinition", part},
      {"A3DAsmProductOccurrenceCreate#1", "linkedOccurrence1", "null"},
      {"A3DAsmProductOccurrenceCreate#1", "linkedOccurrence2", "null"},
      {"A3DAsmProductOccurrenceCreate#1", "unnamed", "zero"},
      {"A3DRootBaseSet#1", "entity", "310:\"\""},
      {"A3DRootBaseSet#1", "structSize", Size<RootBaseRecord>()},
      {"A3DRootBaseSet#1", "name", "\"Model\""},
      {"A3DRootBaseSet#1", "unnamed", "zero"},
      {"A3DAsmModelFileCreate#1", "structSize", Size<ModelFileRecord>()},
      {"A3DAsmModelFileCreate#1", "unit", "1"},
      {"A3DAsmModelFileCreate#1", "occurrenceCount", "1"},
      {"A3DAsmModelFileCreate#1", "occurrences", "[310:\"Model\"]"},
      {"A3DAsmModelFileCreate#1", "unnamed", "zero"},
      {"A3DRootBaseSet#2", "entity", "301:\"\""},
      {"A3DRootBaseSet#2", "structSize", Size<RootBaseRecord>()},
      {"A3DRootBaseSet#2", "name", "\"ModelFile\""},
      {"A3DRootBaseSet#2", "unnamed", "zero"},
      {"A3DAsmModelFileWriteToFile#1", "entity", "301:\"ModelFile\""},
      {"A3DAsmModelFileWriteToFile#1", "path", StandInLog::QuotedPath(path)},
      {"A3DAsmModelFileWriteToFile#1", "structSize", Size<ModelFileWriteParameters>()},
      {"A3DAsmModelFileWriteToFile#1", "writeOption1", "0"},
      {"A3DAsmModelFileWriteToFile#1", "writeOption2", "1"},
      {"A3DAsmModelFileWriteToFile#1", "writeOption3", "1"},
      {"A3DAsmModelFileWriteToFile#1", "writeOption4", "1"},
      {"A3DAsmModelFileWriteToFile#1", "unnamed", "zero"},
      {"A3DAsmModelFileDelete#1", "entity", "301:\"ModelFile\""},
  };
}

// Whether two logged values are the same; lists of numbers compare by value, so that the sign of
// a zero that the normals' arithmetic leaves does not count.
bool SameValue(const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  auto numbers = [](const std::string& list, std::vector<double>* out) {
    if (list.size() < 2 || list.front() != '[' || list.back() != ']') return false;
    std::stringstream entries(list.substr(1, list.size() - 2));
    std::string entry;
    while (std::getline(entries, entry, ',')) {
      char* end = nullptr;
      out->push_back(strtod(entry.c_str(), &end));
      if (entry.empty() || *end != '\0') return false;
    }
    return true;
  };
  std::vector<double> a, b;
  return numbers(expected, &a) && numbers(actual, &b) && a == b;
}

TEST_F(PrcBuilder, HandsTheLibraryEveryFieldOfEveryRecord) {
  struct Case {
    const char* name;
    MeshList meshes;
    uint32_t n;
    const char* coords;
    const char* normals;
    const char* indices;
  };
  const Case cases[] = {
      {"two triangles",
       List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}), Mesh({{0, 0, 5}, {0, 2, 5}, {2, 0, 5}}, {{0, 1, 2}})}),
       2, "[0,0,0,1,0,0,0,1,0,0,0,5,0,2,5,2,0,5]", "[0,0,1,0,0,-1]", "[0,0,3,6,3,9,12,15]"},
      // The host's blocks of 0 bytes are still blocks, so the arrays are empty, not null.
      {"empty list", MeshList(), 0, "[]", "[]", "[]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_log.Clear();
    const std::string path = Write(c.meshes);

    // The calls between the binding's start and end, each named with its number.
    std::vector<std::string> order;
    std::map<std::string, std::map<std::string, std::string>> calls;
    std::map<std::string, int> numbers;
    bool bound = false;
    for (const std::string& line : m_log.Lines()) {
      if (line.rfind("call A3DDllInitialize ", 0) == 0) bound = true;
      if (line.rfind("call A3DDllTerminate ", 0) == 0) bound = false;
      if (!bound || line.rfind("call A3DDllInitialize ", 0) == 0) continue;
      const std::string entryPoint = line.substr(5, line.find(' ', 5) - 5);
      const std::string call = entryPoint + "#" + std::to_string(++numbers[entryPoint]);
      order.push_back(call);
      calls[call] = StandInLog::Items(line);
    }
    EXPECT_EQ((std::vector<std::string>{"A3DTess3DCreate#1", "A3DTessBaseSet#1", "A3DRiPolyBrepModelCreate#1",
                                        "A3DRiRepresentationItemSet#1", "A3DAsmPartDefinitionCreate#1",
                                        "A3DAsmProductOccurrenceCreate#1", "A3DRootBaseSet#1",
                                        "A3DAsmModelFileCreate#1", "A3DRootBaseSet#2",
                                        "A3DAsmModelFileWriteToFile#1", "A3DAsmModelFileDelete#1"}),
              order);

    const std::vector<Handed> expected = RecordsHanded(c.n, c.coords, c.normals, c.indices, path);
    std::set<std::string> listed;
    for (const Handed& h : expected) {
      listed.insert(h.call + " " + h.field);
      const std::map<std::string, std::string>& items = calls[h.call];
      auto item = items.find(h.field);
      if (item == items.end()) {
        ADD_FAILURE() << h.call << " was not handed " << h.field;
      } else {
        EXPECT_TRUE(SameValue(h.value, item->second)) << h.call << " " << h.field << ": " << item->second
                                                        << ", not " << h.value;
      }
    }
    // Every field the library was handed is one of the table's: what it makes itself is not.
    for (const auto& call : calls)
      for (const auto& item : call.second)
        if (item.first != "out" && item.first != "deleted") {
          EXPECT_TRUE(listed.count(call.first + " " + item.first)) << call.first << " " << item.first;
        }
  }
}

TEST_F(PrcBuilder, MergedTrianglesStandAloneWithTheirNormals) {
  MeshList list = List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}),
                        Mesh({{0, 0, 5}, {0, 2, 5}, {2, 0, 5}}, {{0, 1, 2}})});
  WrittenModel written(Write(list));
  ASSERT_NE(nullptr, written.tess);
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 3, 6, 3, 9, 12, 15}), written.tess->indices);
  EXPECT_EQ((std::vector<double>{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 5, 0, 2, 5, 2, 0, 5}), written.tess->coords);
  EXPECT_EQ((std::vector<double>{0, 0, 1, 0, 0, -1}), written.tess->normals);
  std::vector<std::string> sizes;
  for (const acrohost::HostCall& call : m_host.CallsOf("AcroSupport", 1)) sizes.push_back(call.arguments);
  EXPECT_EQ((std::vector<std::string>{"144", "48", "32"}), sizes);
  EXPECT_EQ(3u, m_host.CountCalls("AcroSupport", 3));
  EXPECT_EQ(0u, m_host.OutstandingBlocks());
  // The list is read, not changed.
  EXPECT_EQ(2, list.Count());
  EXPECT_EQ(0, list[0].m_FN.Count());
}

TEST_F(PrcBuilder, QuadIsSplitInTheWorkingCopyOnly) {
  ON_Mesh quad = Mesh({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
  MeshList list = List({quad});
  WrittenModel written(Write(list));
  ASSERT_NE(nullptr, written.tess);
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 3, 6, 3, 9, 12, 15}), written.tess->indices);
  EXPECT_EQ((std::vector<double>{0, 0, 0, 2, 0, 0, 2, 1, 0, 0, 0, 0, 2, 1, 0, 0, 1, 0}), written.tess->coords);
  EXPECT_EQ(1, list[0].FaceCount());
  EXPECT_EQ(3, list[0].m_F[0].vi[3]);
  EXPECT_EQ(0, list[0].m_FN.Count());
}

TEST_F(PrcBuilder, SharedVertexIsWrittenOnceForEachTriangle) {
  ON_Mesh fan = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}},
                     {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 1}});
  WrittenModel written(Write(List({fan})));
  ASSERT_NE(nullptr, written.tess);
  ASSERT_EQ(36u, written.tess->coords.size());
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(0.0, written.tess->coords[9 * f]);
    EXPECT_EQ(0.0, written.tess->coords[9 * f + 1]);
  }
}

TEST_F(PrcBuilder, SinglePrecisionCoordinatesAreWidenedExactly) {
  WrittenModel written(Write(List({Mesh({{0.1f, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})})));
  ASSERT_NE(nullptr, written.tess);
  ASSERT_FALSE(written.tess->coords.empty());
  EXPECT_EQ(0.100000001490116119384765625, written.tess->coords[0]);
}

TEST_F(PrcBuilder, FacesWithCornersOutsideTheMeshArePassedOver) {
  ON_Mesh mesh = Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 7}, {0, 1, 2}, {-1, 0, 1}});
  WrittenModel written(Write(List({mesh})));
  ASSERT_NE(nullptr, written.tess);
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 3, 6}), written.tess->indices);
  EXPECT_EQ((std::vector<double>{0, 0, 0, 1, 0, 0, 0, 1, 0}), written.tess->coords);
}

TEST_F(PrcBuilder, LibraryThatCannotBeBoundWritesNothingAndCallsNoHost) {
  MeshList list = List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})});
  {
    ScopedA3DLibrary none("none");
    m_host.ClearCalls();
    EXPECT_EQ(0, PassMeshesToHostAsPrc(&list));
    EXPECT_STREQ("Unable to load Acrobat 3D Library (A3DLIB.DLL)", GetLastErrorText().GetString());
    EXPECT_TRUE(m_host.Calls().empty());
  }
  {
    ScopedEnv version(VANTRELL_A3D_ENV_VERSION, "2.-1");
    ASSERT_TRUE(WriteFile(m_tempDir.File("QNFTemp.prc"), "someone else's"));
    EXPECT_EQ(0, PassMeshesToHostAsPrc(&list));
    EXPECT_STREQ("Incompatible Acrobat 3D Library [Invalid minor version]", GetLastErrorText().GetString());
    EXPECT_TRUE(m_host.Calls().empty());
    EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "unload"}), m_log.LifeCycle());
    EXPECT_EQ("someone else's", ReadFile(m_tempDir.File("QNFTemp.prc")));
  }
}

TEST_F(PrcBuilder, HostWithoutMemoryForTheArraysFailsTheWriteAndGivesBackWhatItGot) {
  // The coordinate array of two triangles takes 144 bytes; the normals and indices fit.
  m_host.host().handOver().SetAllocationLimit(100);
  MeshList list = List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {1, 3, 2}})});
  std::string path = m_files.File("model.prc");
  EXPECT_EQ(0, BuildPrcFromMeshes(&list, CStringT<char>(path.c_str())));
  EXPECT_STREQ("Not enough memory to write the PRC file", GetLastErrorText().GetString());
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(m_log.Calls("A3DTess3DCreate").empty());
  EXPECT_EQ(0u, m_host.OutstandingBlocks());
  EXPECT_EQ((std::vector<std::string>{"load", "GetVersion", "Initialize", "Terminate", "unload"}), m_log.LifeCycle());
  // An empty list needs no memory and is still written.
  EXPECT_EQ(1, BuildPrcFromMeshes(&m_empty, CStringT<char>(path.c_str())));
  EXPECT_TRUE(FileExists(path));
}

TEST_F(PrcBuilder, HandOverPassesTheFileToTheHostThenDeletesIt) {
  m_host.OpenMemoryDocument();
  MeshList list = List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})});
  SetLastErrorText(CStringT<char>("untouched"));
  m_host.ClearCalls();
  EXPECT_EQ(1, PassMeshesToHostAsPrc(&list));
  EXPECT_FALSE(FileExists(m_tempDir.File("QNFTemp.prc")));
  EXPECT_STREQ("untouched", GetLastErrorText().GetString());
  std::vector<std::string> order;
  for (const acrohost::HostCall& call : m_host.Calls())
    if (call.table != "AcroSupport" || (call.selector != 1 && call.selector != 3))
      order.push_back(call.table + " " + std::to_string(call.selector));
  EXPECT_EQ((std::vector<std::string>{"Core 5", "AcroSupport 123", "AcroSupport 52", "ASExtra 3", "ASExtra 19",
                                      "AcroView 485", "AcroSupport 25", "ASExtra 12"}),
            order);
  EXPECT_EQ(0u, m_host.OutstandingBlocks());
  EXPECT_EQ(0u, m_host.OutstandingPathNames());
  EXPECT_EQ(0u, m_host.OutstandingContainers());
}

TEST_F(PrcBuilder, ExistingFileIsHandedOverAndLeftInPlace) {
  m_host.OpenMemoryDocument();
  std::string path = Write(List({Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}})}));
  EXPECT_EQ(1, PassPrcFileToHost(CStringT<char>(path.c_str())));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(1u, m_host.CountCalls("AcroView", 485));
}

// Meshes -> PRC -> the host's document -> a saved PDF -> the Export's extraction. A build without
// PDF files extracts from the document the file went into.
TEST_F(PrcBuilder, RoundTripThroughASavedPdfGivesTheSameTriangles) {
  MeshList list = List({Mesh({{0.1f, 0.2f, 0.3f}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{0, 1, 2}, {1, 3, 2}}),
                        Mesh({{-1, -2, -3}, {4, 5, 6}, {7, 8, 9.5f}, {1e-3f, 1e3f, 0}}, {{0, 1, 2, 3}})});
  m_host.OpenMemoryDocument();
  ASSERT_EQ(1, PassMeshesToHostAsPrc(&list));
#if ACROHOST_HAVE_QPDF
  std::string pdf = m_files.File("roundtrip.pdf");
  std::string error;
  ASSERT_TRUE(m_host.host().documents().active()->Save(pdf, &error)) << error;
  HostFixture reader;
  ASSERT_TRUE(reader.OpenPdf(pdf, &error)) << error;
#else
  HostFixture& reader = m_host;
#endif
  MeshList meshes;
  HostDocumentView view = reader.ActiveView();
  ASSERT_EQ(1, ExtractMeshesFromDocument(&view, &meshes)) << GetLastErrorText().GetString();
  ASSERT_EQ(1, meshes.Count());
  const ON_Mesh& merged = meshes[0];
  // Every triangle stands alone: the quad's two halves follow the first mesh's two triangles.
  const float expected[][9] = {{0.1f, 0.2f, 0.3f, 1, 0, 0, 0, 1, 0},
                               {1, 0, 0, 5, 5, 5, 0, 1, 0},
                               {-1, -2, -3, 4, 5, 6, 7, 8, 9.5f},
                               {-1, -2, -3, 7, 8, 9.5f, 1e-3f, 1e3f, 0}};
  ASSERT_EQ(4, merged.FaceCount());
  ASSERT_EQ(12, merged.VertexCount());
  for (int f = 0; f < 4; ++f) {
    for (int k = 0; k < 3; ++k) {
      const ON_3fPoint& p = merged.m_V[merged.m_F[f].vi[k]];
      EXPECT_EQ(expected[f][3 * k], p.x) << f << "," << k;
      EXPECT_EQ(expected[f][3 * k + 1], p.y) << f << "," << k;
      EXPECT_EQ(expected[f][3 * k + 2], p.z) << f << "," << k;
    }
  }
}

}  // namespace
