// Code page 1252, the dictionaries' character set, and UTF-8. The table is
// taken from the system's iconv once, then every word converts without it.
#ifndef SPELLCHECK_TOOL_CP1252_H
#define SPELLCHECK_TOOL_CP1252_H

#include <string>
#include <string_view>

namespace spellcheck::tool {

// Replaces `out` with the code page 1252 form of the UTF-8 word. False when
// a character has no byte in code page 1252 (or the text is not valid
// UTF-8); `out` is then of no use. The typographic apostrophe becomes the
// plain one, the form the dictionaries hold.
bool Utf8ToCp1252(std::string_view utf8, std::string& out);

// Appends the UTF-8 form of code page 1252 bytes. The five bytes that code
// page 1252 leaves undefined come out as U+FFFD.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace spellcheck::tool

#endif
