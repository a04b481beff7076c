// Unicode character properties and case mappings, the same on every platform
// and in every locale (tables of UnicodeTables.inc, Unicode 14).
#ifndef SPELLCHECK_TEXT_UNICODE_H
#define SPELLCHECK_TEXT_UNICODE_H

#include <string>
#include <string_view>

namespace spellcheck::text {

// The simple (one-to-one) case mappings of UnicodeData.txt; a character
// without one maps to itself. So ß stays ß in upper case, and σ and ς both
// become Σ. Language rules (Turkish dotted and dotless i) are left to the
// caller.
char32_t UnicodeLower(char32_t c);
char32_t UnicodeUpper(char32_t c);
char32_t UnicodeTitle(char32_t c);

// General category L* or M*: a letter or a mark, which belongs to the letter
// before it (combining accents, the vowel signs of Indic scripts).
bool IsUnicodeLetter(char32_t c);

// General category Lu or Lt (capital and titlecase letters).
bool IsUnicodeUpper(char32_t c);

// General category Ll.
bool IsUnicodeLower(char32_t c);

// Whole-text mappings of UTF-8. Bytes that start no valid character are
// copied through unchanged.
std::string Utf8Lower(std::string_view text);
std::string Utf8Upper(std::string_view text);
// The first character in title case, the rest in lower case.
std::string Utf8Title(std::string_view text);

// Replaces `out` with the characters of `utf8`. False when the text is not
// valid UTF-8; each byte that starts no valid character is then U+FFFD.
bool Utf8ToUtf32(std::string_view utf8, std::u32string& out);

// The UTF-8 form; a surrogate or a value beyond U+10FFFF becomes U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace spellcheck::text

#endif
