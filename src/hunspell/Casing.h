// Capital forms of words: how a word is written (all small, Capitalised, ALL
// CAPITALS, mixed) and the conversions between them, with the dotted and
// dotless i of Turkish and Azeri.
#ifndef SPELLCHECK_HUNSPELL_CASING_H
#define SPELLCHECK_HUNSPELL_CASING_H

#include <string>
#include <string_view>

namespace spellcheck::hunspell {

enum class CapType {
  Lower,      // no capital
  Initial,    // first letter capital, the rest small
  All,        // every letter capital
  Mixed,      // capitals after the first letter, first small ("iPod")
  MixedInit,  // capitals after the first letter, first too ("McDonald")
};

CapType ClassifyCase(std::u32string_view word);

char32_t ToLower(char32_t c, bool turkish);
char32_t ToUpper(char32_t c, bool turkish);
bool IsUpper(char32_t c);
bool IsLower(char32_t c);

std::u32string Lowered(std::u32string_view word, bool turkish);
std::u32string Uppered(std::u32string_view word, bool turkish);
// First letter capital, the rest small.
std::u32string Capitalised(std::u32string_view word, bool turkish);
// First letter capital, the rest as it is.
std::u32string InitialUpper(std::u32string_view word, bool turkish);

}  // namespace spellcheck::hunspell

#endif
