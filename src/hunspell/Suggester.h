// Suggestions for a misspelt word: edits that the .aff names (REP, MAP,
// KEY, TRY) and plain ones, each checked against the dictionary, ranked by
// a simple cost. Bounded by a number of candidates, not by a clock.
#ifndef SPELLCHECK_HUNSPELL_SUGGESTER_H
#define SPELLCHECK_HUNSPELL_SUGGESTER_H

#include <string>
#include <vector>

#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

class Suggester {
 public:
  explicit Suggester(const WordChecker& checker) : c_(checker), a_(checker.Affixes()) {}
  std::vector<std::string> Suggest(std::u32string_view word, std::size_t max);

 private:
  struct Candidate {
    std::u32string text;
    int cost;
    std::size_t order;
  };
  // Checks a candidate (once) and keeps it when it is a word to suggest.
  void Try(const std::u32string& text, int cost);
  bool Suggestable(const std::u32string& text);
  void Generate(const std::u32string& word);

  const WordChecker& c_;
  const AffixData& a_;
  std::vector<Candidate> found_;
  std::vector<std::u32string> tried_;
  long budget_ = 4000;
  std::u32string original_;
};

}  // namespace spellcheck::hunspell

#endif
