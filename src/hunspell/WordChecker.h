// Judges words against the stems and affix rules of a dictionary: the
// readings of a word as stem plus affixes (AffixCheck.cpp), compounds
// (CompoundCheck.cpp) and the whole-word procedure with capitals, dots and
// break points (WordCheck.cpp).
#ifndef SPELLCHECK_HUNSPELL_WORDCHECKER_H
#define SPELLCHECK_HUNSPELL_WORDCHECKER_H

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "hunspell/AffixData.h"
#include "hunspell/WordTable.h"

namespace spellcheck::hunspell {

// Where a word stands: alone, or as a part of a compound.
enum class Part { Whole, First, Middle, Last };

// One reading of a word: a stem of the dictionary with up to two affixes on
// either side (outer ones are prefix2/suffix2).
struct Form {
  std::u32string_view root;
  const FlagSet* flags = nullptr;
  const Affix* prefix = nullptr;
  const Affix* prefix2 = nullptr;
  const Affix* suffix = nullptr;
  const Affix* suffix2 = nullptr;
  bool Affixed() const { return prefix || suffix; }
  // Only affixes that change nothing (or none).
  bool Unmodified() const;
  // The flag on the stem or carried by one of the affixes.
  bool Has(Flag flag) const;
  bool StemHas(Flag flag) const { return HasFlag(*flags, flag); }
};

// A callable handed down for the length of a call, neither copied nor allocated.
template <class Signature>
class FunctionRef;
template <class R, class... Args>
class FunctionRef<R(Args...)> {
 public:
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
  FunctionRef(F&& f)  // NOLINT: converts like std::function
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
        call_([](void* o, Args... args) -> R {
          return (*static_cast<std::remove_reference_t<F>*>(o))(std::forward<Args>(args)...);
        }) {}
  R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

 private:
  void* object_;
  R (*call_)(void*, Args...);
};

using FormFn = FunctionRef<bool(const Form&)>;
using StemFn = FunctionRef<bool(const FlagSet&)>;

enum class Status { Missing, Found, Forbidden };

// How the checked form relates to the word as written.
struct CaseContext {
  bool caseChanged = false;  // the form's capitals differ from the text's
  bool capitalised = false;  // the text starts with a capital
  bool allCaps = false;      // the text is in capitals
  bool sharpS = false;       // the form has a sharp s (CHECKSHARPS lets such words be capitalised)
};

// Work left for one check; every step of compound search spends one.
struct Budget {
  long steps = 20000;
  bool compounds = true;   // whether readings as compounds are looked for
  bool noSuggest = false;  // whether stems marked NOSUGGEST are passed over (for suggestions)
  bool Spend() { return --steps >= 0; }
};

class WordChecker {
 public:
  WordChecker(const AffixData& affixes, const WordTable& words) : a_(affixes), w_(words) {}

  // The whole procedure on a decoded word (ICONV, IGNORE, capitals, dots,
  // break points).
  bool Check(std::u32string_view word) const;
  // The word as written, without break points: found, forbidden or missing.
  Status CheckCased(std::u32string_view word, Budget& budget) const;
  // The stricter check of a word to suggest: as Check, but no break points
  // (no "Haus-" from "Haus"), no trailing dots, no numbers, and no stem
  // marked NOSUGGEST, alone or in a compound.
  bool CheckSuggestion(std::u32string_view word, Budget& budget) const;
  // Calls fn on each structurally valid reading until it returns true.
  bool ForEachForm(std::u32string_view word, Part part, const FormFn& fn) const;
  // One reading of the word that a text may use alone.
  Status Simple(std::u32string_view word, const CaseContext& ctx, Budget& budget) const;
  bool IsCompound(std::u32string_view word, const CaseContext& ctx, Budget& budget) const;

  const AffixData& Affixes() const { return a_; }
  const WordTable& Words() const { return w_; }

 private:
  bool Stems(std::u32string_view root, const StemFn& fn) const;
  bool Suffixes(std::u32string_view word, const Affix* prefix, Part part, const FormFn& fn) const;
  bool Accept(const Form& form, Part part, const FormFn& fn) const;
  bool AffixAllowed(const Affix& affix, Part part, bool prefix) const;
  bool FlagCompound(std::u32string_view word, const CaseContext& ctx, Budget& budget) const;
  bool RuleCompound(std::u32string_view word, Budget& budget) const;
  bool RepMakesWord(std::u32string_view text) const;
  bool ForbiddenInCompound(std::u32string_view part) const;

  const AffixData& a_;
  const WordTable& w_;
};

}  // namespace spellcheck::hunspell

#endif
