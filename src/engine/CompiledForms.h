// What the engine compiles of a dictionary, and how a cache names and keys
// each compiled file: one place, for the readers that use the files and for
// the tool that makes and lists them.
#ifndef SPELLCHECK_ENGINE_COMPILEDFORMS_H
#define SPELLCHECK_ENGINE_COMPILEDFORMS_H

#include <string>
#include <vector>

#include "compiled/Cache.h"
#include "engine/DictionarySet.h"
#include "engine/FileWatch.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

struct CompiledForm {
  compiled::Kind kind = compiled::Kind::Records;
  std::string name;   // the sources' names: what the cache names the file after
  compiled::Key key;  // the sources' states
  // Whether every source exists and has been quiet for a while, so that its
  // state names its contents: only then is the form compiled.
  bool compilable = false;
  const char* What() const;  // "words", "ranked index", "stems"
};

// A word list's records, as the file is in `state`.
CompiledForm RecordsForm(const std::string& file, const FileState& state);
// The ranked-suggestion index of a main word list in `state`, with its
// levels file as it is now.
CompiledForm RankedForm(store::FileSystem& fs, const MainDictionary& main, const FileState& state);
// A Hunspell dictionary's stems and their index.
CompiledForm HunspellForm(const std::string& aff, const FileState& affState, const std::string& dic,
                          const FileState& dicState);

// Every form of a main dictionary, its files as they are now.
std::vector<CompiledForm> FormsOf(store::FileSystem& fs, const MainDictionary& main);

}  // namespace spellcheck::engine

#endif
