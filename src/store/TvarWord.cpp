#include "store/TvarWord.h"

#include <algorithm>
#include <cstring>

namespace spellcheck::store {

TvarWord TvarWord::FromWord(std::string_view word) {
  TvarWord record;
  const std::size_t n = std::min(word.size(), MaxWordLength);
  record.length = static_cast<std::uint8_t>(n);
  if (n != 0) std::memcpy(record.chars, word.data(), n);
  return record;
}

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  if (common != 0) {
    // memcmp compares as unsigned char, which is the store's byte order.
    if (const int c = std::memcmp(a.data(), b.data(), common); c != 0) return c < 0 ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

static char AsciiLowerByte(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLowerByte(c);
  return out;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLowerByte(a[i]) != AsciiLowerByte(b[i])) return false;
  }
  return true;
}

}  // namespace spellcheck::store
