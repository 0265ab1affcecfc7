#pragma once
// The numbers of the suite's text files, read through std::from_chars, which
// gives the correctly rounded value that strtod, strtof and scanf give.
namespace common {

// The whole text [begin, end) as one finite number of the type, as scanf's
// %d, %f and %lf read a field: an optional sign ('+' too, which from_chars
// alone refuses), then decimal digits (for reals with at most one point and an
// optional exponent), in the type's range. False for anything else (no digits,
// hexadecimal, "inf" and "nan", out of range, a stray character), which the
// caller refuses or hands to the C library's reader for its last word.
bool readNumber(const char* begin, const char* end, int& value);
bool readNumber(const char* begin, const char* end, float& value);
bool readNumber(const char* begin, const char* end, double& value);

}  // namespace common
