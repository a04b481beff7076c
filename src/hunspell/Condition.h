// The condition of an affix rule: a tiny pattern of characters, '.', and
// bracket classes ([abc], [^abc]) that the root must start (prefix) or end
// (suffix) with.
#ifndef SPELLCHECK_HUNSPELL_CONDITION_H
#define SPELLCHECK_HUNSPELL_CONDITION_H

#include <cstdint>
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
  // One position: any character, or one of (or, negated, none of) a run of chars_.
  struct Element {
    std::uint16_t begin = 0, count = 0;
    bool negated = false, any = false;
  };
  bool Matches(const Element& e, char32_t c) const;
  std::vector<Element> elements_;
  std::u32string chars_;
};

}  // namespace spellcheck::hunspell

#endif
