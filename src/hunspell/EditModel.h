// The cost of turning a misspelling into a word, in hundredths of an edit,
// for any script: a weighted Damerau-Levenshtein distance (optimal string
// alignment) over code points. Cheap: a letter with another accent or none
// (é/e, ą/a, ё/е), letters the .aff's MAP relates, a doubled letter written
// once or a single one doubled, neighbours swapped, a neighbouring key (from
// the .aff's KEY rows, else the language's usual keyboard: QWERTZ, AZERTY,
// ЙЦУКЕН or QWERTY) typed instead or beside. A wrong first
// letter is a rarer slip and costs more.
#ifndef SPELLCHECK_HUNSPELL_EDITMODEL_H
#define SPELLCHECK_HUNSPELL_EDITMODEL_H

#include <string>
#include <string_view>
#include <unordered_set>

#include "hunspell/AffixData.h"

namespace spellcheck::hunspell {

inline constexpr int kPlainEdit = 100;

// The letter without its accent, small: é -> e, Ł -> l, ё -> е, й -> и.
char32_t BaseLetter(char32_t c);

class EditModel {
 public:
  // `name`: the dictionary's name ("de_DE"), for its language when the .aff
  // does not name one.
  EditModel(const AffixData& affixes, std::string_view name);
  // Both words as written; small and capital letters count alike. Returns a
  // value above `limit` once the cost must exceed it (and for words longer
  // than kMaxLength).
  int Cost(std::u32string_view typed, std::u32string_view word, int limit) const;
  // What one replacement of a by b costs (both small).
  int Replace(char32_t a, char32_t b) const;
  // What the typed letter at i costs when it has no place in the word (a
  // doubled one, a neighbouring key pressed too, any other); what swapping
  // neighbours costs.
  int Extra(std::u32string_view typed, std::size_t i) const;
  static int Swap();
  bool Neighbours(char32_t a, char32_t b) const;

  static constexpr std::size_t kMaxLength = 64;

 private:
  static std::uint64_t Pair(char32_t a, char32_t b) {
    return a < b ? std::uint64_t{a} << 32 | b : std::uint64_t{b} << 32 | a;
  }
  void AddKeyboard(std::string_view language);

  bool turkish_;
  std::unordered_set<std::uint64_t> keys_;  // neighbouring keys
  std::unordered_set<std::uint64_t> map_;   // related by MAP
};

}  // namespace spellcheck::hunspell

#endif
