// The user's own words that a word list's records cannot hold: a character
// outside code page 1252, or more than 24 characters (a Polish, Greek or
// Russian word, a long German compound). They are kept in a UTF-8 text file
// beside the custom dictionary, one word a line (cust-pl_PL.dic keeps them in
// cust-pl_PL.words), so that adding a word works whatever the language.
#ifndef SPELLCHECK_ENGINE_PERSONALWORDS_H
#define SPELLCHECK_ENGINE_PERSONALWORDS_H

#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/FileWatch.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

class PersonalWords {
 public:
  // Reads the list when it is there (an absent or unreadable list holds nothing).
  PersonalWords(store::FileSystem& fs, std::string file);

  // The list that goes with a custom dictionary: its name with .words for .dic.
  static std::string FileFor(const std::string& customDictionary);

  // True when the list holds the word, or a capitalised word's form with the
  // first letter lowered.
  bool Holds(std::string_view utf8Word) const;
  // Through the store (locked, crash-safe); false when it was there already.
  // Raises EInOutError when the list cannot be written.
  bool Add(std::string_view utf8Word);
  // False when it was not there.
  bool Remove(std::string_view utf8Word);
  // Reads the list again when it changed; true then.
  bool Refresh();

  const std::string& File() const { return file_; }

 private:
  void Load();

  store::FileSystem& fs_;
  std::string file_;
  FileState state_;
  std::unordered_set<std::string> words_;
};

}  // namespace spellcheck::engine

#endif
