// One language's dictionary as Enchant asks it: the speller of the tool's
// dictionaries (the language's main dictionary, the user's custom one),
// kept in memory for an editor's session and looked at again at most once a
// second, so that words added elsewhere (the tool, another editor) show.
#ifndef SPELLCHECK_ENCHANT_PROVIDERDICTIONARY_H
#define SPELLCHECK_ENCHANT_PROVIDERDICTIONARY_H

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/RunDictionaries.h"
#include "engine/Speller.h"

namespace spellcheck::enchant {

class ProviderDictionary {
 public:
  // Throws when the language's dictionary cannot be read.
  explicit ProviderDictionary(const catalogue::Language& language);

  bool IsCorrect(std::string_view utf8Word);
  // Ranked, best first.
  std::vector<std::string> Suggest(std::string_view utf8Word);
  // Into the custom dictionary (the tool's: SPELLCHECK_CUSTOM or the
  // per-user default); false when the word cannot be stored.
  bool AddToPersonal(std::string_view utf8Word);
  void AddToSession(std::string_view utf8Word);
  // Out of the custom dictionary, if it holds the word.
  void RemoveFromPersonal(std::string_view utf8Word);

 private:
  void LookAgainWhenDue();

  catalogue::RunDictionaries dictionaries_;
  engine::Speller speller_;
  std::chrono::steady_clock::time_point lookedAt_;
};

}  // namespace spellcheck::enchant

#endif
