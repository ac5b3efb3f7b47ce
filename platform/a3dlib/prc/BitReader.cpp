#include "a3dlib/prc/BitReader.h"

#include <string.h>

#include "a3dlib/prc/DoubleCodes.h"

namespace a3d {
namespace prc {

uint16_t BitReader::UnsignedShort() {
  uint16_t low = Character();
  uint16_t high = Character();
  return static_cast<uint16_t>(low | (high << 8));
}

uint32_t BitReader::UnsignedInteger() {
  uint32_t value = 0;
  for (unsigned shift = 0; shift < 32; shift += 8) {
    // A continuation bit and the byte it announces are looked at together.
    uint32_t next = Peek(9);
    if (!(next & 0x100)) {
      Advance(1);
      return value;
    }
    Advance(9);
    value |= (next & 0xFFu) << shift;
  }
  if (Bit()) throw FormatError("unsigned integer longer than 32 bits");
  return value;
}

int32_t BitReader::Integer() {
  uint32_t value = 0;
  unsigned shift = 0;
  while (Bit()) {
    if (shift == 32) throw FormatError("integer longer than 32 bits");
    value |= static_cast<uint32_t>(Character()) << shift;
    shift += 8;
  }
  if (shift > 0 && shift < 32 && (value & (1u << (shift - 1)))) value |= ~0u << shift;  // sign extension
  int32_t result;
  memcpy(&result, &value, sizeof(result));
  return result;
}

double BitReader::Double() {
  uint32_t next = Peek(kLongestDoubleCode);
  DecodedDoublePrefix prefix = DecodeDoublePrefix(next);
  Advance(prefix.length);
  uint64_t bits = prefix.bits;
  if (!prefix.isZero) {
    uint64_t sign = Bit() ? uint64_t(1) << 63 : 0;
    if (prefix.isExponent && Bit()) {
      // The mantissa: its top four bits, then six bytes from the most significant one, each a
      // literal or a reference to an equal byte 1 to 5 places before it.
      uint8_t bytes[6] = {0, 0, 0, 0, 0, 0};
      uint64_t top = Bits(4);
      for (unsigned i = 0; i < 6;) {
        uint32_t next = Peek(9);  // a literal's flag and byte, or a reference's flag and code
        if (next & 0x100) {
          Advance(9);
          bytes[i++] = static_cast<uint8_t>(next);
          continue;
        }
        Advance(4);
        unsigned code = (next >> 5) & 0x7;
        if (code == 0) break;  // the remaining bytes are zero
        if (code == 6) {       // zeros up to the last byte, which follows
          bytes[5] = Character();
          break;
        }
        if (code == 7 || code > i) throw FormatError("bad mantissa reference");
        bytes[i] = bytes[i - code];
        ++i;
      }
      uint64_t mantissa = top << 48;
      for (unsigned i = 0; i < 6; ++i) mantissa |= static_cast<uint64_t>(bytes[i]) << (40 - 8 * i);
      bits |= mantissa;
    }
    bits |= sign;
  }
  double value;
  memcpy(&value, &bits, sizeof(value));
  return value;
}

std::string BitReader::String() {
  if (!Bit()) return std::string();
  uint32_t length = UnsignedInteger();
  if (static_cast<uint64_t>(length) * 8 > RemainingBits()) throw FormatError("string longer than the data");
  std::string text(length, '\0');
  for (uint32_t i = 0; i < length; ++i) text[i] = static_cast<char>(Character());
  return text;
}

std::string BitReader::Name() {
  if (Bit()) return m_currentName;
  m_currentName = String();
  return m_currentName;
}

void BitReader::Graphics() {
  if (Bit()) return;  // same as the current graphics
  UnsignedInteger();  // layer index + 1
  UnsignedInteger();  // line style index + 1
  UnsignedShort();    // behaviour
}

void BitReader::UserData() { Skip(UnsignedInteger()); }

uint32_t BitReader::Count(unsigned minimumBits) {
  uint32_t count = UnsignedInteger();
  if (static_cast<uint64_t>(count) * minimumBits > RemainingBits()) throw FormatError("count larger than the data");
  return count;
}

void BitReader::Skip(uint64_t bits) { Advance(bits); }

}  // namespace prc
}  // namespace a3d
