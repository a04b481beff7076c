// The whole-word procedure: input conversion, capitals, trailing dots,
// numbers and break points around the readings of AffixCheck and
// CompoundCheck.
#include <algorithm>
#include <functional>

#include "hunspell/Casing.h"
#include "hunspell/Conversion.h"
#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

namespace {

constexpr int kMaxBreakDepth = 10;

// Numbers with separators ("1,000.5", "10-20") are no spelling matter.
bool IsNumber(std::u32string_view word) {
  bool digit = false, sep = false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char32_t c = word[i];
    if (c >= U'0' && c <= U'9') {
      digit = true;
      sep = false;
    } else if ((c == U'.' || c == U',' || c == U'-') && i > 0 && !sep) {
      sep = true;
    } else {
      return false;
    }
  }
  return digit && !sep;
}

}  // namespace

Status WordChecker::Simple(std::u32string_view word, const CaseContext& ctx, Budget& budget) const {
  bool forbidden = false, keptCase = false;
  const bool found = ForEachForm(word, Part::Whole, [&](const Form& f) {
    if (f.StemHas(a_.forbidden) && !f.Affixed()) {
      forbidden = true;
      return true;
    }
    if (f.Affixed() && a_.forbidden &&
        ((f.prefix && HasFlag(f.prefix->cont, a_.forbidden)) ||
         (f.suffix && HasFlag(f.suffix->cont, a_.forbidden)) ||
         (f.suffix2 && HasFlag(f.suffix2->cont, a_.forbidden)))) {
      forbidden = true;
      return true;
    }
    if (f.StemHas(a_.forbidden)) {
      forbidden = true;
      return true;
    }
    if (f.StemHas(a_.onlyInCompound)) return false;
    if (budget.noSuggest && f.StemHas(a_.noSuggest)) return false;
    if (f.StemHas(kOnlyUpcaseFlag) && (!ctx.allCaps || ctx.caseChanged || f.StemHas(a_.keepCase)))
      return false;
    // The first reading decides: a homonym in its own case hides the others.
    // CHECKSHARPS lets a KEEPCASE word with a sharp s take an initial capital,
    // never all capitals (those write it "SS").
    if (ctx.caseChanged && f.StemHas(a_.keepCase) &&
        !(a_.checkSharps && ctx.sharpS && !ctx.allCaps))
      keptCase = true;
    return true;
  });
  if (forbidden) return Status::Forbidden;
  if (keptCase) return Status::Missing;
  if (found) return Status::Found;
  if (budget.compounds && a_.HasCompounding() && IsCompound(word, ctx, budget))
    return Status::Found;
  return Status::Missing;
}

Status WordChecker::CheckCased(std::u32string_view word, Budget& budget) const {
  const bool tr = a_.turkishCasing;
  const CapType type = ClassifyCase(word);
  CaseContext asIs;
  asIs.capitalised = type == CapType::Initial || type == CapType::All || type == CapType::MixedInit;
  asIs.allCaps = type == CapType::All;
  Status s = Simple(word, asIs, budget);
  if (s != Status::Missing) return s;
  CaseContext changed = asIs;
  changed.caseChanged = true;
  auto lowered = [&](const std::u32string& form) {
    CaseContext c = changed;
    c.sharpS = form.find(U'ß') != std::u32string::npos;
    return Simple(form, c, budget);
  };
  if (type == CapType::All) {
    if (a_.checkSharps && word.find(U"SS") != std::u32string_view::npos) {
      // Each "SS" may stand for a sharp s; try the combinations (bounded).
      const std::u32string lower = Lowered(word, tr);
      std::vector<std::size_t> at;
      for (std::size_t i = 0; i + 1 < lower.size() && at.size() < 6; ++i)
        if (lower[i] == U's' && lower[i + 1] == U's') at.push_back(i++);
      for (unsigned mask = 1; mask < (1u << at.size()); ++mask) {
        std::u32string v;
        std::size_t from = 0;
        for (std::size_t k = 0; k < at.size(); ++k) {
          v.append(lower, from, at[k] - from);
          if (mask & (1u << k))
            v += U'ß';
          else
            v += U"ss";
          from = at[k] + 2;
        }
        v.append(lower, from);
        CaseContext sharp = asIs;  // a sharp s has no capital: no change of case
        for (const std::u32string& cand : {Capitalised(v, tr), v}) {
          s = Simple(cand, sharp, budget);
          if (s == Status::Found) return s;
        }
      }
    }
    // A capitalised form the dictionary forbids forbids the capitals too.
    s = lowered(Capitalised(word, tr));
    if (s != Status::Missing) return s;
    s = lowered(Lowered(word, tr));
    if (s == Status::Found) return s;
    // An apostrophe: "UNICEF'S" may be "UNICEF's", "L'AFRIQUE" "L'Afrique".
    const auto apostrophe = word.find(U'\'');
    if (apostrophe != std::u32string_view::npos && apostrophe + 1 < word.size()) {
      const std::u32string tail =
          std::u32string(word.substr(0, apostrophe + 1)) + Lowered(word.substr(apostrophe + 1), tr);
      if (Simple(tail, changed, budget) == Status::Found) return Status::Found;
      std::u32string cap = Capitalised(word, tr);
      cap[apostrophe + 1] = ToUpper(cap[apostrophe + 1], tr);
      if (Simple(cap, changed, budget) == Status::Found) return Status::Found;
    }
    return Status::Missing;
  }
  if (type == CapType::Initial) {
    s = lowered(Lowered(word, tr));
    if (s == Status::Found) return s;
  }
  return Status::Missing;
}

