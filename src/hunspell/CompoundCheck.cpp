// Compounds: words made of dictionary words, by compound flags
// (COMPOUNDFLAG, COMPOUNDBEGIN/MIDDLE/END) or by COMPOUNDRULE patterns, with
// the checks at the joins that the .aff asks for. Bounded by the budget.
#include <functional>
#include <vector>

#include "hunspell/Casing.h"
#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

namespace {

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
      auto fits = [&](const FlagSet& flags) {
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
      };
      if (Stems(part, fits)) return true;
      // The last part may carry affixes; the rule looks at its stem's flags.
      if (end == word.size() && !parts.empty() && ForEachForm(part, Part::Last, [&](const Form& f) {
            return f.Affixed() && fits(*f.flags);
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
    // The flag comes from the stem or the affixes next to it: an outer second
    // suffix makes no word a compound part.
    auto named = [&](Flag flag) {
      if (flag == 0) return false;
      if (f.StemHas(flag)) return true;
      for (const Affix* a : {f.prefix, f.prefix2, f.suffix})
        if (a && HasFlag(a->cont, flag)) return true;
      return false;
    };
    return named(a_.compoundFlag) || named(positional);
  };
  auto joinOk = [&](const CompoundPattern* used, bool simplified, std::u32string_view a,
                    std::u32string_view b, const Form& prev, const Form& next, bool last) {
    if (a_.checkCompoundDup && last && a == b) return false;
    // Two words that the dictionary has as a phrase ("compound word").
    if (w_.HasPhrases()) {
      std::u32string phrase(a);
      phrase += U' ';
      phrase += b;
      if (ForEachForm(phrase, Part::Whole, [](const Form&) { return true; })) return false;
    }
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
  auto syllables = [&](std::u32string_view text) {
    int n = 0;
    for (char32_t c : text)
      if (a_.syllableVowels.find(c) != std::u32string::npos) ++n;
    return n;
  };
  // Hungarian counts a prefix of more than one syllable as a word of its own,
  // and the syllables of the whole word but the last part's ending; elsewhere
  // only the last part's syllables are counted.
  const bool hungarian = a_.language.substr(0, 2) == "hu";
  auto weight = [&](const Form& f) {
    int w = f.StemHas(a_.compoundRoot) ? 2 : 1;
    if (hungarian && f.prefix && syllables(f.prefix->append) > 1) ++w;
    return w;
  };
  auto countOk = [&](int words, std::u32string_view lastText, const Form& last) {
    if (a_.compoundWordMax <= 0 || words <= a_.compoundWordMax) return true;
    if (a_.compoundSyllableMax <= 0) return false;
    if (!hungarian) return syllables(lastText) <= a_.compoundSyllableMax;
    int n = syllables(word);
    const Affix* ending = last.suffix2 ? last.suffix2 : last.suffix;
    if (ending) n -= syllables(ending->append);
    return n <= a_.compoundSyllableMax;
  };

  struct Prev {
    std::u32string_view text;
    const Form* form;
    const CompoundPattern* pattern;
    bool simplified;
  };
  std::function<bool(std::u32string_view, int, int, const Prev*)> rest =
      [&](std::u32string_view text, int index, int words, const Prev* prev) -> bool {
    const Part here = index == 0 ? Part::First : Part::Middle;
    // One way to cut the text: `part` first, `next` after it.
    auto tryJoin = [&](std::u32string_view part, std::u32string_view next,
                       const CompoundPattern* pattern, bool simplified) {
      if (!budget.Spend()) return false;
      if (a_.compoundForbid && (ForbiddenInCompound(part) || ForbiddenInCompound(next)))
        return false;
      return ForEachForm(part, here, [&](const Form& f) {
        if (!partOk(f, here) || !budget.Spend()) return false;
        if (prev &&
            !joinOk(prev->pattern, prev->simplified, prev->text, part, *prev->form, f, false))
          return false;
        const int used = words + weight(f);
        if (ForEachForm(next, Part::Last, [&](const Form& last) {
              if (!partOk(last, Part::Last) ||
                  !joinOk(pattern, simplified, part, next, f, last, true))
                return false;
              if (a_.forceUcase && last.Has(a_.forceUcase) && !ctx.capitalised) return false;
              return countOk(used + weight(last), next, last);
            }))
          return true;
        if (a_.compoundWordMax > 0 && used >= a_.compoundWordMax && a_.compoundSyllableMax <= 0)
          return false;
        const Prev me{part, &f, pattern, simplified};
        return rest(next, index + 1, used, &me);
      });
    };
    for (std::size_t len = 1; len < text.size(); ++len) {
      if (budget.steps < 0) return false;
      const std::u32string_view head = text.substr(0, len), tail = text.substr(len);
      if (len >= cmin && tail.size() >= cmin) {
        if (tryJoin(head, tail, nullptr, false)) return true;
        if (a_.simplifiedTriple && len >= 2 && head[len - 1] == head[len - 2]) {
          const std::u32string next = head.back() + std::u32string(tail);
          if (tryJoin(head, next, nullptr, true)) return true;
        }
      }
      for (const auto& p : a_.compoundPatterns) {
        if (p.replacement.empty() || tail.substr(0, p.replacement.size()) != p.replacement)
          continue;
        // The written join stands for the first part's end and the next's start.
        const std::u32string part = std::u32string(head) + p.end;
        const std::u32string next = p.begin + std::u32string(tail.substr(p.replacement.size()));
        if (part.size() >= cmin && next.size() >= cmin && tryJoin(part, next, &p, false))
          return true;
      }
    }
    return false;
  };
  return rest(word, 0, 0, nullptr);
}

}  // namespace spellcheck::hunspell
