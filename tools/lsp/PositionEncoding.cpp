#include "lsp/PositionEncoding.h"

#include <algorithm>

namespace spellcheck::tool::lsp {
namespace {

// The length of the UTF-8 sequence a lead byte starts; stray bytes count one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::size_t Units(std::size_t bytes, PositionEncoding encoding) {
  if (encoding == PositionEncoding::Utf8) return bytes;
  if (encoding == PositionEncoding::Utf16) return bytes == 4 ? 2 : 1;
  return 1;
}

}  // namespace

std::string_view EncodingName(PositionEncoding encoding) {
  switch (encoding) {
    case PositionEncoding::Utf8:
      return "utf-8";
    case PositionEncoding::Utf16:
      return "utf-16";
    case PositionEncoding::Utf32:
      return "utf-32";
  }
  return "utf-16";
}

std::size_t ColumnToByte(std::string_view line, std::size_t column, PositionEncoding encoding) {
  std::size_t byte = 0;
  std::size_t units = 0;
  while (byte < line.size()) {
    const std::size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(line[byte])), line.size() - byte);
    const std::size_t next = units + Units(length, encoding);
    if (next > column) break;
    units = next;
    byte += length;
  }
  return byte;
}

std::size_t ByteToColumn(std::string_view line, std::size_t byte, PositionEncoding encoding) {
  byte = std::min(byte, line.size());
  if (encoding == PositionEncoding::Utf8) return byte;
  std::size_t units = 0;
  for (std::size_t at = 0; at < byte;) {
    const std::size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(line[at])), line.size() - at);
    units += Units(length, encoding);
    at += length;
  }
  return units;
}

}  // namespace spellcheck::tool::lsp
