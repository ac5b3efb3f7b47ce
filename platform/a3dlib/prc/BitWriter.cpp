#include "a3dlib/prc/BitWriter.h"

#include <string.h>

#include "a3dlib/prc/DoubleCodes.h"

namespace a3d {
namespace prc {

void BitWriter::UnsignedShort(uint16_t value) {
  Character(static_cast<uint8_t>(value & 0xFF));
  Character(static_cast<uint8_t>(value >> 8));
}

void BitWriter::UnsignedInteger(uint32_t value) {
  while (value != 0) {
    Bits(0x100u | (value & 0xFFu), 9);
    value >>= 8;
  }
  Bit(false);
}

void BitWriter::Integer(int32_t value) {
  // Bytes go out, lowest first, until what is left is all sign and the last byte agrees with it.
  int64_t rest = value;
  bool lastNegative = false;
  for (;;) {
    if ((rest == 0 && !lastNegative) || (rest == -1 && lastNegative)) break;
    uint8_t byte = static_cast<uint8_t>(rest & 0xFF);
    Bits(0x100u | byte, 9);
    lastNegative = (byte & 0x80) != 0;
    rest >>= 8;  // arithmetic: the sign stays
  }
  Bit(false);
}

void BitWriter::Double(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof(bits));
  if (bits == 0) {
    DoubleCode zero = ZeroDoubleCode();
    Bits(zero.bits, zero.length);
    return;
  }
  const uint64_t signBit = uint64_t(1) << 63;
  bool negative = (bits & signBit) != 0;
  uint64_t magnitude = bits & ~signBit;
  DoubleCode code;
  if (FindFrequentDoubleCode(magnitude, &code)) {
    Bits(code.bits, code.length);
    Bit(negative);
    return;
  }
  code = ExponentDoubleCode(static_cast<unsigned>(magnitude >> 52));
  Bits(code.bits, code.length);
  Bit(negative);
  uint64_t mantissa = magnitude & ((uint64_t(1) << 52) - 1);
  if (mantissa == 0) {
    Bit(false);
    return;
  }
  Bit(true);
  Bits(static_cast<uint32_t>(mantissa >> 48), 4);
  uint8_t bytes[6];
  int last = -1;  // the last non-zero byte: zeros after it are written as one "rest is zero"
  for (int i = 0; i < 6; ++i) {
    bytes[i] = static_cast<uint8_t>(mantissa >> (40 - 8 * i));
    if (bytes[i] != 0) last = i;
  }
  for (int i = 0; i <= last; ++i) {
    // A reference to an equal byte two to five places back is shorter than the literal. The
    // byte just before is not referred to, for the widest acceptance; a literal serves as well.
    int distance = 0;
    for (int d = 2; d <= 5 && d <= i; ++d) {
      if (bytes[i - d] == bytes[i]) {
        distance = d;
        break;
      }
    }
    if (distance != 0) {
      Bits(static_cast<uint32_t>(distance), 4);  // a 0 bit, then the distance in 3 bits
    } else {
      Bits(0x100u | bytes[i], 9);
    }
  }
  if (last < 5) Bits(0, 4);  // a 0 bit, then 0: the remaining bytes are zero
}

void BitWriter::String(const std::string& text) {
  if (text.empty()) {
    Bit(false);
    return;
  }
  Bit(true);
  UnsignedInteger(static_cast<uint32_t>(text.size()));
  for (char c : text) Character(static_cast<uint8_t>(c));
}

void BitWriter::Name(const std::string& name) {
  if (name == m_currentName) {
    Bit(true);
    return;
  }
  Bit(false);
  String(name);
  m_currentName = name;
}

std::vector<uint8_t> BitWriter::Finish() {
  if (m_pendingBits > 0) Bits(0, 8 - m_pendingBits);
  std::vector<uint8_t> bytes;
  bytes.swap(m_bytes);
  m_pending = 0;
  m_pendingBits = 0;
  m_currentName.clear();
  return bytes;
}

}  // namespace prc
}  // namespace a3d
