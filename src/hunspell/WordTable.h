// The stems of a .dic file: one open-addressing hash table over an arena of
// UTF-8 words; homonyms (the same word with other flags) are chained.
#ifndef SPELLCHECK_HUNSPELL_WORDTABLE_H
#define SPELLCHECK_HUNSPELL_WORDTABLE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hunspell/Flags.h"

namespace spellcheck::hunspell {

class WordTable {
 public:
  void Add(std::string_view utf8Word, const FlagSet& flags);
  // A stem the reader derives, not counted among the file's words.
  void AddHidden(std::string_view utf8Word, const FlagSet& flags) {
    const std::size_t before = entries_.size();
    Add(utf8Word, flags);
    hidden_ += entries_.size() - before;
  }
  // Builds the hash table; Find works only afterwards.
  void Finish();

  // Calls fn(const FlagSet&) for each homonym of the word until it returns true.
  template <class Fn>
  bool AnyOf(std::string_view word, Fn&& fn) const {
    for (std::uint32_t e = First(word); e != kNone; e = entries_[e].next)
      if (fn(flagSets_[entries_[e].flags])) return true;
    return false;
  }
  bool Contains(std::string_view word) const { return First(word) != kNone; }

  std::size_t Size() const { return entries_.size(); }
  std::size_t FileWords() const { return entries_.size() - hidden_; }
  std::size_t MemoryBytes() const;
  std::string_view Word(std::size_t i) const {
    return std::string_view(arena_).substr(entries_[i].offset, entries_[i].length);
  }
  const FlagSet& Flags(std::size_t i) const { return flagSets_[entries_[i].flags]; }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  struct Entry {
    std::uint32_t offset;
    std::uint32_t flags;
    std::uint32_t next;
    std::uint16_t length;
  };
  std::uint32_t First(std::string_view word) const;
  static std::uint64_t Hash(std::string_view word);

  std::string arena_;
  std::vector<Entry> entries_;
  std::vector<FlagSet> flagSets_;
  std::unordered_map<std::string, std::uint32_t> flagSetIds_;  // only while loading
  // Each slot: the high half of the word's hash, and its first entry.
  static constexpr std::uint64_t kEmpty = UINT64_MAX;
  static constexpr std::uint64_t kTagMask = 0xFFFFFFFF00000000ULL;
  static std::uint64_t Tag(std::uint64_t hash) { return hash & kTagMask; }
  static std::uint32_t EntryOf(std::uint64_t slot) { return static_cast<std::uint32_t>(slot); }
  std::vector<std::uint64_t> slots_;
  // A Bloom filter of the words (three bits in one 64-bit word each): most
  // words looked up are not there, and most of those end here.
  static std::uint64_t BloomBits(std::uint64_t hash) {
    return 1ULL << (hash & 63) | 1ULL << ((hash >> 6) & 63) | 1ULL << ((hash >> 12) & 63);
  }
  std::vector<std::uint64_t> bloom_;
  std::size_t hidden_ = 0;
};

}  // namespace spellcheck::hunspell

#endif
