// A sound key for English words: words that are likely said alike get the
// same key, so that a misspelling made by ear still finds its word.
#ifndef SPELLCHECK_SUGGEST_PHONETIC_H
#define SPELLCHECK_SUGGEST_PHONETIC_H

#include <string>
#include <string_view>

namespace spellcheck::suggest {

// The key of a lower-case word in code page 1252. Vowels count only at the
// start (as 'A'); c/k/ck/q, ph/f/v, s/z/soft c, d/t, j/soft g are merged;
// silent letters (kn-, wr-, gn, -mb, gh, h after a consonant) and doubled
// sounds are dropped. Letters outside a-z and the accents' base letters are
// ignored, so apostrophes and hyphens do not matter.
// At most kMaxKeyLength codes.
std::string PhoneticKey(std::string_view lower);

inline constexpr std::size_t kMaxKeyLength = 24;

}  // namespace spellcheck::suggest

#endif
