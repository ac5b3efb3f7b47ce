// Meshes of triangles and quads with single-precision vertices.
#ifndef VANTRELL_OPENNURBS_MESH_H
#define VANTRELL_OPENNURBS_MESH_H

#include "opennurbs/Arrays.h"
#include "opennurbs/MeshTopology.h"
#include "opennurbs/Points.h"

// Four vertex indices; a triangle repeats its third index: (a, b, c, c).
struct ON_MeshFace {
  int vi[4];
};

// A face is valid when all its indices are in [0, VertexCount()) and its corners are distinct
// (three for a triangle, four for a quad). Invalid faces may be stored; the operations below say
// what they do with them.
class ON_Mesh {
 public:
  ON_Mesh() = default;
  // Reserves exactly these capacities for m_F and m_V, and for m_N and m_T when asked; a negative
  // capacity counts as 0. Every count stays 0.
  ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity,
          bool has_vertex_normals, bool has_texture_coordinates);

  // Copies vertices, faces, normals and texture coordinates; the topology is not copied but built
  // again when asked for.
  ON_Mesh(const ON_Mesh& src);
  ON_Mesh& operator=(const ON_Mesh& src);
  ON_Mesh(ON_Mesh&& src) noexcept;
  ON_Mesh& operator=(ON_Mesh&& src) noexcept;
  ~ON_Mesh() = default;

  int VertexCount() const { return m_V.Count(); }
  int FaceCount() const { return m_F.Count(); }

  // Overwrites vertex i (0 <= i < VertexCount()) or appends it (i == VertexCount()), narrowed to
  // float. Any other i returns false and changes nothing.
  bool SetVertex(int i, const ON_3dPoint& point);

  // Stores the face (a, b, c, c) at f: overwrites for f < FaceCount(), appends for
  // f == FaceCount(); any other f stores nothing and returns false. Otherwise returns whether the
  // triangle is valid against the current vertex count; it is stored either way.
  bool SetTriangle(int f, int a, int b, int c);

  // Adds the other mesh: its faces, with each index raised by this mesh's vertex count before the
  // call, after this mesh's faces, then its vertices after this mesh's vertices. A mesh without
  // vertices adds nothing; when this mesh has no vertices its faces are dropped first. Indices
  // past the other mesh's vertices are raised too (up to INT_MAX) and stay invalid; negative ones
  // are kept as they are, since raising them could make them name a vertex. Vertex normals,
  // texture coordinates and face normals are kept only when both sides have them, a side without
  // vertices (for face normals: without faces) counting as having them. Discards the topology.
  void Append(const ON_Mesh& other);

  // Splits every valid quad along its shorter diagonal (squared lengths in double; a tie goes to
  // 0-2): along 0-2 the face becomes (v0, v1, v2, v2) and (v0, v2, v3, v3) is appended, along
  // 1-3 it becomes (v0, v1, v3, v3) and (v1, v2, v3, v3) is appended; new faces follow in the
  // order of their quads. Triangles and invalid faces stay as they are. When every face had a
  // face normal, both halves get theirs computed afresh. Returns true when every face is now a
  // valid triangle (so true for a mesh without faces). Discards the topology when it split any.
  bool ConvertQuadsToTriangles();

  // Makes m_F and m_FN the same length, entry f the unit normal of face f:
  // (V[vi2] - V[vi0]) x (V[vi3] - V[vi1]) in float, normalised in double. A zero-length or
  // non-finite normal, or a face with an index outside m_V, gives (0, 0, 0). Without faces it
  // clears m_FN and returns false; otherwise true.
  bool ComputeFaceNormals();

  // The topology of the current vertices, built on first use and kept until Append or a quad
  // split discards it (SetVertex and SetTriangle do not). With no vertices it is empty.
  const ON_MeshTopology& Topology() const;

  ON_SimpleArray<ON_3fPoint> m_V;    // vertices
  ON_SimpleArray<ON_MeshFace> m_F;   // faces
  ON_SimpleArray<ON_3fVector> m_FN;  // face normals: none, or one per face
  ON_SimpleArray<ON_3fVector> m_N;   // vertex normals: none, or one per vertex
  ON_SimpleArray<ON_2fPoint> m_T;    // texture coordinates: none, or one per vertex

 private:
  mutable ON_MeshTopology m_top;
};

#endif
