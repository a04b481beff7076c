#include "hunspell/Suggester.h"

#include <algorithm>
#include <unordered_set>

#include "hunspell/Casing.h"

namespace spellcheck::hunspell {

namespace {

// Cost classes: the .aff's own hints first, then likely slips, then the rest.
constexpr int kHint = 0;
constexpr int kSlip = 1;
constexpr int kEdit = 2;

std::size_t Distance(std::u32string_view a, std::u32string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diag = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

std::u32string Apply(std::u32string_view word, const Replacements& table) {
  if (table.empty()) return std::u32string(word);
  std::u32string out;
  for (std::size_t i = 0; i < word.size();) {
    const std::pair<std::u32string, std::u32string>* best = nullptr;
    for (const auto& e : table)
      if (word.substr(i, e.first.size()) == e.first &&
          (!best || e.first.size() > best->first.size()))
        best = &e;
    if (best) {
      out += best->second;
      i += best->first.size();
    } else {
      out += word[i++];
    }
  }
  return out;
}

}  // namespace

bool Suggester::Suggestable(const std::u32string& text) {
  if (!c_.Check(text)) return false;
  if (!a_.noSuggest && !a_.forbidden) return true;
  // Words found only through a stem marked NOSUGGEST are not offered.
  const bool tr = a_.turkishCasing;
  bool any = false;
  for (const std::u32string& form : {text, Lowered(text, tr), Capitalised(text, tr)}) {
    bool clean = false;
    c_.ForEachForm(form, Part::Whole, [&](const Form& f) {
      any = true;
      if (!f.StemHas(a_.noSuggest) && !f.StemHas(a_.forbidden)) clean = true;
      return clean;
    });
    if (clean) return true;
  }
  return !any;
}

void Suggester::Try(const std::u32string& text, int cost) {
  if (text.empty() || text == original_ || budget_ <= 0) return;
  for (auto& c : found_)
    if (c.text == text) {
      c.cost = std::min(c.cost, cost);
      return;
    }
  if (std::find(tried_.begin(), tried_.end(), text) != tried_.end()) return;
  --budget_;
  tried_.push_back(text);
  // A candidate of two words (from REP or a split) is checked word by word.
  const auto space = text.find(U' ');
  bool ok;
  if (space != std::u32string::npos) {
    ok = true;
    std::size_t start = 0;
    while (ok && start <= text.size()) {
      auto end = text.find(U' ', start);
      if (end == std::u32string::npos) end = text.size();
      ok = end > start && Suggestable(text.substr(start, end - start));
      start = end + 1;
    }
  } else {
    ok = Suggestable(text);
  }
  if (ok) found_.push_back({text, cost, found_.size()});
}

void Suggester::Generate(const std::u32string& w) {
  const std::size_t n = w.size();
  // REP: the usual misspellings the dictionary names.
  for (const auto& [fromRaw, to] : a_.rep) {
    std::u32string from = fromRaw;
    const bool atStart = from.size() > 1 && from.front() == U'^';
    if (atStart) from.erase(0, 1);
    const bool atEnd = from.size() > 1 && from.back() == U'$';
    if (atEnd) from.pop_back();
    for (std::size_t at = w.find(from); at != std::u32string::npos; at = w.find(from, at + 1)) {
      if ((atStart && at != 0) || (atEnd && at + from.size() != n)) continue;
      Try(w.substr(0, at) + to + w.substr(at + from.size()), kHint);
    }
  }
  // MAP: related characters.
  for (std::size_t i = 0; i < n; ++i)
    for (const auto& group : a_.map)
      for (const auto& from : group) {
        if (from.empty() || w.compare(i, from.size(), from) != 0) continue;
        for (const auto& to : group)
          if (to != from) Try(w.substr(0, i) + to + w.substr(i + from.size()), kHint);
      }
  // Capitals: the word is right but for its case.
  Try(Capitalised(w, a_.turkishCasing), kHint);
  Try(Uppered(w, a_.turkishCasing), kHint);
  // KEY: neighbouring keys.
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < a_.key.size(); ++k) {
      if (a_.key[k] != w[i]) continue;
      for (std::size_t nb : {k - 1, k + 1}) {
        if (nb >= a_.key.size() || a_.key[nb] == U'|') continue;
        std::u32string c = w;
        c[i] = a_.key[nb];
        Try(c, kSlip);
      }
    }
    // The capital of the letter, a slip of the shift key.
    std::u32string c = w;
    c[i] = ToUpper(w[i], a_.turkishCasing);
    if (c[i] != w[i]) Try(c, kSlip);
  }
  // Swapped neighbours.
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (w[i] == w[i + 1]) continue;
    std::u32string c = w;
    std::swap(c[i], c[i + 1]);
    Try(c, kSlip);
  }
  // Doubled and undoubled letters, deletions.
  for (std::size_t i = 0; i < n; ++i) {
    std::u32string c = w;
    c.erase(i, 1);
    Try(c, kEdit);
  }
  for (std::size_t i = 0; i < n; ++i) {
    std::u32string c = w;
    c.insert(i, 1, w[i]);
    Try(c, kEdit);
  }
  // TRY: replaced and inserted letters.
  const std::u32string letters = a_.tryChars;
  for (std::size_t i = 0; i < n; ++i)
    for (char32_t t : letters) {
      if (t == w[i]) continue;
      std::u32string c = w;
      c[i] = t;
      Try(c, kEdit);
    }
  for (std::size_t i = 0; i <= n; ++i)
    for (char32_t t : letters) {
      std::u32string c = w;
      c.insert(i, 1, t);
      Try(c, kEdit);
    }
  // A letter moved (up to a few places) and swaps over one letter.
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 2; j < n && j <= i + 4; ++j) {
      std::u32string c = w;
      const char32_t ch = c[i];
      c.erase(i, 1);
      c.insert(j, 1, ch);
      Try(c, kEdit);
      c = w;
      const char32_t back = c[j];
      c.erase(j, 1);
      c.insert(i, 1, back);
      Try(c, kEdit);
    }
  // Two words.
  if (!a_.noSplitSugs)
    for (std::size_t i = 1; i < n; ++i) Try(w.substr(0, i) + U' ' + w.substr(i), kEdit);
}

std::vector<std::string> Suggester::Suggest(std::u32string_view input, std::size_t max) {
  const bool tr = a_.turkishCasing;
  original_ = std::u32string(input);
  const CapType type = ClassifyCase(original_);
  Generate(original_);
  if (type == CapType::Initial || type == CapType::All) Generate(Lowered(original_, tr));
  for (auto& c : found_) {
    // Give the suggestion the capitals of the word, where that is still a word.
    std::u32string cased = c.text;
    if (type == CapType::All)
      cased = Uppered(c.text, tr);
    else if (type == CapType::Initial)
      cased = InitialUpper(c.text, tr);
    if (cased != c.text && c_.Check(cased)) c.text = cased;
  }
  std::stable_sort(found_.begin(), found_.end(), [&](const Candidate& x, const Candidate& y) {
    if (x.cost != y.cost) return x.cost < y.cost;
    const auto dx = Distance(x.text, original_), dy = Distance(y.text, original_);
    if (dx != dy) return dx < dy;
    return x.order < y.order;
  });
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (const auto& c : found_) {
    if (out.size() >= max) break;
    if (c.text == original_) continue;
    std::string utf8 = ToUtf8(Apply(c.text, a_.oconv));
    if (seen.insert(utf8).second) out.push_back(std::move(utf8));
  }
  return out;
}

}  // namespace spellcheck::hunspell
