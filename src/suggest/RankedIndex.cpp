#include "suggest/RankedIndex.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

#include "suggest/Letters.h"
#include "suggest/Phonetic.h"
#include "text/CaseMapping.h"

namespace spellcheck::suggest {
namespace {

constexpr std::size_t kMaxWord = 24;
// The level of every word when no levels are known: neither common nor rare.
constexpr int kMiddling = 50;

// A polynomial hash (sum of (byte + 1) * P^place) finished by a mixer: the
// hash of every one-byte deletion then follows from prefix and suffix sums
// in constant time, which keeps building the index fast.
constexpr std::uint64_t kBase = 0x9e3779b97f4a7c15ull;

std::uint32_t Finish(std::uint64_t h, std::size_t length) {
  h ^= length * 0xff51afd7ed558ccdull;
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ull;
  h ^= h >> 32;
  return static_cast<std::uint32_t>(h);
}

}  // namespace

std::uint32_t RankedIndex::VariantHash(std::string_view bytes) {
  std::uint64_t h = 0;
  for (unsigned char c : bytes) h = h * kBase + c + 1;
  return Finish(h, bytes.size());
}

std::string RankedIndex::VariantForm(std::string_view folded) {
  std::string form(folded);
  for (char& c : form) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      if (const char base = BaseLetter(byte)) c = base;
    }
  }
  return form;
}

namespace {

constexpr int kOutlineLengthShift = 27;
constexpr std::uint32_t kOutlineLetters = (1u << kOutlineLengthShift) - 1;

}  // namespace

std::uint32_t RankedIndex::Outline(std::string_view folded) {
  std::uint32_t letters = 0;
  for (unsigned char c : folded) letters |= c >= 'a' && c <= 'z' ? 1u << (c - 'a') : 1u << 26;
  const std::uint32_t length = static_cast<std::uint32_t>(std::min<std::size_t>(folded.size(), 31));
  return letters | length << kOutlineLengthShift;
}

int RankedIndex::LettersApart(std::uint32_t a, std::uint32_t b) {
  return std::popcount((a ^ b) & kOutlineLetters);
}

std::size_t RankedIndex::LengthsApart(std::uint32_t a, std::uint32_t b) {
  a >>= kOutlineLengthShift;
  b >>= kOutlineLengthShift;
  return a > b ? a - b : b - a;
}

namespace {

// The hashes of `word` and of its one-byte deletions (one per run of equal
// bytes, since deleting any byte of a run gives the same word).
template <typename Emit>
void DeletionHashes(std::string_view word, Emit emit) {
  const std::size_t n = word.size();
  std::uint64_t power[kMaxWord + 1];
  std::uint64_t suffix[kMaxWord + 1];
  power[0] = 1;
  for (std::size_t k = 1; k <= n; ++k) power[k] = power[k - 1] * kBase;
  suffix[n] = 0;
  for (std::size_t k = n; k-- > 0;) {
    suffix[k] = suffix[k + 1] + (static_cast<unsigned char>(word[k]) + 1ull) * power[n - 1 - k];
  }
  emit(Finish(suffix[0], n));
  std::uint64_t prefix = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k == 0 || word[k] != word[k - 1])
      emit(Finish(prefix * power[n - 1 - k] + suffix[k + 1], n - 1));
    prefix = prefix * kBase + static_cast<unsigned char>(word[k]) + 1;
  }
}

}  // namespace

