#include "hunspell/Conversion.h"

namespace spellcheck::hunspell {

std::u32string ApplyConversions(std::u32string_view word, const Replacements& table) {
  if (table.empty()) return std::u32string(word);
  // Most words hold no pattern at all: one search each before the full pass.
  bool any = false;
  for (const auto& [from, replacement] : table) {
    std::u32string_view core = from;
    if (core.size() > 1 && core.front() == U'_') core.remove_prefix(1);
    if (core.size() > 1 && core.back() == U'_') core.remove_suffix(1);
    if (word.find(core) != std::u32string_view::npos) {
      any = true;
      break;
    }
  }
  if (!any) return std::u32string(word);
  std::u32string out;
  for (std::size_t i = 0; i < word.size();) {
    const std::u32string* to = nullptr;
    std::size_t bestLength = 0, bestWeight = 0;
    for (const auto& [fromRaw, replacement] : table) {
      std::u32string_view from = fromRaw;
      const bool atStart = from.size() > 1 && from.front() == U'_';
      if (atStart) from.remove_prefix(1);
      const bool atEnd = from.size() > 1 && from.back() == U'_';
      if (atEnd) from.remove_suffix(1);
      if ((atStart && i != 0) || word.substr(i, from.size()) != from) continue;
      if (atEnd && i + from.size() != word.size()) continue;
      // Longest pattern wins; an anchored one beats a loose one of its length.
      const std::size_t weight = from.size() * 2 + (atStart || atEnd ? 1 : 0);
      if (!to || weight > bestWeight) {
        to = &replacement;
        bestLength = from.size();
        bestWeight = weight;
      }
    }
    if (to && bestLength > 0) {
      out += *to;
      i += bestLength;
    } else {
      out += word[i++];
    }
  }
  return out;
}

}  // namespace spellcheck::hunspell
