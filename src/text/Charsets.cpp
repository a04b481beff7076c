#include "text/Charsets.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "text/Cp1252.h"
#include "text/Utf8.h"

namespace spellcheck::text {
namespace {

struct CharsetTable {
  const char* name;      // lowercased, without '-', '_' and blanks
  const char32_t* high;  // the characters of bytes 0x80..0xFF; 0 if undefined
};

#include "text/CharsetTables.inc"

// A character and its byte, sorted by character, for encoding.
struct Reverse {
  char32_t c;
  unsigned char byte;
};
using ReverseTable = std::array<Reverse, 128>;

constexpr ReverseTable MakeReverse(const char32_t* high) {
  ReverseTable table{};
  for (unsigned i = 0; i < 128; ++i) table[i] = {high[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(table.begin(), table.end(),
            [](const Reverse& a, const Reverse& b) { return a.c < b.c; });
  return table;
}

constexpr std::size_t TableCount = std::size(CharsetTables);

constexpr std::array<ReverseTable, TableCount> MakeReverseTables() {
  std::array<ReverseTable, TableCount> tables{};
  for (std::size_t i = 0; i < TableCount; ++i) tables[i] = MakeReverse(CharsetTables[i].high);
  return tables;
}

constexpr std::array<ReverseTable, TableCount> ReverseTables = MakeReverseTables();

enum class Kind { Unknown, Utf8, Cp1252, Table };

struct Charset {
  Kind kind = Kind::Unknown;
  std::size_t table = 0;
};

Charset Find(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
  }
  if (key == "utf8") return {Kind::Utf8};
  if (key == "cp1252" || key == "windows1252" || key == "microsoftcp1252") return {Kind::Cp1252};
  for (std::size_t i = 0; i < TableCount; ++i) {
    if (key == CharsetTables[i].name) return {Kind::Table, i};
  }
  return {};
}

char32_t DecodeByte(const Charset& charset, unsigned char byte) {
  if (byte < 0x80) return byte;
  if (charset.kind == Kind::Cp1252) return Cp1252ToUnicode(byte);
  return CharsetTables[charset.table].high[byte - 0x80];
}

// The byte of `c`, or 0 when the set has none.
unsigned char EncodeChar(const Charset& charset, char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  if (charset.kind == Kind::Cp1252) return UnicodeToCp1252(c);
  const ReverseTable& table = ReverseTables[charset.table];
  const auto it =
      std::lower_bound(table.begin(), table.end(), c,
                       [](const Reverse& entry, char32_t key) { return entry.c < key; });
  return it != table.end() && it->c == c ? it->byte : 0;
}

}  // namespace

bool IsKnownCharset(std::string_view charsetName) {
  return Find(charsetName).kind != Kind::Unknown;
}

bool DecodeCharset(std::string_view charsetName, std::string_view bytes, std::string& utf8) {
  utf8.clear();
  const Charset charset = Find(charsetName);
  if (charset.kind == Kind::Unknown) return false;
  if (charset.kind == Kind::Utf8) {
    if (IsValidUtf8(bytes)) {
      utf8.assign(bytes);
      return true;
    }
    std::size_t pos = 0;
    while (pos < bytes.size()) AppendUtf8(utf8, DecodeUtf8(bytes, pos));
    return false;
  }
  utf8.reserve(bytes.size());
  bool complete = true;
  for (const char byte : bytes) {
    const char32_t c = DecodeByte(charset, static_cast<unsigned char>(byte));
    // Byte 0 is the one defined byte that decodes to 0.
    if (c == 0 && byte != '\0') {
      complete = false;
      AppendUtf8(utf8, InvalidChar);
    } else {
      AppendUtf8(utf8, c);
    }
  }
  return complete;
}

bool EncodeCharset(std::string_view charsetName, std::string_view utf8, std::string& bytes) {
  bytes.clear();
  const Charset charset = Find(charsetName);
  if (charset.kind == Kind::Unknown) return false;
  if (charset.kind == Kind::Utf8) {
    bytes.assign(utf8);
    return IsValidUtf8(utf8);
  }
  bytes.reserve(utf8.size());
  bool complete = true;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t c = DecodeUtf8(utf8, pos);
    const unsigned char byte = EncodeChar(charset, c);
    // U+FFFD has no byte in any of these sets, so a bad byte lands here too.
    if (byte == 0 && c != 0) {
      complete = false;
      bytes += '?';
    } else {
      bytes += static_cast<char>(byte);
    }
  }
  return complete;
}

}  // namespace spellcheck::text
