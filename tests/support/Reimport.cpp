#include "Reimport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <string.h>

namespace testing_support {

namespace {

void CollectMeshNodes(const aiNode* node, std::vector<const aiNode*>& nodes) {
  if (strncmp(node->mName.C_Str(), "mesh", 4) == 0) nodes.push_back(node);
  for (unsigned i = 0; i < node->mNumChildren; ++i) CollectMeshNodes(node->mChildren[i], nodes);
}

}  // namespace

bool ReimportMeshes(const std::string& path, std::vector<TriangleMesh>* meshes, std::string* error) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene || !scene->mRootNode) {
    if (error) *error = importer.GetErrorString();
    return false;
  }
  std::vector<const aiNode*> nodes;
  CollectMeshNodes(scene->mRootNode, nodes);
  meshes->clear();
  for (const aiNode* node : nodes) {
    TriangleMesh triangles;
    for (unsigned m = 0; m < node->mNumMeshes; ++m) {
      const aiMesh* mesh = scene->mMeshes[node->mMeshes[m]];
      for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3) continue;
        Triangle triangle;
        for (int k = 0; k < 3; ++k) {
          const aiVector3D& v = mesh->mVertices[face.mIndices[k]];
          triangle[3 * k] = v.x;
          triangle[3 * k + 1] = v.y;
          triangle[3 * k + 2] = v.z;
        }
        triangles.push_back(triangle);
      }
    }
    meshes->push_back(triangles);
  }
  return true;
}

std::vector<TriangleMesh> TrianglesOf(const ON_ClassArray<ON_Mesh>& meshes) {
  std::vector<TriangleMesh> result;
  for (int i = 0; i < meshes.Count(); ++i) {
    const ON_Mesh& mesh = meshes[i];
    TriangleMesh triangles;
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      const int* vi = mesh.m_F[f].vi;
      Triangle triangle;
      for (int k = 0; k < 3; ++k) {
        const ON_3fPoint& p = mesh.m_V[vi[k]];
        triangle[3 * k] = p.x;
        triangle[3 * k + 1] = p.y;
        triangle[3 * k + 2] = p.z;
      }
      triangles.push_back(triangle);
    }
    result.push_back(triangles);
  }
  return result;
}

}  // namespace testing_support
