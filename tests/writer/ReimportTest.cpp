// Files written by the writer, read back by independent readers: assimp for the structure and
// the ordinary coordinates, and the C library's strtof for exactness at the edges of the float
// range (assimp's own number parser rounds values written with an exponent).
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <array>
#include <cfloat>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "TestMeshes.h"
#include "TestSupport.h"
#include "desktop/Desktop.h"
#include "writer/QNFMeshwright.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScopedTempDir;

struct Format {
  const char* name;
  int options;
  const char* extension;
};

void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

const Format kFormats[] = {{"Collada", QNFMeshwright::kOptionsCollada, ".dae"},
                           {"Obj", QNFMeshwright::kOptionsObj, ".obj"}};

uint32_t Bits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

// What the Export passes on: a tessellated solid, a mesh with a quad, meshes without faces or
// without anything, and a last mesh after them. Every vertex is used and distinct, so assimp's
// per-corner vertices can be compared with ours.
ON_ClassArray<ON_Mesh> MixedList() {
  return MakeList({
      MakeMesh({{0.1f, -2.5f, 1000.125f},
                {123.456f, 0.001f, -0.0f},
                {-7.77f, 65504.0f, 3.14159274f},
                {1.0f / 3.0f, 2.0f / 3.0f, -999.999f}},
               {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}}),
      MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0.5f, 0}}, {{0, 1, 2, 3}, {1, 4, 2}}),
      MakeMesh({}, {}),
      MakeMesh({{5, 5, 5}, {6, 6, 6}}, {}),
      MakeMesh({{-1, -1, -1}, {-2, -1, -1}, {-1, -2, -1}}, {{0, 2, 1}}),
  });
}

class ReimportTest : public ::testing::TestWithParam<Format> {
 protected:
  void SetUp() override { DesktopReset(); }

  // Writes the list as the Export does, to a file named .skp whatever its content.
  std::string Write(const ON_ClassArray<ON_Mesh>& meshes, const char* extension = ".skp") {
    const std::string path = m_dir.File(std::string("Export") + extension);
    EXPECT_EQ(1, QNFMeshwright::MeshToSKP(meshes, CString(path.c_str()), GetParam().options, 0))
        << QNFMeshwright::GetError().GetString();
    return path;
  }

  ScopedTempDir m_dir;
};

// The nodes that stand for the meshes, depth first: COLLADA puts them under the scene's model
// node, OBJ under the root.
void CollectMeshNodes(const aiNode* node, std::vector<const aiNode*>& nodes) {
  if (strncmp(node->mName.C_Str(), "mesh", 4) == 0) nodes.push_back(node);
  for (unsigned i = 0; i < node->mNumChildren; ++i) CollectMeshNodes(node->mChildren[i], nodes);
}

// The triangles the writer makes of the faces: a quad (a, b, c, d) as (a, b, c) and (a, c, d).
std::vector<std::array<int, 3>> Triangles(const ON_Mesh& mesh) {
  std::vector<std::array<int, 3>> triangles;
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    const int* vi = mesh.m_F[f].vi;
    triangles.push_back({vi[0], vi[1], vi[2]});
    if (vi[2] != vi[3]) triangles.push_back({vi[0], vi[2], vi[3]});
  }
  return triangles;
}

void ExpectSameMesh(const ON_Mesh& mesh, const aiScene* scene, const aiNode* node) {
  if (mesh.FaceCount() == 0) {
    EXPECT_EQ(0u, node->mNumMeshes) << "a mesh without faces gives assimp nothing to show";
    return;
  }
  ASSERT_EQ(1u, node->mNumMeshes);
  const aiMesh* read = scene->mMeshes[node->mMeshes[0]];
  const std::vector<std::array<int, 3>> triangles = Triangles(mesh);
  ASSERT_EQ(triangles.size(), read->mNumFaces);
  std::set<std::array<uint32_t, 3>> positions;
  for (unsigned f = 0; f < read->mNumFaces; ++f) {
    ASSERT_EQ(3u, read->mFaces[f].mNumIndices);
    for (int k = 0; k < 3; ++k) {
      const aiVector3D& got = read->mVertices[read->mFaces[f].mIndices[k]];
      const ON_3fPoint& want = mesh.m_V[triangles[f][k]];
      EXPECT_EQ(Bits(want.x), Bits(got.x)) << "face " << f << " corner " << k;
      EXPECT_EQ(Bits(want.y), Bits(got.y)) << "face " << f << " corner " << k;
      EXPECT_EQ(Bits(want.z), Bits(got.z)) << "face " << f << " corner " << k;
      positions.insert({Bits(got.x), Bits(got.y), Bits(got.z)});
    }
  }
  EXPECT_EQ(static_cast<size_t>(mesh.VertexCount()), positions.size());
}

