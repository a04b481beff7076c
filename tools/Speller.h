// The tool's view of the library: UTF-8 words in, answers and UTF-8
// suggestions out, over a chosen set of dictionaries. Every answer comes
// from the checker's own operations; this class only converts the word,
// chooses the dictionaries and asks about the case forms a text may use.
#ifndef SPELLCHECK_TOOL_SPELLER_H
#define SPELLCHECK_TOOL_SPELLER_H

#include <spellcheck/SpellCheck.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "commands/DictionarySet.h"
#include "DictionaryWatch.h"

namespace spellcheck::tool {

// A checker for one run of the tool: one that keeps dictionaries in memory
// while it lives (and rereads a file that changed), where the library offers one.
std::unique_ptr<TSpellerCheck> CreateRunChecker();

class Speller {
 public:
  Speller(std::unique_ptr<TSpellerCheck> checker, DictionarySet dictionaries);

  // True when the word is spelt correctly. A word in capitals throughout is
  // also correct when its capitalised (and so its lower-case) form is. A
  // word with a character that code page 1252 cannot hold is misspelled.
  bool IsCorrect(std::string_view utf8Word);
  // The suggestions for a word, in the library's order.
  std::vector<std::string> Suggest(std::string_view utf8Word);

  // Accepts the word until the object goes (the pipe's @ command).
  void AcceptForSession(std::string_view utf8Word);
  // Adds the word to the custom dictionary (or, without one, accepts it for
  // the session). False when it cannot be stored in a dictionary.
  bool AddToCustom(std::string_view utf8Word);

  // Looks whether a dictionary file changed since the last look, and if so
  // forgets every answer remembered. Answers are remembered between looks:
  // a run looks before each block of input (a pipe: whenever its input runs
  // dry, so that a change made while an editor waits is always seen).
  void Revalidate();

  const DictionarySet& Dictionaries() const { return dictionaries_; }
  TSpellerCheck& Checker() { return *checker_; }

 private:
  bool CheckCp1252(const std::string& word);
  bool Answer(const std::string& word);
  std::vector<std::string> Ask(const std::string& word);
  void Forget();

  std::unique_ptr<TSpellerCheck> checker_;
  DictionarySet dictionaries_;
  std::vector<std::string> further_;
  std::array<const char*, MaxFurtherDictionaries> furtherNames_{};
  std::unordered_set<std::string> sessionWords_;
  DictionaryWatch watch_;
  // The checker's answers since the last look at the files, by word.
  struct WordHash {
    std::size_t operator()(const std::string& word) const noexcept;
  };
  std::unordered_map<std::string, bool, WordHash> answers_;
  std::unordered_map<std::string, std::vector<std::string>> suggestions_;
  std::string cp1252_;  // scratch for the converted word
  std::string form_;    // scratch for a case form
};

// Splits the library's ", "-separated list.
std::vector<std::string> SplitSuggestionList(std::string_view list);

// True when every letter of a code page 1252 word is a capital and it has two or more.
bool IsAllCapitals(std::string_view cp1252Word);

}  // namespace spellcheck::tool

#endif