bool WordChecker::CheckSuggestion(std::u32string_view input, Budget& budget) const {
  // Most words hold no character that an ICONV pattern starts with.
  bool convert = false;
  for (const auto& [from, to] : a_.iconv) {
    const char32_t first = from.size() > 1 && from[0] == U'_' ? from[1]
                           : from.empty()                     ? 0
                                                              : from[0];
    if (input.find(first) != std::u32string_view::npos) convert = true;
  }
  std::u32string word = convert ? ApplyConversions(input, a_.iconv) : std::u32string(input);
  for (char32_t c : a_.ignore) std::erase(word, c);
  if (word.empty()) return false;
  budget.noSuggest = a_.noSuggest != 0;
  return CheckCased(word, budget) == Status::Found;
}

bool WordChecker::Check(std::u32string_view input) const {
  std::u32string word = ApplyConversions(input, a_.iconv);
  for (char32_t c : a_.ignore) std::erase(word, c);
  while (!word.empty() && (word.back() == U' ' || word.back() == U'\t')) word.pop_back();
  std::size_t lead = 0;
  while (lead < word.size() && (word[lead] == U' ' || word[lead] == U'\t')) ++lead;
  word.erase(0, lead);
  if (word.empty()) return true;
  if (IsNumber(word)) return true;
  Budget budget;
  std::size_t dots = 0;
  while (dots < word.size() && word[word.size() - 1 - dots] == U'.') ++dots;
  const std::u32string_view base = std::u32string_view(word).substr(0, word.size() - dots);
  if (base.empty()) return false;
  Status s = CheckCased(base, budget);
  if (s == Status::Forbidden) return false;
  if (s == Status::Found) return true;
  if (dots) {
    // An abbreviation: the dictionary has it with its dot.
    s = CheckCased(std::u32string(base) + U'.', budget);
    if (s == Status::Found) return true;
    if (s == Status::Forbidden) return false;
  }
  // Break points: both sides of a break must be words (recursively).
  std::function<bool(std::u32string_view, int)> broken = [&](std::u32string_view w, int depth) {
    if (depth > kMaxBreakDepth || !budget.Spend()) return false;
    if (depth > 0) {
      const Status st = CheckCased(w, budget);
      if (st == Status::Found) return true;
      if (st == Status::Forbidden) return false;
    }
    static const std::vector<std::u32string> kDefault = {U"-", U"^-", U"-$"};
    const auto& patterns = a_.breaks.empty() && !a_.breaksGiven ? kDefault : a_.breaks;
    for (const auto& pat : patterns) {
      if (pat.size() > 1 && pat.front() == U'^') {
        const auto body = std::u32string_view(pat).substr(1);
        if (w.size() > body.size() && w.substr(0, body.size()) == body &&
            broken(w.substr(body.size()), depth + 1))
          return true;
      } else if (pat.size() > 1 && pat.back() == U'$') {
        const auto body = std::u32string_view(pat).substr(0, pat.size() - 1);
        if (w.size() > body.size() && w.substr(w.size() - body.size()) == body &&
            broken(w.substr(0, w.size() - body.size()), depth + 1))
          return true;
      } else {
        for (std::size_t at = w.find(pat); at != std::u32string_view::npos;
             at = w.find(pat, at + 1)) {
          if (at == 0 || at + pat.size() >= w.size()) continue;
          if (broken(w.substr(0, at), depth + 1) && broken(w.substr(at + pat.size()), depth + 1))
            return true;
        }
      }
    }
    return false;
  };
  // Capitals are split as the capitalised word ("CD-ROM" as "Cd" and "rom"), as hunspell does.
  if (ClassifyCase(word) == CapType::All) return broken(Capitalised(word, a_.turkishCasing), 0);
  return broken(word, 0);
}

}  // namespace spellcheck::hunspell
