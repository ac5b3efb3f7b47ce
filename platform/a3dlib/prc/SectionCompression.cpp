#include "a3dlib/prc/SectionCompression.h"

#include <limits.h>
#include <zlib.h>

#include "a3dlib/prc/BitReader.h"

namespace a3d {
namespace prc {

bool InflateSection(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t* inflatedSize) {
  z_stream stream = z_stream();
  if (inflateInit(&stream) != Z_OK) return false;
  // Deflate rarely shrinks these sections more than fourfold; the buffer doubles when it must.
  out.resize(size < (SIZE_MAX / 8) ? size * 4 + 64 : size);
  size_t produced = 0;
  size_t consumed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (produced == out.size()) {
      if (out.size() > SIZE_MAX / 2) break;
      out.resize(out.size() * 2);
    }
    // zlib counts in 32-bit units: feed and drain at most UINT_MAX bytes per call.
    size_t input = size - consumed;
    size_t room = out.size() - produced;
    stream.next_in = const_cast<Bytef*>(data + consumed);
    stream.avail_in = static_cast<uInt>(input < UINT_MAX ? input : UINT_MAX);
    stream.next_out = out.data() + produced;
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
  if (status != Z_STREAM_END) return false;
  out.resize(produced + kBitReaderPadding);
  for (size_t i = 0; i < kBitReaderPadding; ++i) out[produced + i] = 0;
  *inflatedSize = produced;
  return true;
}

bool DeflateSection(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out) {
  z_stream stream = z_stream();
  // The sections are mostly bit-packed doubles: higher levels gain little and cost much time.
  if (deflateInit(&stream, 3) != Z_OK) return false;
  size_t consumed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    size_t start = out.size();
    out.resize(start + 65536);
    size_t input = bytes.size() - consumed;
    stream.next_in = const_cast<Bytef*>(bytes.data() + consumed);
    stream.avail_in = static_cast<uInt>(input < UINT_MAX ? input : UINT_MAX);
    stream.next_out = out.data() + start;
    stream.avail_out = 65536;
    uInt inBefore = stream.avail_in;
    bool last = input <= UINT_MAX;
    status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
    consumed += inBefore - stream.avail_in;
    out.resize(start + (65536 - stream.avail_out));
    if (status == Z_BUF_ERROR) status = Z_OK;  // no progress this round; more room follows
  }
  deflateEnd(&stream);
  return status == Z_STREAM_END;
}

}  // namespace prc
}  // namespace a3d
