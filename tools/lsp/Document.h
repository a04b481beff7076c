// An open document: its text as the client has it, kept up to date through
// whole and ranged changes, with the start of each line so that positions
// turn into byte offsets. Lines end at '\n'; a '\r' before it belongs to the
// line end, not to the line.
#ifndef SPELLCHECK_TOOL_LSP_DOCUMENT_H
#define SPELLCHECK_TOOL_LSP_DOCUMENT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/PositionEncoding.h"

namespace spellcheck::tool::lsp {

struct Position {
  std::size_t line = 0;
  std::size_t column = 0;  // in the agreed encoding
};

// Which lines an edit touched: lines [first, first + removed) of the text
// before it are lines [first, first + inserted) after it; the lines after
// them are the same, moved by inserted - removed.
struct LineEdit {
  std::size_t first = 0;
  std::size_t removed = 0;
  std::size_t inserted = 0;
};

class Document {
 public:
  Document(std::string languageId, std::string text);

  const std::string& Text() const { return text_; }
  const std::string& LanguageId() const { return languageId_; }
  std::size_t LineCount() const { return starts_.size(); }
  std::string_view Line(std::size_t line) const;

  // The byte offset of a position; lines past the end are the end.
  std::size_t Offset(Position position, PositionEncoding encoding) const;

  LineEdit Replace(Position from, Position to, std::string_view text, PositionEncoding encoding);
  LineEdit ReplaceAll(std::string text);

 private:
  // The line that holds byte `offset`.
  std::size_t LineOf(std::size_t offset) const;
  // Records the line starts in text_[from, to) after line `line`'s start.
  void IndexLines(std::size_t from, std::size_t to, std::vector<std::size_t>& starts) const;

  std::string languageId_;
  std::string text_;
  std::vector<std::size_t> starts_;  // the byte offset of each line
};

}  // namespace spellcheck::tool::lsp

#endif
