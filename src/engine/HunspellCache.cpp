#include "engine/HunspellCache.h"

#include <map>
#include <mutex>
#include <utility>

#include "engine/CompiledForms.h"

namespace spellcheck::engine {
namespace {

struct Loaded {
  FileState aff, dic;
  std::weak_ptr<const hunspell::Dictionary> dictionary;
};

// The dictionaries loaded by this process, while anyone uses them.
std::mutex loadedMutex;
std::map<std::pair<std::string, std::string>, Loaded>& LoadedDictionaries() {
  static std::map<std::pair<std::string, std::string>, Loaded> loaded;
  return loaded;
}

// Reads the dictionary, from its compiled form when the cache has one for
// the files as they are; else from the files, storing the compiled form when
// they have been quiet for a while (their states then name their contents).
std::shared_ptr<const hunspell::Dictionary> Read(store::FileSystem& fs, const std::string& affName,
                                                 const std::string& dicName, const FileState& aff,
                                                 const FileState& dic,
                                                 const compiled::Cache& cache) {
  const CompiledForm form = HunspellForm(affName, aff, dicName, dic);
  if (!cache.Enabled() || !form.compilable) return hunspell::Dictionary::Load(fs, affName, dicName);
  if (auto found = hunspell::Dictionary::LoadCompiled(fs, affName,
                                                      cache.Find(form.kind, form.name, form.key))) {
    return found;
  }
  std::shared_ptr<const hunspell::Dictionary> loaded =
      hunspell::Dictionary::Load(fs, affName, dicName);
  // Files that changed while they were read are not compiled under their
  // old states.
  if (LookAt(fs, affName) == aff && LookAt(fs, dicName) == dic) {
    compiled::ImageWriter writer;
    loaded->CompileStems(writer);
    (void)cache.Store(form.kind, form.name, form.key, writer);
  }
  return loaded;
}

// The dictionary of the files as `aff` and `dic` saw them: the one loaded
// already when its files looked the same, else read now.
std::shared_ptr<const hunspell::Dictionary> Acquire(store::FileSystem& fs,
                                                    const std::string& affName,
                                                    const std::string& dicName,
                                                    const FileState& aff, const FileState& dic,
                                                    const compiled::Cache& cache) {
  // Loading under the lock: workers that start together wait for one load
  // instead of each making a copy.
  const std::lock_guard<std::mutex> lock(loadedMutex);
  Loaded& entry = LoadedDictionaries()[{affName, dicName}];
  if (entry.aff == aff && entry.dic == dic) {
    if (auto shared = entry.dictionary.lock()) return shared;
  }
  std::shared_ptr<const hunspell::Dictionary> loaded = Read(fs, affName, dicName, aff, dic, cache);
  entry = Loaded{aff, dic, loaded};
  return loaded;
}

}  // namespace

HunspellHandle::HunspellHandle(store::FileSystem& fs, std::string aff, std::string dic,
                               compiled::Cache cache)
    : fs_(fs), aff_(std::move(aff)), dic_(std::move(dic)), cache_(std::move(cache)) {
  affState_ = LookAt(fs_, aff_);
  dicState_ = LookAt(fs_, dic_);
  dictionary_ = Acquire(fs_, aff_, dic_, affState_, dicState_, cache_);
}

bool HunspellHandle::Refresh() {
  const FileState aff = LookAt(fs_, aff_);
  const FileState dic = LookAt(fs_, dic_);
  if (aff == affState_ && dic == dicState_) return false;
  // Tried once per change: files that cannot be read (half-written, taken
  // away) leave what was read serving until they change again.
  affState_ = aff;
  dicState_ = dic;
  try {
    dictionary_ = Acquire(fs_, aff_, dic_, aff, dic, cache_);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace spellcheck::engine
