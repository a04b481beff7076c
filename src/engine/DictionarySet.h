// The dictionaries a front end works with: one main dictionary per language
// (one or more, in order), a custom one (where the user's additions go) and
// further ones, consulted in that order.
#ifndef SPELLCHECK_ENGINE_DICTIONARYSET_H
#define SPELLCHECK_ENGINE_DICTIONARYSET_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace spellcheck::engine {

// At most this many besides the main ones (the custom one counts).
inline constexpr std::size_t MaxFurtherDictionaries = 10;

// A main dictionary and how its words are ranked as suggestions.
struct MainDictionary {
  std::string file;  // a word list, or a Hunspell dictionary's .dic
  // A Hunspell dictionary's affix file (.aff); empty for a word list.
  std::string aff;
  // How common its words are (none: all equal).
  std::string levels;
  // Whether words said like a misspelling are looked for by the English
  // sound key: for English; other languages go by spelling alone.
  bool englishSounds = true;
  bool IsHunspell() const { return !aff.empty(); }
};

struct DictionarySet {
  // A word is correct when any of them holds it; suggestions come from all,
  // ranked together. The first is "the" main dictionary (of delete, merge).
  std::vector<MainDictionary> mains;
  std::optional<std::string> custom;  // none: additions stay in the session
  std::vector<std::string> extra;
  bool ignoreCase = false;  // accept words that differ only in the case of A-Z
  // The words of the custom and further dictionaries count as common (the
  // user put them there) and are ranked with the first main one's sounds.

  // The first main dictionary's file; empty when there is none.
  const std::string& Main() const {
    static const std::string none;
    return mains.empty() ? none : mains.front().file;
  }
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
