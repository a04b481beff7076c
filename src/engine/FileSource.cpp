// The source that keeps nothing: every answer comes from the file as it is.
#include "engine/DictionarySource.h"
#include "services/SimilarWords.h"
#include "store/WordList.h"

namespace spellcheck::engine {
namespace {

class FileSource final : public DictionarySource {
 public:
  explicit FileSource(store::FileSystem& fs) : fs_(fs) {}

  void BeginOperation() override {}

  bool Find(const std::string& file, std::string_view word, bool ignoreCase) override {
    return store::FindWord(fs_, word, file, ignoreCase);
  }

  void CollectSimilar(const std::string& file, std::string_view word,
                      std::vector<std::string>& result) override {
    services::CollectSimilar(fs_, word, file, result);
  }

  void Prefetch(const std::string&, std::string_view) override {}

  std::shared_ptr<const LoadedDictionary> Contents(const std::string& file) override {
    return LoadedDictionary::ReadFile(fs_, file);
  }

  void Forget(const std::string&) override {}
  bool Refresh() override { return false; }

 private:
  store::FileSystem& fs_;
};

}  // namespace

std::unique_ptr<DictionarySource> ReadEachCall(store::FileSystem& fs) {
  return std::make_unique<FileSource>(fs);
}

}  // namespace spellcheck::engine
