// The source of the host's checker object: every call opens the file by its
// name, as the store's lookup and scan do (so a file that cannot be opened
// now is absent now, whatever was read before), and answers from the
// contents kept in memory while the open file shows the same identity, size
// and times; otherwise the file itself answers. Contents are read whole only at the
// second lookup in an unchanged file that has been quiet for a while, so
// that a host that asks once pays nothing for them.
#include "engine/DictionarySource.h"
#include "engine/FileWatch.h"
#include "services/SimilarWords.h"
#include "store/RecordFile.h"
#include "store/WordList.h"

namespace spellcheck::engine {
namespace {

// Larger files are searched on disk, never held: the lookup's memory stays
// bounded whatever the dictionary's size.
constexpr std::uint64_t MaxKeptRecords = 500'000;

class OpenSource final : public DictionarySource {
 public:
  explicit OpenSource(store::FileSystem& fs) : fs_(fs) {}

  void BeginOperation() override { ++operation_; }

  bool Find(const std::string& file, std::string_view word, bool ignoreCase) override {
    // Opened once an operation: the check of a capitalised word looks the
    // file up twice in a row.
    if (const Entry* entry = Entry::Of(entries_, file);
        entry != nullptr && entry->contents != nullptr && entry->operation == operation_) {
      return entry->contents->Find(word, ignoreCase);
    }
    store::RecordFile records(fs_);
    if (records.OpenExisting(file, store::Access::Read) != store::code::Ok) return false;
    const LoadedDictionary* contents = Known(file, records);
    const bool found = contents != nullptr ? contents->Find(word, ignoreCase)
                                           : store::FindWordIn(records, word, ignoreCase);
    store::Check(records.Close());
    return found;
  }

  void CollectSimilar(const std::string& file, std::string_view word,
                      std::vector<std::string>& result) override {
    if (word.empty()) return;
    store::RecordFile records(fs_);
    if (records.OpenExisting(file, store::Access::Read) != store::code::Ok) return;
    if (const LoadedDictionary* contents = Known(file, records)) {
      contents->CollectSimilar(word, result);
    } else {
      services::CollectSimilarIn(records, word, result);
    }
    store::Check(records.Close());
  }

  void Prefetch(const std::string&, std::string_view) override {}

  std::shared_ptr<const LoadedDictionary> Contents(const std::string& file) override {
    return LoadedDictionary::ReadFile(fs_, file);
  }

  void Forget(const std::string& file) override {
    for (Entry& entry : entries_) {
      if (entry.name == file) entry = Entry{file, {}, nullptr, false, 0};
    }
  }

  bool Refresh() override { return false; }

 private:
  struct Entry {
    std::string name;
    FileState state;                                   // at the last lookup
    std::shared_ptr<const LoadedDictionary> contents;  // of `state`; null: none read
    bool seen = false;                                 // `state` was seen and was quiet
    std::uint64_t operation = 0;                       // of the last lookup

    static Entry* Of(std::vector<Entry>& entries, const std::string& name) {
      for (Entry& each : entries) {
        if (each.name == name) return &each;
      }
      return nullptr;
    }
  };

  // The contents of the open file when they are known, or worth reading now.
  const LoadedDictionary* Known(const std::string& file, store::RecordFile& records) {
    store::FileInfo info;
    store::Check(records.Info(info));
    const FileState now{true, info};
    Entry* entry = Entry::Of(entries_, file);
    if (entry == nullptr) entry = &entries_.emplace_back(Entry{file, {}, nullptr, false});
    entry->operation = operation_;
    if (entry->contents != nullptr && entry->state == now) return entry->contents.get();
    const bool again = entry->seen && entry->state == now;
    *entry = Entry{file, now, nullptr, Settled(now, WallClockNs()), operation_};
    if (!again || info.size / store::RecordSize > MaxKeptRecords) return nullptr;
    std::shared_ptr<const LoadedDictionary> contents = LoadedDictionary::Read(*records.Raw(), info);
    // A read that failed part-way is not the file: the file answers.
    if (contents->Size() != info.size / store::RecordSize) return nullptr;
    entry->contents = std::move(contents);
    return entry->contents.get();
  }

  store::FileSystem& fs_;
  std::vector<Entry> entries_;  // a checker uses a handful of files
  std::uint64_t operation_ = 1;
};

}  // namespace

std::unique_ptr<DictionarySource> OpenEachCall(store::FileSystem& fs) {
  return std::make_unique<OpenSource>(fs);
}

}  // namespace spellcheck::engine