namespace {

// The sections of a compiled index, in order; each table takes four.
enum Section : std::size_t {
  kMeta,
  kStored,
  kFolded,
  kOffsets,
  kLengths,
  kLevels,
  kCapitals,
  kVariants,
  kSoundTable = kVariants + 4,
  kNearSounds = kSoundTable + 4,
  kSections = kNearSounds + 4,
};

// Writes a table of `pairs` (hash << 32 | id), grouped by the hash's low
// bits: its mask, bucket starts, entries and (when `outlineById` is given)
// each entry's word outline.
void WriteTable(std::vector<std::uint64_t>& pairs, const std::vector<std::uint32_t>* outlineById,
                compiled::ImageWriter& writer) {
  std::size_t buckets = 1;
  // About two entries a bucket: half the bucket starts to fill and to keep
  // in cache, for a second entry to pass over.
  while (buckets * 2 < pairs.size()) buckets <<= 1;
  const std::uint32_t mask = static_cast<std::uint32_t>(buckets - 1);
  std::vector<std::uint32_t> starts(buckets + 1, 0);
  for (std::uint64_t p : pairs) ++starts[((p >> 32) & mask) + 1];
  for (std::size_t b = 0; b < buckets; ++b) starts[b + 1] += starts[b];
  std::vector<std::uint64_t> entries(pairs.size());
  std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
  for (std::uint64_t p : pairs) entries[next[(p >> 32) & mask]++] = p;
  pairs.clear();
  pairs.shrink_to_fit();
  std::vector<std::uint32_t> outlines;
  if (outlineById != nullptr) {
    outlines.resize(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
      outlines[k] = (*outlineById)[static_cast<std::uint32_t>(entries[k])];
    }
  }
  writer.Add(std::vector<std::uint32_t>{mask});
  writer.Add(starts);
  writer.Add(entries);
  writer.Add(outlines);
}

}  // namespace

bool RankedIndex::Table::Take(const compiled::Image& image, std::size_t first, std::size_t words,
                              bool withOutlines) {
  std::span<const std::uint32_t> maskSection;
  if (!image.Get(first, maskSection) || maskSection.size() != 1 || !image.Get(first + 1, starts) ||
      !image.Get(first + 2, entries) || !image.Get(first + 3, outlines)) {
    return false;
  }
  mask = maskSection[0];
  if (mask >= (1u << 30) || std::popcount(mask + 1) != 1 || starts.size() != mask + 2u ||
      starts[0] != 0 || starts.back() != entries.size() ||
      outlines.size() != (withOutlines ? entries.size() : 0)) {
    return false;
  }
  // The buckets and the ids are checked where they are read: a check of
  // them all here would cost as much as reading the whole file.
  this->words = static_cast<std::uint32_t>(words);
  return true;
}

std::pair<std::uint32_t, std::uint32_t> RankedIndex::Table::Bucket(std::uint32_t hash) const {
  const std::uint32_t b = hash & mask;
  // A bucket past the entries, or ending before it starts, is empty.
  const std::uint32_t end = std::min<std::uint64_t>(starts[b + 1], entries.size());
  return {std::min(starts[b], end), end};
}

void RankedIndex::Table::Append(std::uint32_t hash, std::vector<std::uint32_t>& ids) const {
  if (entries.empty()) return;
  const auto [begin, end] = Bucket(hash);
  for (std::uint32_t k = begin; k < end; ++k) {
    const auto id = static_cast<std::uint32_t>(entries[k]);
    if (static_cast<std::uint32_t>(entries[k] >> 32) == hash && id < words) ids.push_back(id);
  }
}

void RankedIndex::Table::Append(std::uint32_t hash, const Near& near,
                                std::vector<std::uint32_t>& ids) const {
  if (entries.empty()) return;
  const auto [begin, end] = Bucket(hash);
  for (std::uint32_t k = begin; k < end; ++k) {
    const auto id = static_cast<std::uint32_t>(entries[k]);
    if (static_cast<std::uint32_t>(entries[k] >> 32) == hash && id < words &&
        LengthsApart(outlines[k], near.outline) <= near.length &&
        LettersApart(outlines[k], near.outline) <= near.letters) {
      ids.push_back(id);
    }
  }
}

RankedIndex::RankedIndex(std::span<const std::string_view> words, const WordLevels* levels,
                         Sounds sounds) {
  compiled::ImageWriter writer;
  Compile(words, levels, false, sounds, writer);
  Adopt(compiled::Image::InMemory(writer, compiled::Kind::Ranked, {}));
}

