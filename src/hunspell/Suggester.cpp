#include "hunspell/Suggester.h"

#include <algorithm>

#include "hunspell/Casing.h"
#include "hunspell/Conversion.h"
#include "text/Unicode.h"

namespace spellcheck::hunspell {

namespace {

// The .aff's own misspellings (REP) cost at most this.
constexpr int kRep = 50;
// Only the case wrong; capitals the word did not have (names, acronyms) are
// less likely meant.
constexpr int kCase = 5;
constexpr int kUnaskedCapitals = 40;
// A letter left out, a doubled one written once (as in the edit model).
constexpr int kMissing = 90;
constexpr int kDoubled = 25;
// A letter swapped over its neighbour, or moved further.
constexpr int kFarSwap = 120;
constexpr int kMoved = 120;
// Two words: a missing space, and a one-letter part is rarely meant.
constexpr int kSplit = 110;
constexpr int kShortPart = 40;
// A compound is found only when simpler words are not, and is offered after them.
constexpr int kCompound = 20;
// Candidates that cost more are not looked at.
constexpr int kMaxCost = 260;
// Compound checks: at most this many candidates, each within this many
// steps, and all within the budget's share for them.
constexpr int kCompoundChecks = 150;
constexpr long kCompoundSteps = 300;
constexpr long kCompoundStepWork = 2;
// Compounds are looked for while they could still come among the first few.
constexpr std::size_t kCompoundTop = 5;
constexpr long kCompoundWork = 13000;
// The near stems' forms are checked first, within this share.
constexpr long kNearCheckWork = 3000;
// Near stems: at most this many possible stems of the word, and of stems found.
constexpr std::size_t kRoots = 12;
constexpr std::size_t kNearIds = 400;
// Stems near the whole word whose forms are made.
constexpr std::size_t kExpandStems = 40;
// Taken off the cost of a stem suggested as it is (twice for one without flags).
constexpr int kStemBonus = 10;
// Steps one plain check counts for, when the word is short.
constexpr long kCheckWork = 20;
constexpr long kShortWord = 12;
// Most of the budget goes to candidates made by edits; the near-stem search
// gets a share of its own.
constexpr long kNearBudget = 4000;
// Kept back, so that a check that needs a second one stays within the budget.
constexpr long kFinalWork = 2000;

// TRY lists the letters commonest first: a rare letter is less likely the
// one left out or meant.
int Rarity(std::size_t rank, std::size_t letters) {
  return letters > 1 ? static_cast<int>(rank * 20 / (letters - 1)) : 0;
}

}  // namespace

void Suggester::Add(std::u32string text, int cost, bool own, bool near) {
  // Making candidates may take half the budget; checking them the rest.
  if (++work_ > kBudget / 2) return;
  if (cost > kMaxCost || text.empty() || text == base_) return;
  // A part of a compound ("Haus-", "-los") only where the word is one too.
  if ((text.front() == U'-' && base_.front() != U'-') ||
      (text.back() == U'-' && base_.back() != U'-'))
    return;
  const auto [at, fresh] = made_.emplace(text, candidates_.size());
  if (!fresh) {
    int& known = candidates_[at->second].cost;
    known = std::min(known, cost);
    return;
  }
  candidates_.push_back({std::move(text), cost, own, near});
}

int Suggester::FirstLetter(const std::u32string& text) const {
  if (text.empty() || base_.empty() || BaseLetter(text[0]) == BaseLetter(base_[0])) return 0;
  if (text.size() > 1 && base_.size() > 1 && text[0] == base_[1] && text[1] == base_[0]) return 0;
  return 30;
}

void Suggester::Edits(const std::u32string& w) {
  const std::size_t n = w.size();
  // The letters worth trying: TRY's small ones (commonest first), neighbouring keys and accents.
  std::u32string letters;
  for (char32_t t : a_.tryChars)
    if (!IsUpper(t) && t != U' ' && letters.find(t) == std::u32string::npos) letters += t;
  // REP: the usual misspellings the dictionary names.
  for (const auto& [fromRaw, to] : a_.rep) {
    if (work_ > kBudget / 4) break;
    std::u32string from = fromRaw;
    const bool atStart = from.size() > 1 && from.front() == U'^';
    if (atStart) from.erase(0, 1);
    const bool atEnd = from.size() > 1 && from.back() == U'$';
    if (atEnd) from.pop_back();
    if (from.empty()) continue;
    for (std::size_t at = w.find(from); at != std::u32string::npos; at = w.find(from, at + 1)) {
      ++work_;
      if ((atStart && at != 0) || (atEnd && at + from.size() != n)) continue;
      std::u32string c = w.substr(0, at) + to + w.substr(at + from.size());
      work_ += static_cast<long>(c.size() * n / 64);
      Add(c, std::min(kRep, model_.Cost(w, c, kRep)));
    }
  }
  // MAP: related characters or strings.
  for (std::size_t i = 0; i < n; ++i)
    for (const auto& group : a_.map)
      for (const auto& from : group) {
        ++work_;
        if (from.empty() || w.compare(i, from.size(), from) != 0) continue;
        for (const auto& to : group)
          if (to != from && !(to.size() == 1 && IsUpper(to[0]) && !IsUpper(from[0])))
            Add(w.substr(0, i) + to + w.substr(i + from.size()), kRep / 2);
      }
  // Swapped neighbours, and over one letter.
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (w[i] == w[i + 1]) continue;
    std::u32string c = w;
    std::swap(c[i], c[i + 1]);
    Add(c, EditModel::Swap());
    if (i + 2 < n && w[i] != w[i + 2]) {
      c = w;
      std::swap(c[i], c[i + 2]);
      Add(c, kFarSwap + FirstLetter(c));
    }
  }
  // A letter moved two to four places, either way.
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 2; j < n && j <= i + 4; ++j) {
      std::u32string c = w;
      c.erase(i, 1);
      c.insert(j, 1, w[i]);
      Add(c, kMoved + FirstLetter(c));
      c = w;
      c.erase(j, 1);
      c.insert(i, 1, w[j]);
      Add(c, kMoved + FirstLetter(c));
    }
  // A letter too many (a doubled one, a neighbouring key, any).
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && w[i] == w[i - 1]) continue;
    std::u32string c = w;
    c.erase(i, 1);
    Add(c, model_.Extra(w, i) + FirstLetter(c));
  }
  const bool far = n > 30;  // long words: only the cheap edits
  for (std::size_t i = 0; i < n && !far; ++i) {
    const char32_t lower = ToLower(w[i], a_.turkishCasing);
    // Another letter instead.
    for (std::size_t k = 0; k < letters.size(); ++k) {
      const char32_t t = letters[k];
      if (t == lower) continue;
      std::u32string c = w;
      c[i] = IsUpper(w[i]) ? ToUpper(t, a_.turkishCasing) : t;
      const int cost = model_.Replace(lower, t);
      Add(c, cost + (cost >= kPlainEdit ? Rarity(k, letters.size()) : 0) + FirstLetter(c));
    }
  }
  // A letter left out (a doubled one written once, any).
  for (std::size_t i = 0; i <= n; ++i) {
    if (i > 0) {
      std::u32string c = w;
      c.insert(i, 1, w[i - 1]);
      Add(c, kDoubled);
    }
    if (far) continue;
    for (std::size_t k = 0; k < letters.size(); ++k) {
      std::u32string c = w;
      c.insert(i, 1, letters[k]);
      Add(c, kMissing + Rarity(k, letters.size()) + FirstLetter(c));
    }
  }
  // Two words.
  if (!a_.noSplitSugs)
    for (std::size_t i = 1; i < n; ++i) {
      if (w[i] == U'-' || w[i - 1] == U'-') continue;
      const int shortPart = (i == 1 || i + 1 == n) ? kShortPart : 0;
      Add(w.substr(0, i) + U' ' + w.substr(i), kSplit + shortPart);
    }
}

