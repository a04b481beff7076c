// The words of one dictionary, indexed for ranked suggestions: a deletion
// index (every word and its one-letter deletions, case folded) finds words
// within about two edits of a misspelling, and an index of sound keys (with
// the one-sound deletions of the longer keys) finds words said like it or
// nearly so. Built once; const and safe to share between threads.
#ifndef SPELLCHECK_SUGGEST_RANKEDINDEX_H
#define SPELLCHECK_SUGGEST_RANKEDINDEX_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiled/Image.h"
#include "suggest/WordLevels.h"

namespace spellcheck::suggest {

// Marks an index whose words all count as common: the user's own words.
struct AllCommon {};

// Whether an index finds words said like a misspelling, by the English sound
// key (Phonetic.h): for English dictionaries. Without, only the spelling
// counts (the key's rules would be wrong for other languages).
enum class Sounds : std::uint8_t { English, None };

class RankedIndex {
 public:
  // `words` in any order; duplicates are dropped, words beyond 24 bytes cut.
  // `levels` (may be null, then every word counts as of middling
  // commonness) need only live during construction.
  RankedIndex(std::span<const std::string_view> words, const WordLevels* levels,
              Sounds sounds = Sounds::English);
  RankedIndex(std::span<const std::string> words, const WordLevels* levels,
              Sounds sounds = Sounds::English);
  RankedIndex(std::span<const std::string_view> words, AllCommon, Sounds sounds = Sounds::English);
  RankedIndex(std::span<const std::string> words, AllCommon, Sounds sounds = Sounds::English);

  // The sections of the index of `words` (as the constructors take them;
  // null `levels` with `allCommon` false: all middling), for a compiled file.
  static void Compile(std::span<const std::string_view> words, const WordLevels* levels,
                      bool allCommon, Sounds sounds, compiled::ImageWriter& writer);
  // The index a compiled image holds; null when its sections do not make one.
  static std::unique_ptr<RankedIndex> View(std::shared_ptr<const compiled::Image> image);

  std::size_t Size() const { return offsets_.size(); }
  // Whether a part of its compiled file read since it was opened turned out
  // damaged: what was read from it may be missing entries, and the index is
  // to be made anew.
  bool Damaged() const { return image_ != nullptr && image_->Damaged(); }
  // Whether words are found by their sound too.
  bool HasSounds() const { return sounds_ == Sounds::English; }
  // The bytes the index holds (for measurements).
  std::size_t MemoryBytes() const;

  // Word `id` as stored, case folded, and its SCOWL level.
  std::string_view Word(std::uint32_t id) const { return Text(stored_, id); }
  std::string_view Folded(std::uint32_t id) const { return Text(folded_, id); }
  int Level(std::uint32_t id) const { return levels_[id]; }
  // Whether the stored word has capitals, and whether it is all capitals
  // (two letters or more), without reading it.
  enum class Capitals : std::uint8_t { None, Some, All };
  Capitals CapitalsOf(std::uint32_t id) const { return static_cast<Capitals>(capitals_[id]); }
  // A cheap first test of how far two words are apart: the letters a-z that
  // the folded word holds, one bit each (bit 26: any other byte), and its
  // length in the top bits.
  static std::uint32_t Outline(std::string_view folded);
  // Letters found in one outline only, and the difference of the lengths.
  static int LettersApart(std::uint32_t a, std::uint32_t b);
  static std::size_t LengthsApart(std::uint32_t a, std::uint32_t b);
  // Words whose outlines are within these bounds of `outline`.
  struct Near {
    std::uint32_t outline;
    int letters;
    std::size_t length;
  };

  // Appends the ids of the words whose variant form, or one of its one-letter
  // deletions, hashes to `hash` (see VariantHash, VariantForm). Candidates only: the
  // caller compares the words.
  void AppendVariantMatches(std::uint32_t hash, std::vector<std::uint32_t>& ids) const;
  // Appends the ids of the words whose sound key hashes to `hash`.
  void AppendSoundMatches(std::uint32_t hash, std::vector<std::uint32_t>& ids) const;
  // Appends the ids of the words within `near` whose key hashes to `hash`
  // (AppendSoundMatches) or has at least kMinNearKey sounds and a one-sound
  // deletion hashing to `hash` (AppendNearSoundMatches).
  void AppendSoundMatches(std::uint32_t hash, const Near& near,
                          std::vector<std::uint32_t>& ids) const;
  void AppendNearSoundMatches(std::uint32_t hash, const Near& near,
                              std::vector<std::uint32_t>& ids) const;
  static constexpr std::size_t kMinNearKey = 4;
  // Appends the ids of the words whose folded form is `folded`.
  void AppendExact(std::string_view folded, std::vector<std::uint32_t>& ids) const;

