// The bit-level primitives that are easy to get wrong: UnsignedInteger, Integer and Double, each
// written and read back over tables of values, with the lengths the format fixes; and the reader's
// bounds on damaged input.
#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/BitWriter.h"

namespace {

using a3d::prc::BitReader;
using a3d::prc::BitWriter;
using a3d::prc::FormatError;

// Finished bytes of a writer, padded for a reader.
struct Written {
  explicit Written(BitWriter& writer) : bits(writer.BitCount()), bytes(writer.Finish()) {
    size = bytes.size();
    bytes.resize(size + a3d::prc::kBitReaderPadding, 0);
  }
  BitReader Reader() const { return BitReader(bytes.data(), size); }
  size_t bits;
  std::vector<uint8_t> bytes;
  size_t size;
};

uint64_t BitsOf(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof(bits));
  return bits;
}

double DoubleOf(uint64_t bits) {
  double value;
  memcpy(&value, &bits, sizeof(value));
  return value;
}

// The start of a double with a mantissa: 0.25's exponent code, sign 0, "has mantissa", top bits 5.
void MantissaDoubleHead(BitWriter& writer) {
  writer.Bits(0x03, 5);
  writer.Bit(false);
  writer.Bit(true);
  writer.Bits(0x5, 4);
}

// Writes every value, checking the bits each takes, and reads them all back.
template <typename T>
void ExpectRoundTrip(const std::vector<std::pair<T, size_t>>& cases, void (BitWriter::*write)(T),
                     T (BitReader::*read)()) {
  BitWriter writer;
  size_t total = 0;
  for (const auto& c : cases) {
    (writer.*write)(c.first);
    total += c.second;
    EXPECT_EQ(total, writer.BitCount()) << c.first;
  }
  Written written(writer);
  BitReader reader = written.Reader();
  for (const auto& c : cases) EXPECT_EQ(c.first, (reader.*read)());
}

TEST(PrimitivesTest, UnsignedIntegersRoundTripWithTheirLengths) {
  // One continuation bit and one byte per byte of the value, then the end bit.
  ExpectRoundTrip<uint32_t>({{0, 1}, {1, 10}, {127, 10}, {128, 10}, {255, 10}, {256, 19}, {301, 19}, {65535, 19},
                             {65536, 28}, {0xFFFFFF, 28}, {0x1000000, 37}, {0x80000000u, 37}, {0xFFFFFFFFu, 37}},
                            &BitWriter::UnsignedInteger, &BitReader::UnsignedInteger);
}

TEST(PrimitivesTest, UnsignedIntegerIsLeastSignificantByteFirst) {
  BitWriter writer;
  writer.UnsignedInteger(301);  // 1 0x2d 1 0x01 0
  Written written(writer);
  EXPECT_EQ((std::vector<uint8_t>{0x96, 0xC0, 0x40}), std::vector<uint8_t>(written.bytes.begin(), written.bytes.begin() + 3));
}

TEST(PrimitivesTest, IntegersRoundTripWithTheirLengths) {
  // Bytes go out until the rest is all sign and the last byte's top bit agrees with it.
  ExpectRoundTrip<int32_t>({{0, 1},         {1, 10},        {-1, 10},      {127, 10},       {128, 19},
                            {-128, 10},     {-129, 19},     {255, 19},     {32767, 19},     {-32768, 19},
                            {32768, 28},    {8388607, 28},  {-8388608, 28}, {8388608, 37},  {INT_MAX, 37},
                            {INT_MIN, 37},  {-2, 10},       {0x12345678, 37}},
                           &BitWriter::Integer, &BitReader::Integer);
}

