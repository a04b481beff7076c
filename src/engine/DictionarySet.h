// The dictionaries a front end works with: one main dictionary, a custom one
// (where the user's additions go) and further ones, consulted in that order.
#ifndef SPELLCHECK_ENGINE_DICTIONARYSET_H
#define SPELLCHECK_ENGINE_DICTIONARYSET_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace spellcheck::engine {

// At most this many besides the main one (the custom one counts).
inline constexpr std::size_t MaxFurtherDictionaries = 10;

struct DictionarySet {
  std::string main;
  std::optional<std::string> custom;  // none: additions stay in the session
  std::vector<std::string> extra;
  bool ignoreCase = false;  // accept words that differ only in the case of A-Z
  // How common the main dictionary's words are, for ranking suggestions
  // (none: all equal). The words of the others count as common: the user
  // put them there.
  std::string levels;

  // The custom dictionary (if any) and then the extra ones.
  std::vector<std::string> Further() const {
    std::vector<std::string> further;
    if (custom) further.push_back(*custom);
    further.insert(further.end(), extra.begin(), extra.end());
    return further;
  }
};

}  // namespace spellcheck::engine

#endif
