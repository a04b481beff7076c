#include "lsp/Document.h"

#include <algorithm>
#include <cstring>

namespace spellcheck::tool::lsp {

Document::Document(std::string languageId, std::string text) : languageId_(std::move(languageId)) {
  ReplaceAll(std::move(text));
}

void Document::IndexLines(std::size_t from, std::size_t to,
                          std::vector<std::size_t>& starts) const {
  const char* data = text_.data();
  for (std::size_t at = from; at < to;) {
    const void* found = std::memchr(data + at, '\n', to - at);
    if (!found) break;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
    starts.push_back(at);
  }
}

std::string_view Document::Line(std::size_t line) const {
  if (line >= starts_.size()) return {};
  const std::size_t begin = starts_[line];
  std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
  if (end > begin && text_[end - 1] == '\r') --end;
  return std::string_view(text_).substr(begin, end - begin);
}

std::size_t Document::LineOf(std::size_t offset) const {
  return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                  starts_.begin()) -
         1;
}

std::size_t Document::Offset(Position position, PositionEncoding encoding) const {
  if (position.line >= starts_.size()) return text_.size();
  return starts_[position.line] + ColumnToByte(Line(position.line), position.column, encoding);
}

LineEdit Document::Replace(Position from, Position to, std::string_view text,
                           PositionEncoding encoding) {
  std::size_t begin = Offset(from, encoding);
  std::size_t end = Offset(to, encoding);
  if (end < begin) std::swap(begin, end);
  LineEdit edit;
  edit.first = LineOf(begin);
  const std::size_t last = LineOf(end);
  edit.removed = last - edit.first + 1;
  text_.replace(begin, end - begin, text);
  // Lines up to the first keep their starts; those after the edit move.
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(end - begin);
  std::vector<std::size_t> inserted;
  IndexLines(begin, begin + text.size(), inserted);
  edit.inserted = inserted.size() + 1;
  std::vector<std::size_t> after(starts_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                                 starts_.end());
  for (std::size_t& start : after)
    start = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(start) + shift);
  starts_.resize(edit.first + 1);
  starts_.insert(starts_.end(), inserted.begin(), inserted.end());
  starts_.insert(starts_.end(), after.begin(), after.end());
  return edit;
}

LineEdit Document::ReplaceAll(std::string text) {
  LineEdit edit;
  edit.removed = starts_.size();
  text_ = std::move(text);
  starts_.assign(1, 0);
  IndexLines(0, text_.size(), starts_);
  edit.inserted = starts_.size();
  return edit;
}

}  // namespace spellcheck::tool::lsp
