// The zlib streams that hold a PRC file's compressed sections.
#ifndef VANTRELL_A3DLIB_PRC_SECTIONCOMPRESSION_H
#define VANTRELL_A3DLIB_PRC_SECTIONCOMPRESSION_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace a3d {
namespace prc {

// The bytes inflated from one section, followed by kBitReaderPadding zero bytes (not counted in
// size()), as a BitReader needs them.
class SectionBytes {
 public:
  SectionBytes() = default;
  ~SectionBytes();
  SectionBytes(const SectionBytes&) = delete;
  SectionBytes& operator=(const SectionBytes&) = delete;

  const uint8_t* data() const { return m_data; }
  size_t size() const { return m_size; }

 private:
  friend bool InflateSection(const uint8_t* data, size_t size, SectionBytes& out);
  uint8_t* m_data = nullptr;
  size_t m_size = 0;
};

// Inflates the zlib stream at the start of the `size` bytes at `data` (bytes after the stream's
// end are not looked at) into `out`. False, `out` empty, when the stream is damaged or ends early,
// or memory runs out.
bool InflateSection(const uint8_t* data, size_t size, SectionBytes& out);

// Deflates `bytes` into a complete zlib stream appended to `out`.
bool DeflateSection(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out);

}  // namespace prc
}  // namespace a3d

#endif
