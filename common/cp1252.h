#pragma once
// Windows-1252 is the encoding of every file and message of the suite; text is
// turned into UTF-8 only where it reaches a display.
#include <string>
#include <string_view>

namespace common {

std::string cp1252ToUtf8(std::string_view text);
std::string utf8ToCp1252(std::string_view text);  // characters outside 1252 become '?'
// As utf8ToCp1252, but false (and `out` unusable) when a character is outside
// 1252 or the text is not UTF-8.
bool utf8ToCp1252Exact(std::string_view text, std::string& out);

}  // namespace common
