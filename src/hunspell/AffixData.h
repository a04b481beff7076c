// What a .aff file says, decoded to code points: options, flags with a
// meaning, affix rules (indexed by the characters they add) and tables for
// conversion, compounding and suggestions.
#ifndef SPELLCHECK_HUNSPELL_AFFIXDATA_H
#define SPELLCHECK_HUNSPELL_AFFIXDATA_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "hunspell/AffixIndex.h"
#include "hunspell/Charset.h"
#include "hunspell/Condition.h"
#include "hunspell/Flags.h"

namespace spellcheck::hunspell {

struct Affix {
  Flag flag = 0;
  bool cross = false;  // may combine with an affix of the other side
  std::u32string strip;
  std::u32string append;
  Condition condition;
  FlagSet cont;  // continuation classes and flags the affixed word takes on
  // What `cont` says about compounds, looked up once at load.
  bool compoundForbid = false, onlyInCompound = false, compoundPermit = false;
  bool compoundFlag = false, compoundBegin = false, compoundEnd = false;
};

// One CHECKCOMPOUNDPATTERN line.
struct CompoundPattern {
  std::u32string end, begin, replacement;
  Flag endFlag = 0, beginFlag = 0;
  bool endUnmodified = false;  // "0": the first part must be an unaffixed stem
};

// One element of a COMPOUNDRULE: a flag, optionally with '*' or '?'.
struct RuleElement {
  Flag flag = 0;
  char repeat = 0;
};
using CompoundRule = std::vector<RuleElement>;

// A replacement table (REP, ICONV, OCONV): `from` may start with '^' or end
// with '$' (anchored) in REP.
using Replacements = std::vector<std::pair<std::u32string, std::u32string>>;

struct AffixData {
  std::string encoding = "ISO8859-1";
  Charset charset;
  std::string language;
  FlagType flagType = FlagType::Byte;
  bool complexPrefixes = false, fullStrip = false, checkSharps = false;
  bool checkCompoundDup = false, checkCompoundRep = false, checkCompoundCase = false;
  bool checkCompoundTriple = false, simplifiedTriple = false, compoundMoreSuffixes = false;
  bool noSplitSugs = false, onlyMaxDiff = false;
  bool turkishCasing = false;
  Flag forbidden = 0, keepCase = 0, needAffix = 0, onlyInCompound = 0, noSuggest = 0;
  Flag circumfix = 0, compoundFlag = 0, compoundBegin = 0, compoundMiddle = 0, compoundEnd = 0;
  Flag compoundPermit = 0, compoundForbid = 0, compoundRoot = 0, forceUcase = 0, warn = 0;
  Flag substandard = 0;
  int compoundMin = 3;
  int compoundWordMax = 0;  // 0: no limit
  int compoundSyllableMax = 0;
  std::u32string syllableVowels;
  FlagSet syllableNumFlags;
  int maxDiff = -1;

  std::vector<Affix> prefixes, suffixes;
  // The affixes by the text they add.
  AffixIndex prefixIndex, suffixIndex;
  // Flags that some affix of the side lets a further affix carry: only an
  // affix of such a flag can be the outer one of two.
  std::vector<bool> prefixContinued, suffixContinued;
  // Suffixes by their own flag: the forms a stem's flags let it take (for
  // suggestions made from near stems).
  std::unordered_map<Flag, std::vector<std::uint32_t>> suffixesByFlag;
  std::vector<FlagSet> aliases;  // AF, numbered from 1
  std::size_t morphAliasCount = 0;

  Replacements rep, iconv, oconv;
  std::vector<std::vector<std::u32string>> map;  // groups of related characters (or strings)
  std::u32string key, tryChars, ignore;
  std::vector<std::u32string> breaks;
  bool breaksGiven = false;  // BREAK 0 turns the default break points off
  std::vector<CompoundPattern> compoundPatterns;
  std::vector<CompoundRule> compoundRules;
  FlagSet compoundRuleFlags;  // every flag that a rule names
  std::string wordChars;      // UTF-8

  bool HasCompounding() const {
    return compoundFlag || compoundBegin || compoundMiddle || compoundEnd || !compoundRules.empty();
  }
};

}  // namespace spellcheck::hunspell

#endif
