#include "hunspell/AffixFile.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "hunspell/LoadError.h"

namespace spellcheck::hunspell {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool ToNumber(std::string_view s, long& value) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && p == s.data() + s.size();
}

// Replacement tables write a space as '_'.
std::u32string Underscores(std::u32string s) {
  std::replace(s.begin(), s.end(), U'_', U' ');
  return s;
}

class Reader {
 public:
  Reader(AffixData& data, std::string_view name, std::vector<std::string>* warnings)
      : d_(data), name_(name), warnings_(warnings) {}

  void Run(std::string_view bytes);

 private:
  void Warn(std::size_t line, const std::string& what) {
    if (warnings_) warnings_->push_back(name_ + ":" + std::to_string(line) + ": " + what);
  }
  bool Text(std::string_view bytes, std::u32string& out, std::size_t line) {
    if (!d_.charset.Decode(bytes, out)) {
      Warn(line, "bytes that are not " + d_.encoding);
      return false;
    }
    return true;
  }
  void Option(const std::vector<std::string_view>& f, std::size_t line);
  void AffixLine(bool prefix, const std::vector<std::string_view>& f, std::size_t line);
  // Table lines (REP, MAP, ...): true when the line is an entry to use; the
  // first line of each table is its count.
  bool TableEntry(const std::string& key, const std::vector<std::string_view>& f, std::size_t line);
  void CompoundRuleLine(std::string_view text, std::size_t line);

  AffixData& d_;
  std::string name_;
  std::vector<std::string>* warnings_;
  std::map<std::string, long> tableLeft_;  // entries still announced per table
  std::map<std::string, bool> tableSeen_;
  struct AffixClass {
    bool cross = false;
    long left = 0;
  };
  std::map<std::pair<bool, Flag>, AffixClass> classes_;
};

void Reader::Run(std::string_view bytes) {
  const auto lines = SplitLines(bytes);
  // The character set and flag notation come first, whatever line has them.
  for (auto line : lines) {
    const auto f = SplitFields(line);
    if (f.size() < 2) continue;
    if (f[0] == "SET") d_.encoding = std::string(f[1]);
    if (f[0] == "FLAG") {
      if (f[1] == "long")
        d_.flagType = FlagType::Long;
      else if (f[1] == "num")
        d_.flagType = FlagType::Number;
      else if (f[1] == "UTF-8")
        d_.flagType = FlagType::Utf8;
    }
  }
  if (!d_.charset.Select(d_.encoding))
    throw LoadError(name_ + ": unknown character set " + d_.encoding);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto f = SplitFields(lines[i]);
    if (f.empty() || f[0][0] == '#') continue;
    Option(f, i + 1);
  }
  for (auto& [key, cls] : classes_)
    if (cls.left > 0) Warn(0, "affix class announces more rules than it has");
  auto index = [](const std::vector<Affix>& affixes, bool fromEnd, AffixIndex& out,
                  std::vector<bool>& continued) {
    std::vector<std::u32string_view> texts;
    continued.assign(std::size_t{1} << (8 * sizeof(Flag)), false);
    for (const Affix& a : affixes) {
      texts.push_back(a.append);
      for (Flag f : a.cont) continued[f] = true;
    }
    out.Build(texts, fromEnd);
  };
  for (auto* list : {&d_.prefixes, &d_.suffixes}) {
    for (Affix& a : *list) {
      a.compoundForbid = HasFlag(a.cont, d_.compoundForbid);
      a.onlyInCompound = HasFlag(a.cont, d_.onlyInCompound);
      a.compoundPermit = HasFlag(a.cont, d_.compoundPermit);
      a.compoundFlag = HasFlag(a.cont, d_.compoundFlag);
      a.compoundBegin = HasFlag(a.cont, d_.compoundBegin);
      a.compoundEnd = HasFlag(a.cont, d_.compoundEnd);
    }
  }
  d_.prefixes.shrink_to_fit();
  d_.suffixes.shrink_to_fit();
  index(d_.prefixes, false, d_.prefixIndex, d_.prefixContinued);
  index(d_.suffixes, true, d_.suffixIndex, d_.suffixContinued);
  for (std::uint32_t i = 0; i < d_.suffixes.size(); ++i)
    d_.suffixesByFlag[d_.suffixes[i].flag].push_back(i);
  for (const auto& rule : d_.compoundRules)
    for (const auto& e : rule) d_.compoundRuleFlags.push_back(e.flag);
  std::sort(d_.compoundRuleFlags.begin(), d_.compoundRuleFlags.end());
  d_.compoundRuleFlags.erase(std::unique(d_.compoundRuleFlags.begin(), d_.compoundRuleFlags.end()),
                             d_.compoundRuleFlags.end());
  const std::string lang = d_.language.substr(0, 2);
  d_.turkishCasing = lang == "tr" || lang == "az" || d_.language.substr(0, 3) == "crh";
}

