#include "opennurbs/MeshTopology.h"

#include <cstdint>
#include <cstring>

#include "opennurbs/Mesh.h"

namespace {

// The coordinates' bit patterns, -0 folded onto +0, so that equal keys mean equal points.
struct PointKey {
  std::uint32_t x, y, z;
};

bool IsNaNBits(std::uint32_t bits) { return (bits & 0x7fffffffu) > 0x7f800000u; }

// Returns false when a coordinate is NaN: such a point equals no other.
bool MakeKey(const ON_3fPoint& p, PointKey& key) {
  const float c[3] = {p.x, p.y, p.z};
  std::uint32_t bits[3];
  for (int i = 0; i < 3; ++i) {
    std::memcpy(&bits[i], &c[i], sizeof bits[i]);
    if (IsNaNBits(bits[i])) return false;
    if (bits[i] == 0x80000000u) bits[i] = 0;
  }
  key = PointKey{bits[0], bits[1], bits[2]};
  return true;
}

bool SameKey(const PointKey& a, const PointKey& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

std::uint64_t HashKey(const PointKey& k) {
  const std::uint64_t m = 0x9E3779B97F4A7C15ull;
  std::uint64_t h = ((k.x * m + k.y) * m + k.z) * m;
  h ^= h >> 31;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 29;
  return h;
}

// An array of n copies of value.
void Fill(ON_SimpleArray<int>& a, int n, int value) {
  a.Reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) a.Append(value);
}

}  // namespace

ON_3fPoint ON_MeshTopology::TopVertexPoint(int t) const {
  if (m_mesh == nullptr || t < 0 || t >= m_topv.Count()) return ON_3fPoint();
  const int v = m_topv[t].m_vi[0];
  if (v >= m_mesh->m_V.Count()) return ON_3fPoint();
  return m_mesh->m_V[v];
}

void ON_MeshTopology::Discard() {
  m_mesh = nullptr;
  m_topv_map.Destroy();
  m_topv.Destroy();
  m_vi_storage.Destroy();
}

void ON_MeshTopology::TakeFrom(ON_MeshTopology& other, const ON_Mesh* mesh) {
  m_mesh = other.m_mesh != nullptr ? mesh : nullptr;
  m_topv_map = std::move(other.m_topv_map);
  m_topv = std::move(other.m_topv);
  m_vi_storage = std::move(other.m_vi_storage);
  other.Discard();
}

void ON_MeshTopology::Build(const ON_Mesh& mesh) {
  Discard();
  const int n = mesh.m_V.Count();
  if (n <= 0) return;
  m_mesh = &mesh;

  // Open addressing on the coordinates' bit patterns: slot holds topology vertex + 1, 0 if free.
  if (n > (1 << 29)) ON_OutOfMemory();
  int table_size = 16;
  while (table_size < 2 * n) table_size *= 2;
  const std::uint64_t mask = static_cast<std::uint64_t>(table_size - 1);
  ON_SimpleArray<int> table;
  Fill(table, table_size, 0);
  ON_SimpleArray<PointKey> top_keys;  // the key of each topology vertex
  top_keys.Reserve(static_cast<size_t>(n));

  m_topv_map.Reserve(static_cast<size_t>(n));
  for (int v = 0; v < n; ++v) {
    PointKey key;
    int t = top_keys.Count();
    if (!MakeKey(mesh.m_V[v], key)) {
      key = PointKey{0, 0, 0};
      top_keys.Append(key);  // a place holder: no slot leads to it
    } else {
      std::uint64_t slot = HashKey(key) & mask;
      for (;;) {
        const int entry = table[static_cast<int>(slot)];
        if (entry == 0) {
          table[static_cast<int>(slot)] = t + 1;
          top_keys.Append(key);
          break;
        }
        if (SameKey(top_keys[entry - 1], key)) {
          t = entry - 1;
          break;
        }
        slot = (slot + 1) & mask;
      }
    }
    m_topv_map.Append(t);
  }

  // Each topology vertex's mesh vertices, gathered in ascending order.
  const int top_count = top_keys.Count();
  ON_SimpleArray<int> next;  // where the next mesh vertex of each topology vertex goes
  Fill(next, top_count, 0);
  for (int v = 0; v < n; ++v) ++next[m_topv_map[v]];
  int start = 0;
  for (int t = 0; t < top_count; ++t) {
    const int count = next[t];
    next[t] = start;
    start += count;
  }
  Fill(m_vi_storage, n, 0);
  for (int v = 0; v < n; ++v) m_vi_storage[next[m_topv_map[v]]++] = v;

  m_topv.Reserve(static_cast<size_t>(top_count));
  int first = 0;
  for (int t = 0; t < top_count; ++t) {
    const int end = next[t];  // now the end of t's list
    m_topv.Append(ON_MeshTopologyVertex{end - first, &m_vi_storage[first]});
    first = end;
  }
}