RankedIndex::RankedIndex(std::span<const std::string> words, const WordLevels* levels,
                         Sounds sounds)
    : RankedIndex(std::vector<std::string_view>(words.begin(), words.end()), levels, sounds) {}

RankedIndex::RankedIndex(std::span<const std::string_view> words, AllCommon, Sounds sounds) {
  compiled::ImageWriter writer;
  Compile(words, nullptr, true, sounds, writer);
  Adopt(compiled::Image::InMemory(writer, compiled::Kind::Ranked, {}));
}

RankedIndex::RankedIndex(std::span<const std::string> words, AllCommon all, Sounds sounds)
    : RankedIndex(std::vector<std::string_view>(words.begin(), words.end()), all, sounds) {}

void RankedIndex::Adopt(std::shared_ptr<const compiled::Image> image) {
  // What Compile wrote always makes an index.
  if (std::unique_ptr<RankedIndex> view = View(std::move(image))) *this = std::move(*view);
}

std::unique_ptr<RankedIndex> RankedIndex::View(std::shared_ptr<const compiled::Image> image) {
  if (image == nullptr || image->Sections() != kSections) return nullptr;
  std::unique_ptr<RankedIndex> index(new RankedIndex());
  std::span<const std::uint32_t> meta;
  if (!image->Get(kMeta, meta) || meta.size() != 1 || meta[0] > 1 ||
      !image->Get(kStored, index->stored_) || !image->Get(kFolded, index->folded_) ||
      !image->Get(kOffsets, index->offsets_) || !image->Get(kLengths, index->lengths_) ||
      !image->Get(kLevels, index->levels_) || !image->Get(kCapitals, index->capitals_)) {
    return nullptr;
  }
  const std::size_t words = index->offsets_.size();
  if (index->stored_.size() != index->folded_.size() || index->lengths_.size() != words ||
      index->levels_.size() != words || index->capitals_.size() != words) {
    return nullptr;
  }
  index->sounds_ = meta[0] == 0 ? Sounds::English : Sounds::None;
  const bool sounds = index->HasSounds();
  if (!index->variants_.Take(*image, kVariants, words, false) ||
      !index->soundTable_.Take(*image, kSoundTable, words, sounds) ||
      !index->nearSounds_.Take(*image, kNearSounds, words, sounds)) {
    return nullptr;
  }
  index->image_ = std::move(image);
  return index;
}

