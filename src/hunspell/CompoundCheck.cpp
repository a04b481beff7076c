// Compounds: words made of dictionary words, by compound flags
// (COMPOUNDFLAG, COMPOUNDBEGIN/MIDDLE/END) or by COMPOUNDRULE patterns, with
// the checks at the joins that the .aff asks for. Bounded by the budget.
#include <vector>

#include "hunspell/Casing.h"
#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

namespace {

struct Join {
  std::u32string part, next;
  const CompoundPattern* pattern = nullptr;  // the join is this pattern's replacement
  bool simplifiedTriple = false;
};

bool EndsWith(std::u32string_view s, std::u32string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}
bool StartsWith(std::u32string_view s, std::u32string_view begin) {
  return s.substr(0, begin.size()) == begin;
}

bool RuleMatches(const CompoundRule& rule, std::size_t ri, const std::vector<const FlagSet*>& parts,
                 std::size_t pi, bool full, int& steps) {
  if (--steps < 0) return false;
  if (pi == parts.size()) {
    if (!full) return true;
    for (std::size_t i = ri; i < rule.size(); ++i)
      if (!rule[i].repeat) return false;
    return true;
  }
  if (ri == rule.size()) return false;
  const RuleElement& e = rule[ri];
  const bool has = HasFlag(*parts[pi], e.flag);
  switch (e.repeat) {
    case '*':
      return (has && RuleMatches(rule, ri, parts, pi + 1, full, steps)) ||
             RuleMatches(rule, ri + 1, parts, pi, full, steps);
    case '?':
      return (has && RuleMatches(rule, ri + 1, parts, pi + 1, full, steps)) ||
             RuleMatches(rule, ri + 1, parts, pi, full, steps);
    default:
      return has && RuleMatches(rule, ri + 1, parts, pi + 1, full, steps);
  }
}

}  // namespace

bool WordChecker::IsCompound(std::u32string_view word, const CaseContext& ctx,
                             Budget& budget) const {
  if (word.size() < 2) return false;
  bool ok = false;
  if (a_.compoundFlag || a_.compoundBegin || a_.compoundMiddle || a_.compoundEnd)
    ok = FlagCompound(word, ctx, budget);
  if (!ok && !a_.compoundRules.empty()) ok = RuleCompound(word, budget);
  if (ok && a_.checkCompoundRep && RepMakesWord(word)) return false;
  return ok;
}

bool WordChecker::RepMakesWord(std::u32string_view text) const {
  // A compound that a usual misspelling of one word explains is that misspelling.
  for (const auto& [from, to] : a_.rep) {
    if (from.empty() || from.front() == U'^' || from.back() == U'$') continue;
    for (std::size_t at = text.find(from); at != std::u32string_view::npos;
         at = text.find(from, at + 1)) {
      std::u32string candidate(text.substr(0, at));
      candidate += to;
      candidate += text.substr(at + from.size());
      if (ForEachForm(candidate, Part::Whole, [&](const Form& f) {
            return !f.StemHas(a_.forbidden) && !f.StemHas(a_.onlyInCompound);
          }))
        return true;
    }
  }
  return false;
}

bool WordChecker::ForbiddenInCompound(std::u32string_view part) const {
  return Stems(part, [&](const FlagSet& flags) { return HasFlag(flags, a_.compoundForbid); });
}

bool WordChecker::RuleCompound(std::u32string_view word, Budget& budget) const {
  std::vector<const FlagSet*> parts;
  const std::size_t cmin = static_cast<std::size_t>(a_.compoundMin);
  std::function<bool(std::size_t)> from = [&](std::size_t start) -> bool {
    for (std::size_t end = start + cmin; end <= word.size(); ++end) {
      if (!budget.Spend()) return false;
      if (end < word.size() && word.size() - end < cmin) continue;
      const std::u32string_view part = word.substr(start, end - start);
      if (Stems(part, [&](const FlagSet& flags) {
            bool named = false;
            for (Flag f : flags)
              if (HasFlag(a_.compoundRuleFlags, f)) named = true;
            if (!named || HasFlag(flags, a_.forbidden)) return false;
            if (budget.noSuggest && HasFlag(flags, a_.noSuggest)) return false;
            parts.push_back(&flags);
            bool ok = false;
            int steps = 2000;
            for (const auto& rule : a_.compoundRules) {
              if (end == word.size()) {
                if (parts.size() >= 2 && RuleMatches(rule, 0, parts, 0, true, steps)) ok = true;
              } else if (RuleMatches(rule, 0, parts, 0, false, steps) && from(end)) {
                ok = true;
              }
              if (ok) break;
            }
            parts.pop_back();
            return ok;
          }))
        return true;
    }
    return false;
  };
  return from(0);
}

