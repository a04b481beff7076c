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

#include "store/TvarWord.h"

namespace spellcheck::services {

class SimilarWordFilter {
 public:
  explicit SimilarWordFilter(std::string_view word);

  // Appends each record (in its compared form) that resembles the given word
  // and is not the word itself to the suggestion list `result`, in order.
  void ConsiderAll(const store::TvarWord* records, std::size_t count, std::string& result) const;

  void Consider(const store::TvarWord& record, std::string& result) const {
    ConsiderAll(&record, 1, result);
  }

 private:
  static constexpr std::size_t Lanes = 3;  // 24 characters in 8-byte lanes
  using LaneArray = std::array<std::uint64_t, Lanes>;

  template <std::size_t UsedLanes>
  void ConsiderLanes(const store::TvarWord* records, std::size_t count, std::string& result) const;
  // The exact score of one stored word, and the list's joining rule.
  void Take(std::string_view stored, std::string& result) const;

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