void Suggester::NearStems(const std::u32string& w) {
  if (!stems_ || w.size() < StemIndex::kMinStem) return;
  const long limit = work_ + kNearBudget;
  // The word's possible stems: itself, and without each ending a suffix adds
  // (the stem's own ending put back).
  struct Root {
    std::u32string text;
    std::u32string strip, append;
  };
  std::vector<Root> roots;
  roots.push_back({w, U"", U""});
  if (!w.empty()) {
    // The suffixes whose added text the word ends with.
    a_.suffixIndex.ForEachMatch(w, [&](std::uint32_t k) {
      ++work_;
      const Affix& s = a_.suffixes[k];
      if (s.append.empty() || s.append.size() + StemIndex::kMinStem > w.size()) return false;
      std::u32string root = w.substr(0, w.size() - s.append.size()) + s.strip;
      bool known = false;
      for (const Root& r : roots)
        if (r.text == root && r.strip == s.strip && r.append == s.append) known = true;
      if (!known) roots.push_back({std::move(root), s.strip, s.append});
      return work_ > limit;
    });
  }
  // Longer endings first: they say more about the word.
  std::stable_sort(roots.begin() + 1, roots.end(),
                   [](const Root& x, const Root& y) { return x.append.size() > y.append.size(); });
  // Roots the same but for the stem's ending are probed once.
  std::vector<std::u32string> probed;
  std::vector<std::uint32_t> ids;
  std::u32string stem;
  std::size_t used = 0;
  for (const Root& root : roots) {
    if (work_ >= limit || used >= kRoots) break;
    ids.clear();
    if (std::find(probed.begin(), probed.end(), root.text) == probed.end()) {
      probed.push_back(root.text);
      ++used;
      stems_->Near(root.text, ids, work_, limit);
    }
    if (ids.size() > kNearIds) ids.resize(kNearIds);
    // The stems near the whole word, with their own endings: for a slip in
    // the ending as well as in the stem.
    if (&root == &roots.front()) Expand(w, ids, limit);
    for (std::uint32_t id : ids) {
      if (work_ >= limit) break;
      stem.clear();
      if (!text::Utf8ToUtf32(c_.Words().Word(id), stem)) continue;
      // Put the word's ending on the stem, in place of the stem's own.
      if (stem.size() < root.strip.size() ||
          stem.compare(stem.size() - root.strip.size(), root.strip.size(), root.strip) != 0)
        continue;
      std::u32string c = stem.substr(0, stem.size() - root.strip.size()) + root.append;
      // Stems keep their capitals; the word's shape comes later.
      if (shape_ != 0) c = Lowered(c, a_.turkishCasing);
      work_ += 1 + static_cast<long>(c.size() * w.size() / 64);
      if (made_.count(c)) continue;
      Add(c, model_.Cost(w, c, kMaxCost) + Unasked(c), false, true);
    }
  }
}

