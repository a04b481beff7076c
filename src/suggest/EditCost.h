// The cost of turning a misspelling into a word, in hundredths of an edit:
// a weighted Damerau-Levenshtein distance (optimal string alignment) whose
// weights follow how people slip on a QWERTY keyboard and how English
// spelling misleads them.
#ifndef SPELLCHECK_SUGGEST_EDITCOST_H
#define SPELLCHECK_SUGGEST_EDITCOST_H

#include <string_view>

namespace spellcheck::suggest {

// One plain edit: an insertion, deletion or replacement of unrelated letters.
inline constexpr int kEditCost = 100;

// Both words lower case, at most kMaxCostLength bytes. Cheaper than one edit:
// a doubled letter written once or a single one doubled, a vowel for
// another, a neighbouring key, letters that stand for the same sound (c/k/s,
// s/z, ...), a swap of neighbours (ie/ei cheapest), a left-out apostrophe or
// hyphen, silent letters (final e, kn-, wr-, -mb, gh), and spellings of one
// sound (ph/f, ck/k, x/ks, qu/kw, tch/ch, dg/j, sc/s, ti/sh); and for the
// other Western European languages an accented letter for its base letter or
// another accent of it (é/e/è, ü/u, ç/c), ß/ss, ä/ae, ö/oe, ü/ue, æ/ae, œ/oe.
// Returns a value above `limit` (not necessarily the cost) once the cost
// must exceed it.
int EditCost(std::string_view typed, std::string_view word, int limit);

inline constexpr std::size_t kMaxCostLength = 32;

}  // namespace spellcheck::suggest

#endif
