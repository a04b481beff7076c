// The code page 1252 case mapping as fixed tables, so that dictionaries (which
// are always code page 1252) are read the same whatever the process's locale.
#include <array>

#include "text/CaseMapping.h"

namespace spellcheck::text {
namespace {

constexpr bool HasUpperForm(unsigned c) {
  return (c >= 'a' && c <= 'z') || c == 0x9A || c == 0x9C || c == 0x9E ||
         (c >= 0xE0 && c <= 0xFE && c != 0xF7) || c == 0xFF;
}

constexpr unsigned UpperForm(unsigned c) {
  if (c == 0xFF) return 0x9F;
  if (c >= 0x9A && c <= 0x9E) return c - 0x10;
  return c - 0x20;
}

struct Tables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

constexpr Tables MakeTables() {
  Tables tables;
  for (unsigned c = 0; c < 256; ++c) {
    tables.upper[c] = static_cast<unsigned char>(c);
    tables.lower[c] = static_cast<unsigned char>(c);
  }
  for (unsigned c = 0; c < 256; ++c) {
    if (!HasUpperForm(c)) continue;
    tables.upper[c] = static_cast<unsigned char>(UpperForm(c));
    tables.lower[UpperForm(c)] = static_cast<unsigned char>(c);
  }
  return tables;
}

constexpr Tables kTables = MakeTables();

}  // namespace

unsigned char Cp1252Upper(unsigned char c) {
  return kTables.upper[c];
}
unsigned char Cp1252Lower(unsigned char c) {
  return kTables.lower[c];
}

}  // namespace spellcheck::text
