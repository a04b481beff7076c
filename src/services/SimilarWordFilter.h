// The score of the similar-word scan: a stored word resembles the given word
// when 100 times the number of positions holding the same byte, divided in
// whole numbers by the longer length, exceeds 70. A capitalised given word
// compares against stored words with their first letter capitalised.
#ifndef SPELLCHECK_SERVICES_SIMILARWORDFILTER_H
#define SPELLCHECK_SERVICES_SIMILARWORDFILTER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/TvarWord.h"

namespace spellcheck::services {

class SimilarWordFilter {
 public:
  explicit SimilarWordFilter(std::string_view word);

  // Appends each record (in its compared form) that resembles the given word
  // and is not the word itself to `result`, in order.
  void ConsiderAll(const store::TvarWord* records, std::size_t count,
                   std::vector<std::string>& result) const;

  void Consider(const store::TvarWord& record, std::vector<std::string>& result) const {
    ConsiderAll(&record, 1, result);
  }

  // False when no stored word of `length` characters can score above 70.
  bool MayTake(std::size_t length) const {
    return length < needed_.size() && needed_[length] != Hopeless;
  }

  // Appends to `candidates` the positions (plus `base`) of the records that
  // reach the needed number of equal positions: a superset of those taken,
  // which Take() then decides on.
  void FindCandidates(const store::TvarWord* records, std::size_t count, std::uint32_t base,
                      std::vector<std::uint32_t>& candidates) const;

  // Appends the stored word when it resembles the given word (the exact rule).
  void Take(std::string_view stored, std::vector<std::string>& result) const;

 private:
  static constexpr std::size_t Lanes = 3;  // 24 characters in 8-byte lanes
  using LaneArray = std::array<std::uint64_t, Lanes>;

  static constexpr std::uint8_t Hopeless = 0xFF;

  template <bool Capitalised, bool Wide>
  void FindInVectors(const store::TvarWord* records, std::size_t count, std::uint32_t base,
                     std::vector<std::uint32_t>& candidates) const;
  template <std::size_t UsedLanes>
  void FindInLanes(const store::TvarWord* records, std::size_t count, std::uint32_t base,
                   std::vector<std::uint32_t>& candidates) const;

  std::string word_;
  bool capitalized_ = false;
  // Equal positions needed per stored length; above 24 when the length alone
  // rules the stored word out (as it does for most).
  std::array<std::uint8_t, store::MaxWordLength + 1> needed_{};
  // The compared form of a stored word's first byte.
  std::array<unsigned char, 256> firstByte_{};
  std::size_t usedLanes_ = 0;
  LaneArray wordLanes_{};
  // Per stored length: the marker bit of each compared byte, in lanes.
  std::array<LaneArray, store::MaxWordLength + 1> compared_{};
  // The same for 16-byte vectors: the word's 24 bytes and, per stored length,
  // 1 in each compared byte after the first.
  alignas(16) unsigned char wordBytes_[32] = {};
  alignas(16) unsigned char vectorMarks_[store::MaxWordLength + 1][32] = {};
};

}  // namespace spellcheck::services

#endif
