// What front ends (the tool, servers, editor plug-ins) ask: is this word of a
// text correct, what could it be instead, remember it. Words are UTF-8
// whatever the dictionaries: a Hunspell dictionary is asked in UTF-8; word
// lists hold code page 1252, and a word with a character they cannot hold is
// not in them, never mangled.
#ifndef SPELLCHECK_ENGINE_SPELLER_H
#define SPELLCHECK_ENGINE_SPELLER_H

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "compiled/Cache.h"
#include "engine/AnswerCache.h"
#include "engine/DictionarySet.h"
#include "engine/Engine.h"
#include "engine/HunspellCache.h"
#include "engine/PersonalWords.h"
#include "suggest/RankedIndex.h"
#include "suggest/WordLevels.h"

namespace spellcheck::engine {

class Speller {
 public:
  // `rememberAnswers`: keep answers between refreshes, for an engine whose
  // source keeps the contents in memory until told to look again.
  // `cache`: where compiled forms of the dictionaries and their indexes
  // are kept (none by default).
  Speller(std::unique_ptr<Engine> engine, DictionarySet dictionaries, bool rememberAnswers = false,
          compiled::Cache cache = {});

  // True when the word is spelt correctly: a dictionary holds it (a
  // capitalised word also in its lowered form); a word in capitals throughout
  // also when its capitalised form is correct; a hyphenated word also when
  // every part is correct by itself (see ChecksHyphenParts).
  bool IsCorrect(std::string_view utf8Word);
  // IsCorrect's answers for many words at once, `answers[i]` for `words[i]`:
  // the lookups of words not remembered wait for memory together.
  void IsCorrectAll(std::span<const std::string_view> words, std::vector<char>& answers);
  // The same without the rule for hyphenated words, for callers that report
  // the parts by themselves.
  bool IsCorrectWhole(std::string_view utf8Word);
  // Whether a hyphenated word is judged part by part: with word lists; a
  // Hunspell dictionary's own BREAK rules decide alone (BREAK 0: never).
  bool ChecksHyphenParts() const { return !listMains_.empty(); }

  // Suggestions for a misspelled word, at most `max`: ranked, best first
  // (near in spelling and sound, common words before rare ones, the word's
  // capitals kept); or the library's positional list: stored words that
  // agree with the word in most positions, in text order.
  enum class Order { Ranked, Positional };
  std::vector<std::string> Suggest(std::string_view utf8Word, Order order = Order::Ranked,
                                   std::size_t max = 10);

  // Accepts the word until the object goes.
  void AcceptForSession(std::string_view utf8Word);
  // Adds the word to the custom dictionary (without one, accepts it for the
  // session); a word its records cannot hold goes to the personal word list
  // beside it (PersonalWords.h). False when it is no word (empty, not UTF-8).
  bool AddToCustom(std::string_view utf8Word);
  // Takes the word out of the custom dictionary and the personal word list.
  void RemoveFromCustom(std::string_view utf8Word);

  // Looks at the dictionary files again; true when any changed.
  bool Refresh();

  // Reads every main dictionary now and builds what suggestions need, so
  // that the cache holds their compiled forms.
  void Prepare();

  // The characters besides letters that the main dictionaries count as
  // parts of words (a Hunspell dictionary's WORDCHARS), UTF-8.
  std::string WordCharacters() const;

  const DictionarySet& Dictionaries() const { return dictionaries_; }
  Engine& GetEngine() { return *engine_; }

 private:
  bool CheckCp1252(std::string_view word);
  // Empties the remembered answers when a dictionary changed since.
  void ForgetStaleAnswers();
  bool Answer(std::string_view utf8Word);
  std::vector<std::string> Positional(const std::string& cp1252Word);
  std::vector<std::string> Ranked(const std::string& cp1252Word, std::size_t max);
  std::vector<std::string> RankedHunspell(std::string_view utf8Word, std::size_t max);
  // The ranking's index of one dictionary as it is now, made anew when the
  // dictionary's contents change; null when it is absent. `main`: how a main
  // dictionary's words are ranked; null for the user's own dictionaries.
  const suggest::RankedIndex* IndexOf(const std::string& file, const MainDictionary* main);
  // A levels file, read at its first use; null when there is none.
  const suggest::WordLevels* LevelsOf(const std::string& file);
  static suggest::Sounds SoundsOf(const MainDictionary& main);

  // The index of the words of `contents`, from the cache when it was made
  // before from the same files and `fromCache`.
  std::unique_ptr<suggest::RankedIndex> MakeIndex(const LoadedDictionary& contents,
                                                  const MainDictionary* main, bool fromCache);

  std::unique_ptr<Engine> engine_;
  DictionarySet dictionaries_;
  compiled::Cache cache_;
  std::vector<HunspellHandle> hunspell_;   // the main Hunspell dictionaries
  std::vector<MainDictionary> listMains_;  // the main word lists
  std::string listMain_;                   // the first of them; empty: none
  std::vector<std::string> further_;       // the custom and further dictionaries
  std::vector<std::string> afterMain_;     // the other main word lists, then further_
  std::optional<PersonalWords> personal_;  // with a custom dictionary
  std::uint64_t filesGeneration_ =
      0;  // moves when a Hunspell dictionary or personal_ is read again
  std::unordered_set<std::string> sessionWords_;  // UTF-8
  std::string cp1252_;                            // scratch for the converted word
  std::vector<std::size_t> pending_;              // words of IsCorrectAll not remembered
  std::unique_ptr<AnswerCache> answers_;          // null: every answer is asked for
  std::uint64_t answersGeneration_ = 0;           // the generation they belong to
  struct Ranking {
    std::string file;
    std::shared_ptr<const LoadedDictionary> contents;  // what the index was made from
    std::unique_ptr<suggest::RankedIndex> index;
    bool damaged = false;  // the compiled file it was read from
  };
  std::vector<Ranking> rankings_;
  struct Levels {
    std::string file;
    std::unique_ptr<suggest::WordLevels> levels;  // null: the file could not be read
  };
  std::vector<Levels> levels_;
};

}  // namespace spellcheck::engine

#endif
