#include "ui/strips/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

namespace raziz::test {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct TextCase {
  std::string text;
  std::int32_t value;
  // Test names stay plain ASCII: other bytes show as \xNN.
  friend void PrintTo(const TextCase& c, std::ostream* out) {
    *out << '"';
    for (unsigned char ch : c.text) {
      if (ch >= 0x20 && ch < 0x7f) {
        *out << ch;
      } else {
        const char* hex = "0123456789ABCDEF";
        *out << "\\x" << hex[ch >> 4] << hex[ch & 15];
      }
    }
    *out << "\" -> " << c.value;
  }
};

class TextToInt : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToInt, ReadsWhatTheFieldHolds) {
  EXPECT_EQ(text_to_int(GetParam().text), GetParam().value) << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Decimal, TextToInt,
                         ::testing::Values(TextCase{"750", 750}, TextCase{"12ab", 12}, TextCase{"0", 0},
                                           TextCase{"007", 7}, TextCase{"1.5", 1}, TextCase{"1e3", 1},
                                           TextCase{"5 6", 5}, TextCase{"0x10", 0}));

INSTANTIATE_TEST_SUITE_P(NoDigits, TextToInt,
                         ::testing::Values(TextCase{"", 0}, TextCase{"abc", 0}, TextCase{"   ", 0}, TextCase{"-", 0},
                                           TextCase{"$", 0}, TextCase{"%", 0},
                                           TextCase{"\xEF\xBC\x91", 0} /* a full-width digit one */));

INSTANTIATE_TEST_SUITE_P(BlanksAndSign, TextToInt,
                         ::testing::Values(TextCase{" 42", 42}, TextCase{"\t\n\v\f\r 7", 7}, TextCase{"-5", -5},
                                           TextCase{"+5", 5}, TextCase{" -5", -5}, TextCase{"- 5", 0},
                                           TextCase{"--5", 0}, TextCase{"+-5", 0}, TextCase{"5-", 5}));

INSTANTIATE_TEST_SUITE_P(OtherBases, TextToInt,
                         ::testing::Values(TextCase{"$100", 256}, TextCase{"$fF", 255}, TextCase{"$Ag", 10},
                                           TextCase{"$g", 0}, TextCase{"-$10", -16}, TextCase{"$-10", 0},
                                           TextCase{"$ 10", 0}, TextCase{"%101", 5}, TextCase{"%1012", 5},
                                           TextCase{"%2", 0}, TextCase{"-%11", -3}, TextCase{" $10", 16}));

// Past 32 bits the value wraps around; the sign comes last, so negating INT32_MIN stays INT32_MIN.
INSTANTIATE_TEST_SUITE_P(WrapAround, TextToInt,
                         ::testing::Values(TextCase{"2147483647", kMax}, TextCase{"2147483648", kMin},
                                           TextCase{"-2147483648", kMin}, TextCase{"-2147483649", kMax},
                                           TextCase{"4294967296", 0}, TextCase{"4294967297", 1},
                                           TextCase{"99999999999", 1215752191}, TextCase{"-99999999999", -1215752191},
                                           TextCase{"123456789012345678901234567890", 1312754386},
                                           TextCase{"$FFFFFFFF", -1}, TextCase{"$100000000", 0},
                                           TextCase{"$123456789", 0x23456789},
                                           TextCase{"%" + std::string(40, '1'), -1}));

TEST(IntToText, PlainDecimalWithMinusForNegatives) {
  EXPECT_EQ(int_to_text(0), "0");
  EXPECT_EQ(int_to_text(52), "52");
  EXPECT_EQ(int_to_text(-5), "-5");
  EXPECT_EQ(int_to_text(kMax), "2147483647");
  EXPECT_EQ(int_to_text(kMin), "-2147483648");
}

TEST(IntToText, ReadsBackToTheSameNumber) {
  for (std::int32_t v : {0, 1, -1, 99, -100, 65536, kMax, kMin, kMin + 1}) {
    EXPECT_EQ(text_to_int(int_to_text(v)), v);
  }
}

struct TruncateCase {
  float value;
  std::int32_t result;
  friend void PrintTo(const TruncateCase& c, std::ostream* out) { *out << c.value << " -> " << c.result; }
};

class TruncateToInt : public ::testing::TestWithParam<TruncateCase> {};

TEST_P(TruncateToInt, TowardZeroAndSaturatingOutsideTheRange) {
  EXPECT_EQ(truncate_to_int(GetParam().value), GetParam().result) << "value: " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Cases, TruncateToInt,
                         ::testing::Values(TruncateCase{0.0f, 0}, TruncateCase{-0.0f, 0}, TruncateCase{2.9f, 2},
                                           TruncateCase{-2.9f, -2}, TruncateCase{0.999f, 0}, TruncateCase{-0.999f, 0},
                                           TruncateCase{100.5f, 100}, TruncateCase{301.5f, 301},
                                           // the largest float below 2^31, and -2^31 itself, are still in range
                                           TruncateCase{2147483520.0f, 2147483520}, TruncateCase{-2147483648.0f, kMin},
                                           TruncateCase{2147483648.0f, kMax}, TruncateCase{1e10f * 2.01f, kMax},
                                           TruncateCase{-1e10f, kMin},
                                           TruncateCase{std::numeric_limits<float>::infinity(), kMax},
                                           TruncateCase{-std::numeric_limits<float>::infinity(), kMin},
                                           TruncateCase{std::numeric_limits<float>::quiet_NaN(), 0}));

}  // namespace
}  // namespace raziz::test
