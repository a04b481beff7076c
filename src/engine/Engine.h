// The engine: the spelling services over a set of dictionary files, with a
// plain interface. Every front end uses it: the checker object that hosts
// load, the tool, and servers. Words are code page 1252 bytes, as stored.
// Where the contents of the files come from is the engine's source (read on
// every call, or kept in memory); writes always go through the store.
#ifndef SPELLCHECK_ENGINE_ENGINE_H
#define SPELLCHECK_ENGINE_ENGINE_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DictionarySource.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

class Engine {
 public:
  Engine(store::FileSystem& fs, std::unique_ptr<DictionarySource> source);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // True when `main` or one of `further` (in order) holds the word. A
  // capitalised word also counts in its form with the first letter lowered,
  // which is tried first in each dictionary.
  bool Check(std::string_view word, const std::string& main, std::span<const std::string> further,
             bool ignoreCase);

  // Asks ahead for what a Check of the word in `main` will look at first.
  void Prefetch(std::string_view word, const std::string& main);

  // The stored words that resemble the word position by position, from
  // `main` and `further`, without duplicates, in text order.
  std::vector<std::string> SimilarWords(std::string_view word, const std::string& main,
                                        std::span<const std::string> further);

  // The same as one text of words joined by ", ", built the checker object's
  // way: with `useExtra` false the main dictionary's list as its scan gives it
  // (file order, duplicates kept); with `useExtra` the per-dictionary lists
  // joined and tidied. Empty for words of fewer than two characters.
  std::string SuggestionText(std::string_view word, const std::string& main,
                             std::span<const std::string> further, bool useExtra);

  // Writes through the store (crash-safe, locked), answering as the store does.
  bool Add(std::string_view word, const std::string& file);
  bool Remove(std::string_view word, const std::string& file, bool ignoreCase);
  // Moves every word of `source` into `target` and deletes `source`.
  bool Merge(const std::string& target, const std::string& source);

  // The whole contents of a dictionary; null when it is absent.
  std::shared_ptr<const LoadedDictionary> Contents(const std::string& file);
  // Looks at the files in use again; true when any changed.
  bool Refresh();

  store::FileSystem& FileSystem() { return fs_; }
  // Moves on whenever an answer may have changed: after every write through
  // the engine and every refresh that saw a change.
  std::uint64_t Generation() const { return generation_; }

 private:
  bool Holds(const std::string& file, std::string_view word, bool ignoreCase);

  store::FileSystem& fs_;
  std::unique_ptr<DictionarySource> source_;
  std::string lowered_;  // the lowered form of the word being checked
  std::vector<std::string> similar_;
  std::uint64_t generation_ = 0;
};

}  // namespace spellcheck::engine

#endif
