#include "opennurbs/Mesh.h"

#include <climits>
#include <cmath>

namespace {

bool InRange(int i, int count) { return i >= 0 && i < count; }

bool IsTriangle(const ON_MeshFace& f) { return f.vi[2] == f.vi[3]; }

bool IsValidTriangle(const ON_MeshFace& f, int vertex_count) {
  const int a = f.vi[0], b = f.vi[1], c = f.vi[2];
  return IsTriangle(f) && InRange(a, vertex_count) && InRange(b, vertex_count) &&
         InRange(c, vertex_count) && a != b && b != c && a != c;
}

bool IsValidQuad(const ON_MeshFace& f, int vertex_count) {
  for (int i = 0; i < 4; ++i) {
    if (!InRange(f.vi[i], vertex_count)) return false;
    for (int j = 0; j < i; ++j)
      if (f.vi[i] == f.vi[j]) return false;
  }
  return true;
}

ON_MeshFace Triangle(int a, int b, int c) { return ON_MeshFace{{a, b, c, c}}; }

double SquaredDistance(const ON_3fPoint& p, const ON_3fPoint& q) {
  const double dx = static_cast<double>(p.x) - q.x;
  const double dy = static_cast<double>(p.y) - q.y;
  const double dz = static_cast<double>(p.z) - q.z;
  return ON_Rounded(ON_Rounded(dx * dx + dy * dy) + dz * dz);
}

// The unit normal of face f as ComputeFaceNormals() defines it.
ON_3fVector FaceNormal(const ON_SimpleArray<ON_3fPoint>& V, const ON_MeshFace& f) {
  for (int i = 0; i < 4; ++i)
    if (!InRange(f.vi[i], V.Count())) return ON_3fVector();
  const ON_3fVector a = V[f.vi[2]] - V[f.vi[0]];
  const ON_3fVector b = V[f.vi[3]] - V[f.vi[1]];
  const float nx = ON_Rounded(ON_Rounded(a.y * b.z) - ON_Rounded(b.y * a.z));
  const float ny = ON_Rounded(ON_Rounded(a.z * b.x) - ON_Rounded(b.z * a.x));
  const float nz = ON_Rounded(ON_Rounded(a.x * b.y) - ON_Rounded(b.x * a.y));
  const double x = nx, y = ny, z = nz;
  const double length = ON_Rounded(
      std::sqrt(ON_Rounded(ON_Rounded(x * x + y * y) + z * z)));
  if (!(length > 0.0) || !std::isfinite(length)) return ON_3fVector();
  return ON_3fVector(ON_Rounded(static_cast<float>(x / length)),
                     ON_Rounded(static_cast<float>(y / length)),
                     ON_Rounded(static_cast<float>(z / length)));
}

// Makes room for `extra` more elements, growing geometrically so that repeated appends of many
// small meshes stay linear in all.
template <class T>
void ReserveMore(ON_SimpleArray<T>& a, int extra) {
  const long long needed = static_cast<long long>(a.Count()) + extra;
  if (needed > INT_MAX) ON_OutOfMemory();
  if (needed <= a.Capacity()) return;
  const int grown = ON_GrownCapacity(a.Count());
  a.Reserve(static_cast<size_t>(needed > grown ? needed : grown));
}

template <class T>
void AppendAll(ON_SimpleArray<T>& to, const ON_SimpleArray<T>& from) {
  const int n = from.Count();
  ReserveMore(to, n);
  for (int i = 0; i < n; ++i) to.Append(from[i]);
}

// Index i of the appended mesh (of `count` vertices) once its vertices follow `offset` others.
int RaisedIndex(int i, int count, int offset) {
  if (i < 0) return i;
  if (i < count) return i + offset;
  return i > INT_MAX - offset ? INT_MAX : i + offset;
}

}  // namespace

ON_Mesh::ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity,
                 bool has_vertex_normals, bool has_texture_coordinates) {
  const size_t faces = initial_face_array_capacity > 0 ? initial_face_array_capacity : 0;
  const size_t vertices = initial_vertex_array_capacity > 0 ? initial_vertex_array_capacity : 0;
  m_F.Reserve(faces);
  m_V.Reserve(vertices);
  if (has_vertex_normals) m_N.Reserve(vertices);
  if (has_texture_coordinates) m_T.Reserve(vertices);
}

ON_Mesh::ON_Mesh(const ON_Mesh& src)
    : m_V(src.m_V), m_F(src.m_F), m_FN(src.m_FN), m_N(src.m_N), m_T(src.m_T) {}

ON_Mesh& ON_Mesh::operator=(const ON_Mesh& src) {
  if (this != &src) {
    m_top.Discard();
    m_V = src.m_V;
    m_F = src.m_F;
    m_FN = src.m_FN;
    m_N = src.m_N;
    m_T = src.m_T;
  }
  return *this;
}

ON_Mesh::ON_Mesh(ON_Mesh&& src) noexcept
    : m_V(std::move(src.m_V)),
      m_F(std::move(src.m_F)),
      m_FN(std::move(src.m_FN)),
      m_N(std::move(src.m_N)),
      m_T(std::move(src.m_T)) {
  m_top.TakeFrom(src.m_top, this);
}