void RankedIndex::Compile(std::span<const std::string_view> words, const WordLevels* levels,
                          bool allCommon, Sounds sounds, compiled::ImageWriter& writer) {
  // Dictionaries come sorted, where a repeat follows its first; any other
  // order goes through a set.
  const bool sorted = std::is_sorted(words.begin(), words.end());
  std::unordered_set<std::string_view> seen;
  if (!sorted) seen.reserve(words.size() * 2);
  std::string_view previous;
  std::string stored, folded;
  std::vector<std::uint32_t> offsets;
  std::vector<std::uint8_t> lengths, levelOf;
  std::vector<Capitals> capitalsOf;
  offsets.reserve(words.size());
  lengths.reserve(words.size());
  levelOf.reserve(words.size());
  capitalsOf.reserve(words.size());
  std::size_t bytes = 0;
  for (std::string_view w : words) bytes += std::min(w.size(), kMaxWord);
  stored.reserve(bytes);
  folded.reserve(bytes);
  for (std::string_view w : words) {
    w = w.substr(0, kMaxWord);
    if (w.empty() || (sorted ? w == previous : !seen.insert(w).second)) continue;
    previous = w;
    offsets.push_back(static_cast<std::uint32_t>(stored.size()));
    lengths.push_back(static_cast<std::uint8_t>(w.size()));
    stored += w;
    std::size_t letters = 0, capitals = 0;
    for (unsigned char c : w) {
      const unsigned char lower = text::Cp1252Lower(c);
      folded += static_cast<char>(lower);
      capitals += lower != c;
      letters += lower != c || text::Cp1252Upper(c) != c;
    }
    capitalsOf.push_back(capitals == 0                         ? Capitals::None
                         : capitals == letters && letters >= 2 ? Capitals::All
                                                               : Capitals::Some);
    const int level = allCommon ? WordLevels::kCommon : levels ? levels->Level(w) : kMiddling;
    levelOf.push_back(static_cast<std::uint8_t>(level));
  }
  const auto count = static_cast<std::uint32_t>(offsets.size());
  auto foldedOf = [&](std::uint32_t id) {
    return std::string_view(folded).substr(offsets[id], lengths[id]);
  };
  writer.Add(std::vector<std::uint32_t>{sounds == Sounds::English ? 0u : 1u});
  writer.Add(stored);
  writer.Add(folded);
  writer.Add(offsets);
  writer.Add(lengths);
  writer.Add(levelOf);
  writer.Add(capitalsOf);

  std::vector<std::uint64_t> pairs;
  pairs.reserve(bytes + count);
  for (std::uint32_t id = 0; id < count; ++id) {
    const std::string_view f = foldedOf(id);
    char form[kMaxWord];
    for (std::size_t k = 0; k < f.size(); ++k) {
      const unsigned char c = f[k];
      const char base = c >= 0x80 ? BaseLetter(c) : 0;
      form[k] = base != 0 ? base : static_cast<char>(c);
    }
    DeletionHashes(std::string_view(form, f.size()),
                   [&](std::uint32_t hash) { pairs.push_back(std::uint64_t{hash} << 32 | id); });
  }
  WriteTable(pairs, nullptr, writer);

  std::vector<std::uint32_t> outlines;
  std::vector<std::uint64_t> near;
  if (sounds == Sounds::English) {
    outlines.reserve(count);
    for (std::uint32_t id = 0; id < count; ++id) outlines.push_back(Outline(foldedOf(id)));
    pairs.reserve(count);
    for (std::uint32_t id = 0; id < count; ++id) {
      const std::string key = PhoneticKey(foldedOf(id));
      bool first = true;
      DeletionHashes(key, [&](std::uint32_t hash) {
        if (first) {
          pairs.push_back(std::uint64_t{hash} << 32 | id);
          first = false;
        } else if (key.size() >= kMinNearKey) {
          near.push_back(std::uint64_t{hash} << 32 | id);
        }
      });
    }
  }
  // Without sounds both tables are empty.
  WriteTable(pairs, sounds == Sounds::English ? &outlines : nullptr, writer);
  WriteTable(near, sounds == Sounds::English ? &outlines : nullptr, writer);
}

std::size_t RankedIndex::MemoryBytes() const {
  return stored_.size() + folded_.size() + offsets_.size() * 4 + lengths_.size() + levels_.size() +
         capitals_.size() + variants_.Bytes() + soundTable_.Bytes() + nearSounds_.Bytes() +
         sizeof(*this);
}

void RankedIndex::AppendVariantMatches(std::uint32_t hash, std::vector<std::uint32_t>& ids) const {
  variants_.Append(hash, ids);
}

void RankedIndex::AppendSoundMatches(std::uint32_t hash, std::vector<std::uint32_t>& ids) const {
  soundTable_.Append(hash, ids);
}

void RankedIndex::AppendSoundMatches(std::uint32_t hash, const Near& near,
                                     std::vector<std::uint32_t>& ids) const {
  soundTable_.Append(hash, near, ids);
}

void RankedIndex::AppendNearSoundMatches(std::uint32_t hash, const Near& near,
                                         std::vector<std::uint32_t>& ids) const {
  nearSounds_.Append(hash, near, ids);
}

void RankedIndex::AppendExact(std::string_view folded, std::vector<std::uint32_t>& ids) const {
  const std::size_t from = ids.size();
  variants_.Append(VariantHash(VariantForm(folded)), ids);
  ids.erase(std::remove_if(ids.begin() + static_cast<std::ptrdiff_t>(from), ids.end(),
                           [&](std::uint32_t id) { return Folded(id) != folded; }),
            ids.end());
}

}  // namespace spellcheck::suggest
