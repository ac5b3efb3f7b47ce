#include "a3dlib/TessExpansion.h"

#include <algorithm>

namespace a3d {

namespace {

struct Corner {
  uint32_t normal;
  uint32_t point;
};

// Reads one face record. `emit(a, b, c)` receives each triangle's corners. Used twice: once to
// count and check, once to fill, so the output is allocated once at its final size.
class FaceReader {
 public:
  FaceReader(const TessFace& face, const std::vector<uint32_t>& entries, bool withNormals)
      : m_face(face), m_entries(entries), m_cursor(face.indexStart), m_normal(withNormals ? 1 : 0) {}

  template <typename Emit>
  bool Read(Emit&& emit) {
    for (unsigned bit = 0; bit < 16; ++bit) {
      const unsigned flag = 1u << bit;
      if (!(m_face.kind & flag)) continue;
      const bool textured = flag >= 0x100;
      const unsigned shape = textured ? flag >> 8 : flag;
      // Entries that follow a corner's normal: its texture entries, then its point.
      const uint64_t texture = textured ? std::max<uint32_t>(1, m_face.textureCoordIndexCount) : 0;
      const uint64_t corner = texture + 1;
      bool ok = false;
      switch (shape) {
        case kFaceTriangle:
          ok = ReadTriangles(corner, false, emit);
          break;
        case kFaceTriangleOneNormal:
          ok = ReadTriangles(corner, true, emit);
          break;
        case kFaceTriangleFan:
        case kFaceTriangleStrip:
          ok = ReadRuns(corner, shape == kFaceTriangleFan, false, emit);
          break;
        case kFaceTriangleFanOneNormal:
        case kFaceTriangleStripOneNormal:
          ok = ReadRuns(corner, shape == kFaceTriangleFanOneNormal, true, emit);
          break;
        default:  // polyfaces
          ok = false;
          break;
      }
      if (!ok) return false;
    }
    return m_nextSize == m_face.sizes.size();
  }

 private:
  bool NextSize(uint32_t* value) {
    if (m_nextSize >= m_face.sizes.size()) return false;
    *value = m_face.sizes[m_nextSize++];
    return true;
  }

  // Whether `count` groups of `size` entries each are left from the cursor.
  bool Available(uint64_t count, uint64_t size) const {
    if (m_cursor > m_entries.size()) return false;
    return count == 0 || size == 0 || count <= (m_entries.size() - m_cursor) / size;
  }

  template <typename Emit>
  bool ReadTriangles(uint64_t corner, bool oneNormal, Emit& emit) {
    uint32_t count = 0;
    if (!NextSize(&count)) return false;
    const uint64_t group = m_normal + corner;  // a corner's entries with its own normal
    const uint64_t perTriangle = oneNormal ? m_normal + 3 * corner : 3 * group;
    if (!Available(count, perTriangle)) return false;
    const uint32_t* e = m_entries.data();
    for (uint32_t t = 0; t < count; ++t) {
      const uint64_t base = m_cursor + t * perTriangle;
      Corner c[3];
      for (uint64_t k = 0; k < 3; ++k) {
        if (oneNormal)
          c[k] = Corner{Normal(e + base), e[base + m_normal + k * corner + corner - 1]};
        else
          c[k] = Corner{Normal(e + base + k * group), e[base + k * group + group - 1]};
      }
      emit(c[0], c[1], c[2]);
    }
    m_cursor += count * perTriangle;
    return true;
  }

  // Fans or strips: their number, then each one's points.
  template <typename Emit>
  bool ReadRuns(uint64_t corner, bool fan, bool oneNormal, Emit& emit) {
    uint32_t runs = 0;
    if (!NextSize(&runs)) return false;
    const uint64_t group = m_normal + corner;
    for (uint32_t r = 0; r < runs; ++r) {
      uint32_t size = 0;
      if (!NextSize(&size)) return false;
      const bool singleNormal = oneNormal && (size & kFaceSizeSingleNormal);
      const uint64_t points = size & ~kFaceSizeSingleNormal;
      const uint64_t entries = singleNormal ? m_normal + points * corner : points * group;
      if (!Available(1, entries)) return false;
      const uint32_t* e = m_entries.data() + m_cursor;
      auto vertex = [&](uint64_t i) {
        if (singleNormal) return Corner{Normal(e), e[m_normal + i * corner + corner - 1]};
        return Corner{Normal(e + i * group), e[i * group + group - 1]};
      };
      for (uint64_t i = 0; i + 2 < points; ++i) {
        if (fan)
          emit(vertex(0), vertex(i + 1), vertex(i + 2));
        else if (i % 2 == 0)
          emit(vertex(i), vertex(i + 1), vertex(i + 2));
        else
          emit(vertex(i + 1), vertex(i), vertex(i + 2));
      }
      m_cursor += entries;
    }
    return true;
  }

  // The normal offset that starts a group of entries; 0 when the entries hold no normals.
  uint32_t Normal(const uint32_t* group) const { return m_normal ? group[0] : 0; }

  const TessFace& m_face;
  const std::vector<uint32_t>& m_entries;
  uint64_t m_cursor;
  uint64_t m_normal;  // entries a normal takes before a corner: 1, or 0 when normals are recalculated
  size_t m_nextSize = 0;
};

}  // namespace

int ExpandTess3DFaces(const Tess3D& tessellation, std::vector<uint32_t>& out) {
  out.clear();
  uint64_t triangles = 0;
  for (const TessFace& face : tessellation.faces) {
    FaceReader reader(face, tessellation.indices, !tessellation.normalsRecalculated);
    if (!reader.Read([&](const Corner&, const Corner&, const Corner&) { ++triangles; })) return 1;
  }
  out.resize(triangles * 6);
  uint32_t* next = out.data();
  for (const TessFace& face : tessellation.faces) {
    FaceReader reader(face, tessellation.indices, !tessellation.normalsRecalculated);
    reader.Read([&](const Corner& a, const Corner& b, const Corner& c) {
      next[0] = a.normal;
      next[1] = a.point;
      next[2] = b.normal;
      next[3] = b.point;
      next[4] = c.normal;
      next[5] = c.point;
      next += 6;
    });
  }
  return 0;
}

}  // namespace a3d
