#include "a3dlib/prc/DoubleCodes.h"

#include <vector>

namespace a3d {
namespace prc {

namespace {

struct FrequentDoubleCode {
  unsigned length;
  uint32_t bits;
  uint64_t value;
};

struct ExponentCode {
  unsigned length;
  uint32_t bits;
};

#include "a3dlib/prc/DoubleCodeTable.inc"

constexpr unsigned kFrequentCount = sizeof(kFrequentDoubleCodes) / sizeof(kFrequentDoubleCodes[0]);
constexpr unsigned kFirstLevelBits = 12;
constexpr unsigned kSecondLevelBits = kLongestDoubleCode - kFirstLevelBits;

// A table entry: bits 0-11 the symbol (frequent index or exponent), bit 12 set for an exponent,
// bits 16-20 the code length; or, with bit 31 set, the index of a second-level table.
constexpr uint32_t kExponentFlag = 1u << 12;
constexpr uint32_t kSubtableFlag = 1u << 31;

struct Tables {
  uint32_t first[1u << kFirstLevelBits];
  std::vector<std::vector<uint32_t>> second;
  // Bit e set when some frequent value has the exponent e: most doubles skip the search.
  uint64_t exponentsWithFrequent[2048 / 64];

  Tables() : first(), exponentsWithFrequent() {
    for (unsigned i = 0; i < kFrequentCount; ++i) {
      Add(kFrequentDoubleCodes[i].bits, kFrequentDoubleCodes[i].length, i);
      unsigned exponent = static_cast<unsigned>(kFrequentDoubleCodes[i].value >> 52) & 0x7FF;
      if (kFrequentDoubleCodes[i].value != 0) exponentsWithFrequent[exponent / 64] |= uint64_t(1) << (exponent % 64);
    }
    for (unsigned e = 0; e < 2048; ++e) Add(kExponentCodes[e].bits, kExponentCodes[e].length, e | kExponentFlag);
  }

  void Add(uint32_t bits, unsigned length, uint32_t symbol) {
    uint32_t entry = symbol | (static_cast<uint32_t>(length) << 16);
    if (length <= kFirstLevelBits) {
      uint32_t start = bits << (kFirstLevelBits - length);
      for (uint32_t i = 0; i < (1u << (kFirstLevelBits - length)); ++i) first[start + i] = entry;
      return;
    }
    uint32_t prefix = bits >> (length - kFirstLevelBits);
    if (!(first[prefix] & kSubtableFlag)) {
      first[prefix] = kSubtableFlag | static_cast<uint32_t>(second.size());
      second.emplace_back(1u << kSecondLevelBits, 0u);
    }
    std::vector<uint32_t>& table = second[first[prefix] & 0xFFFF];
    unsigned rest = length - kFirstLevelBits;
    uint32_t start = (bits & ((1u << rest) - 1)) << (kSecondLevelBits - rest);
    for (uint32_t i = 0; i < (1u << (kSecondLevelBits - rest)); ++i) table[start + i] = entry;
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

DecodedDoublePrefix DecodeDoublePrefix(uint32_t next22) {
  const Tables& tables = GetTables();
  uint32_t entry = tables.first[next22 >> kSecondLevelBits];
  if (entry & kSubtableFlag) entry = tables.second[entry & 0xFFFF][next22 & ((1u << kSecondLevelBits) - 1)];
  DecodedDoublePrefix result;
  result.length = (entry >> 16) & 0x1F;
  uint32_t symbol = entry & 0xFFF;
  result.isExponent = (entry & kExponentFlag) != 0;
  if (result.isExponent) {
    result.isZero = false;
    result.bits = static_cast<uint64_t>(symbol) << 52;
  } else {
    result.bits = kFrequentDoubleCodes[symbol].value;
    result.isZero = result.bits == 0;
  }
  return result;
}

DoubleCode ZeroDoubleCode() {
  for (unsigned i = 0; i < kFrequentCount; ++i)
    if (kFrequentDoubleCodes[i].value == 0) return DoubleCode{kFrequentDoubleCodes[i].bits, kFrequentDoubleCodes[i].length};
  return DoubleCode{0, 0};  // not reached: the table codes zero
}

bool FindFrequentDoubleCode(uint64_t magnitudeBits, DoubleCode* code) {
  unsigned exponent = static_cast<unsigned>(magnitudeBits >> 52) & 0x7FF;
  if (magnitudeBits == 0 || !(GetTables().exponentsWithFrequent[exponent / 64] & (uint64_t(1) << (exponent % 64))))
    return false;
  for (unsigned i = 0; i < kFrequentCount; ++i) {
    if (kFrequentDoubleCodes[i].value == magnitudeBits) {
      *code = DoubleCode{kFrequentDoubleCodes[i].bits, kFrequentDoubleCodes[i].length};
      return true;
    }
  }
  return false;
}

DoubleCode ExponentDoubleCode(unsigned exponent) {
  const ExponentCode& entry = kExponentCodes[exponent & 0x7FF];
  return DoubleCode{entry.bits, entry.length};
}

}  // namespace prc
}  // namespace a3d
