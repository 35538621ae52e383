#pragma once
// The number conversions of the channel strips' fields. Pure functions, so the fuzz target can hold them
// against a reference.

#include <cstdint>
#include <string>
#include <string_view>

namespace raziz {

// Text to whole number: leading white space (space, \t, \n, \v, \f, \r) is skipped; one optional "+" or "-"
// follows directly; then "$" reads hexadecimal digits (either case), "%" binary digits, otherwise decimal
// digits. Reading stops at the first character that is not a digit of that base; no digits give 0. The value
// wraps around modulo 2^32 (computed unsigned, so there is no overflow) and the sign is applied last, so
// "4294967297" is 1 and "-2147483648" is INT32_MIN.
std::int32_t text_to_int(std::string_view text);

// Whole number to text: plain decimal, a leading "-" for negatives.
std::string int_to_text(std::int32_t value);

// Float to whole number, truncating toward zero. A value beyond the 32-bit range has no defined C++
// conversion; it saturates instead: at or above 2^31 gives INT32_MAX, below -2^31 gives INT32_MIN, and NaN
// gives 0. So a huge level typed into a field puts its slider at the top end rather than anywhere.
std::int32_t truncate_to_int(float value);

}  // namespace raziz
