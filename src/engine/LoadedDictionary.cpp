#include "engine/LoadedDictionary.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "services/SimilarWordFilter.h"
#include "store/ProbeSearch.h"
#include "store/RecordFile.h"

namespace spellcheck::engine {

namespace {

// A hash of a text of at most 24 characters, eight bytes at a time.
std::uint64_t HashText(std::string_view text) {
  unsigned char bytes[store::MaxWordLength] = {};
  std::memcpy(bytes, text.data(), std::min(text.size(), store::MaxWordLength));
  std::uint64_t lanes[3];
  std::memcpy(lanes, bytes, sizeof lanes);
  std::uint64_t hash = (text.size() + 1) * 0x9E3779B97F4A7C15ull;
  for (const std::uint64_t lane : lanes) {
    hash = (hash ^ lane) * 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 31;
  }
  return hash * 0x94D049BB133111EBull;
}

// A slot holds the record's index + 1 in its low half (0: empty) and the
// upper half of the word's hash, so that most misses touch no record.
std::uint64_t Slot(std::size_t index, std::uint64_t hash) {
  return (hash & 0xFFFFFFFF00000000ull) | static_cast<std::uint32_t>(index + 1);
}

constexpr std::size_t ReadBlockBytes = 1 << 20;

}  // namespace

bool SearchRecords(const store::TvarWord* records, std::size_t count, std::string_view word,
                   bool ignoreCase) {
  const auto fetch = [&](std::int64_t index, store::TvarWord& record) {
    // Past either end is where a read of the file would fail.
    if (index < 0 || static_cast<std::size_t>(index) >= count) return false;
    record = records[index];
    return true;
  };
  return store::ProbeSearch(static_cast<std::int64_t>(count), fetch, word, ignoreCase);
}

std::unique_ptr<LoadedDictionary> LoadedDictionary::Read(store::File& file,
                                                         const store::FileInfo& info) {
  std::unique_ptr<LoadedDictionary> dictionary(new LoadedDictionary(info));
  std::uint64_t bytes = 0;
  if (const store::IoCode rc = file.Size(bytes); rc != store::code::Ok) store::Raise(rc);
  const std::uint64_t count = bytes / store::RecordSize;
  if (count > std::numeric_limits<std::uint32_t>::max() - 1)
    store::Raise(store::code::ReadBeyondEnd);
  auto& records = dictionary->records_;
  records.resize(static_cast<std::size_t>(count));
  auto* target = reinterpret_cast<unsigned char*>(records.data());
  const std::size_t want = records.size() * store::RecordSize;
  std::size_t have = 0;
  while (have < want) {
    std::size_t got = 0;
    const std::size_t ask = std::min(want - have, ReadBlockBytes);
    if (file.ReadAt(have, target + have, ask, got) != store::code::Ok || got == 0) break;
    have += got;
  }
  records.resize(have / store::RecordSize);
  dictionary->BuildLookup();
  return dictionary;
}

void LoadedDictionary::BuildLookup() {
  ordered_ = true;
  for (std::size_t i = 1; i < records_.size() && ordered_; ++i) {
    ordered_ = store::CompareText(records_[i - 1].Text(), records_[i].Text()) <= 0;
  }
  if (ordered_ && !records_.empty()) {
    std::size_t size = 16;
    while (size < records_.size() * 2) size *= 2;
    slots_.assign(size, 0);
    const std::size_t mask = size - 1;
    std::vector<std::uint64_t> hashes(records_.size());
    for (std::size_t i = 0; i < records_.size(); ++i) hashes[i] = HashText(records_[i].Text());
    // The slots are reached at random: ask for each one well before it is needed.
    constexpr std::size_t Ahead = 16;
    for (std::size_t i = 0; i < records_.size(); ++i) {
#if defined(__GNUC__)
      if (i + Ahead < hashes.size()) __builtin_prefetch(&slots_[hashes[i + Ahead] & mask], 1);
#endif
      const std::string_view text = records_[i].Text();
      for (std::size_t at = hashes[i] & mask;; at = (at + 1) & mask) {
        if (slots_[at] == 0) {
          slots_[at] = Slot(i, hashes[i]);
          break;
        }
        // The same word again: the first record stands for it.
        if ((slots_[at] >> 32) == (hashes[i] >> 32) &&
            records_[static_cast<std::uint32_t>(slots_[at]) - 1].Text() == text) {
          break;
        }
      }
    }
  }
}

void LoadedDictionary::GroupByLength() const {
  if (grouped_) return;
  grouped_ = true;
  std::array<std::size_t, store::MaxWordLength + 1> lengths{};
  for (const auto& record : records_) ++lengths[record.Text().size()];
  for (std::size_t length = 0; length < lengths.size(); ++length) {
    byLength_[length].reserve(lengths[length]);
    positions_[length].reserve(lengths[length]);
  }
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const std::size_t length = records_[i].Text().size();
    byLength_[length].push_back(records_[i]);
    positions_[length].push_back(static_cast<std::uint32_t>(i));
  }
}

bool LoadedDictionary::Holds(std::string_view word) const {
  if (slots_.empty() || word.size() > store::MaxWordLength) return false;
  const std::uint64_t hash = HashText(word);
  const std::uint64_t tag = hash & 0xFFFFFFFF00000000ull;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask; slots_[at] != 0; at = (at + 1) & mask) {
    if ((slots_[at] & 0xFFFFFFFF00000000ull) == tag &&
        records_[static_cast<std::uint32_t>(slots_[at]) - 1].Text() == word) {
      return true;
    }
  }
  return false;
}

bool LoadedDictionary::Find(std::string_view word, bool ignoreCase) const {
  if (ordered_ && !ignoreCase) return Holds(word);
  return SearchRecords(records_.data(), records_.size(), word, ignoreCase);
}

void LoadedDictionary::CollectSimilar(std::string_view word,
                                      std::vector<std::string>& result) const {
  if (word.empty()) return;
  GroupByLength();
  const services::SimilarWordFilter filter(word);
  std::vector<std::uint32_t> candidates;
  for (std::size_t length = 0; length < byLength_.size(); ++length) {
    if (!filter.MayTake(length) || byLength_[length].empty()) continue;
    const std::size_t first = candidates.size();
    filter.FindCandidates(byLength_[length].data(), byLength_[length].size(), 0, candidates);
    for (std::size_t i = first; i < candidates.size(); ++i) {
      candidates[i] = positions_[length][candidates[i]];
    }
  }
  // Back to file order.
  std::sort(candidates.begin(), candidates.end());
  for (const std::uint32_t i : candidates) filter.Take(records_[i].Text(), result);
}

}  // namespace spellcheck::engine
