// Hunspell dictionaries as the engine reads them: each loaded once per
// process and shared by every speller that uses it (the workers of a tree
// walk, the language server's documents, Enchant's dictionaries of a tag),
// and loaded again when one of its two files changed.
#ifndef SPELLCHECK_ENGINE_HUNSPELLCACHE_H
#define SPELLCHECK_ENGINE_HUNSPELLCACHE_H

#include <memory>
#include <string>

#include "compiled/Cache.h"
#include "engine/FileWatch.h"
#include "hunspell/Dictionary.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

// One Hunspell dictionary of a speller, as its files are now.
class HunspellHandle {
 public:
  // Loads it (or takes the copy already loaded). Throws hunspell::LoadError
  // when it cannot be read.
  // With a cache, a dictionary whose files have not changed for a while
  // starts from its compiled form, made there at the first load.
  HunspellHandle(store::FileSystem& fs, std::string aff, std::string dic,
                 compiled::Cache cache = {});

  const hunspell::Dictionary& Get() const { return *dictionary_; }
  // Looks at both files again; when either changed, takes the dictionary as
  // it is now and answers true. A dictionary that cannot be read any more
  // keeps serving as it was.
  bool Refresh();

 private:
  store::FileSystem& fs_;
  std::string aff_, dic_;
  compiled::Cache cache_;
  FileState affState_, dicState_;
  std::shared_ptr<const hunspell::Dictionary> dictionary_;
};

}  // namespace spellcheck::engine

#endif
