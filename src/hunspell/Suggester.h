// Suggestions for a misspelt word. Candidates: the .aff's own hints (REP,
// MAP), swapped, doubled, dropped and extra letters, other letters (TRY,
// neighbouring keys, accents), two words, and stems near the word's possible
// stems (StemIndex) with the word's ending; each checked as a word to
// suggest (no break points; compounds only for the cheapest, last) and
// ranked by the edit model's cost. Every step counts against a fixed work
// budget, so that any word gets its list (or none) in bounded time.
#ifndef SPELLCHECK_HUNSPELL_SUGGESTER_H
#define SPELLCHECK_HUNSPELL_SUGGESTER_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "hunspell/EditModel.h"
#include "hunspell/StemIndex.h"
#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

class Suggester {
 public:
  // `stems` may be null: then no near-word search.
  Suggester(const WordChecker& checker, const EditModel& model, const StemIndex* stems)
      : c_(checker), a_(checker.Affixes()), model_(model), stems_(stems) {}
  std::vector<std::string> Suggest(std::u32string_view word, std::size_t max);

  // The work one suggestion may take, in steps: a candidate made, an index
  // probe or hit, and a step of the affix or compound search each count.
  static constexpr long kBudget = 24000;
  // Words longer than this (in letters) get no suggestions.
  static constexpr std::size_t kMaxLetters = 60;
  long WorkDone() const { return work_; }

 private:
  struct Candidate {
    std::u32string text;
    int cost;
    bool own = false;   // capitals of its own: checked as it is
    bool near = false;  // from the near-stem search
  };
  struct Found {
    std::u32string text;
    int cost;
    std::size_t order;
  };
  void Add(std::u32string text, int cost, bool own = false, bool near = false);
  void Edits(const std::u32string& w);
  void NearStems(const std::u32string& w);
  void Expand(const std::u32string& w, std::vector<std::uint32_t>& ids, long limit);
  int Prior(const std::u32string& text) const;
  int Unasked(const std::u32string& text) const;
  bool Accept(const std::u32string& text, bool compounds);
  std::u32string Shaped(const std::u32string& text) const;
  int FirstLetter(const std::u32string& text) const;

  const WordChecker& c_;
  const AffixData& a_;
  const EditModel& model_;
  const StemIndex* stems_;
  std::vector<Candidate> candidates_;
  std::unordered_map<std::u32string, std::size_t> made_;  // candidate -> its place
  std::vector<Found> found_;
  std::u32string original_, base_;
  int shape_ = 0;  // 0 as written, 1 capitalised, 2 all capitals
  long work_ = 0;
};

}  // namespace spellcheck::hunspell

#endif