bool Reader::TableEntry(const std::string& key, const std::vector<std::string_view>& f,
                        std::size_t line) {
  long count = 0;
  long& left = tableLeft_[key];
  if (left <= 0 && f.size() >= 2 && ToNumber(f[1], count) && (!tableSeen_[key] || f.size() == 2)) {
    tableSeen_[key] = true;
    left = std::max(0L, count);
    return false;
  }
  if (left <= 0 && tableSeen_[key]) Warn(line, key + " has more entries than its count");
  --left;
  return true;
}

void Reader::CompoundRuleLine(std::string_view text, std::size_t line) {
  CompoundRule rule;
  std::string error;
  for (std::size_t i = 0; i < text.size();) {
    std::string_view flagText;
    if (text[i] == '(') {
      const auto close = text.find(')', i);
      if (close == std::string_view::npos) {
        Warn(line, "unclosed parenthesis in COMPOUNDRULE");
        return;
      }
      flagText = text.substr(i + 1, close - i - 1);
      i = close + 1;
    } else if (text[i] == '*' || text[i] == '?') {
      Warn(line, "repeat mark without flag in COMPOUNDRULE");
      return;
    } else {
      std::size_t len = 1;
      if (d_.flagType == FlagType::Long) len = 2;
      if (d_.flagType == FlagType::Utf8) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      }
      if (d_.flagType == FlagType::Number) {
        len = 0;
        while (i + len < text.size() && text[i + len] >= '0' && text[i + len] <= '9') ++len;
        if (len == 0) len = 1;
      }
      flagText = text.substr(i, len);
      i += len;
    }
    Flag flag = 0;
    if (!ParseFlag(flagText, d_.flagType, flag)) {
      Warn(line, "bad flag in COMPOUNDRULE");
      return;
    }
    RuleElement e{flag, 0};
    if (i < text.size() && (text[i] == '*' || text[i] == '?')) e.repeat = text[i++];
    rule.push_back(e);
  }
  if (!rule.empty()) d_.compoundRules.push_back(std::move(rule));
}

void Reader::AffixLine(bool prefix, const std::vector<std::string_view>& f, std::size_t line) {
  const char* key = prefix ? "PFX" : "SFX";
  if (f.size() < 4) {
    Warn(line, std::string(key) + " line with too few fields");
    return;
  }
  Flag flag = 0;
  if (!ParseFlag(f[1], d_.flagType, flag)) {
    Warn(line, "bad affix flag");
    return;
  }
  AffixClass& cls = classes_[{prefix, flag}];
  long count = 0;
  const bool header =
      (f[2] == "Y" || f[2] == "N") && ToNumber(f[3], count) && (cls.left <= 0 || f.size() == 4);
  if (header) {
    if (cls.left > 0) Warn(line, "affix class announces more rules than it has");
    cls.cross = f[2] == "Y";
    cls.left = std::max(0L, count);
    return;
  }
  if (cls.left <= 0) Warn(line, "affix rule beyond its class's count");
  --cls.left;
  Affix a;
  a.flag = flag;
  a.cross = cls.cross;
  if (f[2] != "0" && !Text(f[2], a.strip, line)) return;
  std::string_view append = f[3];
  std::string_view contText;
  const auto slash = append.find('/');
  if (slash != std::string_view::npos) {
    contText = append.substr(slash + 1);
    append = append.substr(0, slash);
  }
  if (append != "0" && !Text(append, a.append, line)) return;
  if (!contText.empty()) {
    std::string error;
    if (!ResolveFlags(d_, contText, a.cont, error)) Warn(line, error);
  }
  std::u32string cond = U".";
  if (f.size() >= 5 && !Text(f[4], cond, line)) return;
  if (!a.condition.Parse(cond)) Warn(line, "malformed condition");
  // Characters to ignore are gone from the words before they meet affixes.
  for (char32_t c : d_.ignore) {
    std::erase(a.append, c);
    std::erase(a.strip, c);
  }
  (prefix ? d_.prefixes : d_.suffixes).push_back(std::move(a));
}

