// Arbitrary text through the suggestion-list tidying: no crash, and the words
// that come out are distinct, in byte order and at most 24 characters long.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "services/SuggestionList.h"
#include "store/TvarWord.h"

namespace {

// The pieces of a list, split at each ", " as the tidying splits it.
std::vector<std::string_view> Pieces(std::string_view list) {
  std::vector<std::string_view> pieces;
  while (!list.empty()) {
    const auto at = list.find(", ");
    pieces.push_back(list.substr(0, at));
    list.remove_prefix(at == std::string_view::npos ? list.size() : at + 2);
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string tidy = spellcheck::services::TidySuggestions(input);
  // Words made only of letters and digits split back exactly as they were written.
  bool plain = true;
  for (const char c : input) {
    const bool separator = c == ',' || c == ' ';
    const bool ordinary =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    plain = plain && (separator || ordinary);
  }
  if (!plain || input.find(",,") != std::string_view::npos ||
      input.find("  ") != std::string_view::npos) {
    return 0;
  }
  const auto pieces = Pieces(tidy);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].size() > spellcheck::store::MaxWordLength) std::abort();
    if (i > 0 && !pieces[i - 1].empty() &&
        spellcheck::store::CompareText(pieces[i - 1], pieces[i]) >= 0) {
      std::abort();
    }
  }
  return 0;
}
