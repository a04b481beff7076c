#include "Cp1252.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>
#include <vector>

#include "ToolError.h"
#include "Utf8.h"

namespace spellcheck::tool {
namespace {

constexpr char32_t RightSingleQuote = 0x2019;

struct Cp1252Table {
  std::array<char32_t, 256> toUnicode{};            // 0 where the byte is undefined
  std::vector<std::pair<char32_t, char>> fromWide;  // characters above U+00FF, sorted

  Cp1252Table() {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw ToolError("the system has no CP1252 converter");
    for (int b = 0; b < 256; ++b) {
      char in = static_cast<char>(b);
      char out[8];
      char* inPtr = &in;
      char* outPtr = out;
      std::size_t inLeft = 1;
      std::size_t outLeft = sizeof out;
      if (b == 0 || iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        continue;
      std::size_t pos = 0;
      const char32_t c = DecodeUtf8(std::string_view(out, outPtr - out), pos);
      toUnicode[b] = c;
      if (c > 0xFF) fromWide.emplace_back(c, in);
    }
    iconv_close(cd);
    std::sort(fromWide.begin(), fromWide.end());
  }

  // The byte for a character, or 0 when code page 1252 has none.
  char ByteFor(char32_t c) const {
    if (c >= 1 && c <= 0xFF) {
      return toUnicode[c] == c ? static_cast<char>(c) : '\0';
    }
    const auto it =
        std::lower_bound(fromWide.begin(), fromWide.end(), c,
                         [](const auto& entry, char32_t key) { return entry.first < key; });
    return it != fromWide.end() && it->first == c ? it->second : '\0';
  }
};

const Cp1252Table& Table() {
  static const Cp1252Table table;
  return table;
}

}  // namespace

bool Utf8ToCp1252(std::string_view utf8, std::string& out) {
  // Plain ASCII, by far the commonest case, is the same in both.
  std::size_t ascii = 0;
  while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) - 1u < 0x7Fu) ++ascii;
  out.assign(utf8.data(), ascii);
  if (ascii == utf8.size()) return true;
  static const Cp1252Table& table = Table();
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
    const char byte = c == InvalidChar ? '\0' : table.ByteFor(c);
    if (byte == '\0') return false;
    out += byte;
  }
  return true;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
  const Cp1252Table& table = Table();
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (byte < 0x80) {
      out += b;
    } else {
      const char32_t c = table.toUnicode[byte];
      AppendUtf8(out, c == 0 ? InvalidChar : c);
    }
  }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  AppendCp1252AsUtf8(out, bytes);
  return out;
}

}  // namespace spellcheck::tool
