// The strips' number conversions held against a reference written straight from the rules, with wide
// arithmetic instead of wrap-around tricks:
// - text to whole number: blanks skipped, one sign, "$" hexadecimal (either case) or "%" binary, reading stops
//   at the first non-digit, modulo 2^32, sign applied last;
// - whole number to text: what printf's %d gives, and reading it back gives the number;
// - float to whole number: truncation toward zero, saturating outside the 32-bit range, NaN as 0.

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "ui/strips/number_text.h"

namespace {

int DigitIn(unsigned char c, int base) {
  if (base == 2) return c == '0' ? 0 : c == '1' ? 1 : -1;
  if (base == 10) return std::isdigit(c) ? c - '0' : -1;
  if (!std::isxdigit(c)) return -1;
  return std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
}

std::int32_t ReferenceTextToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  int sign = 1;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  constexpr std::int64_t kModulus = std::int64_t{1} << 32;
  std::int64_t value = 0;  // always in [0, 2^32)
  for (; i < text.size(); ++i) {
    const int digit = DigitIn(static_cast<unsigned char>(text[i]), base);
    if (digit < 0) break;
    value = (value * base + digit) % kModulus;
  }
  value = (sign * value % kModulus + kModulus) % kModulus;
  return static_cast<std::int32_t>(value >= kModulus / 2 ? value - kModulus : value);
}

std::int32_t ReferenceTruncate(float value) {
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(static_cast<double>(value));
  if (whole >= 2147483647.0) return INT32_MAX;
  if (whole <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(raziz::text_to_int(text) == ReferenceTextToInt(text));

  if (size >= 4) {
    std::int32_t number;
    float real;
    std::memcpy(&number, data, 4);
    std::memcpy(&real, data, 4);

    const std::string shown = raziz::int_to_text(number);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%d", static_cast<int>(number));
    FUZZ_CHECK(shown == printed);
    FUZZ_CHECK(raziz::text_to_int(shown) == number);

    FUZZ_CHECK(raziz::truncate_to_int(real) == ReferenceTruncate(real));
  }
  return 0;
}
