// Strict UTF-8 decoding and encoding of single characters.
#ifndef SPELLCHECK_TEXT_UTF8_H
#define SPELLCHECK_TEXT_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

namespace spellcheck::text {

// Stands for a byte that starts no valid character; it is no letter.
inline constexpr char32_t InvalidChar = 0xFFFD;

// Decodes the character at `pos` and moves `pos` past it. An invalid or
// truncated sequence, an overlong form or a surrogate yields InvalidChar and
// consumes exactly one byte, so that every byte is accounted for.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t c);

// True when the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace spellcheck::text

#endif