TEST_P(ReimportTest, MeshesComeBackInOrderWithTheirCoordinates) {
  const ON_ClassArray<ON_Mesh> meshes = MixedList();
  const std::string path = Write(meshes);

  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, 0);
  ASSERT_NE(nullptr, scene) << importer.GetErrorString();
  std::vector<const aiNode*> nodes;
  CollectMeshNodes(scene->mRootNode, nodes);
  ASSERT_EQ(static_cast<size_t>(meshes.Count()), nodes.size());
  for (int m = 0; m < meshes.Count(); ++m) {
    SCOPED_TRACE("mesh " + std::to_string(m + 1));
    EXPECT_EQ("mesh" + std::to_string(m + 1), nodes[m]->mName.C_Str());
    ExpectSameMesh(meshes[m], scene, nodes[m]);
  }
  EXPECT_EQ(3u, scene->mNumMeshes);
}

TEST_P(ReimportTest, EmptyListGivesAnEmptyScene) {
  // An OBJ file of nothing but a comment shows no sign of its format: its name must tell it.
  const std::string path = Write(ON_ClassArray<ON_Mesh>(), GetParam().extension);

  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, 0);
  ASSERT_NE(nullptr, scene) << importer.GetErrorString();
  std::vector<const aiNode*> nodes;
  CollectMeshNodes(scene->mRootNode, nodes);
  EXPECT_TRUE(nodes.empty());
  // assimp flags a COLLADA scene without meshes as incomplete and hangs a placeholder mesh of its
  // own on the root; OBJ gives no mesh at all.
  if (GetParam().options == QNFMeshwright::kOptionsCollada)
    EXPECT_NE(0u, scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE);
  else
    EXPECT_EQ(0u, scene->mNumMeshes);
}

// The coordinates of each mesh as the file spells them, read with strtof: the float_array of each
// geometry (whose count must agree), or the "v" lines of each object.
std::vector<std::vector<float>> ReadCoordinates(const std::string& text, int options) {
  std::vector<std::vector<float>> meshes;
  if (options == QNFMeshwright::kOptionsCollada) {
    for (size_t at = text.find("<float_array"); at != std::string::npos; at = text.find("<float_array", at + 1)) {
      size_t count = strtoul(text.c_str() + text.find("count=\"", at) + 7, nullptr, 10);
      const char* p = text.c_str() + text.find('>', at) + 1;
      const char* end = text.c_str() + text.find("</float_array>", at);
      meshes.emplace_back();
      while (p < end) {
        char* next;
        float value = strtof(p, &next);
        if (next == p) break;
        meshes.back().push_back(value);
        p = next;
      }
      EXPECT_EQ(count, meshes.back().size());
    }
  } else {
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
      if (text.compare(at, 2, "o ") == 0) meshes.emplace_back();
      if (text.compare(at, 2, "v ") != 0 || meshes.empty()) continue;
      const char* p = text.c_str() + at + 2;
      for (int k = 0; k < 3; ++k) meshes.back().push_back(strtof(p, const_cast<char**>(&p)));
      if (text.find('\n', at) == std::string::npos) break;
    }
  }
  return meshes;
}

TEST_P(ReimportTest, EveryFloatReadsBackExactly) {
  const float denormal = std::numeric_limits<float>::denorm_min();
  const ON_ClassArray<ON_Mesh> meshes = MakeList({
      MakeMesh({{FLT_MAX, -FLT_MAX, FLT_MIN}, {denormal, -0.0f, 1e-30f}, {123456792.0f, 0.1f, -3.4028e38f},
                {16777217.0f, 1.17549421e-38f, 9.99999944e-11f}},
               {{0, 1, 2}}),
      MakeMesh({{1e10f, -1e-10f, 7.0f}}, {}),
  });
  const std::string path = Write(meshes);

  const std::vector<std::vector<float>> read = ReadCoordinates(ReadFile(path), GetParam().options);
  ASSERT_EQ(static_cast<size_t>(meshes.Count()), read.size());
  for (int m = 0; m < meshes.Count(); ++m) {
    ASSERT_EQ(static_cast<size_t>(3 * meshes[m].VertexCount()), read[m].size()) << "mesh " << m + 1;
    for (int v = 0; v < meshes[m].VertexCount(); ++v) {
      const ON_3fPoint& want = meshes[m].m_V[v];
      EXPECT_EQ(Bits(want.x), Bits(read[m][3 * v])) << "mesh " << m + 1 << " vertex " << v;
      EXPECT_EQ(Bits(want.y), Bits(read[m][3 * v + 1])) << "mesh " << m + 1 << " vertex " << v;
      EXPECT_EQ(Bits(want.z), Bits(read[m][3 * v + 2])) << "mesh " << m + 1 << " vertex " << v;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, ReimportTest, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& info) { return std::string(info.param.name); });

}  // namespace
