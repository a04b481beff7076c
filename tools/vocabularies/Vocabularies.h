// Vocabularies: word lists beside the dictionaries whose words count as
// correct in the files of some kinds (English at SCOWL's larger sizes,
// software terms, acronyms, company and licence names, file types, one per
// programming language). They are made at build time into
// share/spellcheck/vocabularies/NAME.dic; one that was not built is left out.
#ifndef SPELLCHECK_TOOL_VOCABULARIES_VOCABULARIES_H
#define SPELLCHECK_TOOL_VOCABULARIES_VOCABULARIES_H

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalogue/RunDictionaries.h"
#include "engine/AnswerCache.h"
#include "engine/DictionarySource.h"
#include "engine/LoadedDictionary.h"

namespace spellcheck::tool {

// A word in the forms that vocabularies are searched for, made once for all
// the vocabularies of a context: as written, in small letters, and
// capitalised (for a word in capitals), in code page 1252 as they are stored.
class VocabularyQuery {
 public:
  explicit VocabularyQuery(std::string_view utf8Word);

 private:
  friend class Vocabulary;
  bool valid_ = false;  // a word the code page holds
  std::string word_;
  std::string lower_;
  std::string title_;
  bool capitalised_ = false;  // the first letter a capital
  bool restUpper_ = true;     // no small letter after the first
  bool restLower_ = true;     // no capital after the first
};

class Vocabulary {
 public:
  // Reads a dictionary file from `source` (with its compiled form, where
  // the source keeps them), or by itself; nullptr when it cannot be read.
  // `anyCase`: a word counts in any case (cspell's lists, made in lower
  // case); otherwise as a dictionary does: as written, or capitalised or in
  // capitals throughout.
  static std::unique_ptr<Vocabulary> Load(const std::filesystem::path& dic, bool anyCase,
                                          engine::DictionarySource& source);
  static std::unique_ptr<Vocabulary> Load(const std::filesystem::path& dic, bool anyCase);
  bool Holds(std::string_view utf8Word) const;
  bool Holds(const VocabularyQuery& query) const;
  std::size_t Size() const;

 private:
  bool HoldsCp1252(std::string_view word) const;
  // Its hash table answers a word with a probe or two.
  std::shared_ptr<const engine::LoadedDictionary> words_;
  bool anyCase_ = false;
};

struct VocabularyInfo {
  std::string_view name;
  std::string_view what;
};
// The vocabularies the tool knows, in the order `dicts` lists them.
const std::vector<VocabularyInfo>& KnownVocabularies();
bool IsVocabulary(std::string_view name);
// The names known, separated by ", ", for messages.
std::string VocabularyNames();
// Those on by default for a file of `mode`: the general ones for every kind,
// and the language's own for code. The English words of SCOWL's larger
// sizes only for a run in English (`english`): a German text is no place
// for them.
std::vector<std::string> DefaultVocabularies(std::string_view mode, bool english);
// Whether a run is in English: one of its languages is, or it names its main
// dictionary as a file.
bool IsEnglishRun(const catalogue::RunDictionaries& run);
// The vocabulary's file in the first data folder that has it.
std::optional<std::filesystem::path> FindVocabulary(std::string_view name);
// One line each: name, words, file, or that it is not installed.
void PrintVocabularies(std::ostream& out);

// Loads each vocabulary once for a run, from its compiled form where the
// run's cache has one (not thread-safe: used while a run is planned, before
// its files are checked).
class VocabularyCache {
 public:
  VocabularyCache();
  const Vocabulary* Get(const std::string& name);  // nullptr: not installed

 private:
  std::unique_ptr<engine::DictionarySource> source_;
  std::map<std::string, std::unique_ptr<Vocabulary>> loaded_;
};

// Words shorter than this are not reported unless the config says
// otherwise. 3, not cspell's 4: a typo of a short word (teh, adn, fro) is as
// common as any, and 4 missed a quarter of those planted by
// bench/vocabulary.py, while 3 flags 13-26% more words in code (terse names:
// buf, ctx), still fewer than cspell (see the README).
inline constexpr std::size_t DefaultMinWordLength = 3;

struct WordContext;

// Remembers for one thread which words one context lists outside
// definitions: a text's unknown words (names, terms) come back again and
// again, and each costs a search of every vocabulary. The context's lists
// must stay as they are while it is asked: Forget when they change.
class KnownWords {
 public:
  bool Listed(const WordContext& context, std::string_view utf8Word);
  void Forget();

 private:
  const WordContext* context_ = nullptr;          // whose answers are kept
  std::unique_ptr<engine::AnswerCache> answers_;  // made at the first word
};

// What else makes a word of a file go unreported.
struct WordContext {
  std::vector<const Vocabulary*> vocabularies;
  // The identifiers defined in the run's code and their parts: correct
  // anywhere but in the definitions themselves, where they are checked.
  const std::unordered_set<std::string>* identifiers = nullptr;
  // Shorter words (in characters) are not reported.
  std::size_t minLength = 0;
  // Code: a part of a definition's name run together from two or three
  // known words of three letters or more (newpath, addrlist,
  // spilldescriptors) is correct, unless it is one edit from a known word.
  bool compounds = false;
  // An English run: the possessive 's of a known word is a word too.
  bool english = true;

  // Whether a word that the dictionaries reject goes unreported all the
  // same; `correct` asks the dictionaries about a piece of it (its stem
  // before 's, its parts), when given.
  using Correct = std::function<bool(std::string_view)>;
  // `memo`: where the caller's thread remembers what the lists hold.
  bool Accepts(std::string_view utf8Word, bool inDefinition, const Correct& correct = {},
               KnownWords* memo = nullptr) const;

  // Whether the identifiers (outside definitions) or a vocabulary hold the word.
  bool Listed(std::string_view word, bool inDefinition) const;

 private:
  bool Known(std::string_view word, bool inDefinition, const Correct& correct,
             KnownWords* memo = nullptr) const;
  bool RunTogether(std::string_view word, int parts, const Correct& correct) const;
  bool OneEditFromKnown(std::string_view word, const Correct& correct) const;
};

}  // namespace spellcheck::tool

#endif