void Reader::Option(const std::vector<std::string_view>& f, std::size_t line) {
  const std::string key(f[0]);
  const std::string_view value = f.size() > 1 ? f[1] : std::string_view();
  auto flagOption = [&](Flag& target) {
    if (!ParseFlag(value, d_.flagType, target)) Warn(line, key + " without a usable flag");
  };
  auto intOption = [&](int& target) {
    long v = 0;
    if (!ToNumber(value, v) || v < 0 || v > 1000000) {
      Warn(line, key + " needs a number");
      return;
    }
    target = static_cast<int>(v);
  };
  auto textOption = [&](std::u32string& target) {
    if (f.size() < 2) return Warn(line, key + " without a value");
    Text(value, target, line);
  };
  if (key == "PFX" || key == "SFX") return AffixLine(key == "PFX", f, line);
  if (key == "SET" || key == "FLAG") return;
  if (key == "LANG") {
    d_.language = std::string(value);
    return;
  }
  if (key == "COMPLEXPREFIXES")
    d_.complexPrefixes = true;
  else if (key == "FULLSTRIP")
    d_.fullStrip = true;
  else if (key == "CHECKSHARPS")
    d_.checkSharps = true;
  else if (key == "CHECKCOMPOUNDDUP")
    d_.checkCompoundDup = true;
  else if (key == "CHECKCOMPOUNDREP")
    d_.checkCompoundRep = true;
  else if (key == "CHECKCOMPOUNDCASE")
    d_.checkCompoundCase = true;
  else if (key == "CHECKCOMPOUNDTRIPLE")
    d_.checkCompoundTriple = true;
  else if (key == "SIMPLIFIEDTRIPLE")
    d_.simplifiedTriple = true;
  else if (key == "COMPOUNDMORESUFFIXES")
    d_.compoundMoreSuffixes = true;
  else if (key == "NOSPLITSUGS")
    d_.noSplitSugs = true;
  else if (key == "ONLYMAXDIFF")
    d_.onlyMaxDiff = true;
  else if (key == "FORBIDDENWORD")
    flagOption(d_.forbidden);
  else if (key == "KEEPCASE")
    flagOption(d_.keepCase);
  else if (key == "NEEDAFFIX" || key == "PSEUDOROOT")
    flagOption(d_.needAffix);
  else if (key == "ONLYINCOMPOUND")
    flagOption(d_.onlyInCompound);
  else if (key == "NOSUGGEST")
    flagOption(d_.noSuggest);
  else if (key == "CIRCUMFIX")
    flagOption(d_.circumfix);
  else if (key == "COMPOUNDFLAG")
    flagOption(d_.compoundFlag);
  else if (key == "COMPOUNDBEGIN" || key == "COMPOUNDFIRST")
    flagOption(d_.compoundBegin);
  else if (key == "COMPOUNDMIDDLE")
    flagOption(d_.compoundMiddle);
  else if (key == "COMPOUNDEND" || key == "COMPOUNDLAST")
    flagOption(d_.compoundEnd);
  else if (key == "COMPOUNDPERMITFLAG")
    flagOption(d_.compoundPermit);
  else if (key == "COMPOUNDFORBIDFLAG")
    flagOption(d_.compoundForbid);
  else if (key == "COMPOUNDROOT")
    flagOption(d_.compoundRoot);
  else if (key == "FORCEUCASE")
    flagOption(d_.forceUcase);
  else if (key == "WARN")
    flagOption(d_.warn);
  else if (key == "SUBSTANDARD")
    flagOption(d_.substandard);
  else if (key == "COMPOUNDMIN") {
    intOption(d_.compoundMin);
    if (d_.compoundMin < 1) d_.compoundMin = 1;
  } else if (key == "COMPOUNDWORDMAX")
    intOption(d_.compoundWordMax);
  else if (key == "MAXDIFF")
    intOption(d_.maxDiff);
  else if (key == "COMPOUNDSYLLABLE") {
    intOption(d_.compoundSyllableMax);
    if (f.size() > 2) Text(f[2], d_.syllableVowels, line);
  } else if (key == "SYLLABLENUM") {
    std::string error;
    if (!ResolveFlags(d_, value, d_.syllableNumFlags, error)) Warn(line, error);
  } else if (key == "TRY")
    textOption(d_.tryChars);
  else if (key == "KEY")
    textOption(d_.key);
  else if (key == "IGNORE")
    textOption(d_.ignore);
  else if (key == "WORDCHARS") {
    std::u32string chars;
    textOption(chars);
    d_.wordChars = ToUtf8(chars);
  } else if (key == "AF") {
    if (!TableEntry(key, f, line)) return;
    if (f.size() < 2) return Warn(line, "AF without flags");
    FlagSet set;
    std::string error;
    if (!ParseFlags(value, d_.flagType, set, error)) Warn(line, error);
    d_.aliases.push_back(std::move(set));
  } else if (key == "AM") {
    if (TableEntry(key, f, line)) ++d_.morphAliasCount;
  } else if (key == "REP" || key == "ICONV" || key == "OCONV") {
    if (!TableEntry(key, f, line)) return;
    if (f.size() < 3) return Warn(line, key + " entry needs two fields");
    std::u32string from, to;
    if (!Text(f[1], from, line) || !Text(f[2], to, line) || from.empty()) return;
    auto& table = key == "REP" ? d_.rep : key == "ICONV" ? d_.iconv : d_.oconv;
    if (key == "REP")
      table.emplace_back(Underscores(from), Underscores(to));
    else
      table.emplace_back(from, to);
  } else if (key == "MAP") {
    if (!TableEntry(key, f, line)) return;
    std::u32string text;
    if (f.size() < 2 || !Text(value, text, line)) return;
    std::vector<std::u32string> group;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == U'(') {
        const auto close = text.find(U')', i);
        if (close == std::u32string::npos) break;
        group.push_back(text.substr(i + 1, close - i - 1));
        i = close;
      } else {
        group.emplace_back(1, text[i]);
      }
    }
    if (group.size() > 1) d_.map.push_back(std::move(group));
  } else if (key == "BREAK") {
    d_.breaksGiven = true;
    if (!TableEntry(key, f, line)) return;
    std::u32string text;
    if (f.size() >= 2 && Text(value, text, line) && !text.empty()) d_.breaks.push_back(text);
  } else if (key == "COMPOUNDRULE") {
    if (!TableEntry(key, f, line)) return;
    if (f.size() >= 2) CompoundRuleLine(value, line);
  } else if (key == "CHECKCOMPOUNDPATTERN") {
    if (!TableEntry(key, f, line)) return;
    if (f.size() < 3) return Warn(line, "CHECKCOMPOUNDPATTERN needs two fields");
    CompoundPattern p;
    auto part = [&](std::string_view field, std::u32string& text, Flag& flag) {
      const auto slash = field.find('/');
      if (slash != std::string_view::npos) {
        ParseFlag(field.substr(slash + 1), d_.flagType, flag);
        field = field.substr(0, slash);
      }
      return Text(field, text, line);
    };
    if (!part(f[1], p.end, p.endFlag) || !part(f[2], p.begin, p.beginFlag)) return;
    if (p.end == U"0") {
      p.end.clear();
      p.endUnmodified = true;
    }
    if (f.size() > 3) Text(f[3], p.replacement, line);
    d_.compoundPatterns.push_back(std::move(p));
  } else if (key == "PHONE" || key == "COMPOUNDFORBIDFLAG" || key == "LEMMA_PRESENT" ||
             key == "NAME" || key == "VERSION" || key == "HOME" || key == "ONLYINCOMPOUND") {
    // Read, no use for them yet.
  }
  // Other keys belong to other tools; they are ignored.
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool ResolveFlags(const AffixData& data, std::string_view field, FlagSet& out, std::string& error) {
  if (!data.aliases.empty()) {
    long index = 0;
    if (ToNumber(field, index) && index >= 1 &&
        static_cast<std::size_t>(index) <= data.aliases.size()) {
      out = data.aliases[static_cast<std::size_t>(index - 1)];
      return true;
    }
    out.clear();
    error = "flag alias out of range";
    return false;
  }
  return ParseFlags(field, data.flagType, out, error);
}

void ReadAffixFile(std::string_view bytes, std::string_view name, AffixData& data,
                   std::vector<std::string>* warnings) {
  Reader(data, name, warnings).Run(bytes);
}

}  // namespace spellcheck::hunspell