// Values every double path meets: zeros, the table's frequent values, subnormals, every exponent
// with mantissas of every shape (none, all bytes equal, repeated bytes, trailing zeros, only the
// last byte), infinities and NaNs.
std::vector<uint64_t> DoubleTable() {
  std::vector<uint64_t> bits = {
      BitsOf(0.0), BitsOf(-0.0), BitsOf(1.0), BitsOf(-1.0), BitsOf(0.5), BitsOf(1000.0), BitsOf(0.001),
      BitsOf(180.0), BitsOf(360.0), BitsOf(12345.0), BitsOf(999999999.0), BitsOf(5e-09), BitsOf(-1e-08),
      BitsOf(6.283185307179586), BitsOf(57.29577951308232), BitsOf(1165.0000000000002), BitsOf(1194.9999999999998),
      BitsOf(0.999999985098839), BitsOf(0.3527777777777778), BitsOf(0.1), BitsOf(static_cast<double>(0.1f)),
      BitsOf(std::numeric_limits<double>::denorm_min()), BitsOf(-std::numeric_limits<double>::denorm_min()),
      0x000FFFFFFFFFFFFFull, 0x0008000000000000ull, 0x0000000000000100ull, BitsOf(std::numeric_limits<double>::min()),
      BitsOf(std::numeric_limits<double>::max()), BitsOf(-std::numeric_limits<double>::max()),
      BitsOf(std::numeric_limits<double>::infinity()), BitsOf(-std::numeric_limits<double>::infinity()),
      0x7FF8000000000000ull, 0xFFF8000000000001ull, 0x7FF0000000000001ull, 0x7FF4000000000000ull};
  const uint64_t mantissas[] = {0x0000000000000ull, 0xFFFFFFFFFFFFFull, 0x1000000000000ull, 0x0000000000001ull,
                                0x0A0A0A0A0A0A0ull, 0x0123456789ABCull, 0x93E93E93E93Full, 0xF0000000000FFull,
                                0x0AB00AB00AB00ull, 0x1010101010101ull, 0x8000000000000ull, 0x0FF00FF00FF00ull};
  std::mt19937_64 random(14739);
  for (uint64_t exponent = 0; exponent < 2048; ++exponent) {
    for (uint64_t mantissa : mantissas) bits.push_back((exponent << 52) | mantissa);
    bits.push_back((uint64_t(1) << 63) | (exponent << 52) | (random() & 0xFFFFFFFFFFFFFull));
  }
  return bits;
}

// The bits a double keeps when it is passed by value. On 32-bit x86 without SSE arithmetic it
// passes through the x87 stack, which makes a signaling NaN quiet; every other value keeps its bits.
uint64_t AsPassedByValue(uint64_t bits) {
#if defined(__i386__) && !defined(__SSE2_MATH__)
  const bool nan = ((bits >> 52) & 0x7FF) == 0x7FF && (bits & 0xFFFFFFFFFFFFFull) != 0;
  if (nan) bits |= uint64_t(1) << 51;
#endif
  return bits;
}

TEST(PrimitivesTest, DoublesComeBackBitIdentical) {
  const std::vector<uint64_t> table = DoubleTable();
  BitWriter writer;
  for (uint64_t bits : table) writer.Double(DoubleOf(bits));
  Written written(writer);
  BitReader reader = written.Reader();
  for (uint64_t bits : table) {
    double value = reader.Double();
    ASSERT_EQ(AsPassedByValue(bits), BitsOf(value)) << std::hexfloat << DoubleOf(bits);
  }
  EXPECT_LT(reader.RemainingBits(), 8u);
}

TEST(PrimitivesTest, DoubleLengthsFollowTheCodes) {
  struct Case {
    double value;
    size_t bits;
  };
  const Case cases[] = {
      {0.0, 2},               // the zero code, nothing after it
      {1.0, 5},               // a frequent value: its 4-bit code and a sign
      {-1.0, 5},
      {0.25, 7},              // exponent code (5 bits), sign, no mantissa
      {-0.0, 24},             // exponent 0 has a 22-bit code; sign; no mantissa
      {0.3527777777777778, 5 + 1 + 1 + 4 + 9 + 9 + 9 + 4 + 4 + 9},  // two bytes repeat three places back
      {0.699951171875, 4 + 1 + 1 + 4 + 9 + 4},  // a 4-bit exponent code; one byte, then "the rest is zero"
  };
  for (const Case& c : cases) {
    BitWriter writer;
    writer.Double(c.value);
    EXPECT_EQ(c.bits, writer.BitCount()) << c.value;
  }
}

