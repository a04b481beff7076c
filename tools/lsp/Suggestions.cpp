#include "lsp/Suggestions.h"

namespace spellcheck::tool::lsp {

const std::vector<std::string>& Suggestions::For(engine::Speller& speller, std::string_view word,
                                                 std::size_t max) {
  const auto [at, added] = known_.try_emplace(std::string(word));
  if (added || at->second.max != max) {
    at->second.max = max;
    at->second.words = max == 0 ? std::vector<std::string>()
                                : speller.Suggest(word, engine::Speller::Order::Ranked, max);
  }
  return at->second.words;
}

const std::vector<std::string>* Suggestions::Known(std::string_view word, std::size_t max) const {
  const auto at = known_.find(std::string(word));
  return at == known_.end() || at->second.max != max ? nullptr : &at->second.words;
}

}  // namespace spellcheck::tool::lsp
