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

  // False when a stored word of `length` characters can never score above 70:
  // the length alone rules most stored words out before any byte is compared.
  bool MayTake(std::size_t length) const { return length < needed_.size() && needed_[length] != 0; }

  // Appends the stored word (in its compared form) to the suggestion list
  // `result` when it resembles the given word and is not the word itself.
  void Consider(std::string_view stored, std::string& result) const;

  void Consider(const store::TvarWord& record, std::string& result) const {
    const std::string_view stored = record.Text();
    if (MayTake(stored.size())) Consider(stored, result);
  }

 private:
  std::string word_;
  bool capitalized_ = false;
  // Equal positions needed per stored length; 0 when that length is hopeless.
  std::array<std::uint8_t, store::MaxWordLength + 1> needed_{};
};

}  // namespace spellcheck::services

#endif
