// Writing the bit-packed primitives of a PRC section, most significant bit first.
#ifndef VANTRELL_A3DLIB_PRC_BITWRITER_H
#define VANTRELL_A3DLIB_PRC_BITWRITER_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace a3d {
namespace prc {

class BitWriter {
 public:
  void Bit(bool value) { Bits(value ? 1u : 0u, 1); }
  // The low `count` bits (1 to 32) of `value`, most significant first.
  void Bits(uint32_t value, unsigned count) {
    m_pending = (m_pending << count) | (value & (0xFFFFFFFFu >> (32 - count)));
    m_pendingBits += count;
    while (m_pendingBits >= 8) {
      m_pendingBits -= 8;
      m_bytes.push_back(static_cast<uint8_t>(m_pending >> m_pendingBits));
    }
  }
  void Character(uint8_t value) { Bits(value, 8); }
  void UnsignedShort(uint16_t value);  // low Character first
  void UnsignedInteger(uint32_t value);
  void Integer(int32_t value);
  // Every double, -0.0, subnormals, infinities and NaNs included, reads back bit-identical.
  void Double(double value);
  // An empty string is written as the null string.
  void String(const std::string& text);
  // "Same as the current name" when it is, else the name as a String, which becomes current.
  void Name(const std::string& name);
  // Graphics "same as the current ones" (the writer gives entities no graphics of their own).
  void SameGraphics() { Bit(true); }
  void EmptyUserData() { UnsignedInteger(0); }

  void ResetSectionState() { m_currentName.clear(); }
  void Reserve(size_t bytes) { m_bytes.reserve(bytes); }
  // The bytes written, the last one filled up with zero bits; the writer is empty afterwards.
  std::vector<uint8_t> Finish();
  size_t BitCount() const { return m_bytes.size() * 8 + m_pendingBits; }

 private:
  std::vector<uint8_t> m_bytes;
  uint64_t m_pending = 0;
  unsigned m_pendingBits = 0;
  std::string m_currentName;
};

}  // namespace prc
}  // namespace a3d

#endif
