#include "text/Unicode.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/Utf8.h"

namespace spellcheck::text {
namespace {

struct CaseRange {
  char32_t first;
  char32_t last;
  std::int32_t delta;
  std::uint8_t stride;
};

struct ClassRange {
  char32_t first;
  char32_t last;
  std::uint8_t stride;
};

#include "text/UnicodeTables.inc"

// The run that may hold `c`: the last one starting at or before it, if `c`
// lies on its stride.
template <typename Range, std::size_t N>
const Range* FindRange(const Range (&ranges)[N], char32_t c) {
  const Range* after = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                        [](char32_t key, const Range& r) { return key < r.first; });
  if (after == std::begin(ranges)) return nullptr;
  const Range* range = after - 1;
  if (c > range->last || (c - range->first) % range->stride != 0) return nullptr;
  return range;
}

template <std::size_t N>
char32_t Map(const CaseRange (&ranges)[N], char32_t c) {
  const CaseRange* range = FindRange(ranges, c);
  return range ? static_cast<char32_t>(static_cast<std::int32_t>(c) + range->delta) : c;
}

bool IsAsciiLetter(char32_t c) {
  return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

enum class Mapping { Lower, Upper, Title };

char32_t MapOne(Mapping mapping, char32_t c) {
  switch (mapping) {
    case Mapping::Lower:
      return UnicodeLower(c);
    case Mapping::Upper:
      return UnicodeUpper(c);
    case Mapping::Title:
      return UnicodeTitle(c);
  }
  return c;
}

// Maps the first character with `first` and the rest with `rest`.
std::string MapUtf8(std::string_view text, Mapping first, Mapping rest) {
  std::string out;
  out.reserve(text.size());
  Mapping mapping = first;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      out += static_cast<char>(MapOne(mapping, byte));
      ++pos;
      mapping = rest;
      continue;
    }
    const std::size_t start = pos;
    const char32_t c = DecodeUtf8(text, pos);
    if (c == InvalidChar) {
      out.append(text.substr(start, pos - start));
    } else {
      AppendUtf8(out, MapOne(mapping, c));
    }
    mapping = rest;
  }
  return out;
}

}  // namespace

char32_t UnicodeLower(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
  return Map(LowerRanges, c);
}

char32_t UnicodeUpper(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  return Map(UpperRanges, c);
}

char32_t UnicodeTitle(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  return Map(TitleRanges, c);
}

bool IsUnicodeLetter(char32_t c) {
  if (c < 0x80) return IsAsciiLetter(c);
  return FindRange(LetterRanges, c) != nullptr;
}

bool IsUnicodeUpper(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z';
  return FindRange(UpperClassRanges, c) != nullptr;
}

bool IsUnicodeLower(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z';
  return FindRange(LowerClassRanges, c) != nullptr;
}

std::string Utf8Lower(std::string_view text) {
  return MapUtf8(text, Mapping::Lower, Mapping::Lower);
}

std::string Utf8Upper(std::string_view text) {
  return MapUtf8(text, Mapping::Upper, Mapping::Upper);
}

std::string Utf8Title(std::string_view text) {
  return MapUtf8(text, Mapping::Title, Mapping::Lower);
}

bool Utf8ToUtf32(std::string_view utf8, std::u32string& out) {
  out.clear();
  out.reserve(utf8.size());
  bool valid = true;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    const char32_t c = DecodeUtf8(utf8, pos);
    // A real U+FFFD takes three bytes; a bad byte is consumed alone.
    if (c == InvalidChar && pos - start == 1) valid = false;
    out += c;
  }
  return valid;
}

std::string Utf32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char32_t c : text) {
    AppendUtf8(out, (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? InvalidChar : c);
  }
  return out;
}

}  // namespace spellcheck::text
