// The condition of an affix rule: a tiny pattern of characters, '.', and
// bracket classes ([abc], [^abc]) that the root must start (prefix) or end
// (suffix) with.
#ifndef SPELLCHECK_HUNSPELL_CONDITION_H
#define SPELLCHECK_HUNSPELL_CONDITION_H

#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::hunspell {

class Condition {
 public:
  // False (with the condition still usable, brackets closed at the end) when
  // the text is malformed.
  bool Parse(std::u32string_view text);
  bool MatchesStart(std::u32string_view word) const;
  bool MatchesEnd(std::u32string_view word) const;
  std::size_t Length() const { return elements_.size(); }

 private:
  struct Element {
    std::u32string chars;  // empty with !negated: any character
    bool negated = false;
    bool Matches(char32_t c) const;
  };
  std::vector<Element> elements_;
};

}  // namespace spellcheck::hunspell

#endif