void Suggester::Expand(const std::u32string& w, std::vector<std::uint32_t>& ids, long limit) {
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  std::u32string stem, form;
  std::size_t stems = 0;
  for (std::uint32_t id : ids) {
    if (work_ >= limit || ++stems > kExpandStems) break;
    stem.clear();
    if (!text::Utf8ToUtf32(c_.Words().Word(id), stem)) continue;
    if (shape_ != 0) stem = Lowered(stem, a_.turkishCasing);
    for (Flag flag : c_.Words().Flags(id)) {
      const auto list = a_.suffixesByFlag.find(flag);
      if (list == a_.suffixesByFlag.end()) continue;
      for (std::uint32_t k : list->second) {
        if (++work_ >= limit) return;
        const Affix& s = a_.suffixes[k];
        const std::size_t size =
            stem.size() - std::min(stem.size(), s.strip.size()) + s.append.size();
        if (size + 2 < w.size() || size > w.size() + 2 || s.strip.size() >= stem.size()) continue;
        if (stem.compare(stem.size() - s.strip.size(), s.strip.size(), s.strip) != 0 ||
            !s.condition.MatchesEnd(stem))
          continue;
        form.assign(stem, 0, stem.size() - s.strip.size());
        form += s.append;
        if (made_.count(form)) continue;
        work_ += static_cast<long>(form.size() * w.size() / 64);
        Add(form, model_.Cost(w, form, kMaxCost) + Unasked(form), false, true);
      }
    }
  }
}

int Suggester::Unasked(const std::u32string& text) const {
  // Capitals the word did not have: a name for a common word.
  if (shape_ != 0) return 0;
  for (char32_t c : text)
    if (IsUpper(c)) return kUnaskedCapitals;
  return 0;
}

int Suggester::Prior(const std::u32string& text) const {
  // Stems themselves, above all those without flags (articles, pronouns,
  // prepositions, conjunctions: the commonest words of a text), are likelier
  // meant than forms made with affixes.
  if (text.find(U' ') != std::u32string::npos) return 0;
  int prior = 0;
  auto look = [&](const std::u32string& form) {
    c_.Words().AnyOf(ToUtf8(form), [&](const FlagSet& flags) {
      prior = std::min(prior, flags.empty() ? -2 * kStemBonus : -kStemBonus);
      return flags.empty();
    });
  };
  look(text);
  if (shape_ != 0) look(Lowered(text, a_.turkishCasing));
  return prior;
}

std::u32string Suggester::Shaped(const std::u32string& text) const {
  if (shape_ == 2) return Uppered(text, a_.turkishCasing);
  if (shape_ == 1) return InitialUpper(text, a_.turkishCasing);
  return text;
}

bool Suggester::Accept(const std::u32string& text, bool compounds) {
  Budget budget;
  budget.compounds = compounds;
  budget.steps = compounds ? kCompoundSteps : 2000;
  const long before = budget.steps;
  bool ok = true;
  // Two words are checked word by word.
  std::size_t start = 0;
  while (ok && start <= text.size()) {
    std::size_t end = text.find(U' ', start);
    if (end == std::u32string::npos) end = text.size();
    ok = end > start &&
         c_.CheckSuggestion(std::u32string_view(text).substr(start, end - start), budget);
    start = end + 1;
  }
  // A step of the compound search does more than one of the other steps.
  // Long words cost more to check: more endings, longer stems to look up.
  const long length = static_cast<long>(text.size());
  work_ += kCheckWork + (length > kShortWord ? 2 * (length - kShortWord) : 0) +
           kCompoundStepWork * (before - std::max(0L, budget.steps));
  return ok;
}

