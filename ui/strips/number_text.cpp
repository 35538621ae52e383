#include "ui/strips/number_text.h"

#include <cmath>
#include <limits>

namespace raziz {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The value of c as a digit of base, or -1.
int digit_value(char c, unsigned base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d >= 0 && static_cast<unsigned>(d) < base ? d : -1;
}

}  // namespace

std::int32_t text_to_int(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;

  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }

  std::uint32_t value = 0;  // unsigned: the wrap-around is modulo 2^32 and defined
  for (; i < text.size(); ++i) {
    const int d = digit_value(text[i], base);
    if (d < 0) break;
    value = value * base + static_cast<std::uint32_t>(d);
  }
  if (negative) value = 0u - value;
  // Since C++20 this conversion keeps the bit pattern.
  return static_cast<std::int32_t>(value);
}

std::string int_to_text(std::int32_t value) { return std::to_string(value); }

std::int32_t truncate_to_int(float value) {
  constexpr float kTwoTo31 = 2147483648.0f;  // exactly representable; INT32_MAX is not
  if (std::isnan(value)) return 0;
  if (value >= kTwoTo31) return std::numeric_limits<std::int32_t>::max();
  if (value < -kTwoTo31) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);  // in range: truncation toward zero is defined
}

}  // namespace raziz
