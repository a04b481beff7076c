#include "services/SuggestionList.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "store/TvarWord.h"

namespace spellcheck::services {

namespace {

constexpr std::string_view Separator = ", ";
// Marks an entry dropped as a duplicate; never written to the result.
constexpr std::string_view BlankEntry = " ";

std::vector<std::string_view> Split(std::string_view list) {
  std::vector<std::string_view> pieces;
  while (!list.empty()) {
    const std::size_t at = list.find(Separator);
    const std::string_view piece = list.substr(0, at);
    pieces.push_back(piece.substr(0, store::MaxWordLength));
    list.remove_prefix(at == std::string_view::npos ? list.size() : at + Separator.size());
  }
  return pieces;
}

}  // namespace

std::string JoinWords(const std::vector<std::string>& words) {
  std::string list;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i != 0) list += Separator;
    list += words[i];
  }
  return list;
}

void JoinPart(std::string& collected, std::string_view part) {
  if (collected.size() <= 2) {
    collected.assign(part);
  } else {
    collected += Separator;
    collected += part;
  }
}

std::string TidySuggestions(std::string_view list) {
  std::vector<std::string_view> entries = Split(list);

  // The first occurrence of each word stays; later ones become blank entries.
  std::unordered_set<std::string_view> seen;
  seen.reserve(entries.size());
  for (auto& entry : entries) {
    if (!seen.insert(entry).second) entry = BlankEntry;
  }

  // Equal entries are the same text, so any sort by text order gives the
  // result of a stable one.
  std::sort(entries.begin(), entries.end(),
            [](std::string_view a, std::string_view b) { return store::CompareText(a, b) < 0; });

  std::string result;
  result.reserve(list.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == BlankEntry) continue;
    result += entries[i];
    if (i + 1 != entries.size()) result += Separator;
  }
  return result;
}

}  // namespace spellcheck::services