ON_Mesh& ON_Mesh::operator=(ON_Mesh&& src) noexcept {
  if (this != &src) {
    m_V = std::move(src.m_V);
    m_F = std::move(src.m_F);
    m_FN = std::move(src.m_FN);
    m_N = std::move(src.m_N);
    m_T = std::move(src.m_T);
    m_top.TakeFrom(src.m_top, this);
  }
  return *this;
}

bool ON_Mesh::SetVertex(int i, const ON_3dPoint& point) {
  const int count = m_V.Count();
  if (i < 0 || i > count) return false;
  const ON_3fPoint p(point);
  if (i == count) {
    m_V.Append(p);
  } else {
    m_V[i] = p;
  }
  return true;
}

bool ON_Mesh::SetTriangle(int f, int a, int b, int c) {
  const int count = m_F.Count();
  if (f < 0 || f > count) return false;
  const ON_MeshFace face = Triangle(a, b, c);
  if (f == count) {
    m_F.Append(face);
  } else {
    m_F[f] = face;
  }
  return IsValidTriangle(face, m_V.Count());
}

void ON_Mesh::Append(const ON_Mesh& other) {
  if (&other == this) {
    const ON_Mesh copy(other);
    Append(copy);
    return;
  }
  m_top.Discard();
  const int v0 = m_V.Count();
  if (v0 == 0) {
    m_F.Empty();
    m_FN.Empty();
    m_N.Empty();
    m_T.Empty();
  }
  const int v1 = other.m_V.Count();
  if (v1 == 0) return;
  if (v0 > INT_MAX - v1) ON_OutOfMemory();

  const int f0 = m_F.Count();
  const int f1 = other.m_F.Count();
  const bool keep_n = (v0 == 0 || m_N.Count() == v0) && other.m_N.Count() == v1;
  const bool keep_t = (v0 == 0 || m_T.Count() == v0) && other.m_T.Count() == v1;
  const bool keep_fn = (f0 == 0 || m_FN.Count() == f0) && (f1 == 0 || other.m_FN.Count() == f1);

  ReserveMore(m_F, f1);
  for (int f = 0; f < f1; ++f) {
    ON_MeshFace face = other.m_F[f];
    for (int& i : face.vi) i = RaisedIndex(i, v1, v0);
    m_F.Append(face);
  }
  AppendAll(m_V, other.m_V);

  if (keep_n) {
    AppendAll(m_N, other.m_N);
  } else {
    m_N.Destroy();
  }
  if (keep_t) {
    AppendAll(m_T, other.m_T);
  } else {
    m_T.Destroy();
  }
  if (keep_fn) {
    if (f0 == 0) m_FN.Empty();
    AppendAll(m_FN, other.m_FN);
  } else {
    m_FN.Destroy();
  }
}

bool ON_Mesh::ConvertQuadsToTriangles() {
  const int face_count = m_F.Count();
  const int vertex_count = m_V.Count();
  const bool had_normals = face_count > 0 && m_FN.Count() == face_count;

  int quads = 0;
  for (int f = 0; f < face_count; ++f)
    if (!IsTriangle(m_F[f]) && IsValidQuad(m_F[f], vertex_count)) ++quads;
  if (quads > 0) {
    ReserveMore(m_F, quads);
    if (had_normals) ReserveMore(m_FN, quads);
    for (int f = 0; f < face_count; ++f) {
      const ON_MeshFace quad = m_F[f];
      if (IsTriangle(quad) || !IsValidQuad(quad, vertex_count)) continue;
      const int* v = quad.vi;
      const bool split_02 =
          !(SquaredDistance(m_V[v[1]], m_V[v[3]]) < SquaredDistance(m_V[v[0]], m_V[v[2]]));
      const ON_MeshFace kept = split_02 ? Triangle(v[0], v[1], v[2]) : Triangle(v[0], v[1], v[3]);
      const ON_MeshFace added = split_02 ? Triangle(v[0], v[2], v[3]) : Triangle(v[1], v[2], v[3]);
      m_F[f] = kept;
      m_F.Append(added);
      if (had_normals) {
        m_FN[f] = FaceNormal(m_V, kept);
        m_FN.Append(FaceNormal(m_V, added));
      }
    }
    m_top.Discard();
  }

  for (int f = 0; f < m_F.Count(); ++f)
    if (!IsValidTriangle(m_F[f], vertex_count)) return false;
  return true;
}

bool ON_Mesh::ComputeFaceNormals() {
  const int face_count = m_F.Count();
  m_FN.Empty();
  if (face_count == 0) return false;
  m_FN.Reserve(static_cast<size_t>(face_count));
  for (int f = 0; f < face_count; ++f) m_FN.Append(FaceNormal(m_V, m_F[f]));
  return true;
}

const ON_MeshTopology& ON_Mesh::Topology() const {
  if (m_top.m_mesh == nullptr && m_V.Count() > 0) m_top.Build(*this);
  return m_top;
}
