// Reading the bit-packed primitives of a PRC section, most significant bit first.
//
// Every read is bounded by the data: reading past the end, a malformed value or a count the
// remaining data could not hold throws FormatError, which the codec catches at its edge.
#ifndef VANTRELL_A3DLIB_PRC_BITREADER_H
#define VANTRELL_A3DLIB_PRC_BITREADER_H

#include <stddef.h>
#include <stdint.h>

#include <exception>
#include <string>

namespace a3d {
namespace prc {

// Damaged or unreadable data. Thrown and caught inside the codec only.
class FormatError : public std::exception {
 public:
  explicit FormatError(const char* reason) : m_reason(reason) {}
  const char* what() const noexcept override { return m_reason; }

 private:
  const char* m_reason;
};

// Sound data the codec cannot take: a schema, or a file that needs a newer reader.
class UnsupportedFormat : public FormatError {
 public:
  using FormatError::FormatError;
};

// The number of zero bytes that must follow the data a BitReader reads.
constexpr size_t kBitReaderPadding = 8;

class BitReader {
 public:
  // Reads the `size` bytes at `data`; kBitReaderPadding readable bytes must follow them.
  BitReader(const uint8_t* data, size_t size) : m_data(data), m_limit(static_cast<uint64_t>(size) * 8) {}

  bool Bit() { return Bits(1) != 0; }
  // The next `count` bits (1 to 32) as an unsigned number.
  uint32_t Bits(unsigned count) {
    uint32_t value = Peek(count);
    Advance(count);
    return value;
  }
  uint8_t Character() { return static_cast<uint8_t>(Bits(8)); }
  uint16_t UnsignedShort();  // two Characters, low one first
  uint32_t UnsignedInteger();
  int32_t Integer();
  double Double();
  // A String: empty when null.
  std::string String();
  // A Name: the current name when the file says so, else a String that becomes the current one.
  std::string Name();
  // Graphics of an entity: read past (the codec keeps none).
  void Graphics();
  // UserData: read past.
  void UserData();

  // An UnsignedInteger count of elements that take at least `minimumBits` each, checked against
  // the data left, so that nothing is ever reserved for more elements than the data can hold.
  uint32_t Count(unsigned minimumBits);
  void Skip(uint64_t bits);

  uint64_t Position() const { return m_position; }
  uint64_t RemainingBits() const { return m_limit - m_position; }
  // Each section starts with an empty current name.
  void ResetSectionState() { m_currentName.clear(); }

 private:
  // The next `count` bits (1 to 32) without taking them; zeros past the end.
  uint32_t Peek(unsigned count) const {
    const uint8_t* p = m_data + (m_position >> 3);
    uint64_t word = (uint64_t(p[0]) << 56) | (uint64_t(p[1]) << 48) | (uint64_t(p[2]) << 40) | (uint64_t(p[3]) << 32) |
                    (uint64_t(p[4]) << 24) | (uint64_t(p[5]) << 16) | (uint64_t(p[6]) << 8) | uint64_t(p[7]);
    return static_cast<uint32_t>((word << (m_position & 7)) >> (64 - count));
  }
  void Advance(uint64_t count) {
    if (count > m_limit - m_position) throw FormatError("data ends early");
    m_position += count;
  }

  const uint8_t* m_data;
  uint64_t m_limit;
  uint64_t m_position = 0;
  std::string m_currentName;
};

}  // namespace prc
}  // namespace a3d

#endif
