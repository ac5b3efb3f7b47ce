// The prefix codes of the PRC Double: 29 frequent values and one code per exponent, held as the
// table that make_double_codes.py generated (DoubleCodeTable.inc).
#ifndef VANTRELL_A3DLIB_PRC_DOUBLECODES_H
#define VANTRELL_A3DLIB_PRC_DOUBLECODES_H

#include <stdint.h>

namespace a3d {
namespace prc {

// The longest code, in bits.
constexpr unsigned kLongestDoubleCode = 22;

// What a prefix code stands for.
struct DecodedDoublePrefix {
  unsigned length;    // bits taken by the code
  bool isExponent;    // an exponent code (sign and mantissa follow), or a frequent value
  bool isZero;        // the code of +0.0, after which nothing follows
  uint64_t bits;      // a frequent value's IEEE-754 bits, or the exponent in place (exponent << 52)
};

// Decodes the code at the front of `next22`, the next 22 bits of the stream (most significant
// first, zero-filled past the end of the data). Every bit pattern decodes: the code is complete.
DecodedDoublePrefix DecodeDoublePrefix(uint32_t next22);

struct DoubleCode {
  uint32_t bits;
  unsigned length;
};

// The code of +0.0.
DoubleCode ZeroDoubleCode();
// The code of a frequent value whose magnitude has exactly these IEEE-754 bits (zero excluded);
// false when the magnitude is not one of them.
bool FindFrequentDoubleCode(uint64_t magnitudeBits, DoubleCode* code);
// The code of a biased exponent (0 to 2047).
DoubleCode ExponentDoubleCode(unsigned exponent);

}  // namespace prc
}  // namespace a3d

#endif
