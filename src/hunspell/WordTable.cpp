#include "hunspell/WordTable.h"

namespace spellcheck::hunspell {

std::uint64_t WordTable::Hash(std::string_view word) {
  std::uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : word) h = (h ^ c) * 1099511628211ULL;
  return h ^ (h >> 29);
}

void WordTable::Add(std::string_view word, const FlagSet& flags) {
  if (word.empty() || word.size() > UINT16_MAX || arena_.size() > UINT32_MAX - word.size() ||
      entries_.size() >= UINT32_MAX - 1)
    return;
  const std::string key(reinterpret_cast<const char*>(flags.data()), flags.size() * sizeof(Flag));
  auto [it, inserted] = flagSetIds_.emplace(key, static_cast<std::uint32_t>(flagSets_.size()));
  if (inserted) flagSets_.push_back(flags);
  entries_.push_back(Entry{static_cast<std::uint32_t>(arena_.size()), it->second, kNone,
                           static_cast<std::uint16_t>(word.size())});
  arena_.append(word);
}

void WordTable::Finish() {
  flagSetIds_ = {};
  std::size_t size = 16;
  while (size < entries_.size() + entries_.size() / 2) size *= 2;
  slots_.assign(size, kEmpty);
  std::vector<std::uint32_t> last(size, kNone);  // tail of each chain, by slot
  for (std::uint32_t e = 0; e < entries_.size(); ++e) {
    const std::string_view word = Word(e);
    const std::uint64_t hash = Hash(word);
    std::size_t slot = hash & (size - 1);
    while (slots_[slot] != kEmpty && Word(EntryOf(slots_[slot])) != word)
      slot = (slot + 1) & (size - 1);
    if (slots_[slot] == kEmpty) {
      slots_[slot] = Tag(hash) | e;
    } else {
      entries_[last[slot]].next = e;
    }
    last[slot] = e;
  }
  entries_.shrink_to_fit();
  arena_.shrink_to_fit();
  // About a byte a word: small enough to stay in the cache, where the slots
  // are not.
  std::size_t words = 1;
  while (words * 8 < entries_.size()) words *= 2;
  bloom_.assign(words, 0);
  for (std::uint32_t e = 0; e < entries_.size(); ++e) {
    const std::uint64_t hash = Hash(Word(e));
    bloom_[(hash >> 40) & (words - 1)] |= BloomBits(hash);
  }
}

std::uint32_t WordTable::First(std::string_view word) const {
  if (slots_.empty()) return kNone;
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t hash = Hash(word);
  const std::uint64_t bits = BloomBits(hash);
  if ((bloom_[(hash >> 40) & (bloom_.size() - 1)] & bits) != bits) return kNone;
  // The slot's tag (the hash's high bits) spares reading most other words.
  const std::uint64_t tag = Tag(hash);
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint64_t s = slots_[slot];
    if (s == kEmpty) return kNone;
    if ((s & kTagMask) == tag && Word(EntryOf(s)) == word) return EntryOf(s);
  }
}

std::size_t WordTable::MemoryBytes() const {
  std::size_t bytes = arena_.capacity() + entries_.capacity() * sizeof(Entry) +
                      slots_.capacity() * sizeof(std::uint64_t) + bloom_.capacity() * 8;
  for (const auto& f : flagSets_) bytes += sizeof(FlagSet) + f.capacity() * sizeof(Flag);
  return bytes;
}

}  // namespace spellcheck::hunspell