bool WordChecker::FlagCompound(std::u32string_view word, const CaseContext& ctx,
                               Budget& budget) const {
  const std::size_t cmin = static_cast<std::size_t>(a_.compoundMin);
  auto partOk = [&](const Form& f, Part part) {
    if (f.StemHas(a_.forbidden) || f.StemHas(kOnlyUpcaseFlag)) return false;
    if (budget.noSuggest && f.StemHas(a_.noSuggest)) return false;
    if (ctx.caseChanged && f.StemHas(a_.keepCase)) return false;
    const Flag positional = part == Part::First    ? a_.compoundBegin
                            : part == Part::Middle ? a_.compoundMiddle
                                                   : a_.compoundEnd;
    return f.Has(a_.compoundFlag) || f.Has(positional);
  };
  auto joinOk = [&](const CompoundPattern* used, bool simplified, std::u32string_view a,
                    std::u32string_view b, const Form& prev, const Form& next, bool last) {
    if (a_.checkCompoundDup && last && a == b) return false;
    // Two words that the dictionary has as a phrase ("compound word").
    std::u32string phrase(a);
    phrase += U' ';
    phrase += b;
    if (ForEachForm(phrase, Part::Whole, [](const Form&) { return true; })) return false;
    if (a_.checkCompoundRep && !used && RepMakesWord(std::u32string(a) + std::u32string(b)))
      return false;
    if (a_.checkCompoundTriple && !simplified && !a.empty() && !b.empty()) {
      const char32_t x = a.back(), y = b.front();
      if (x == y && ((a.size() >= 2 && a[a.size() - 2] == x) || (b.size() >= 2 && b[1] == y)))
        return false;
    }
    if (a_.checkCompoundCase && !a.empty() && !b.empty() &&
        (IsUpper(a.back()) || IsUpper(b.front())))
      return false;
    for (const auto& p : a_.compoundPatterns) {
      // A join written with a replacement shows none of the forbidden joins.
      if (used) break;
      if (p.endUnmodified && !prev.Unmodified()) continue;
      if (!EndsWith(a, p.end) || !StartsWith(b, p.begin)) continue;
      if (p.endFlag && !prev.Has(p.endFlag)) continue;
      if (p.beginFlag && !next.Has(p.beginFlag)) continue;
      return false;
    }
    if (used) {
      if (used->endFlag && !prev.Has(used->endFlag)) return false;
      if (used->beginFlag && !next.Has(used->beginFlag)) return false;
    }
    return true;
  };
  auto weight = [&](const Form& f) { return f.StemHas(a_.compoundRoot) ? 2 : 1; };
  auto countOk = [&](int words) {
    if (a_.compoundWordMax <= 0 || words <= a_.compoundWordMax) return true;
    if (a_.compoundSyllableMax <= 0) return false;
    int syllables = 0;
    for (char32_t c : word)
      if (a_.syllableVowels.find(c) != std::u32string::npos) ++syllables;
    return syllables <= a_.compoundSyllableMax;
  };

  struct Prev {
    std::u32string_view text;
    const Form* form;
    const CompoundPattern* pattern;
    bool simplified;
  };
  std::function<bool(std::u32string_view, int, int, const Prev*)> rest =
      [&](std::u32string_view text, int index, int words, const Prev* prev) -> bool {
    std::vector<Join> joins;
    for (std::size_t len = 1; len < text.size(); ++len) {
      const std::u32string_view head = text.substr(0, len), tail = text.substr(len);
      if (len >= cmin && tail.size() >= cmin) {
        joins.push_back({std::u32string(head), std::u32string(tail), nullptr, false});
        if (a_.simplifiedTriple && len >= 2 && head[len - 1] == head[len - 2])
          joins.push_back(
              {std::u32string(head), head.back() + std::u32string(tail), nullptr, true});
      }
      for (const auto& p : a_.compoundPatterns) {
        if (p.replacement.empty() || tail.substr(0, p.replacement.size()) != p.replacement)
          continue;
        // The written join stands for the first part's end and the next's start.
        Join j{std::u32string(head) + p.end,
               p.begin + std::u32string(tail.substr(p.replacement.size())), &p, false};
        if (j.part.size() >= cmin && j.next.size() >= cmin) joins.push_back(std::move(j));
      }
    }
    const Part here = index == 0 ? Part::First : Part::Middle;
    for (const Join& j : joins) {
      if (!budget.Spend()) return false;
      if (a_.compoundForbid && (ForbiddenInCompound(j.part) || ForbiddenInCompound(j.next)))
        continue;
      if (ForEachForm(j.part, here, [&](const Form& f) {
            if (!partOk(f, here) || !budget.Spend()) return false;
            if (prev &&
                !joinOk(prev->pattern, prev->simplified, prev->text, j.part, *prev->form, f, false))
              return false;
            const int used = words + weight(f);
            if (ForEachForm(j.next, Part::Last, [&](const Form& last) {
                  if (!partOk(last, Part::Last) ||
                      !joinOk(j.pattern, j.simplifiedTriple, j.part, j.next, f, last, true))
                    return false;
                  if (a_.forceUcase && last.Has(a_.forceUcase) && !ctx.capitalised) return false;
                  return countOk(used + weight(last));
                }))
              return true;
            if (a_.compoundWordMax > 0 && used >= a_.compoundWordMax && a_.compoundSyllableMax <= 0)
              return false;
            const Prev me{j.part, &f, j.pattern, j.simplifiedTriple};
            return rest(j.next, index + 1, used, &me);
          }))
        return true;
    }
    return false;
  };
  return rest(word, 0, 0, nullptr);
}

}  // namespace spellcheck::hunspell
