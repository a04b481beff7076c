#include "services/SimilarWordFilter.h"

#include <algorithm>
#include <cstring>

// SPELLCHECK_SCAN_PORTABLE selects the plain 8-byte-lane count everywhere.
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(SPELLCHECK_SCAN_PORTABLE)
#include <emmintrin.h>
#define SPELLCHECK_SCAN_SSE2 1
#endif

#include "text/CaseMapping.h"
#include "text/TextFunctions.h"

namespace spellcheck::services {

namespace {

constexpr std::size_t Threshold = 70;
#if !defined(SPELLCHECK_SCAN_SSE2)
constexpr std::uint64_t LowBits = 0x7F7F7F7F7F7F7F7Full;
constexpr std::uint64_t EachByte = 0x0101010101010101ull;
#endif

// Loads eight bytes as they lie in memory, whatever the machine's byte order.
std::uint64_t Load(const void* bytes) {
  std::uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

#if !defined(SPELLCHECK_SCAN_SSE2)
const std::uint64_t FirstByteUnit = [] {
  const unsigned char bytes[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  return Load(bytes);
}();

// 0x80 in every byte of `x` that is zero, 0 in every other byte.
std::uint64_t ZeroBytes(std::uint64_t x) {
  return ~(((x & LowBits) + LowBits) | x) & ~LowBits;
}
#endif

}  // namespace

SimilarWordFilter::SimilarWordFilter(std::string_view word)
    : word_(word), capitalized_(text::IsCapitalized(word)) {
  needed_.fill(Hopeless);
  for (unsigned c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    firstByte_[c] = capitalized_ ? text::SystemUpper(byte) : byte;
  }
  // An empty given word has no score at all (its denominator would be 0).
  if (word_.empty()) return;
  for (std::size_t length = 0; length < needed_.size(); ++length) {
    const std::size_t denominator = std::max(length, word_.size());
    // count * 100 / denominator > 70  <=>  count * 100 >= 71 * denominator
    const std::size_t needed = ((Threshold + 1) * denominator + 99) / 100;
    if (needed <= std::min(length, word_.size())) {
      needed_[length] = static_cast<std::uint8_t>(needed);
    }
  }

  const std::size_t compared = std::min(word_.size(), store::MaxWordLength);
  usedLanes_ = (compared + 7) / 8;
  unsigned char bytes[Lanes * 8] = {};
  std::memcpy(bytes, word_.data(), compared);
  for (std::size_t lane = 0; lane < Lanes; ++lane) wordLanes_[lane] = Load(bytes + 8 * lane);
  for (std::size_t length = 0; length < compared_.size(); ++length) {
    const std::size_t common = std::min(length, compared);
    unsigned char marks[Lanes * 8] = {};
    std::fill_n(marks, common, 0x80);
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
      compared_[length][lane] = Load(marks + 8 * lane);
    }
    // Bytes 0..15 in the first vector, 16..23 in the second; the first byte
    // of a capitalised word's candidates is compared by itself, capitalised.
    for (std::size_t i = capitalized_ ? 1 : 0; i < common; ++i) vectorMarks_[length][i] = 1;
  }
  std::memcpy(wordBytes_, word_.data(), compared);
}

#if !defined(SPELLCHECK_SCAN_SSE2)
// Counts the equal positions of every record without a branch that depends on
// the record, so that a scan is not slowed by mispredictions; only records
// that reach the needed count go on to the exact rule.
template <std::size_t UsedLanes>
void SimilarWordFilter::FindInLanes(const store::TvarWord* records, std::size_t count,
                                    std::uint32_t base,
                                    std::vector<std::uint32_t>& candidates) const {
  for (std::size_t i = 0; i < count; ++i) {
    const store::TvarWord& record = records[i];
    const std::size_t length = std::min<std::size_t>(record.length, store::MaxWordLength);
    const LaneArray& compared = compared_[length];
    std::uint64_t marks = 0;
    for (std::size_t lane = 0; lane < UsedLanes; ++lane) {
      std::uint64_t stored = Load(record.chars + 8 * lane);
      if (lane == 0) {
        const auto first = firstByte_[static_cast<unsigned char>(record.chars[0])];
        stored = (stored & ~(0xFF * FirstByteUnit)) | (first * FirstByteUnit);
      }
      marks += (ZeroBytes(stored ^ wordLanes_[lane]) & compared[lane]) >> 7;
    }
    const auto equal = static_cast<std::size_t>((marks * EachByte) >> 56);
    if (equal >= needed_[length]) [[unlikely]] {
      candidates.push_back(base + static_cast<std::uint32_t>(i));
    }
  }
}

#endif

void SimilarWordFilter::ConsiderAll(const store::TvarWord* records, std::size_t count,
                                    std::vector<std::string>& result) const {
  // Few records come close, so the candidates of a whole block are few.
  std::vector<std::uint32_t> candidates;
  FindCandidates(records, count, 0, candidates);
  for (const std::uint32_t i : candidates) Take(records[i].Text(), result);
}

#if defined(SPELLCHECK_SCAN_SSE2)
// Counts the equal positions of every record with two vector compares and no
// branch that depends on the record, so that a scan is not slowed by
// mispredictions; only records that reach the needed count go on to the
// exact rule. A given word of at most 16 characters needs one compare, and
// only a capitalised one needs its first byte mapped by itself.
template <bool Capitalised, bool Wide>
void SimilarWordFilter::FindInVectors(const store::TvarWord* records, std::size_t count,
                                      std::uint32_t base,
                                      std::vector<std::uint32_t>& candidates) const {
  const auto* wordVector = reinterpret_cast<const __m128i*>(wordBytes_);
  const __m128i wordLow = _mm_load_si128(wordVector);
  const __m128i wordHigh = _mm_load_si128(wordVector + 1);
  const auto wordFirst = static_cast<unsigned char>(word_[0]);
  for (std::size_t i = 0; i < count; ++i) {
    const store::TvarWord& record = records[i];
    const std::size_t length = std::min<std::size_t>(record.length, store::MaxWordLength);
    const auto* marks = reinterpret_cast<const __m128i*>(vectorMarks_[length]);
    // Both loads stay inside the record's 24 character bytes.
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(record.chars));
    __m128i equalBytes = _mm_and_si128(_mm_cmpeq_epi8(low, wordLow), _mm_load_si128(marks));
    if constexpr (Wide) {
      const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(record.chars + 16));
      equalBytes = _mm_add_epi8(
          equalBytes, _mm_and_si128(_mm_cmpeq_epi8(high, wordHigh), _mm_load_si128(marks + 1)));
    }
    const __m128i sums = _mm_sad_epu8(equalBytes, _mm_setzero_si128());
    std::size_t equal =
        static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
    if constexpr (Capitalised) {
      equal += firstByte_[static_cast<unsigned char>(record.chars[0])] == wordFirst ? 1 : 0;
    }
    if (equal >= needed_[length]) [[unlikely]] {
      candidates.push_back(base + static_cast<std::uint32_t>(i));
    }
  }
}
#endif

