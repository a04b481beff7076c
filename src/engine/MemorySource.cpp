// The source that keeps each file's contents in memory, read once and again
// only after the file changed.
#include <algorithm>

#include "engine/CompiledForms.h"
#include "engine/DictionarySource.h"
#include "engine/FileWatch.h"
#include "store/RecordFile.h"

namespace spellcheck::engine {
namespace {

class MemorySource final : public DictionarySource {
 public:
  MemorySource(store::FileSystem& fs, Recheck recheck, compiled::Cache cache)
      : fs_(fs), recheck_(recheck), cache_(std::move(cache)) {}

  void BeginOperation() override { ++operation_; }

  bool Find(const std::string& file, std::string_view word, bool ignoreCase) override {
    const LoadedDictionary* contents = Current(file).contents.get();
    return contents != nullptr && contents->Find(word, ignoreCase);
  }

  void CollectSimilar(const std::string& file, std::string_view word,
                      std::vector<std::string>& result) override {
    if (const LoadedDictionary* contents = Current(file).contents.get()) {
      contents->CollectSimilar(word, result);
    }
  }

  void Prefetch(const std::string& file, std::string_view word) override {
    if (const LoadedDictionary* contents = Current(file).contents.get()) contents->Prefetch(word);
  }

  std::shared_ptr<const LoadedDictionary> Contents(const std::string& file) override {
    return Current(file).contents;
  }

  void Forget(const std::string& file) override {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& entry) { return entry.name == file; }),
                   entries_.end());
  }

  bool Refresh() override {
    bool changed = false;
    for (Entry& entry : entries_) changed |= Look(entry);
    return changed;
  }

 private:
  struct Entry {
    std::string name;
    FileState state;  // as read; matches no file until a reading succeeded
    std::shared_ptr<const LoadedDictionary> contents;  // null: no dictionary for the store
    bool settled = false;
    std::uint64_t lookedInOperation = 0;
    std::chrono::steady_clock::time_point lookedAt;
  };

  // A run uses a handful of dictionaries: a list beats a hash of the names.
  Entry& Current(const std::string& file) {
    for (Entry& entry : entries_) {
      if (entry.name.size() == file.size() && entry.name == file) {
        if (DueForLook(entry)) Look(entry);
        return entry;
      }
    }
    Entry& entry = entries_.emplace_back();
    entry.name = file;
    Look(entry);
    return entry;
  }

  bool DueForLook(const Entry& entry) const {
    switch (recheck_.when) {
      case Recheck::When::EveryOperation:
        return entry.lookedInOperation != operation_;
      case Recheck::When::After:
        return !entry.settled ||
               std::chrono::steady_clock::now() - entry.lookedAt >= recheck_.after;
      case Recheck::When::OnRefresh:
        return false;
    }
    return true;
  }

  // Looks at the file by name and reads it again when it changed (or was
  // read too soon after a change to be trusted). True when it was read again.
  bool Look(Entry& entry) {
    entry.lookedInOperation = operation_;
    entry.lookedAt = std::chrono::steady_clock::now();
    const FileState now = LookAt(fs_, entry.name);
    if (entry.settled && now == entry.state) return false;
    const bool wasThere = entry.contents != nullptr || entry.state.exists;
    Read(entry);
    return wasThere || entry.state.exists;
  }

  void Read(Entry& entry) {
    entry.state = FileState{};
    entry.contents.reset();
    entry.settled = false;
    const std::int64_t readAt = WallClockNs();
    if (ReadCompiled(entry, readAt)) return;
    store::RecordFile file(fs_);
    if (file.OpenExisting(entry.name, store::Access::Read) != store::code::Ok) {
      // Absent for the store for as long as the name stays as it is.
      entry.state = LookAt(fs_, entry.name);
      entry.settled = Settled(entry.state, readAt);
      return;
    }
    store::FileInfo info;
    store::Check(file.Info(info));
    std::shared_ptr<const LoadedDictionary> contents = LoadedDictionary::Read(*file.Raw(), info);
    store::Check(file.Close());
    entry.state = FileState{true, info};
    entry.settled = Settled(entry.state, readAt);
    // Only a file that has been quiet for a while is compiled: its state
    // names its contents.
    const CompiledForm form = RecordsForm(entry.name, entry.state);
    if (entry.settled && form.compilable && cache_.Enabled() &&
        contents->Size() == info.size / store::RecordSize) {
      compiled::ImageWriter writer;
      contents->Compile(writer);
      (void)cache_.Store(form.kind, form.name, form.key, writer);
    }
    entry.contents = std::move(contents);
  }

  // Takes the contents from the compiled form of the file as it is now.
  bool ReadCompiled(Entry& entry, std::int64_t readAt) {
    if (!cache_.Enabled()) return false;
    const FileState now = LookAt(fs_, entry.name);
    const CompiledForm form = RecordsForm(entry.name, now);
    if (!form.compilable || !Settled(now, readAt)) return false;
    // Should the compiled file turn out damaged as it is read, the file
    // itself answers.
    auto reread = [&fs = fs_, name = entry.name] { return LoadedDictionary::ReadFile(fs, name); };
    std::shared_ptr<const LoadedDictionary> contents =
        LoadedDictionary::View(cache_.Find(form.kind, form.name, form.key), now.info, reread);
    if (contents == nullptr) return false;
    entry.contents = std::move(contents);
    entry.state = now;
    entry.settled = true;
    return true;
  }

  store::FileSystem& fs_;
  Recheck recheck_;
  compiled::Cache cache_;
  std::vector<Entry> entries_;
  std::uint64_t operation_ = 1;
};

}  // namespace

std::unique_ptr<DictionarySource> KeepInMemory(store::FileSystem& fs, Recheck recheck,
                                               compiled::Cache cache) {
  return std::make_unique<MemorySource>(fs, recheck, std::move(cache));
}

}  // namespace spellcheck::engine
