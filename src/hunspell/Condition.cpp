#include "hunspell/Condition.h"

namespace spellcheck::hunspell {

bool Condition::Element::Matches(char32_t c) const {
  if (chars.empty() && !negated) return true;
  return (chars.find(c) != std::u32string::npos) != negated;
}

bool Condition::Parse(std::u32string_view text) {
  elements_.clear();
  if (text == U".") return true;
  bool ok = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Element e;
    if (text[i] == U'[') {
      ++i;
      if (i < text.size() && text[i] == U'^') {
        e.negated = true;
        ++i;
      }
      while (i < text.size() && text[i] != U']') e.chars += text[i++];
      if (i >= text.size()) ok = false;
      // An empty class matches nothing (or, negated, anything).
      if (e.chars.empty() && !e.negated) e.chars = U"\U0010FFFF";
    } else if (text[i] == U']') {
      ok = false;
      continue;
    } else if (text[i] != U'.') {
      e.chars = text[i];
    }
    elements_.push_back(std::move(e));
  }
  return ok;
}

bool Condition::MatchesStart(std::u32string_view word) const {
  if (word.size() < elements_.size()) return false;
  for (std::size_t i = 0; i < elements_.size(); ++i)
    if (!elements_[i].Matches(word[i])) return false;
  return true;
}

bool Condition::MatchesEnd(std::u32string_view word) const {
  if (word.size() < elements_.size()) return false;
  const std::size_t off = word.size() - elements_.size();
  for (std::size_t i = 0; i < elements_.size(); ++i)
    if (!elements_[i].Matches(word[off + i])) return false;
  return true;
}

}  // namespace spellcheck::hunspell
