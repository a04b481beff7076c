// The lookup's binary search, shared by the search over a file and the search
// over records already in memory, so that both probe exactly the same records.
#ifndef SPELLCHECK_STORE_PROBESEARCH_H
#define SPELLCHECK_STORE_PROBESEARCH_H

#include <cstdint>
#include <string_view>

#include "store/TvarWord.h"

namespace spellcheck::store {

// `fetch(index, record)` answers false when the record cannot be had, which
// ends the search as if the list ended there. The bounds move by exact text
// order only, so a case-insensitive hit needs a record on the exact path.
template <typename Fetch>
bool ProbeSearch(std::int64_t count, Fetch&& fetch, std::string_view word, bool ignoreCase) {
  std::int64_t low = 0;
  std::int64_t high = count - 1;
  // The probe runs at least once: a list without records costs one failing fetch.
  do {
    const std::int64_t middle = low + (high - low) / 2;
    TvarWord record;
    if (!fetch(middle, record)) return false;
    const std::string_view stored = record.Text();
    const int order = CompareText(stored, word);
    if (order == 0 || (ignoreCase && EqualIgnoringAsciiCase(stored, word))) return true;
    if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  } while (high >= low);
  return false;
}

}  // namespace spellcheck::store

#endif
