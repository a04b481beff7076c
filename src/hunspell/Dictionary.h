// A Hunspell dictionary (.aff + .dic): whole-word checks and suggestions.
// Affixes are taken off at lookup time; nothing is expanded in memory.
#ifndef SPELLCHECK_HUNSPELL_DICTIONARY_H
#define SPELLCHECK_HUNSPELL_DICTIONARY_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/Image.h"
#include "hunspell/LoadError.h"

namespace spellcheck::store {
class FileSystem;
}

namespace spellcheck::hunspell {

struct AffixData;
class WordTable;
class WordChecker;
class EditModel;
class StemIndex;

class Dictionary {
 public:
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  // Reads the dictionary from the bytes of NAME.aff and NAME.dic. Lines that
  // cannot be used are skipped and each reported in `warnings` as
  // "NAME.aff:LINE: what is wrong". Throws LoadError when nothing usable is left.
  static std::unique_ptr<Dictionary> FromText(std::string_view affBytes, std::string_view dicBytes,
                                              std::string_view affName, std::string_view dicName,
                                              std::vector<std::string>* warnings = nullptr);
  // The same, reading both files through the file-access layer; LoadError
  // names a file that cannot be read.
  static std::unique_ptr<Dictionary> Load(store::FileSystem& fs, const std::string& affPath,
                                          const std::string& dicPath,
                                          std::vector<std::string>* warnings = nullptr);

  // The stems and their near-word index as sections of a compiled file (the
  // index is made now when no suggestion made it yet).
  void CompileStems(compiled::ImageWriter& writer) const;
  // Reads NAME.aff and takes the stems from a compiled image that
  // CompileStems wrote for it; null when the image does not make them. The
  // near-word index is taken at the first suggestion (made anew should its
  // sections be damaged). LoadError as Load when the .aff cannot be read.
  static std::unique_ptr<Dictionary> LoadCompiled(store::FileSystem& fs, const std::string& affPath,
                                                  std::shared_ptr<const compiled::Image> stems);

  // Whole-word check of a UTF-8 word. Thread-safe.
  bool Check(std::string_view utf8Word) const;
  // Suggestions for a word, best first, at most `max`, UTF-8. Thread-safe.
  // Bounded: at most SuggestBudget() steps of work for any word (counted in
  // `work` when given); words over 100 bytes in the dictionary's encoding
  // get none. The first call also builds the near-word index of the stems
  // (about as long as loading the dictionary took).
  std::vector<std::string> Suggest(std::string_view utf8Word, std::size_t max = 10,
                                   long* work = nullptr) const;
  static long SuggestBudget();

  const std::string& WordCharacters() const;
  const std::string& Language() const;
  const std::string& Encoding() const;
  std::size_t StemCount() const;
  std::size_t MemoryBytes() const;

 private:
  Dictionary();
  // Decodes the word, refusing what the dictionary cannot hold (invalid
  // UTF-8, characters outside its set, over 100 bytes in its encoding).
  bool Decode(std::string_view utf8Word, std::u32string& out) const;

  // Builds what checking and suggesting need once the stems are in place.
  void Finish(std::string_view affName);
  // Reads the affix file.
  static std::unique_ptr<Dictionary> ReadAffixes(store::FileSystem& fs, const std::string& affPath,
                                                 std::vector<std::string>* warnings);
  const StemIndex& Stems() const;

  std::unique_ptr<AffixData> affixes_;
  std::unique_ptr<WordTable> words_;
  std::unique_ptr<WordChecker> checker_;
  std::unique_ptr<EditModel> model_;
  // The near-word index, made (or taken from the compiled image) on the
  // first suggestion.
  mutable std::once_flag stemsMade_;
  mutable std::unique_ptr<StemIndex> stems_;
  std::shared_ptr<const compiled::Image> compiledStems_;
};

}  // namespace spellcheck::hunspell

#endif