std::vector<std::string> Suggester::Suggest(std::u32string_view input, std::size_t max) {
  const bool tr = a_.turkishCasing;
  original_ = std::u32string(input);
  if (original_.empty() || original_.size() > kMaxLetters || max == 0) return {};
  const CapType type = ClassifyCase(original_);
  shape_ = type == CapType::All ? 2 : type == CapType::Initial ? 1 : 0;
  base_ = shape_ ? Lowered(original_, tr) : original_;
  // The word right but for its capitals.
  const int unasked = shape_ == 0 ? kUnaskedCapitals : 0;
  if (shape_ != 1) Add(Capitalised(original_, tr), kCase + unasked, true);
  if (shape_ != 2 && original_.size() > 1) Add(Uppered(original_, tr), kCase * 2 + unasked, true);
  if (shape_ == 0 && !base_.empty()) {
    std::u32string c = base_;
    c[0] = ToUpper(c[0], tr);
    Add(c, kCase + unasked, true);
  }
  Edits(base_);
  NearStems(base_);

  std::stable_sort(candidates_.begin(), candidates_.end(),
                   [](const Candidate& x, const Candidate& y) { return x.cost < y.cost; });
  // Checked cheapest first, until the list is full and nothing cheaper can
  // come: the near stems' forms first (few, and what edits cannot reach),
  // then everything, then compounds of the cheapest that are no simple word.
  const bool compounding = a_.HasCompounding();
  const long reserve = kFinalWork + (compounding ? kCompoundWork : 0);
  std::vector<int> costs;  // of the words found, sorted
  std::vector<char> checked(candidates_.size(), 0);
  auto full = [&](int cost) { return costs.size() >= max && cost > costs[max - 1]; };
  auto keep = [&](const std::u32string& text, int cost) {
    found_.push_back({text, cost + Prior(text), found_.size()});
    costs.insert(std::upper_bound(costs.begin(), costs.end(), cost), cost);
  };
  // Candidates with capitals of their own (from the capitals' rules) are checked as they are.
  auto text = [&](const Candidate& c) { return c.own ? c.text : Shaped(c.text); };
  const long nearEnd = work_ + kNearCheckWork;
  for (std::size_t k = 0; k < candidates_.size(); ++k) {
    const Candidate& cand = candidates_[k];
    if (!cand.near) continue;
    if (work_ + kCheckWork > nearEnd || full(cand.cost)) break;
    checked[k] = 1;
    const std::u32string t = text(cand);
    if (Accept(t, false)) keep(t, cand.cost);
  }
  for (std::size_t k = 0; k < candidates_.size(); ++k) {
    const Candidate& cand = candidates_[k];
    // The next check may take this much: never more than the budget.
    if (work_ + kCheckWork + reserve > kBudget || full(cand.cost)) break;
    if (checked[k]) continue;
    checked[k] = 1;
    const std::u32string t = text(cand);
    if (Accept(t, false)) {
      checked[k] = 2;
      // Capitals are offered for words that have them, not for any word
      // (which in capitals is right too).
      if (cand.own && shape_ != 2 && ClassifyCase(t) == CapType::All &&
          Accept(Capitalised(t, a_.turkishCasing), false))
        continue;
      keep(t, cand.cost);
    }
  }
  int compoundChecks = 0;
  for (std::size_t k = 0; compounding && k < candidates_.size(); ++k) {
    const Candidate& cand = candidates_[k];
    if (work_ + kCheckWork + kCompoundStepWork * kCompoundSteps + kFinalWork > kBudget ||
        compoundChecks >= kCompoundChecks || full(cand.cost + kCompound) ||
        (costs.size() >= kCompoundTop && cand.cost + kCompound > costs[kCompoundTop - 1]))
      break;
    if (checked[k] == 2 || cand.text.find(U' ') != std::u32string::npos) continue;
    ++compoundChecks;
    const std::u32string t = text(cand);
    if (Accept(t, true)) keep(t, cand.cost + kCompound);
  }
  std::stable_sort(found_.begin(), found_.end(),
                   [](const Found& x, const Found& y) { return x.cost < y.cost; });
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (const Found& f : found_) {
    if (out.size() >= max) break;
    if (f.text == original_) continue;
    std::string utf8 = ToUtf8(a_.oconv.empty() ? f.text : ApplyConversions(f.text, a_.oconv));
    if (seen.insert(utf8).second) out.push_back(std::move(utf8));
  }
  return out;
}

}  // namespace spellcheck::hunspell
