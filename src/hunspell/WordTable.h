// The stems of a .dic file: one open-addressing hash table over an arena of
// UTF-8 words; homonyms (the same word with other flags) are chained.
#ifndef SPELLCHECK_HUNSPELL_WORDTABLE_H
#define SPELLCHECK_HUNSPELL_WORDTABLE_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compiled/Image.h"
#include "hunspell/Flags.h"

namespace spellcheck::hunspell {

class WordTable {
 public:
  void Add(std::string_view utf8Word, const FlagSet& flags);
  // A stem the reader derives, not counted among the file's words.
  void AddHidden(std::string_view utf8Word, const FlagSet& flags) {
    const std::size_t before = ownedEntries_.size();
    Add(utf8Word, flags);
    hidden_ += ownedEntries_.size() - before;
  }
  // Room for about `entries` words, so that loading never doubles the table.
  void Reserve(std::size_t entries) { ownedEntries_.reserve(entries); }
  // Builds the hash table; Find works only afterwards.
  void Finish();

  // The sections of the finished table, for a compiled file.
  void Compile(compiled::ImageWriter& writer) const;
  // Takes the table from sections `first` on of a compiled image; false when
  // they do not make one.
  bool View(std::shared_ptr<const compiled::Image> image, std::size_t first);
  static constexpr std::size_t kSections = 6;

  // Calls fn(const FlagSet&) for each homonym of the word until it returns true.
  template <class Fn>
  bool AnyOf(std::string_view word, Fn&& fn) const {
    for (std::uint32_t e = First(word); e != kNone; e = entries_[e].next)
      if (fn(flagSets_[entries_[e].flags])) return true;
    return false;
  }
  bool Contains(std::string_view word) const { return First(word) != kNone; }
  // Some word holds a space (a phrase such as "compound word").
  bool HasPhrases() const { return phrases_; }

  std::size_t Size() const { return entries_.size(); }
  std::size_t FileWords() const { return entries_.size() - hidden_; }
  std::size_t MemoryBytes() const;
  std::string_view Word(std::size_t i) const {
    return arena_.substr(entries_[i].offset, entries_[i].length);
  }
  const FlagSet& Flags(std::size_t i) const { return flagSets_[entries_[i].flags]; }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  struct Entry {
    std::uint32_t offset;
    std::uint32_t flags;
    std::uint32_t next;
    std::uint16_t length;
    std::uint16_t spare = 0;  // written to compiled files: never left undefined
  };
  std::uint32_t First(std::string_view word) const;
  static std::uint64_t Hash(std::string_view word);
  std::uint32_t Mask() const {
    return indexBits_ >= 32 ? UINT32_MAX : (std::uint32_t{1} << indexBits_) - 1;
  }
  // The hash's top bits, placed above the entry number.
  std::uint32_t Tag(std::uint64_t hash) const {
    return indexBits_ >= 32 ? 0 : static_cast<std::uint32_t>(hash >> 32) & ~Mask();
  }

  // While loading the words go into the vectors; the views show them, or a
  // compiled image.
  std::string ownedArena_;
  std::vector<Entry> ownedEntries_;
  std::vector<std::uint32_t> ownedSlots_;
  std::shared_ptr<const compiled::Image> image_;
  std::string_view arena_;
  std::span<const Entry> entries_;
  std::vector<FlagSet> flagSets_;
  std::unordered_map<std::string, std::uint32_t> flagSetIds_;  // only while loading
  // Each slot holds an entry's number in its low indexBits_ bits and bits of
  // the word's hash above them, so that most probes never touch the words.
  std::span<const std::uint32_t> slots_;
  unsigned indexBits_ = 32;
  std::size_t hidden_ = 0;
  bool phrases_ = false;
};

}  // namespace spellcheck::hunspell

#endif
