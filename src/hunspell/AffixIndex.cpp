#include "hunspell/AffixIndex.h"

#include <algorithm>
#include <deque>

namespace spellcheck::hunspell {

void AffixIndex::Build(const std::vector<std::u32string_view>& texts, bool fromEnd) {
  fromEnd_ = fromEnd;
  nodes_.clear();
  chars_.clear();
  order_.resize(texts.size());
  for (std::uint32_t i = 0; i < texts.size(); ++i) order_[i] = i;
  auto at = [&](std::uint32_t affix, std::size_t depth) {
    const std::u32string_view t = texts[affix];
    return fromEnd ? t[t.size() - 1 - depth] : t[depth];
  };
  std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::size_t n = std::min(texts[a].size(), texts[b].size());
    for (std::size_t d = 0; d < n; ++d)
      if (at(a, d) != at(b, d)) return at(a, d) < at(b, d);
    return texts[a].size() < texts[b].size();
  });
  struct Pending {
    std::uint32_t node, lo, hi, depth;
  };
  nodes_.emplace_back();
  chars_.push_back(0);
  std::deque<Pending> queue{{0, 0, static_cast<std::uint32_t>(order_.size()), 0}};
  while (!queue.empty()) {
    const Pending p = queue.front();
    queue.pop_front();
    std::uint32_t lo = p.lo;
    while (lo < p.hi && texts[order_[lo]].size() == p.depth) ++lo;
    nodes_[p.node].affixBegin = p.lo;
    nodes_[p.node].affixEnd = lo;
    nodes_[p.node].kidBegin = static_cast<std::uint32_t>(nodes_.size());
    for (std::uint32_t i = lo; i < p.hi;) {
      const char32_t c = at(order_[i], p.depth);
      std::uint32_t j = i;
      while (j < p.hi && at(order_[j], p.depth) == c) ++j;
      queue.push_back({static_cast<std::uint32_t>(nodes_.size()), i, j, p.depth + 1});
      nodes_.emplace_back();
      chars_.push_back(c);
      i = j;
    }
    nodes_[p.node].kidEnd = static_cast<std::uint32_t>(nodes_.size());
  }
  nodes_.shrink_to_fit();
  chars_.shrink_to_fit();
}

}  // namespace spellcheck::hunspell
