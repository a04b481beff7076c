#include "engine/LoadedDictionary.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "services/SimilarWordFilter.h"
#include "store/ProbeSearch.h"
#include "store/RecordFile.h"

namespace spellcheck::engine {

namespace {

std::uint64_t Load8(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// A word of at most 24 bytes as three zero-padded 8-byte lanes.
struct Lanes {
  std::uint64_t head = 0;  // bytes 0..7
  std::uint64_t mid = 0;   // bytes 8..15
  std::uint64_t tail = 0;  // bytes 16..23
};

// The same for a record, whose 24 character bytes can all be read: the
// bytes past its length (filler) are masked off rather than copied around.
Lanes LanesOf(const store::TvarWord& record) {
  const std::size_t length = record.Text().size();
  const auto mask = [length](std::size_t lane) -> std::uint64_t {
    const std::size_t first = lane * 8;
    if (length >= first + 8) return ~0ull;
    if (length <= first) return 0;
    return (1ull << (8 * (length - first))) - 1;
  };
  Lanes lanes;
  std::memcpy(&lanes.head, record.chars, 8);
  std::memcpy(&lanes.mid, record.chars + 8, 8);
  std::memcpy(&lanes.tail, record.chars + 16, 8);
  lanes.head &= mask(0);
  lanes.mid &= mask(1);
  lanes.tail &= mask(2);
  return lanes;
}

Lanes LanesOf(std::string_view word) {
  unsigned char bytes[store::MaxWordLength] = {};
  std::memcpy(bytes, word.data(), word.size());
  Lanes lanes;
  std::memcpy(&lanes.head, bytes, 8);
  std::memcpy(&lanes.mid, bytes + 8, 8);
  std::memcpy(&lanes.tail, bytes + 16, 8);
  return lanes;
}

std::uint64_t Hash(const Lanes& lanes, std::size_t length) {
  std::uint64_t hash = (lanes.head ^ length) * 0x9E3779B97F4A7C15ull;
  hash ^= lanes.mid * 0xC2B2AE3D27D4EB4Full;
  hash ^= lanes.tail * 0x165667B19E3779F9ull;
  hash ^= hash >> 29;
  hash *= 0xBF58476D1CE4E5B9ull;
  return hash ^ (hash >> 32);
}

// The first slot to look at for a hash in a table of `size` slots, a power
// of two: the hash's high bits (the check takes low ones).
std::size_t SlotFor(std::uint64_t hash, std::size_t size) {
  // (A table of one slot, which a compiled file may hold, has no bits to take.)
  return size <= 1 ? 0 : static_cast<std::size_t>(hash >> (64 - std::countr_zero(size)));
}

// The slot's check: 24 low bits of the hash (the slot comes from the high
// ones) and the word's length.
std::uint32_t CheckOf(std::uint64_t hash, std::size_t length) {
  return static_cast<std::uint32_t>(hash & 0xFFFFFF) << 8 | static_cast<std::uint32_t>(length);
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
  auto& records = dictionary->ownedRecords_;
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
  dictionary->records_ = records;
  dictionary->BuildLookup();
  return dictionary;
}

std::unique_ptr<LoadedDictionary> LoadedDictionary::ReadFile(store::FileSystem& fs,
                                                             const std::string& name) {
  store::RecordFile records(fs);
  if (records.OpenExisting(name, store::Access::Read) != store::code::Ok) return nullptr;
  store::FileInfo info;
  store::Check(records.Info(info));
  std::unique_ptr<LoadedDictionary> contents = Read(*records.Raw(), info);
  store::Check(records.Close());
  return contents;
}

void LoadedDictionary::Compile(compiled::ImageWriter& writer) const {
  writer.Add(std::vector<std::uint32_t>{ordered_ ? 1u : 0u});
  writer.Add(records_);
  writer.Add(slots_);
}

std::unique_ptr<LoadedDictionary> LoadedDictionary::View(
    std::shared_ptr<const compiled::Image> image, const store::FileInfo& info, Reread reread) {
  std::span<const std::uint32_t> meta;
  std::unique_ptr<LoadedDictionary> dictionary(new LoadedDictionary(info));
  if (image == nullptr || image->Sections() != 3 || !image->Get(0, meta) || meta.size() != 1 ||
      meta[0] > 1 || !image->Get(1, dictionary->checkedRecords_) ||
      !image->Get(2, dictionary->checkedSlots_)) {
    return nullptr;
  }
  dictionary->ordered_ = meta[0] == 1;
  const std::size_t records = dictionary->checkedRecords_.size();
  const std::size_t slots = dictionary->checkedSlots_.size();
  // A table is a power of two of slots, with room left (probes end at an
  // empty slot), whose entries name records.
  if (slots != 0 && (std::popcount(slots) != 1 || slots < records || !dictionary->ordered_)) {
    return nullptr;
  }
  // Unchecked until read: a lookup checks the blocks it reads (SlotAt,
  // RecordAt) and Records() all of them; where a slot points is bounded
  // where it is read (see Holds). Checking the whole file here would cost
  // more than a run's lookups.
  const std::string_view bytes = image->Unchecked(1);
  dictionary->records_ = {reinterpret_cast<const store::TvarWord*>(bytes.data()), records};
  dictionary->slots_ = {reinterpret_cast<const Slot*>(image->Unchecked(2).data()), slots};
  dictionary->image_ = std::move(image);
  dictionary->reread_ = std::move(reread);
  return dictionary;
}

std::span<const store::TvarWord> LoadedDictionary::Records() const {
  if (image_ == nullptr || records_.empty() || !image_->Bytes(1).empty()) return records_;
  const LoadedDictionary* whole = FromFile();
  return whole != nullptr ? whole->Records() : std::span<const store::TvarWord>();
}

const LoadedDictionary* LoadedDictionary::FromFile() const {
  std::call_once(rereadOnce_, [this] {
    try {
      if (reread_) whole_ = reread_();
    } catch (...) {
      // Unreadable now: as good as absent.
      whole_ = nullptr;
    }
  });
  return whole_.get();
}

void LoadedDictionary::BuildLookup() {
  ordered_ = true;
  for (std::size_t i = 1; i < records_.size() && ordered_; ++i) {
    ordered_ = store::CompareText(records_[i - 1].Text(), records_[i].Text()) <= 0;
  }
  if (!ordered_ || records_.empty()) return;
  // At least twice as many slots as records keeps linear probes short.
  std::size_t size = 16;
  while (size < records_.size() * 2) size *= 2;
  ownedSlots_.assign(size, Slot{});
  slots_ = ownedSlots_;
  // The slots are reached at random: each record's slot is asked for well
  // before it is filled, its hash kept in a ring until then.
  constexpr std::size_t Ahead = 16;
  std::uint64_t ring[Ahead] = {};
  const auto hashOf = [&](std::size_t i) {
    return Hash(LanesOf(records_[i]), records_[i].Text().size());
  };
  for (std::size_t i = 0; i < Ahead && i < records_.size(); ++i) ring[i] = hashOf(i);
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const std::uint64_t hash = ring[i % Ahead];
    if (i + Ahead < records_.size()) {
      const std::uint64_t later = hashOf(i + Ahead);
      ring[i % Ahead] = later;
#if defined(__GNUC__)
      __builtin_prefetch(&ownedSlots_[SlotFor(later, size)], 1);
#endif
    }
    const std::string_view text = records_[i].Text();
    const std::uint64_t head = LanesOf(records_[i]).head;
    const std::uint32_t check = CheckOf(hash, text.size());
    for (std::size_t at = SlotFor(hash, size);; at = (at + 1) & (size - 1)) {
      Slot& slot = ownedSlots_[at];
      if (slot.index == 0) {
        slot = Slot{head, check, static_cast<std::uint32_t>(i + 1)};
        break;
      }
      // The same word again: the first record stands for it.
      if (slot.check == check && slot.head == head && records_[slot.index - 1].Text() == text) {
        break;
      }
    }
  }
}

void LoadedDictionary::GroupByLength() const {
  if (grouped_) return;
  grouped_ = true;
  std::array<std::size_t, store::MaxWordLength + 1> lengths{};
  const std::span<const store::TvarWord> records = Records();
  for (const auto& record : records) ++lengths[record.Text().size()];
  for (std::size_t length = 0; length < lengths.size(); ++length) {
    byLength_[length].reserve(lengths[length]);
    positions_[length].reserve(lengths[length]);
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::size_t length = records[i].Text().size();
    byLength_[length].push_back(records[i]);
    positions_[length].push_back(static_cast<std::uint32_t>(i));
  }
}

bool LoadedDictionary::Holds(std::string_view word) const {
  if (slots_.empty() || word.size() > store::MaxWordLength) return false;
  const Lanes lanes = LanesOf(word);
  const std::uint64_t hash = Hash(lanes, word.size());
  const std::uint32_t check = CheckOf(hash, word.size());
  const std::size_t size = slots_.size();
  // At most one round of the table: a compiled table may have no empty slot.
  std::size_t probes = 0;
  for (std::size_t at = SlotFor(hash, size); probes++ < size; at = (at + 1) & (size - 1)) {
    const Slot slot = SlotAt(at);
    if (slot.index == 0) break;
    if (slot.check != check || slot.head != lanes.head || slot.index > records_.size()) continue;
    // The slot holds the first eight bytes; only a longer word needs its record.
    if (word.size() <= 8) return true;
    // The rest, eight bytes at a time; the last eight may overlap the head.
    const store::TvarWord record = RecordAt(slot.index - 1);
    const char* stored = record.chars;
    bool same = true;
    for (std::size_t at = 8; same && at + 8 < word.size(); at += 8) {
      same = Load8(stored + at) == Load8(word.data() + at);
    }
    if (same && Load8(stored + word.size() - 8) == Load8(word.data() + word.size() - 8)) {
      return true;
    }
  }
  return false;
}

void LoadedDictionary::Prefetch(std::string_view word) const {
  if (slots_.empty() || word.size() > store::MaxWordLength) return;
#if defined(__GNUC__)
  __builtin_prefetch(&slots_[SlotFor(Hash(LanesOf(word), word.size()), slots_.size())]);
#endif
}

bool LoadedDictionary::Find(std::string_view word, bool ignoreCase) const {
  if (!Damaged()) {
    bool found;
    if (ordered_ && !ignoreCase) {
      found = Holds(word);
    } else {
      const std::span<const store::TvarWord> records = Records();
      found = SearchRecords(records.data(), records.size(), word, ignoreCase);
    }
    // (What was read on the way may have turned out damaged.)
    if (!Damaged()) return found;
  }
  const LoadedDictionary* whole = FromFile();
  return whole != nullptr && whole->Find(word, ignoreCase);
}

void LoadedDictionary::CollectSimilar(std::string_view word,
                                      std::vector<std::string>& result) const {
  if (word.empty()) return;
  // A scan reads every record: checked all at once (Records), and, damaged,
  // the file itself answers.
  (void)Records();
  if (Damaged()) {
    if (const LoadedDictionary* whole = FromFile()) whole->CollectSimilar(word, result);
    return;
  }
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
