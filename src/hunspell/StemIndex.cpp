#include "hunspell/StemIndex.h"

#include <algorithm>

#include "hunspell/Charset.h"
#include "hunspell/EditModel.h"
#include "text/Unicode.h"

namespace spellcheck::hunspell {

namespace {

// A polynomial hash (sum of (c + 1) * P^place) finished by a mixer: the hash
// of each one-letter deletion follows from prefix and suffix sums in
// constant time, which keeps building the index fast.
constexpr std::uint64_t kBase = 0x9e3779b97f4a7c15ULL;

std::uint32_t Finish(std::uint64_t h, std::size_t length) {
  h ^= length * 0xff51afd7ed558ccdULL;
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ULL;
  h ^= h >> 32;
  return static_cast<std::uint32_t>(h);
}

}  // namespace

std::uint32_t StemIndex::Hash(std::u32string_view text) {
  std::uint64_t h = 0;
  for (char32_t c : text) h = h * kBase + c + 1;
  return Finish(h, text.size());
}

std::u32string StemIndex::Fold(std::u32string_view word) {
  std::u32string out(word);
  for (char32_t& c : out) c = BaseLetter(c);
  return out;
}

StemIndex::StemIndex(const WordTable& words) {
  std::vector<std::uint64_t> pairs;
  pairs.reserve(words.Size() * 8);
  std::u32string stem;
  std::uint64_t power[kMaxStem + 1], suffix[kMaxStem + 1];
  power[0] = 1;
  for (std::size_t k = 1; k <= kMaxStem; ++k) power[k] = power[k - 1] * kBase;
  for (std::uint32_t id = 0; id < words.Size(); ++id) {
    if (!text::Utf8ToUtf32(words.Word(id), stem) || stem.size() < kMinStem ||
        stem.size() > kMaxStem)
      continue;
    const std::size_t n = stem.size();
    for (char32_t& c : stem) c = BaseLetter(c);
    suffix[n] = 0;
    for (std::size_t k = n; k-- > 0;)
      suffix[k] = suffix[k + 1] + (stem[k] + 1ULL) * power[n - 1 - k];
    pairs.push_back(std::uint64_t{Finish(suffix[0], n)} << 32 | id);
    // Its one-letter deletions (one per run of a letter).
    std::uint64_t prefix = 0;
    for (std::size_t k = 0; k < n; ++k) {
      if (k == 0 || stem[k] != stem[k - 1])
        pairs.push_back(
            std::uint64_t{Finish(prefix * power[n - 1 - k] + suffix[k + 1], n - 1)} << 32 | id);
      prefix = prefix * kBase + stem[k] + 1;
    }
  }
  std::size_t buckets = 1;
  while (buckets * 2 < pairs.size()) buckets <<= 1;
  mask_ = static_cast<std::uint32_t>(buckets - 1);
  words_ = static_cast<std::uint32_t>(words.Size());
  ownedStarts_.assign(buckets + 1, 0);
  for (std::uint64_t p : pairs) ++ownedStarts_[((p >> 32) & mask_) + 1];
  for (std::size_t b = 0; b < buckets; ++b) ownedStarts_[b + 1] += ownedStarts_[b];
  ownedEntries_.resize(pairs.size());
  std::vector<std::uint32_t> next(ownedStarts_.begin(), ownedStarts_.end() - 1);
  for (std::uint64_t p : pairs) ownedEntries_[next[(p >> 32) & mask_]++] = p;
  starts_ = ownedStarts_;
  entries_ = ownedEntries_;
}

void StemIndex::Compile(compiled::ImageWriter& writer) const {
  writer.Add(std::vector<std::uint32_t>{mask_});
  writer.Add(starts_);
  writer.Add(entries_);
}

std::unique_ptr<StemIndex> StemIndex::View(std::shared_ptr<const compiled::Image> image,
                                           std::size_t first, std::size_t words) {
  std::unique_ptr<StemIndex> index(new StemIndex());
  std::span<const std::uint32_t> mask;
  if (image == nullptr || !image->Get(first, mask) || mask.size() != 1 ||
      !image->Get(first + 1, index->starts_) || !image->Get(first + 2, index->entries_) ||
      mask[0] >= (1u << 30) || (mask[0] & (mask[0] + 1)) != 0 ||
      index->starts_.size() != mask[0] + 2u) {
    return nullptr;
  }
  // Buckets and ids are checked where they are read (Probe).
  index->mask_ = mask[0];
  index->words_ = static_cast<std::uint32_t>(words);
  index->image_ = std::move(image);
  return index;
}

void StemIndex::Probe(std::uint32_t hash, std::vector<std::uint32_t>& ids, long& work) const {
  ++work;
  if (entries_.empty()) return;
  const std::uint32_t b = hash & mask_;
  const std::uint32_t end = std::min<std::uint64_t>(starts_[b + 1], entries_.size());
  for (std::uint32_t k = std::min(starts_[b], end); k < end; ++k) {
    const auto id = static_cast<std::uint32_t>(entries_[k]);
    if (static_cast<std::uint32_t>(entries_[k] >> 32) == hash && id < words_) {
      ids.push_back(id);
      ++work;
    }
  }
}

void StemIndex::Near(std::u32string_view root, std::vector<std::uint32_t>& ids, long& work,
                     long limit) const {
  if (root.size() < kMinStem || root.size() > kMaxStem + 2) return;
  const std::u32string folded = Fold(root);
  Probe(Hash(folded), ids, work);
  std::u32string one, two;
  for (std::size_t k = 0; k < folded.size() && work < limit; ++k) {
    if (k > 0 && folded[k] == folded[k - 1]) continue;
    one.assign(folded, 0, k);
    one.append(folded, k + 1);
    Probe(Hash(one), ids, work);
    if (folded.size() < 5) continue;
    for (std::size_t j = k; j < one.size() && work < limit; ++j) {
      if (j > k && one[j] == one[j - 1]) continue;
      two.assign(one, 0, j);
      two.append(one, j + 1);
      Probe(Hash(two), ids, work);
    }
  }
}

}  // namespace spellcheck::hunspell
