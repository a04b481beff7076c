#include "services/SimilarWordFilter.h"

#include <algorithm>

#include "text/CaseMapping.h"
#include "text/TextFunctions.h"

namespace spellcheck::services {

namespace {
constexpr std::size_t Threshold = 70;
}

SimilarWordFilter::SimilarWordFilter(std::string_view word)
    : word_(word), capitalized_(text::IsCapitalized(word)) {
  // An empty given word has no score at all (its denominator would be 0).
  if (word_.empty()) return;
  for (std::size_t length = 0; length < needed_.size(); ++length) {
    const std::size_t denominator = std::max(length, word_.size());
    // count * 100 / denominator > 70  <=>  count * 100 >= 71 * denominator
    const std::size_t needed = ((Threshold + 1) * denominator + 99) / 100;
    if (needed != 0 && needed <= std::min(length, word_.size())) {
      needed_[length] = static_cast<std::uint8_t>(needed);
    }
  }
}

void SimilarWordFilter::Consider(std::string_view stored, std::string& result) const {
  const std::size_t length = stored.size();
  if (!MayTake(length)) return;
  const std::size_t common = std::min(length, word_.size());
  const char first =
      capitalized_ ? static_cast<char>(text::SystemUpper(static_cast<unsigned char>(stored[0])))
                   : stored[0];
  std::size_t equal = first == word_[0] ? 1 : 0;
  for (std::size_t i = 1; i < common; ++i) equal += stored[i] == word_[i] ? 1 : 0;
  if (equal < needed_[length]) return;
  // The given word itself is never suggested.
  if (length == word_.size() && equal == length) return;

  if (result.size() < 2) {
    result.clear();
  } else {
    result += ", ";
  }
  result += first;
  result.append(stored.substr(1));
}

}  // namespace spellcheck::services
