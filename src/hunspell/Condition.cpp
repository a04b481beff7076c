#include "hunspell/Condition.h"

namespace spellcheck::hunspell {

bool Condition::Matches(const Element& e, char32_t c) const {
  if (e.any) return true;
  if (e.count == 1) return (chars_[e.begin] == c) != e.negated;
  const std::u32string_view set(chars_.data() + e.begin, e.count);
  return (set.find(c) != std::u32string_view::npos) != e.negated;
}

bool Condition::Parse(std::u32string_view text) {
  elements_.clear();
  chars_.clear();
  if (text == U".") return true;
  bool ok = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Element e;
    e.begin = static_cast<std::uint16_t>(chars_.size());
    if (text[i] == U'[') {
      ++i;
      if (i < text.size() && text[i] == U'^') {
        e.negated = true;
        ++i;
      }
      while (i < text.size() && text[i] != U']') chars_ += text[i++];
      if (i >= text.size()) ok = false;
      // An empty class matches nothing (or, negated, anything).
      if (chars_.size() == e.begin && !e.negated) chars_ += U'\U0010FFFF';
    } else if (text[i] == U']') {
      ok = false;
      continue;
    } else if (text[i] != U'.') {
      chars_ += text[i];
    } else {
      e.any = true;
    }
    if (chars_.size() > UINT16_MAX) return false;
    e.count = static_cast<std::uint16_t>(chars_.size() - e.begin);
    if (e.count == 0 && e.negated) e.any = true;
    elements_.push_back(e);
  }
  elements_.shrink_to_fit();
  chars_.shrink_to_fit();
  return ok;
}

bool Condition::MatchesStart(std::u32string_view word) const {
  if (word.size() < elements_.size()) return false;
  for (std::size_t i = 0; i < elements_.size(); ++i)
    if (!Matches(elements_[i], word[i])) return false;
  return true;
}

bool Condition::MatchesEnd(std::u32string_view word) const {
  if (word.size() < elements_.size()) return false;
  const std::size_t off = word.size() - elements_.size();
  for (std::size_t i = 0; i < elements_.size(); ++i)
    if (!Matches(elements_[i], word[off + i])) return false;
  return true;
}

}  // namespace spellcheck::hunspell
