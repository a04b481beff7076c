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

void RankedIndex::Table::Build(std::vector<std::uint64_t>& pairs,
                               const std::vector<std::uint32_t>* outlineById) {
  std::size_t buckets = 1;
  // About two entries a bucket: half the bucket starts to fill and to keep
  // in cache, for a second entry to pass over.
  while (buckets * 2 < pairs.size()) buckets <<= 1;
  mask = static_cast<std::uint32_t>(buckets - 1);
  starts.assign(buckets + 1, 0);
  for (std::uint64_t p : pairs) ++starts[((p >> 32) & mask) + 1];
  for (std::size_t b = 0; b < buckets; ++b) starts[b + 1] += starts[b];
  entries.resize(pairs.size());
  std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
  for (std::uint64_t p : pairs) entries[next[(p >> 32) & mask]++] = p;
  if (outlineById != nullptr) {
    outlines.resize(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
      outlines[k] = (*outlineById)[static_cast<std::uint32_t>(entries[k])];
    }
  }
  pairs.clear();
  pairs.shrink_to_fit();
}

void RankedIndex::Table::Append(std::uint32_t hash, std::vector<std::uint32_t>& ids) const {
  if (entries.empty()) return;
  const std::uint32_t b = hash & mask;
  for (std::uint32_t k = starts[b]; k < starts[b + 1]; ++k) {
    if (static_cast<std::uint32_t>(entries[k] >> 32) == hash) {
      ids.push_back(static_cast<std::uint32_t>(entries[k]));
    }
  }
}

void RankedIndex::Table::Append(std::uint32_t hash, const Near& near,
                                std::vector<std::uint32_t>& ids) const {
  if (entries.empty()) return;
  const std::uint32_t b = hash & mask;
  for (std::uint32_t k = starts[b]; k < starts[b + 1]; ++k) {
    if (static_cast<std::uint32_t>(entries[k] >> 32) == hash &&
        LengthsApart(outlines[k], near.outline) <= near.length &&
        LettersApart(outlines[k], near.outline) <= near.letters) {
      ids.push_back(static_cast<std::uint32_t>(entries[k]));
    }
  }
}

RankedIndex::RankedIndex(std::span<const std::string_view> words, const WordLevels* levels,
                         Sounds sounds)
    : sounds_(sounds) {
  Build(words, levels, false);
}

RankedIndex::RankedIndex(std::span<const std::string> words, const WordLevels* levels,
                         Sounds sounds)
    : sounds_(sounds) {
  const std::vector<std::string_view> views(words.begin(), words.end());
  Build(views, levels, false);
}

RankedIndex::RankedIndex(std::span<const std::string_view> words, AllCommon, Sounds sounds)
    : sounds_(sounds) {
  Build(words, nullptr, true);
}

RankedIndex::RankedIndex(std::span<const std::string> words, AllCommon, Sounds sounds)
    : sounds_(sounds) {
  const std::vector<std::string_view> views(words.begin(), words.end());
  Build(views, nullptr, true);
}

void RankedIndex::Build(std::span<const std::string_view> words, const WordLevels* levels,
                        bool allCommon) {
  // Dictionaries come sorted, where a repeat follows its first; any other
  // order goes through a set.
  const bool sorted = std::is_sorted(words.begin(), words.end());
  std::unordered_set<std::string_view> seen;
  if (!sorted) seen.reserve(words.size() * 2);
  std::string_view previous;
  offsets_.reserve(words.size());
  lengths_.reserve(words.size());
  levels_.reserve(words.size());
  capitals_.reserve(words.size());
  std::size_t bytes = 0;
  for (std::string_view w : words) bytes += std::min(w.size(), kMaxWord);
  stored_.reserve(bytes);
  folded_.reserve(bytes);
  for (std::string_view w : words) {
    w = w.substr(0, kMaxWord);
    if (w.empty() || (sorted ? w == previous : !seen.insert(w).second)) continue;
    previous = w;
    offsets_.push_back(static_cast<std::uint32_t>(stored_.size()));
    lengths_.push_back(static_cast<std::uint8_t>(w.size()));
    stored_ += w;
    std::size_t letters = 0, capitals = 0;
    for (unsigned char c : w) {
      const unsigned char lower = text::Cp1252Lower(c);
      folded_ += static_cast<char>(lower);
      capitals += lower != c;
      letters += lower != c || text::Cp1252Upper(c) != c;
    }
    capitals_.push_back(capitals == 0                         ? Capitals::None
                        : capitals == letters && letters >= 2 ? Capitals::All
                                                              : Capitals::Some);
    const int level = allCommon ? WordLevels::kCommon : levels ? levels->Level(w) : kMiddling;
    levels_.push_back(static_cast<std::uint8_t>(level));
  }
  stored_.shrink_to_fit();
  folded_.shrink_to_fit();
  std::vector<std::uint64_t> pairs;
  pairs.reserve(bytes + Size());
  for (std::uint32_t id = 0; id < Size(); ++id) {
    const std::string_view folded = Folded(id);
    char form[kMaxWord];
    for (std::size_t k = 0; k < folded.size(); ++k) {
      const unsigned char c = folded[k];
      const char base = c >= 0x80 ? BaseLetter(c) : 0;
      form[k] = base != 0 ? base : static_cast<char>(c);
    }
    DeletionHashes(std::string_view(form, folded.size()),
                   [&](std::uint32_t hash) { pairs.push_back(std::uint64_t{hash} << 32 | id); });
  }
  variants_.Build(pairs, nullptr);
  if (!HasSounds()) return;

  std::vector<std::uint32_t> outlines;
  outlines.reserve(Size());
  for (std::uint32_t id = 0; id < Size(); ++id) outlines.push_back(Outline(Folded(id)));

  std::vector<std::uint64_t> near;
  pairs.reserve(Size());
  for (std::uint32_t id = 0; id < Size(); ++id) {
    const std::string key = PhoneticKey(Folded(id));
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
  soundTable_.Build(pairs, &outlines);
  nearSounds_.Build(near, &outlines);
}

std::size_t RankedIndex::MemoryBytes() const {
  return stored_.capacity() + folded_.capacity() + offsets_.capacity() * 4 + lengths_.capacity() +
         levels_.capacity() + capitals_.capacity() + variants_.Bytes() + soundTable_.Bytes() +
         nearSounds_.Bytes() + sizeof(*this);
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
