// The 8-bit character sets that dictionaries are written in, and UTF-8: fixed
// tables, the same on every platform (no iconv, no code pages of the system).
#ifndef SPELLCHECK_TEXT_CHARSETS_H
#define SPELLCHECK_TEXT_CHARSETS_H

#include <string>
#include <string_view>

namespace spellcheck::text {

// Names as an affix file's SET line gives them, compared case-insensitively
// and without '-', '_' and blanks: UTF-8, ISO8859-1 .. ISO8859-16 (no -12;
// also spelt ISO-8859-N), KOI8-R, KOI8-U, cp1250, cp1251 (microsoft-cp1251),
// cp1252, windows-125N, TIS620-2533 (TIS-620).
bool IsKnownCharset(std::string_view charsetName);

// Replaces `utf8` with the UTF-8 form of `bytes`. False when the name is
// unknown (`utf8` is then empty) or a byte is undefined in the set or, for
// UTF-8, starts no valid character; such a byte becomes U+FFFD.
bool DecodeCharset(std::string_view charsetName, std::string_view bytes, std::string& utf8);

// Replaces `bytes` with `utf8` in the named set. False when the name is
// unknown, the text is not valid UTF-8, or a character has no byte in the
// set; such a character becomes '?'.
bool EncodeCharset(std::string_view charsetName, std::string_view utf8, std::string& bytes);

}  // namespace spellcheck::text

#endif
