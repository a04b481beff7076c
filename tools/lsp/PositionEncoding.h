// Columns of the protocol: counted in UTF-16 code units (the default, so an
// emoji counts two), UTF-8 bytes or code points, as agreed at initialize.
#ifndef SPELLCHECK_TOOL_LSP_POSITIONENCODING_H
#define SPELLCHECK_TOOL_LSP_POSITIONENCODING_H

#include <cstddef>
#include <string_view>

namespace spellcheck::tool::lsp {

enum class PositionEncoding { Utf8, Utf16, Utf32 };

std::string_view EncodingName(PositionEncoding encoding);

// The byte offset in `line` of a column; a column past the end is the end,
// one inside a character (half a surrogate pair) is that character's start.
std::size_t ColumnToByte(std::string_view line, std::size_t column, PositionEncoding encoding);
// The column of a byte offset in `line` (a character boundary).
std::size_t ByteToColumn(std::string_view line, std::size_t byte, PositionEncoding encoding);

}  // namespace spellcheck::tool::lsp

#endif
