// Where the engine's dictionary contents come from. One seam, two ways:
// read from the file on every call (the checker object keeps nothing between
// calls), or kept in memory and looked at again when told to (a run of the
// tool, an editor session, a server).
#ifndef SPELLCHECK_ENGINE_DICTIONARYSOURCE_H
#define SPELLCHECK_ENGINE_DICTIONARYSOURCE_H

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/Cache.h"
#include "engine/LoadedDictionary.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

class DictionarySource {
 public:
  DictionarySource() = default;
  virtual ~DictionarySource() = default;
  DictionarySource(const DictionarySource&) = delete;
  DictionarySource& operator=(const DictionarySource&) = delete;

  // Starts one operation of the engine: within it a file is looked at once.
  virtual void BeginOperation() = 0;
  // The answer of the store's lookup on `file`.
  virtual bool Find(const std::string& file, std::string_view word, bool ignoreCase) = 0;
  // Appends the similar-word scan's words of `file`, in file order.
  virtual void CollectSimilar(const std::string& file, std::string_view word,
                              std::vector<std::string>& result) = 0;
  // Asks for the memory that a lookup of the word in `file` will touch, so
  // that several lookups wait for it together (nothing where nothing is kept).
  virtual void Prefetch(const std::string& file, std::string_view word) = 0;
  // The whole contents of `file`; null when the store would find no dictionary.
  virtual std::shared_ptr<const LoadedDictionary> Contents(const std::string& file) = 0;
  // The engine is about to change `file`: what is known of it is stale.
  virtual void Forget(const std::string& file) = 0;
  // Looks at every file in use again; true when any changed since the last look.
  virtual bool Refresh() = 0;
};

// Reads the file on every call, as the store's operations do.
std::unique_ptr<DictionarySource> ReadEachCall(store::FileSystem& fs);

// Opens the file on every call, as the store's operations do, and answers
// from its contents kept in memory while the open file is unchanged.
std::unique_ptr<DictionarySource> OpenEachCall(store::FileSystem& fs);

// When a source that keeps contents in memory looks at a file again.
struct Recheck {
  enum class When {
    EveryOperation,  // before the first use in each operation
    After,           // when it was last looked at longer than `after` ago
    OnRefresh,       // only when Refresh() is called
  };
  When when = When::EveryOperation;
  std::chrono::nanoseconds after{};
};

// Keeps each file's contents in memory from its first use; a file that
// changed is read again at the next look (see Recheck). With a cache, the
// contents of a file that has not changed for a while come from its
// compiled form, made there at the first reading.
std::unique_ptr<DictionarySource> KeepInMemory(store::FileSystem& fs, Recheck recheck,
                                               compiled::Cache cache = {});

}  // namespace spellcheck::engine

#endif
