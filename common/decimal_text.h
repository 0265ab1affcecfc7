#pragma once
// Reals written as plain decimals ("-12.3456", "7", "0.25"), the form the
// suite's programs write, read without the general machinery of strtod. When
// the digits make a whole number the type holds exactly, and the power of ten
// of the decimals is exact in it too, one correctly rounded division gives the
// correctly rounded value, the one strtod/strtof give. Any other text
// (exponent, sign '+', too many digits, anything else) returns false, and the
// caller reads it the general way.
namespace common {

bool plainDecimal(const char* begin, const char* end, float& value);
bool plainDecimal(const char* begin, const char* end, double& value);

// The plain decimal at the start of the text, up to its first character that
// is neither a digit nor its point: the end of it with its value, or null when
// it is no plain decimal of the exact range (so that plainDecimal(b, e, v) is
// plainDecimalPrefix(b, e, v) == e). For scanners that find a field's end and
// its number in one pass.
const char* plainDecimalPrefix(const char* begin, const char* end, float& value);

// The whole text as a number of the type: a plain decimal, else what
// std::from_chars reads to the end without going out of range. False for
// anything else (a leading '+', hexadecimal, out of range, a stray character),
// which the caller hands to the C library's reader.
bool exactDecimal(const char* begin, const char* end, float& value);
bool exactDecimal(const char* begin, const char* end, double& value);

}  // namespace common
