// The zlib streams that hold a PRC file's compressed sections.
#ifndef VANTRELL_A3DLIB_PRC_SECTIONCOMPRESSION_H
#define VANTRELL_A3DLIB_PRC_SECTIONCOMPRESSION_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace a3d {
namespace prc {

// Inflates the zlib stream at the start of the `size` bytes at `data` (bytes after the stream's
// end are not looked at) into `out`, followed by kBitReaderPadding zero bytes that are not
// counted in `*inflatedSize`. False, with `out` unspecified, when the stream is damaged or ends
// early.
bool InflateSection(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t* inflatedSize);

// Deflates `bytes` into a complete zlib stream appended to `out`.
bool DeflateSection(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out);

}  // namespace prc
}  // namespace a3d

#endif
