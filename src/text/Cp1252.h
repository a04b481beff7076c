// Code page 1252, the dictionaries' character set, and Unicode: a fixed
// table, the same on every platform and in every locale.
#ifndef SPELLCHECK_TEXT_CP1252_H
#define SPELLCHECK_TEXT_CP1252_H

#include <string>
#include <string_view>

namespace spellcheck::text {

// The Unicode character of a code page 1252 byte; 0 for the five bytes that
// code page 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) and for 0.
char32_t Cp1252ToUnicode(unsigned char byte);

// The code page 1252 byte of a character, or 0 when it has none.
unsigned char UnicodeToCp1252(char32_t c);

// Replaces `out` with the code page 1252 form of the UTF-8 word. False when
// a character has no byte in code page 1252 (or the text is not valid
// UTF-8); `out` is then of no use. The typographic apostrophe becomes the
// plain one, the form the dictionaries hold, and a letter followed by a
// combining accent becomes the one accented letter where there is one
// (e + U+0301 is é).
bool Utf8ToCp1252(std::string_view utf8, std::string& out);

// Appends the UTF-8 form of code page 1252 bytes. The bytes that code page
// 1252 leaves undefined come out as U+FFFD.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace spellcheck::text

#endif
