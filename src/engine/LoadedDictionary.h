// One dictionary file held in memory, with the answers the store's lookup and
// the similar-word scan would give on the file as it was read.
#ifndef SPELLCHECK_ENGINE_LOADEDDICTIONARY_H
#define SPELLCHECK_ENGINE_LOADEDDICTIONARY_H

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/Image.h"
#include "store/FileSystem.h"
#include "store/TvarWord.h"

namespace spellcheck::engine {

// The store's binary search, probe for probe, over records in memory: with
// `ignoreCase` a probed record equal after ASCII lower-casing also counts.
bool SearchRecords(const store::TvarWord* records, std::size_t count, std::string_view word,
                   bool ignoreCase);

class LoadedDictionary {
 public:
  // Reads the whole records of an open file; `info` is the file's identity.
  // A read that fails part-way keeps the records before it, as a scan would.
  static std::unique_ptr<LoadedDictionary> Read(store::File& file, const store::FileInfo& info);
  // The whole contents of the file `name`; null when the store would find
  // no dictionary there.
  static std::unique_ptr<LoadedDictionary> ReadFile(store::FileSystem& fs, const std::string& name);
  // The sections of a compiled form of what Read gave (its records and the
  // table of their words).
  void Compile(compiled::ImageWriter& writer) const;
  // The dictionary a compiled image holds; null when its sections do not
  // make one. `info` is the identity of the file it was made from. The
  // image is checked as it is read; should a part of it turn out damaged,
  // the answers come from what `reread` reads from the file itself (none
  // when it reads nothing).
  using Reread = std::function<std::unique_ptr<LoadedDictionary>()>;
  static std::unique_ptr<LoadedDictionary> View(std::shared_ptr<const compiled::Image> image,
                                                const store::FileInfo& info, Reread reread = {});

  const store::FileInfo& Info() const { return info_; }
  std::size_t Size() const { return records_.size(); }
  std::span<const store::TvarWord> Records() const;

  // The answer of the store's lookup on this file.
  bool Find(std::string_view word, bool ignoreCase) const;
  // Asks for the memory that an exact Find of the word will look at first.
  void Prefetch(std::string_view word) const;
  // Appends the words of the similar-word scan on this file, in file order.
  void CollectSimilar(std::string_view word, std::vector<std::string>& result) const;

 private:
  // Open addressing over the records: each slot holds a word's first eight
  // bytes, so that most lookups touch no record.
  struct Slot {
    std::uint64_t head = 0;
    std::uint32_t check = 0;  // low hash bits and the length
    std::uint32_t index = 0;  // record + 1; 0: empty
  };

  explicit LoadedDictionary(const store::FileInfo& info) : info_(info) {}
  void BuildLookup();
  // The records grouped by length, made at the first scan: a run that only
  // checks words never needs them.
  void GroupByLength() const;
  bool Holds(std::string_view word) const;
  // A compiled view's slots and records are read through their checked
  // arrays, block by block as they are needed.
  Slot SlotAt(std::size_t at) const { return image_ != nullptr ? checkedSlots_[at] : slots_[at]; }
  store::TvarWord RecordAt(std::size_t i) const {
    return image_ != nullptr ? checkedRecords_[i] : records_[i];
  }
  bool Damaged() const { return image_ != nullptr && image_->Damaged(); }
  // What answers once the compiled file turned out damaged: the file read
  // again; null when it could not be.
  const LoadedDictionary* FromFile() const;

  store::FileInfo info_;
  // Views of the vectors below, or of a compiled image.
  std::span<const store::TvarWord> records_;
  std::vector<store::TvarWord> ownedRecords_;
  std::span<const Slot> slots_;
  std::vector<Slot> ownedSlots_;
  std::shared_ptr<const compiled::Image> image_;
  compiled::Array<store::TvarWord> checkedRecords_;
  compiled::Array<Slot> checkedSlots_;
  Reread reread_;
  mutable std::once_flag rereadOnce_;
  mutable std::unique_ptr<const LoadedDictionary> whole_;
  // In a file in ascending order an exact lookup finds a word exactly when it
  // is stored, so a hash table of the words answers it; otherwise the search
  // runs probe by probe and may miss, as the store's does.
  bool ordered_ = false;
  // Records grouped by length (file positions kept), so that a scan reads only
  // the lengths that can score.
  mutable bool grouped_ = false;
  mutable std::array<std::vector<store::TvarWord>, store::MaxWordLength + 1> byLength_;
  mutable std::array<std::vector<std::uint32_t>, store::MaxWordLength + 1> positions_;
};

}  // namespace spellcheck::engine

#endif
