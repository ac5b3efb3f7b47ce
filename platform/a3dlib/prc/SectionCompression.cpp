#include "a3dlib/prc/SectionCompression.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include "a3dlib/prc/BitReader.h"

namespace a3d {
namespace prc {

SectionBytes::~SectionBytes() { free(m_data); }

bool InflateSection(const uint8_t* data, size_t size, SectionBytes& out) {
  free(out.m_data);
  out.m_data = nullptr;
  out.m_size = 0;
  z_stream stream = z_stream();
  if (inflateInit(&stream) != Z_OK) return false;
  // The buffer grows by doubling, without being cleared: realloc moves large blocks cheaply.
  size_t capacity = 1 << 16;
  uint8_t* buffer = static_cast<uint8_t*>(malloc(capacity));
  size_t produced = 0;
  size_t consumed = 0;
  int status = buffer ? Z_OK : Z_MEM_ERROR;
  while (status == Z_OK) {
    if (capacity - produced < kBitReaderPadding + 1) {
      uint8_t* larger = capacity <= SIZE_MAX / 2 ? static_cast<uint8_t*>(realloc(buffer, capacity * 2)) : nullptr;
      if (!larger) {
        status = Z_MEM_ERROR;
        break;
      }
      buffer = larger;
      capacity *= 2;
    }
    // zlib counts in 32-bit units: feed and drain at most UINT_MAX bytes per call. The padding's
    // room is kept free.
    size_t input = size - consumed;
    size_t room = capacity - produced - kBitReaderPadding;
    stream.next_in = const_cast<Bytef*>(data + consumed);
    stream.avail_in = static_cast<uInt>(input < UINT_MAX ? input : UINT_MAX);
    stream.next_out = buffer + produced;
    stream.avail_out = static_cast<uInt>(room < UINT_MAX ? room : UINT_MAX);
    uInt inBefore = stream.avail_in;
    uInt outBefore = stream.avail_out;
    status = inflate(&stream, Z_NO_FLUSH);
    consumed += inBefore - stream.avail_in;
    produced += outBefore - stream.avail_out;
    // Z_BUF_ERROR: no progress was possible, either for lack of room (the loop grows the buffer)
    // or because the input ended early.
    if (status == Z_BUF_ERROR && stream.avail_out != 0) break;
    if (status == Z_BUF_ERROR) status = Z_OK;
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) {
    free(buffer);
    return false;
  }
  memset(buffer + produced, 0, kBitReaderPadding);
  out.m_data = buffer;
  out.m_size = produced;
  return true;
}

bool DeflateSection(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out) {
  z_stream stream = z_stream();
  // The sections are mostly bit-packed doubles: higher levels gain a few percent at twice the time.
  if (deflateInit(&stream, 1) != Z_OK) return false;
  size_t consumed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    // Room for the whole stream at once, as zlib bounds it, unless the input is beyond 32 bits.
    size_t input = bytes.size() - consumed;
    bool last = input <= UINT_MAX;
    uInt feed = static_cast<uInt>(last ? input : UINT_MAX);
    size_t chunk = deflateBound(&stream, feed);
    size_t start = out.size();
    out.resize(start + chunk);
    stream.next_in = const_cast<Bytef*>(bytes.data() + consumed);
    stream.avail_in = feed;
    stream.next_out = out.data() + start;
    stream.avail_out = static_cast<uInt>(chunk < UINT_MAX ? chunk : UINT_MAX);
    uInt outBefore = stream.avail_out;
    status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
    consumed += feed - stream.avail_in;
    out.resize(start + (outBefore - stream.avail_out));
    if (status == Z_BUF_ERROR) status = Z_OK;  // no progress this round; more room follows
  }
  deflateEnd(&stream);
  return status == Z_STREAM_END;
}

}  // namespace prc
}  // namespace a3d
