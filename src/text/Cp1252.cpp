#include "text/Cp1252.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/Utf8.h"

namespace spellcheck::text {
namespace {

constexpr char32_t RightSingleQuote = 0x2019;

// 0x80..0x9F, where code page 1252 differs from Latin-1; 0 is undefined.
constexpr char32_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

// Letters that code page 1252 holds precomposed, as a base letter and a
// combining mark, for text that spells them decomposed (e + U+0301).
struct Composition {
  char base;
  char32_t mark;
  unsigned char composed;
};

constexpr Composition Compositions[] = {
    {'A', 0x300, 0xC0}, {'A', 0x301, 0xC1}, {'A', 0x302, 0xC2}, {'A', 0x303, 0xC3},
    {'A', 0x308, 0xC4}, {'A', 0x30A, 0xC5}, {'C', 0x327, 0xC7}, {'E', 0x300, 0xC8},
    {'E', 0x301, 0xC9}, {'E', 0x302, 0xCA}, {'E', 0x308, 0xCB}, {'I', 0x300, 0xCC},
    {'I', 0x301, 0xCD}, {'I', 0x302, 0xCE}, {'I', 0x308, 0xCF}, {'N', 0x303, 0xD1},
    {'O', 0x300, 0xD2}, {'O', 0x301, 0xD3}, {'O', 0x302, 0xD4}, {'O', 0x303, 0xD5},
    {'O', 0x308, 0xD6}, {'U', 0x300, 0xD9}, {'U', 0x301, 0xDA}, {'U', 0x302, 0xDB},
    {'U', 0x308, 0xDC}, {'Y', 0x301, 0xDD}, {'Y', 0x308, 0x9F}, {'S', 0x30C, 0x8A},
    {'Z', 0x30C, 0x8E},
};

// The precomposed byte for `base` followed by `mark`, or 0.
unsigned char Compose(char base, char32_t mark) {
  const bool small = base >= 'a' && base <= 'z';
  const char capital = small ? static_cast<char>(base - 32) : base;
  for (const Composition& entry : Compositions) {
    if (entry.base != capital || entry.mark != mark) continue;
    if (!small) return entry.composed;
    // The small letters lie 0x20 above their capitals; the three of the
    // 0x80 row and y with diaeresis are placed apart.
    switch (entry.composed) {
      case 0x9F:
        return 0xFF;
      case 0x8A:
        return 0x9A;
      case 0x8E:
        return 0x9E;
      default:
        return static_cast<unsigned char>(entry.composed + 0x20);
    }
  }
  return 0;
}

struct Wide {
  char32_t c;
  unsigned char byte;
};

// The characters above U+00FF and their bytes, sorted by character.
constexpr std::array<Wide, 27> MakeWideTable() {
  std::array<Wide, 27> table{};
  std::size_t n = 0;
  for (unsigned i = 0; i < 32; ++i) {
    if (HighControls[i] != 0) table[n++] = {HighControls[i], static_cast<unsigned char>(0x80 + i)};
  }
  std::sort(table.begin(), table.end(), [](const Wide& a, const Wide& b) { return a.c < b.c; });
  return table;
}

constexpr std::array<Wide, 27> WideTable = MakeWideTable();

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return HighControls[byte - 0x80];
  return byte;
}

unsigned char UnicodeToCp1252(char32_t c) {
  if (c >= 1 && c <= 0xFF) return (c >= 0x80 && c <= 0x9F) ? 0 : static_cast<unsigned char>(c);
  const auto it = std::lower_bound(WideTable.begin(), WideTable.end(), c,
                                   [](const Wide& entry, char32_t key) { return entry.c < key; });
  return it != WideTable.end() && it->c == c ? it->byte : 0;
}

bool Utf8ToCp1252(std::string_view utf8, std::string& out) {
  // Plain ASCII, by far the commonest case, is the same in both.
  std::size_t ascii = 0;
  while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) - 1u < 0x7Fu) ++ascii;
  out.assign(utf8.data(), ascii);
  if (ascii == utf8.size()) return true;
  std::size_t pos = ascii;
  while (pos < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead != 0 && lead < 0x80) {
      out += static_cast<char>(lead);
      ++pos;
      continue;
    }
    char32_t c = DecodeUtf8(utf8, pos);
    if (c == RightSingleQuote) c = U'\'';
    // A combining mark joins the letter before it where code page 1252 has
    // the two as one letter (the composed form of Unicode's normalisation).
    if (c >= 0x300 && c <= 0x36F && !out.empty()) {
      if (const unsigned char composed = Compose(out.back(), c)) {
        out.back() = static_cast<char>(composed);
        continue;
      }
    }
    const unsigned char byte = c == InvalidChar ? 0 : UnicodeToCp1252(c);
    if (byte == 0) return false;
    out += static_cast<char>(byte);
  }
  return true;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (byte < 0x80) {
      out += b;
    } else {
      const char32_t c = Cp1252ToUnicode(byte);
      AppendUtf8(out, c == 0 ? InvalidChar : c);
    }
  }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  AppendCp1252AsUtf8(out, bytes);
  return out;
}

}  // namespace spellcheck::text
