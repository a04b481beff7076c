#include "hunspell/WordTable.h"

#include <cstring>

namespace spellcheck::hunspell {

std::uint64_t WordTable::Hash(std::string_view word) {
  // Eight bytes a step: a lookup for every candidate stem hashes it.
  std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ word.size();
  const char* p = word.data();
  std::size_t n = word.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    h = (h ^ v) * 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 31;
  }
  std::uint64_t v = 0;
  if (n) std::memcpy(&v, p, n);
  h = (h ^ v) * 0x94D049BB133111EBULL;
  return h ^ (h >> 29);
}

void WordTable::Add(std::string_view word, const FlagSet& flags) {
  if (word.empty() || word.size() > UINT16_MAX || ownedArena_.size() > UINT32_MAX - word.size() ||
      ownedEntries_.size() >= UINT32_MAX - 1)
    return;
  const std::string key(reinterpret_cast<const char*>(flags.data()), flags.size() * sizeof(Flag));
  auto [it, inserted] = flagSetIds_.emplace(key, static_cast<std::uint32_t>(flagSets_.size()));
  if (inserted) flagSets_.push_back(flags);
  // Past the reserve (words the reader adds), grow by a quarter, not double.
  if (ownedEntries_.size() == ownedEntries_.capacity())
    ownedEntries_.reserve(ownedEntries_.size() / 4 * 5 + 16);
  ownedEntries_.push_back(Entry{static_cast<std::uint32_t>(ownedArena_.size()), it->second, kNone,
                                static_cast<std::uint16_t>(word.size())});
  ownedArena_.append(word);
  if (word.find(' ') != std::string_view::npos) phrases_ = true;
}

void WordTable::Finish() {
  flagSetIds_ = {};
  // Trimmed before the slots exist, so that the copies never meet them.
  if (ownedEntries_.capacity() - ownedEntries_.size() > ownedEntries_.size() / 8)
    ownedEntries_.shrink_to_fit();
  ownedArena_.shrink_to_fit();
  arena_ = ownedArena_;
  entries_ = ownedEntries_;
  const std::size_t count = ownedEntries_.size();
  std::size_t size = 16;
  while (size < count + count / 2) size *= 2;
  // Entry numbers need indexBits_ bits (all ones stays free for an empty slot).
  indexBits_ = 24;
  while (indexBits_ < 32 && (std::uint64_t{1} << indexBits_) <= count + 1) ++indexBits_;
  const std::uint32_t indexMask = Mask();
  ownedSlots_.assign(size, kNone);
  for (std::uint32_t e = 0; e < count; ++e) {
    const std::string_view word = Word(e);
    const std::uint64_t h = Hash(word);
    const std::uint32_t tag = Tag(h);
    std::size_t slot = h & (size - 1);
    while (ownedSlots_[slot] != kNone &&
           ((ownedSlots_[slot] & ~indexMask) != tag || Word(ownedSlots_[slot] & indexMask) != word))
      slot = (slot + 1) & (size - 1);
    if (ownedSlots_[slot] == kNone) {
      ownedSlots_[slot] = tag | e;
      continue;
    }
    // Homonyms keep the file's order: the new one goes to the end of its chain.
    std::uint32_t tail = ownedSlots_[slot] & indexMask;
    while (ownedEntries_[tail].next != kNone) tail = ownedEntries_[tail].next;
    ownedEntries_[tail].next = e;
  }
  slots_ = ownedSlots_;
}

void WordTable::Compile(compiled::ImageWriter& writer) const {
  writer.Add(std::vector<std::uint64_t>{indexBits_, hidden_, phrases_ ? 1u : 0u});
  writer.Add(arena_);
  writer.Add(entries_);
  writer.Add(slots_);
  // The sets of flags as one pool, each set from its start to the next one's.
  std::vector<Flag> pool;
  std::vector<std::uint32_t> starts;
  for (const FlagSet& set : flagSets_) {
    starts.push_back(static_cast<std::uint32_t>(pool.size()));
    pool.insert(pool.end(), set.begin(), set.end());
  }
  starts.push_back(static_cast<std::uint32_t>(pool.size()));
  writer.Add(pool);
  writer.Add(starts);
}

bool WordTable::View(std::shared_ptr<const compiled::Image> image, std::size_t first) {
  std::span<const std::uint64_t> meta;
  std::span<const char> arena;
  std::span<const Flag> pool;
  std::span<const std::uint32_t> starts;
  if (image == nullptr || !image->Get(first, meta) || meta.size() != 3 ||
      !image->Get(first + 1, arena) || !image->Get(first + 2, entries_) ||
      !image->Get(first + 3, slots_) || !image->Get(first + 4, pool) ||
      !image->Get(first + 5, starts) || starts.empty() || meta[0] < 24 || meta[0] > 32 ||
      meta[1] > entries_.size()) {
    return false;
  }
  indexBits_ = static_cast<unsigned>(meta[0]);
  hidden_ = meta[1];
  phrases_ = meta[2] != 0;
  // Every reference is checked once here: the table is read at every
  // lookup, and the words' order of homonyms must end.
  const std::size_t sets = starts.size() - 1;
  for (std::size_t k = 0; k < sets; ++k) {
    if (starts[k] > starts[k + 1] || starts[k + 1] > pool.size()) return false;
  }
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    const Entry& entry = entries_[e];
    if (entry.offset > arena.size() || entry.length > arena.size() - entry.offset ||
        entry.flags >= sets ||
        (entry.next != kNone && (entry.next <= e || entry.next >= entries_.size()))) {
      return false;
    }
  }
  const std::size_t size = slots_.size();
  if (size == 0 || (size & (size - 1)) != 0 || size <= entries_.size() ||
      (std::uint64_t{1} << indexBits_) <= entries_.size() + 1) {
    return false;
  }
  const std::uint32_t indexMask = Mask();
  for (std::uint32_t s : slots_) {
    if (s != kNone && (s & indexMask) >= entries_.size()) return false;
  }
  flagSets_.clear();
  flagSets_.reserve(sets);
  for (std::size_t k = 0; k < sets; ++k)
    flagSets_.emplace_back(pool.data() + starts[k], pool.data() + starts[k + 1]);
  arena_ = {arena.data(), arena.size()};
  image_ = std::move(image);
  return true;
}

std::uint32_t WordTable::First(std::string_view word) const {
  if (slots_.empty()) return kNone;
  const std::size_t mask = slots_.size() - 1;
  const std::uint32_t indexMask = Mask();
  const std::uint64_t h = Hash(word);
  const std::uint32_t tag = Tag(h);
  for (std::size_t slot = h & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t s = slots_[slot];
    if (s == kNone) return kNone;
    if ((s & ~indexMask) == tag && Word(s & indexMask) == word) return s & indexMask;
  }
}

std::size_t WordTable::MemoryBytes() const {
  std::size_t bytes =
      arena_.size() + entries_.size() * sizeof(Entry) + slots_.size() * sizeof(std::uint32_t);
  for (const auto& f : flagSets_) bytes += sizeof(FlagSet) + f.capacity() * sizeof(Flag);
  return bytes;
}

}  // namespace spellcheck::hunspell