// The mantissa codes a writer may use that this one does not: a reference to the byte just before
// (distance 1), and "zeros up to the last byte, which follows".
TEST(PrimitivesTest, DoubleMantissaCodesOfOtherWritersAreRead) {
  BitWriter writer;
  MantissaDoubleHead(writer);
  writer.Bits(0x1AB, 9);  // literal 0xAB
  writer.Bits(0x1, 4);    // the byte before: 0xAB
  writer.Bits(0x0, 4);    // the rest is zero
  MantissaDoubleHead(writer);
  writer.Bits(0x6, 4);    // zeros, then the last byte
  writer.Bits(0x42, 8);
  MantissaDoubleHead(writer);
  writer.Bits(0x1CD, 9);
  writer.Bits(0x6, 4);
  writer.Bits(0x01, 8);
  Written written(writer);
  BitReader reader = written.Reader();
  EXPECT_EQ(0x3FD5ABAB00000000ull, BitsOf(reader.Double()));
  EXPECT_EQ(0x3FD5000000000042ull, BitsOf(reader.Double()));
  EXPECT_EQ(0x3FD5CD0000000001ull, BitsOf(reader.Double()));
}

TEST(PrimitivesTest, DamagedValuesFailCleanly) {
  struct Case {
    const char* what;
    void (*write)(BitWriter&);
    void (*read)(BitReader&);
  };
  const Case cases[] = {
      {"an unsigned integer of five bytes",
       [](BitWriter& w) {
         for (int i = 0; i < 5; ++i) w.Bits(0x1FF, 9);
         w.Bit(false);
       },
       [](BitReader& r) { r.UnsignedInteger(); }},
      {"an integer of five bytes",
       [](BitWriter& w) {
         for (int i = 0; i < 5; ++i) w.Bits(0x101, 9);
         w.Bit(false);
       },
       [](BitReader& r) { r.Integer(); }},
      {"a mantissa reference before the first byte",
       [](BitWriter& w) {
         MantissaDoubleHead(w);
         w.Bits(0x2, 4);
       },
       [](BitReader& r) { r.Double(); }},
      {"the mantissa code 7",
       [](BitWriter& w) {
         MantissaDoubleHead(w);
         w.Bits(0x1AB, 9);
         w.Bits(0x7, 4);
       },
       [](BitReader& r) { r.Double(); }},
      {"a string longer than the data",
       [](BitWriter& w) {
         w.Bit(true);
         w.UnsignedInteger(1000);
         w.Character('a');
       },
       [](BitReader& r) { r.String(); }},
      {"a count larger than the data",
       [](BitWriter& w) { w.UnsignedInteger(5000); },
       [](BitReader& r) { r.Count(2); }},
      {"a double cut short in its mantissa",
       [](BitWriter& w) { w.Bits(0x1A, 8); },  // exponent code 00011, sign, mantissa present, then the end
       [](BitReader& r) { r.Double(); }},
      {"user data longer than the data",
       [](BitWriter& w) { w.UnsignedInteger(200); },
       [](BitReader& r) { r.UserData(); }},
  };
  for (const Case& c : cases) {
    BitWriter writer;
    c.write(writer);
    Written written(writer);
    BitReader reader = written.Reader();
    EXPECT_THROW(c.read(reader), FormatError) << c.what;
  }
}

TEST(PrimitivesTest, ReadingStopsAtTheEndOfTheData) {
  const uint8_t bytes[1 + a3d::prc::kBitReaderPadding] = {0xFF};
  BitReader reader(bytes, 1);
  EXPECT_EQ(0xFFu, reader.Bits(8));
  EXPECT_THROW(reader.Bit(), FormatError);
  BitReader empty(bytes, 0);
  EXPECT_THROW(empty.UnsignedInteger(), FormatError);
}

TEST(PrimitivesTest, NamesFollowTheCurrentName) {
  BitWriter writer;
  writer.Name("");       // same as the current (empty) name: one bit
  writer.Name("part");
  writer.Name("part");   // same again
  writer.Name("");       // an empty name after a named one is written out
  writer.String("text");
  writer.ResetSectionState();
  Written written(writer);
  BitReader reader = written.Reader();
  EXPECT_EQ("", reader.Name());
  EXPECT_EQ("part", reader.Name());
  EXPECT_EQ("part", reader.Name());
  EXPECT_EQ("", reader.Name());
  EXPECT_EQ("text", reader.String());
}

TEST(PrimitivesTest, UnsignedShortIsLowCharacterFirst) {
  BitWriter writer;
  writer.UnsignedShort(0x1234);
  Written written(writer);
  EXPECT_EQ(0x34, written.bytes[0]);
  EXPECT_EQ(0x12, written.bytes[1]);
  EXPECT_EQ(0x1234, written.Reader().UnsignedShort());
}

}  // namespace
