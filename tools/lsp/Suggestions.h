// Suggestions for misspelled words, remembered until the dictionaries change:
// a document names the same misspelling many times, and each check of a
// document asks again for the words of all its lines.
#ifndef SPELLCHECK_TOOL_LSP_SUGGESTIONS_H
#define SPELLCHECK_TOOL_LSP_SUGGESTIONS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/Speller.h"

namespace spellcheck::tool::lsp {

class Suggestions {
 public:
  // The best `max` suggestions for a word, ranked.
  const std::vector<std::string>& For(engine::Speller& speller, std::string_view word,
                                      std::size_t max);
  // The remembered ones; null when the word was not asked for yet.
  const std::vector<std::string>* Known(std::string_view word, std::size_t max) const;
  void Clear() { known_.clear(); }

 private:
  struct Entry {
    std::size_t max;
    std::vector<std::string> words;
  };
  std::unordered_map<std::string, Entry> known_;
};

}  // namespace spellcheck::tool::lsp

#endif
