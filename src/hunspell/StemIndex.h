// The near-word search over a dictionary's stems, for misspellings that one
// edit does not mend: a deletion index (each stem, small and without
// accents, and its one-letter deletions) that finds the stems within about
// two edits of a word's possible stems. Built once, on the first
// suggestion; const and safe to share between threads afterwards.
#ifndef SPELLCHECK_HUNSPELL_STEMINDEX_H
#define SPELLCHECK_HUNSPELL_STEMINDEX_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/Image.h"
#include "hunspell/WordTable.h"

namespace spellcheck::hunspell {

class StemIndex {
 public:
  explicit StemIndex(const WordTable& words);
  // The sections of the index, for a compiled file.
  void Compile(compiled::ImageWriter& writer) const;
  // The index in sections `first` on of a compiled image over `words`
  // stems; null when they do not make one.
  static std::unique_ptr<StemIndex> View(std::shared_ptr<const compiled::Image> image,
                                         std::size_t first, std::size_t words);
  static constexpr std::size_t kSections = 3;

  // Small letters without accents: what the index compares.
  static std::u32string Fold(std::u32string_view word);
  // Appends the ids (WordTable entries) of the stems that share the folded
  // `root`, one of its one-letter deletions or (for roots of five letters or
  // more) two-letter deletions with a stem or one of its deletions. Each
  // probe and each id found adds one to `work`; stops once `work` reaches
  // `limit`.
  void Near(std::u32string_view root, std::vector<std::uint32_t>& ids, long& work,
            long limit) const;

  std::size_t MemoryBytes() const { return starts_.size() * 4 + entries_.size() * 8; }

  static constexpr std::size_t kMinStem = 3;
  static constexpr std::size_t kMaxStem = 40;

 private:
  static std::uint32_t Hash(std::u32string_view text);
  void Probe(std::uint32_t hash, std::vector<std::uint32_t>& ids, long& work) const;

  StemIndex() = default;

  std::uint32_t mask_ = 0;
  std::uint32_t words_ = 0;  // ids at or above are passed over
  std::vector<std::uint32_t> ownedStarts_;
  std::vector<std::uint64_t> ownedEntries_;
  std::shared_ptr<const compiled::Image> image_;
  // Views of the vectors, or of a compiled image.
  std::span<const std::uint32_t> starts_;
  std::span<const std::uint64_t> entries_;  // hash << 32 | id
};

}  // namespace spellcheck::hunspell

#endif
