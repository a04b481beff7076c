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
  if (word.empty() || word.size() > UINT16_MAX || arena_.size() > UINT32_MAX - word.size() ||
      entries_.size() >= UINT32_MAX - 1)
    return;
  const std::string key(reinterpret_cast<const char*>(flags.data()), flags.size() * sizeof(Flag));
  auto [it, inserted] = flagSetIds_.emplace(key, static_cast<std::uint32_t>(flagSets_.size()));
  if (inserted) flagSets_.push_back(flags);
  // Past the reserve (words the reader adds), grow by a quarter, not double.
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() / 4 * 5 + 16);
  entries_.push_back(Entry{static_cast<std::uint32_t>(arena_.size()), it->second, kNone,
                           static_cast<std::uint16_t>(word.size())});
  arena_.append(word);
  if (word.find(' ') != std::string_view::npos) phrases_ = true;
}

void WordTable::Finish() {
  flagSetIds_ = {};
  // Trimmed before the slots exist, so that the copies never meet them.
  if (entries_.capacity() - entries_.size() > entries_.size() / 8) entries_.shrink_to_fit();
  arena_.shrink_to_fit();
  std::size_t size = 16;
  while (size < entries_.size() + entries_.size() / 2) size *= 2;
  // Entry numbers need indexBits_ bits (all ones stays free for an empty slot).
  indexBits_ = 24;
  while (indexBits_ < 32 && (std::uint64_t{1} << indexBits_) <= entries_.size() + 1) ++indexBits_;
  const std::uint32_t indexMask = Mask();
  slots_.assign(size, kNone);
  for (std::uint32_t e = 0; e < entries_.size(); ++e) {
    const std::string_view word = Word(e);
    const std::uint64_t h = Hash(word);
    const std::uint32_t tag = Tag(h);
    std::size_t slot = h & (size - 1);
    while (slots_[slot] != kNone &&
           ((slots_[slot] & ~indexMask) != tag || Word(slots_[slot] & indexMask) != word))
      slot = (slot + 1) & (size - 1);
    if (slots_[slot] == kNone) {
      slots_[slot] = tag | e;
      continue;
    }
    // Homonyms keep the file's order: the new one goes to the end of its chain.
    std::uint32_t tail = slots_[slot] & indexMask;
    while (entries_[tail].next != kNone) tail = entries_[tail].next;
    entries_[tail].next = e;
  }
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
  std::size_t bytes = arena_.capacity() + entries_.capacity() * sizeof(Entry) +
                      slots_.capacity() * sizeof(std::uint32_t);
  for (const auto& f : flagSets_) bytes += sizeof(FlagSet) + f.capacity() * sizeof(Flag);
  return bytes;
}

}  // namespace spellcheck::hunspell
