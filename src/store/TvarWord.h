// The stored form of one word and the two comparison rules of the store.
#ifndef SPELLCHECK_STORE_TVARWORD_H
#define SPELLCHECK_STORE_TVARWORD_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace spellcheck::store {

inline constexpr std::size_t MaxWordLength = 24;
inline constexpr std::size_t RecordSize = 25;

// One 25-byte record: a length byte and 24 character bytes, of which only the
// first `length` count. The rest is filler that no reader looks at.
struct TvarWord {
  std::uint8_t length = 0;
  char chars[MaxWordLength] = {};

  // The first 24 characters of `word`; a longer word is cut without notice.
  static TvarWord FromWord(std::string_view word);
  // The record's text. A length byte above 24 lies outside the format and
  // reads as 24 characters, so nothing beyond the record is touched.
  std::string_view Text() const {
    return {chars, length > MaxWordLength ? MaxWordLength : std::size_t{length}};
  }
  std::string Word() const { return std::string(Text()); }
};
static_assert(sizeof(TvarWord) == RecordSize, "a record is exactly 25 bytes");

// Text order: unsigned bytes, a prefix before the longer text. Returns <0, 0, >0.
int CompareText(std::string_view a, std::string_view b);

// Maps only 'A'..'Z' to 'a'..'z'; every other byte stays.
std::string AsciiLower(std::string_view text);

// True when the texts are equal after ASCII lower-casing of both.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace spellcheck::store

#endif
