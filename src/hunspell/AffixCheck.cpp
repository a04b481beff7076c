// The readings of a word as a stem with affixes, found by taking affixes off
// at lookup time: only affixes whose added text the word shows are tried.
#include <algorithm>

#include "hunspell/WordChecker.h"

namespace spellcheck::hunspell {

bool Form::Has(Flag flag) const {
  if (flag == 0) return false;
  if (HasFlag(*flags, flag)) return true;
  for (const Affix* a : {prefix, prefix2, suffix, suffix2})
    if (a && HasFlag(a->cont, flag)) return true;
  return false;
}

bool Form::Unmodified() const {
  for (const Affix* a : {prefix, prefix2, suffix, suffix2})
    if (a && (!a->append.empty() || !a->strip.empty())) return false;
  return true;
}

bool WordChecker::Stems(std::u32string_view root,
                        const std::function<bool(const FlagSet&)>& fn) const {
  if (root.empty()) return false;
  // One buffer a thread: lookups are the commonest step of every check. The
  // table has found the word's entries before `fn` may look up another.
  thread_local std::string key;
  ToUtf8(root, key);
  return w_.AnyOf(key, fn);
}

bool WordChecker::AffixAllowed(const Affix& affix, Part part, bool prefix) const {
  if (part == Part::Whole) return !HasFlag(affix.cont, a_.onlyInCompound);
  if (HasFlag(affix.cont, a_.compoundForbid)) return false;
  // A joining element (ONLYINCOMPOUND affix) stands between parts, not at the ends.
  // unless it names that end's position itself.
  if (HasFlag(affix.cont, a_.onlyInCompound) && !HasFlag(affix.cont, a_.compoundFlag)) {
    if (part == Part::Last && !prefix && !HasFlag(affix.cont, a_.compoundEnd)) return false;
    if (part == Part::First && prefix && !HasFlag(affix.cont, a_.compoundBegin)) return false;
  }
  const bool permitted = HasFlag(affix.cont, a_.compoundPermit);
  switch (part) {
    case Part::First:
      return prefix || permitted;
    case Part::Last:
      return !prefix || permitted;
    case Part::Middle:
      return permitted;
    default:
      return true;
  }
}

// The rules that tie affixes to the stem and to each other.
bool WordChecker::Accept(const Form& f, Part part, const FormFn& fn) const {
  const Affix* p = f.prefix;
  const Affix* s = f.suffix;
  if (!f.Affixed()) {
    if (f.StemHas(a_.needAffix)) return false;
    return fn(f);
  }
  if (s) {
    const bool viaStem = f.StemHas(s->flag);
    const bool viaPrefix = p && HasFlag(p->cont, s->flag);
    if (!viaStem && !viaPrefix) return false;
    if (f.suffix2 && !HasFlag(s->cont, f.suffix2->flag)) return false;
  }
  if (p) {
    const bool viaStem = f.StemHas(p->flag);
    const bool viaSuffix =
        s && (HasFlag(s->cont, p->flag) || (f.suffix2 && HasFlag(f.suffix2->cont, p->flag)));
    if (!viaStem && !viaSuffix) return false;
    if (f.prefix2 && !HasFlag(p->cont, f.prefix2->flag)) return false;
    if (s && viaStem && !viaSuffix && !HasFlag(p->cont, s->flag) && !(p->cross && s->cross))
      return false;
  }
  // An affix that needs another is no ending by itself.
  if (a_.needAffix) {
    bool allNeed = true;
    for (const Affix* x : {f.prefix, f.prefix2, f.suffix, f.suffix2})
      if (x && !HasFlag(x->cont, a_.needAffix)) allNeed = false;
    if (allNeed) return false;
  }
  if (a_.circumfix) {
    const bool pc = (p && HasFlag(p->cont, a_.circumfix)) ||
                    (f.prefix2 && HasFlag(f.prefix2->cont, a_.circumfix));
    const bool sc = (s && HasFlag(s->cont, a_.circumfix)) ||
                    (f.suffix2 && HasFlag(f.suffix2->cont, a_.circumfix));
    if (pc != sc) return false;
  }
  (void)part;
  return fn(f);
}

bool WordChecker::Suffixes(std::u32string_view word, const Affix* prefix, Part part,
                           const FormFn& fn) const {
  if (word.empty()) return false;
  const bool twofold = !a_.complexPrefixes && (part == Part::Whole || a_.compoundMoreSuffixes);
  std::u32string root, inner;
  for (std::size_t ending = 0; ending <= std::min(word.size(), a_.longestSuffix); ++ending) {
    const auto it =
        a_.suffixesByAppend.find(AffixData::TextHash(word.substr(word.size() - ending)));
    if (it == a_.suffixesByAppend.end()) continue;
    for (std::uint32_t index : it->second) {
      const Affix& s = a_.suffixes[index];
      const std::size_t add = s.append.size();
      if (add > word.size() || word.substr(word.size() - add) != s.append) continue;
      if (add == word.size() && !a_.fullStrip) continue;
      if (!AffixAllowed(s, part, false)) continue;
      root.assign(word.substr(0, word.size() - add));
      root += s.strip;
      if (root.empty() || !s.condition.MatchesEnd(root)) continue;
      if (!prefix || prefix->condition.MatchesStart(root)) {
        Form form;
        form.root = root;
        form.prefix = prefix;
        form.suffix = &s;
        if (Stems(root, [&](const FlagSet& flags) {
              form.flags = &flags;
              return Accept(form, part, fn);
            }))
          return true;
      }
      if (!twofold) continue;
      // `s` as the outer of two suffixes: only inner ones that carry its flag.
      const auto carrying = a_.suffixesCarrying.find(s.flag);
      if (carrying == a_.suffixesCarrying.end()) continue;
      for (std::uint32_t index2 : carrying->second) {
        const Affix& s1 = a_.suffixes[index2];
        const std::size_t add1 = s1.append.size();
        if (add1 >= root.size() || root.substr(root.size() - add1) != s1.append) continue;
        if (!AffixAllowed(s1, part, false)) continue;
        inner.assign(root.substr(0, root.size() - add1));
        inner += s1.strip;
        if (inner.empty() || !s1.condition.MatchesEnd(inner)) continue;
        if (prefix && !prefix->condition.MatchesStart(inner)) continue;
        Form form;
        form.root = inner;
        form.prefix = prefix;
        form.suffix = &s1;
        form.suffix2 = &s;
        if (Stems(inner, [&](const FlagSet& flags) {
              form.flags = &flags;
              return Accept(form, part, fn);
            }))
          return true;
      }
    }
  }
  return false;
}

bool WordChecker::ForEachForm(std::u32string_view word, Part part, const FormFn& fn) const {
  if (word.empty()) return false;
  Form bare;
  bare.root = word;
  if (Stems(word, [&](const FlagSet& flags) {
        bare.flags = &flags;
        return Accept(bare, part, fn);
      }))
    return true;
  if (Suffixes(word, nullptr, part, fn)) return true;
  std::u32string rest, root;
  for (char32_t key : {word.front(), char32_t{0}}) {
    const auto it = a_.prefixIndex.find(key);
    if (it == a_.prefixIndex.end()) continue;
    for (std::uint32_t index : it->second) {
      const Affix& p = a_.prefixes[index];
      const std::size_t add = p.append.size();
      if (add > word.size() || word.substr(0, add) != p.append) continue;
      if (add == word.size() && !a_.fullStrip) continue;
      if (!AffixAllowed(p, part, true)) continue;
      rest = p.strip;
      rest += word.substr(add);
      if (rest.empty()) continue;
      if (p.condition.MatchesStart(rest)) {
        Form form;
        form.root = rest;
        form.prefix = &p;
        if (Stems(rest, [&](const FlagSet& flags) {
              form.flags = &flags;
              return Accept(form, part, fn);
            }))
          return true;
      }
      if (Suffixes(rest, &p, part, fn)) return true;
      if (!a_.complexPrefixes) continue;
      // `p` as the outer of two prefixes.
      for (char32_t key2 : {rest.front(), char32_t{0}}) {
        const auto it2 = a_.prefixIndex.find(key2);
        if (it2 == a_.prefixIndex.end()) continue;
        for (std::uint32_t index2 : it2->second) {
          const Affix& p1 = a_.prefixes[index2];
          if (!HasFlag(p1.cont, p.flag)) continue;
          const std::size_t add1 = p1.append.size();
          if (add1 >= rest.size() || rest.substr(0, add1) != p1.append) continue;
          if (!AffixAllowed(p1, part, true)) continue;
          root = p1.strip;
          root += rest.substr(add1);
          if (!p1.condition.MatchesStart(root)) continue;
          Form form;
          form.root = root;
          form.prefix = &p1;
          form.prefix2 = &p;
          if (Stems(root, [&](const FlagSet& flags) {
                form.flags = &flags;
                return Accept(form, part, fn);
              }))
            return true;
          // Two prefixes and a suffix.
          if (Suffixes(root, &p1, part, [&](const Form& inner) {
                Form f = inner;
                f.prefix2 = &p;
                return HasFlag(p1.cont, p.flag) && fn(f);
              }))
            return true;
        }
      }
    }
  }
  return false;
}

}  // namespace spellcheck::hunspell
