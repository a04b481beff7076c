// The affixes of one side in a trie over the text they add, read from the
// root outwards (a prefix's from its start, a suffix's from its end): a word
// meets exactly the affixes whose added text it shows, in one walk.
#ifndef SPELLCHECK_HUNSPELL_AFFIXINDEX_H
#define SPELLCHECK_HUNSPELL_AFFIXINDEX_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::hunspell {

class AffixIndex {
 public:
  // `texts[i]` is the added text of affix i; fromEnd for suffixes.
  void Build(const std::vector<std::u32string_view>& texts, bool fromEnd);

  // Calls fn(affix index) for each affix whose added text the word starts
  // (prefixes) or ends (suffixes) with, shorter texts first and those of one
  // text in file order, until fn returns true.
  template <class Fn>
  bool ForEachMatch(std::u32string_view word, Fn&& fn) const {
    if (nodes_.empty()) return false;
    std::uint32_t n = 0;
    for (std::size_t depth = 0;; ++depth) {
      const Node& node = nodes_[n];
      for (std::uint32_t i = node.affixBegin; i < node.affixEnd; ++i)
        if (fn(order_[i])) return true;
      if (depth == word.size() || node.kidBegin == node.kidEnd) return false;
      const char32_t c = fromEnd_ ? word[word.size() - 1 - depth] : word[depth];
      std::uint32_t kid = node.kidBegin;
      while (kid < node.kidEnd && chars_[kid] != c) ++kid;
      if (kid == node.kidEnd) return false;
      n = kid;
    }
  }

  std::size_t MemoryBytes() const {
    return nodes_.capacity() * sizeof(Node) + chars_.capacity() * sizeof(char32_t) +
           order_.capacity() * sizeof(std::uint32_t);
  }

 private:
  struct Node {
    std::uint32_t kidBegin = 0, kidEnd = 0;      // children: nodes_[kidBegin, kidEnd)
    std::uint32_t affixBegin = 0, affixEnd = 0;  // affixes ending here: order_[...]
  };
  std::vector<Node> nodes_;
  std::vector<char32_t> chars_;       // the character leading to each node
  std::vector<std::uint32_t> order_;  // affix indices, sorted by their text
  bool fromEnd_ = false;
};

}  // namespace spellcheck::hunspell

#endif