  static std::uint32_t VariantHash(std::string_view bytes);
  // What the deletion index hashes of a folded word: its accented letters as
  // their base letters (éléphant as elephant, straße as strase), so that a
  // word written without its accents is no further than its other slips.
  static std::string VariantForm(std::string_view folded);

 private:
  // Hashes and ids grouped by the hash's low bits; with the outline of each
  // entry's word beside it when asked for, so that a search can pass over
  // far words without looking them up.
  // The index is always a view of a compiled image: one mapped from a file,
  // or one made in memory by the constructors. The tables are most of a
  // file, and a search reads a few of their buckets: their blocks are
  // checked as they are read.
  struct Table {
    compiled::Array<std::uint32_t> starts;    // mask + 2 bucket starts
    compiled::Array<std::uint64_t> entries;   // hash << 32 | id
    compiled::Array<std::uint32_t> outlines;  // by entry, or empty
    std::uint32_t mask = 0;
    std::uint32_t words = 0;  // ids at or above are passed over
    // The entries of the hash's bucket.
    std::pair<std::uint32_t, std::uint32_t> Bucket(std::uint32_t hash) const;
    void Append(std::uint32_t hash, std::vector<std::uint32_t>& ids) const;
    void Append(std::uint32_t hash, const Near& near, std::vector<std::uint32_t>& ids) const;
    // Takes sections from `first` on; false when they do not make a table
    // over `words` words (with outlines when `withOutlines`).
    bool Take(const compiled::Image& image, std::size_t first, std::size_t words,
              bool withOutlines);
    std::size_t Bytes() const {
      return starts.size() * 4 + entries.size() * 8 + outlines.size() * 4;
    }
  };

  RankedIndex() = default;
  void Adopt(std::shared_ptr<const compiled::Image> image);
  // Word `id` of `text` (stored or folded), kept inside the text whatever a
  // compiled file says: checking every word when a file is opened would cost
  // more than the suggestions do.
  std::string_view Text(const compiled::Array<char>& text, std::uint32_t id) const {
    const std::size_t at = std::min<std::size_t>(offsets_[id], text.size());
    const std::span<const char> bytes =
        text.Range(at, std::min<std::size_t>({lengths_[id], text.size() - at, 24}));
    return {bytes.data(), bytes.size()};
  }

  std::shared_ptr<const compiled::Image> image_;
  Sounds sounds_ = Sounds::English;
  // Like the tables, the words are read a few at a time: checked by block.
  compiled::Array<char> stored_;
  compiled::Array<char> folded_;
  compiled::Array<std::uint32_t> offsets_;
  compiled::Array<std::uint8_t> lengths_;
  compiled::Array<std::uint8_t> levels_;
  compiled::Array<std::uint8_t> capitals_;  // Capitals
  Table variants_;
  Table soundTable_;
  Table nearSounds_;
};

// The ranked suggestions for `word` (code page 1252) from the words of all
// `indexes` together (main, custom and further dictionaries), best first, at
// most `max`. The input's capitals carry over ("Teh" gives "The", "TEH"
// gives "THE") and stored capitals stay ("Paris"); two words run together
// and a left-out apostrophe are mended when the dictionaries hold the parts
// or the form. Never the input itself, no repeats; may be empty.
std::vector<std::string> Suggest(std::string_view word, std::span<const RankedIndex* const> indexes,
                                 std::size_t max = 10);

// The same with each suggestion's score (lower is better), for callers that
// merge the list with others.
struct Scored {
  std::string text;
  int score;
};
std::vector<Scored> SuggestScored(std::string_view word,
                                  std::span<const RankedIndex* const> indexes,
                                  std::size_t max = 10);

}  // namespace spellcheck::suggest

#endif