void SimilarWordFilter::FindCandidates(const store::TvarWord* records, std::size_t count,
                                       std::uint32_t base,
                                       std::vector<std::uint32_t>& candidates) const {
#if defined(SPELLCHECK_SCAN_SSE2)
  if (word_.empty()) return;
  const bool wide = word_.size() > 16;
  if (capitalized_) {
    if (wide) return FindInVectors<true, true>(records, count, base, candidates);
    return FindInVectors<true, false>(records, count, base, candidates);
  }
  if (wide) return FindInVectors<false, true>(records, count, base, candidates);
  return FindInVectors<false, false>(records, count, base, candidates);
#else
  switch (usedLanes_) {
    case 0:
      return;
    case 1:
      return FindInLanes<1>(records, count, base, candidates);
    case 2:
      return FindInLanes<2>(records, count, base, candidates);
    default:
      return FindInLanes<3>(records, count, base, candidates);
  }
#endif
}

void SimilarWordFilter::Take(std::string_view stored, std::vector<std::string>& result) const {
  const std::size_t length = stored.size();
  if (length == 0 || needed_[length] == Hopeless) return;
  const char first = static_cast<char>(firstByte_[static_cast<unsigned char>(stored[0])]);
  const std::size_t common = std::min(length, word_.size());
  std::size_t equal = first == word_[0] ? 1 : 0;
  for (std::size_t i = 1; i < common; ++i) equal += stored[i] == word_[i] ? 1 : 0;
  if (equal < needed_[length]) return;
  // The given word itself is never suggested.
  if (length == word_.size() && equal == length) return;

  std::string& word = result.emplace_back(stored);
  word[0] = first;
}

}  // namespace spellcheck::services
