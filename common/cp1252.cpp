#include "common/cp1252.h"

#include <cstdint>

namespace common {

namespace {
// Code points of bytes 0x80..0x9F; 0 marks the five unassigned bytes.
const char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}
}  // namespace

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char ch : text) {
    auto byte = static_cast<uint8_t>(ch);
    char32_t cp = byte;
    if (byte >= 0x80 && byte < 0xA0) cp = kHigh[byte - 0x80] ? kHigh[byte - 0x80] : U'?';
    appendUtf8(out, cp);
  }
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  std::string out;
  utf8ToCp1252Exact(text, out);
  return out;
}

bool utf8ToCp1252Exact(std::string_view text, std::string& out) {
  out.clear();
  bool exact = true;
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<uint8_t>(text[i]);
    char32_t cp;
    size_t extra;
    if (byte < 0x80) {
      cp = byte;
      extra = 0;
    } else if ((byte & 0xE0) == 0xC0) {
      cp = byte & 0x1F;
      extra = 1;
    } else if ((byte & 0xF0) == 0xE0) {
      cp = byte & 0x0F;
      extra = 2;
    } else if ((byte & 0xF8) == 0xF0) {
      cp = byte & 0x07;
      extra = 3;
    } else {
      out += '?';
      exact = false;
      ++i;
      continue;
    }
    bool valid = true;
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    }
    if (!valid) {
      out += '?';
      exact = false;
      ++i;
      continue;
    }
    i += extra + 1;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHigh[k] == cp) mapped = static_cast<char>(0x80 + k);
    if (mapped == '?') exact = false;
    out += mapped;
  }
  return exact;
}

}  // namespace common
