// Temporary: case mapping and character sets until src/text/Unicode.h and
// src/text/Charsets.h arrive.
#ifndef SPELLCHECK_HUNSPELL_UNICODESHIM_H
#define SPELLCHECK_HUNSPELL_UNICODESHIM_H

#include <string>
#include <string_view>

namespace spellcheck::hunspell {

inline char32_t UnicodeLower(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    const bool oddCaps = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddCaps ? (c & 1) : !(c & 1)) return c + 1;
  }
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  return c;
}
inline char32_t UnicodeUpper(char32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
    return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    const bool oddCaps = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddCaps ? !(c & 1) : (c & 1)) return c - 1;
  }
  if (c == 0x131) return 'I';
  if (c == 0xFF) return 0x178;
  return c;
}
inline char32_t UnicodeTitle(char32_t c) {
  return UnicodeUpper(c);
}
inline bool IsUnicodeUpper(char32_t c) {
  return UnicodeLower(c) != c;
}
inline bool IsUnicodeLower(char32_t c) {
  return UnicodeUpper(c) != c || c == 0xDF;
}
inline bool IsUnicodeLetter(char32_t c) {
  return IsUnicodeUpper(c) || IsUnicodeLower(c) || (c >= 0x80 && c != 0xD7 && c != 0xF7);
}

inline bool IsKnownCharset(std::string_view name) {
  std::string n;
  for (char c : name)
    if (c != '-' && c != '_') n += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return n == "ISO88591" || n == "ISO885915" || n == "UTF8";
}
inline bool DecodeCharset(std::string_view name, std::string_view bytes, std::string& utf8) {
  if (!IsKnownCharset(name)) return false;
  utf8.clear();
  for (unsigned char b : bytes) {
    char32_t c = b;
    if (b < 0x80) {
      utf8 += static_cast<char>(b);
      continue;
    }
    utf8 += static_cast<char>(0xC0 | (c >> 6));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  }
  return true;
}

}  // namespace spellcheck::hunspell

#endif
