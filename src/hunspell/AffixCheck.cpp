// The readings of a word as a stem with affixes, found by taking affixes off
// at lookup time: only affixes whose added text the word shows are tried.
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

bool WordChecker::Stems(std::u32string_view root, const StemFn& fn) const {
  if (root.empty()) return false;
  // The table's key in UTF-8, built on the stack: this runs for every candidate.
  char key[256];
  std::size_t n = 0;
  for (char32_t c : root) {
    if (n + 4 > sizeof key) return w_.AnyOf(ToUtf8(root), fn);
    if (c < 0x80) {
      key[n++] = static_cast<char>(c);
    } else if (c < 0x800) {
      key[n++] = static_cast<char>(0xC0 | (c >> 6));
      key[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      key[n++] = static_cast<char>(0xE0 | (c >> 12));
      key[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      key[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      key[n++] = static_cast<char>(0xF0 | (c >> 18));
      key[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      key[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      key[n++] = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return w_.AnyOf(std::string_view(key, n), fn);
}

bool WordChecker::AffixAllowed(const Affix& affix, Part part, bool prefix) const {
  if (part == Part::Whole) return !affix.onlyInCompound;
  if (affix.compoundForbid) return false;
  // A joining element (ONLYINCOMPOUND affix) stands between parts, not at the ends,
  // unless it names that end's position itself.
  if (affix.onlyInCompound && !affix.compoundFlag) {
    if (part == Part::Last && !prefix && !affix.compoundEnd) return false;
    if (part == Part::First && prefix && !affix.compoundBegin) return false;
  }
  switch (part) {
    case Part::First:
      return prefix || affix.compoundPermit;
    case Part::Last:
      return !prefix || affix.compoundPermit;
    case Part::Middle:
      return affix.compoundPermit;
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
  // A circumfix ties a prefix to a suffix; a prefix alone is not checked.
  if (a_.circumfix && s) {
    const bool pc = (p && HasFlag(p->cont, a_.circumfix)) ||
                    (f.prefix2 && HasFlag(f.prefix2->cont, a_.circumfix));
    const bool sc = (s && HasFlag(s->cont, a_.circumfix)) ||
                    (f.suffix2 && HasFlag(f.suffix2->cont, a_.circumfix));
    if (pc != sc) return false;
  }
  (void)part;
  return fn(f);
}

namespace {

// The word with `cut` characters taken off one end and `strip` put back: a
// view of the word itself when nothing is put back.
std::u32string_view Rebuilt(std::u32string_view word, std::size_t cut, std::u32string_view strip,
                            bool atEnd, std::u32string& buffer) {
  const std::u32string_view kept = atEnd ? word.substr(0, word.size() - cut) : word.substr(cut);
  if (strip.empty()) return kept;
  if (atEnd) {
    buffer.assign(kept);
    buffer += strip;
  } else {
    buffer.assign(strip);
    buffer += kept;
  }
  return buffer;
}

}  // namespace

bool WordChecker::Suffixes(std::u32string_view word, const Affix* prefix, Part part,
                           const FormFn& fn) const {
  if (word.empty()) return false;
  const bool twofold =
      !a_.complexPrefixes && (part == Part::Whole || part == Part::Last || a_.compoundMoreSuffixes);
  std::u32string rootBuffer, innerBuffer;
  return a_.suffixIndex.ForEachMatch(word, [&](std::uint32_t index) {
    const Affix& s = a_.suffixes[index];
    const std::size_t add = s.append.size();
    if (add == word.size() && !a_.fullStrip) return false;
    if (!AffixAllowed(s, part, false)) return false;
    const std::u32string_view root = Rebuilt(word, add, s.strip, true, rootBuffer);
    if (root.empty() || !s.condition.MatchesEnd(root)) return false;
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
    if (!twofold || !a_.suffixContinued[s.flag]) return false;
    // `s` as the outer of two suffixes.
    return a_.suffixIndex.ForEachMatch(root, [&](std::uint32_t index2) {
      const Affix& s1 = a_.suffixes[index2];
      if (!HasFlag(s1.cont, s.flag)) return false;
      const std::size_t add1 = s1.append.size();
      if (add1 >= root.size()) return false;
      if (!AffixAllowed(s1, part, false)) return false;
      const std::u32string_view inner = Rebuilt(root, add1, s1.strip, true, innerBuffer);
      if (inner.empty() || !s1.condition.MatchesEnd(inner)) return false;
      if (prefix && !prefix->condition.MatchesStart(inner)) return false;
      Form form;
      form.root = inner;
      form.prefix = prefix;
      form.suffix = &s1;
      form.suffix2 = &s;
      return Stems(inner, [&](const FlagSet& flags) {
        form.flags = &flags;
        return Accept(form, part, fn);
      });
    });
  });
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
  std::u32string restBuffer, rootBuffer;
  return a_.prefixIndex.ForEachMatch(word, [&](std::uint32_t index) {
    const Affix& p = a_.prefixes[index];
    const std::size_t add = p.append.size();
    if (add == word.size() && !a_.fullStrip) return false;
    if (!AffixAllowed(p, part, true)) return false;
    const std::u32string_view rest = Rebuilt(word, add, p.strip, false, restBuffer);
    if (rest.empty()) return false;
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
    if (!a_.complexPrefixes || !a_.prefixContinued[p.flag]) return false;
    // `p` as the outer of two prefixes.
    return a_.prefixIndex.ForEachMatch(rest, [&](std::uint32_t index2) {
      const Affix& p1 = a_.prefixes[index2];
      if (!HasFlag(p1.cont, p.flag)) return false;
      const std::size_t add1 = p1.append.size();
      if (add1 >= rest.size()) return false;
      if (!AffixAllowed(p1, part, true)) return false;
      const std::u32string_view root = Rebuilt(rest, add1, p1.strip, false, rootBuffer);
      if (!p1.condition.MatchesStart(root)) return false;
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
      return Suffixes(root, &p1, part, [&](const Form& inner) {
        Form f = inner;
        f.prefix2 = &p;
        return HasFlag(p1.cont, p.flag) && fn(f);
      });
    });
  });
}

}  // namespace spellcheck::hunspell
