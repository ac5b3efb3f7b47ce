// The vertex topology of a mesh: mesh vertices at exactly the same place share one topology
// vertex.
#ifndef VANTRELL_OPENNURBS_MESHTOPOLOGY_H
#define VANTRELL_OPENNURBS_MESHTOPOLOGY_H

#include "opennurbs/Arrays.h"
#include "opennurbs/Points.h"

class ON_Mesh;

// One topology vertex: the mesh vertices it stands for, in ascending order (never empty).
struct ON_MeshTopologyVertex {
  int m_v_count;
  const int* m_vi;
};

// Built by ON_Mesh::Topology() and owned by its mesh. Vertices share a topology vertex when their
// float coordinates are exactly equal, -0 counting as +0 and a NaN coordinate equal to nothing.
// Topology vertices are numbered by the first appearance of their coordinates in the mesh's m_V.
class ON_MeshTopology {
 public:
  ON_MeshTopology() = default;
  ON_MeshTopology(const ON_MeshTopology&) = delete;
  ON_MeshTopology& operator=(const ON_MeshTopology&) = delete;

  // The point of topology vertex t: that of its lowest-numbered mesh vertex. A t that is not a
  // topology vertex gives (0, 0, 0).
  ON_3fPoint TopVertexPoint(int t) const;

  const ON_Mesh* m_mesh = nullptr;             // the mesh this was built for; null until built
  ON_SimpleArray<int> m_topv_map;              // per mesh vertex: its topology vertex
  ON_SimpleArray<ON_MeshTopologyVertex> m_topv;

 private:
  friend class ON_Mesh;

  // Builds the topology of the mesh's current vertices, replacing any earlier one.
  void Build(const ON_Mesh& mesh);
  // Back to the state of a topology never built.
  void Discard();
  // Takes over another topology (whose mesh has moved to `mesh`), leaving it discarded.
  void TakeFrom(ON_MeshTopology& other, const ON_Mesh* mesh);

  ON_SimpleArray<int> m_vi_storage;  // the m_vi lists of m_topv, one after the other
};

#endif
