// Makes "misspelling<TAB>intended" pairs from a word list with a seeded model
// of how people misspell: sound-alike spellings (ie/ei, c/k/s, ph/f, doubled
// or single consonants, the vowel of an unstressed syllable, -ance/-ence,
// -able/-ible, a silent e dropped or added) and slips on a QWERTY keyboard
// (a neighbouring key, a key too many or too few, two keys swapped). Most
// words get one error, some two; commoner words are picked more often. A
// misspelling that is itself a word of the dictionary is thrown away. The
// same arguments and seed give the same pairs on every machine.
//
// Usage: make_misspellings [options] WORDS
//   WORDS           one word a line, or "LEVEL<TAB>WORD" lines (english.levels)
//   --dict FILE     words that count as correct (more than one allowed;
//                   default: WORDS itself)
//   --seed N        (default 1)
//   --count N       pairs to make (default 2500)
//   --max-level N   intended words come from levels up to N (default 50);
//                   plain word lines count as this level
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// Own helpers on the raw 64-bit engine, whose sequence the standard fixes
// (the standard's distributions may differ between libraries).
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Unit() * n); }
  bool Chance(double p) { return Unit() < p; }
  // An index drawn in proportion to the weights.
  std::size_t Weighted(const std::vector<double>& weights) {
    double total = 0;
    for (const double w : weights) total += w;
    double at = Unit() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (at < weights[i]) return i;
      at -= weights[i];
    }
    return weights.size() - 1;
  }

 private:
  std::mt19937_64 engine_;
};

bool IsVowel(char c) {
  return std::string_view("aeiou").find(c) != std::string_view::npos;
}
bool IsLetter(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsConsonant(char c) {
  return IsLetter(c) && !IsVowel(c);
}

// Keys next to each key of a QWERTY keyboard.
std::string_view Neighbours(char c) {
  static const std::array<std::string_view, 26> kNeighbours = {
      "qwsz",   "vghn",  "xdfv", "serfcx", "wsdr", "drtgvc", "ftyhbv", "gyujnb", "ujko",
      "huikmn", "jiolm", "kop",  "njk",    "bhjm", "iklp",   "ol",     "wa",     "edft",
      "awedxz", "rfgy",  "yhji", "cfgb",   "qase", "zsdc",   "tghu",   "asx"};
  return IsLetter(c) ? kNeighbours[c - 'a'] : std::string_view();
}

bool LeftHand(char c) {
  return std::string_view("qwertasdfgzxcvb").find(c) != std::string_view::npos;
}

// A sound-alike spelling: FROM written as TO. Where: anywhere, only at the
// end of the word, or not at its start.
enum class Where { kAnywhere, kEnd, kNotStart, kStart };
struct SoundRule {
  std::string_view from;
  std::string_view to;
  Where where;
  double weight;
};
constexpr SoundRule kSoundRules[] = {
    {"ie", "ei", Where::kNotStart, 3},     {"ei", "ie", Where::kNotStart, 3},
    {"ance", "ence", Where::kEnd, 2},      {"ence", "ance", Where::kEnd, 2},
    {"ancy", "ency", Where::kEnd, 1},      {"ency", "ancy", Where::kEnd, 1},
    {"ant", "ent", Where::kEnd, 1.5},      {"ent", "ant", Where::kEnd, 1.5},
    {"able", "ible", Where::kEnd, 2},      {"ible", "able", Where::kEnd, 2},
    {"ary", "ery", Where::kEnd, 1},        {"ery", "ary", Where::kEnd, 1},
    {"er", "or", Where::kEnd, 0.5},        {"or", "er", Where::kEnd, 1},
    {"ar", "er", Where::kEnd, 0.5},        {"ful", "full", Where::kEnd, 1},
    {"ph", "f", Where::kAnywhere, 2},      {"f", "ph", Where::kAnywhere, 0.3},
    {"ck", "k", Where::kAnywhere, 1},      {"ca", "ka", Where::kAnywhere, 0.7},
    {"co", "ko", Where::kAnywhere, 0.5},   {"k", "c", Where::kAnywhere, 0.7},
    {"ce", "se", Where::kAnywhere, 1.5},   {"ci", "si", Where::kAnywhere, 1.5},
    {"se", "ce", Where::kNotStart, 1},     {"si", "ci", Where::kNotStart, 0.7},
    {"sc", "s", Where::kAnywhere, 1},      {"tion", "sion", Where::kNotStart, 1},
    {"sion", "tion", Where::kNotStart, 1}, {"dge", "ge", Where::kNotStart, 1},
    {"ea", "ee", Where::kAnywhere, 0.7},   {"ee", "ea", Where::kAnywhere, 0.7},
    {"wh", "w", Where::kStart, 0.5},       {"kn", "n", Where::kStart, 0.3},
    {"wr", "r", Where::kStart, 0.3},       {"mn", "m", Where::kEnd, 0.3},
    {"y", "ey", Where::kEnd, 0.3},         {"s", "z", Where::kNotStart, 0.3},
};

// Every place where RULE applies to WORD.
std::vector<std::size_t> Places(const std::string& word, const SoundRule& rule) {
  std::vector<std::size_t> places;
  for (std::size_t at = word.find(rule.from); at != std::string::npos;
       at = word.find(rule.from, at + 1)) {
    const bool at_end = at + rule.from.size() == word.size();
    if ((rule.where == Where::kEnd && !at_end) || (rule.where == Where::kNotStart && at == 0) ||
        (rule.where == Where::kStart && at != 0))
      continue;
    places.push_back(at);
  }
  return places;
}

// Each error is a change that may not apply to the word (then it returns "").
using Error = std::string (*)(const std::string&, Random&);

std::string SoundAlike(const std::string& word, Random& random) {
  std::vector<double> weights;
  std::vector<std::vector<std::size_t>> places;
  for (const SoundRule& rule : kSoundRules) {
    places.push_back(Places(word, rule));
    weights.push_back(places.back().empty() ? 0 : rule.weight);
  }
  if (std::all_of(weights.begin(), weights.end(), [](double w) { return w == 0; })) return "";
  const std::size_t r = random.Weighted(weights);
  const std::size_t at = places[r][random.Below(places[r].size())];
  std::string out = word;
  out.replace(at, kSoundRules[r].from.size(), kSoundRules[r].to);
  return out;
}

// "accommodate" -> "accomodate".
std::string DoubleToSingle(const std::string& word, Random& random) {
  std::vector<std::size_t> places;
  for (std::size_t i = 1; i < word.size(); ++i)
    if (word[i] == word[i - 1] && IsConsonant(word[i])) places.push_back(i);
  if (places.empty()) return "";
  std::string out = word;
  out.erase(places[random.Below(places.size())], 1);
  return out;
}

// "until" -> "untill", "omit" -> "ommit": a consonant after a vowel doubled.
std::string SingleToDouble(const std::string& word, Random& random) {
  std::vector<std::size_t> places;
  for (std::size_t i = 1; i < word.size(); ++i) {
    const char c = word[i];
    if (!IsConsonant(c) || c == 'h' || c == 'w' || c == 'x' || c == 'y' || c == 'j') continue;
    if (!IsVowel(word[i - 1])) continue;
    if (i + 1 < word.size() && word[i + 1] == c) continue;
    if (word[i - 1] == c) continue;
    places.push_back(i);
  }
  if (places.empty()) return "";
  const std::size_t at = places[random.Below(places.size())];
  std::string out = word;
  out.insert(at, 1, word[at]);
  return out;
}

// "separate" -> "seperate": the vowel of a later, unstressed-looking
// syllable (not the first vowel group, not the last letter) written as
// another one.
std::string UnstressedVowel(const std::string& word, Random& random) {
  std::size_t first_group_end = 0;
  while (first_group_end < word.size() && !IsVowel(word[first_group_end])) ++first_group_end;
  while (first_group_end < word.size() && IsVowel(word[first_group_end])) ++first_group_end;
  std::vector<std::size_t> places;
  for (std::size_t i = first_group_end; i + 1 < word.size(); ++i)
    if (IsVowel(word[i]) && word[i] != 'u' && !IsVowel(word[i - 1]) && !IsVowel(word[i + 1]))
      places.push_back(i);
  if (places.empty()) return "";
  const std::size_t at = places[random.Below(places.size())];
  static constexpr std::string_view kSchwa = "aeio";
  std::string out = word;
  do out[at] = kSchwa[random.Below(kSchwa.size())];
  while (out[at] == word[at]);
  return out;
}

// A silent e dropped or kept where it goes: "achievement" -> "achievment",
// "truly" -> "truely", "coming" -> "comeing", "come" -> "com".
std::string SilentE(const std::string& word, Random& random) {
  std::vector<std::string> outs;
  for (const std::string_view suffix : {"ment", "ly", "ness", "ful", "ing", "able"}) {
    if (word.size() < suffix.size() + 3 || !word.ends_with(suffix)) continue;
    const std::size_t at = word.size() - suffix.size();
    std::string out = word;
    if (word[at - 1] == 'e' && IsConsonant(word[at - 2]))
      out.erase(at - 1, 1);  // the stem's e dropped
    else if (IsConsonant(word[at - 1]) && IsVowel(word[at - 2]))
      out.insert(at, "e");  // an e kept that the suffix drops
    else
      continue;
    outs.push_back(out);
  }
  const std::size_t n = word.size();
  if (n >= 4 && word[n - 1] == 'e' && IsConsonant(word[n - 2]) && IsVowel(word[n - 3]))
    outs.push_back(word.substr(0, n - 1));
  if (outs.empty()) return "";
  return outs[random.Below(outs.size())];
}

// "don't" -> "dont".
std::string NoApostrophe(const std::string& word, Random&) {
  std::string out = word;
  std::erase(out, '\'');
  return out == word ? "" : out;
}

// A place to slip at: the first letter is hit less often.
std::size_t SlipPlace(const std::string& word, Random& random) {
  std::vector<double> weights(word.size(), 1.0);
  weights[0] = 0.3;
  return random.Weighted(weights);
}

std::string NeighbourKey(const std::string& word, Random& random) {
  const std::size_t at = SlipPlace(word, random);
  const std::string_view keys = Neighbours(word[at]);
  if (keys.empty()) return "";
  std::string out = word;
  out[at] = keys[random.Below(keys.size())];
  return out;
}

// A key pressed with its neighbour, or twice.
std::string ExtraKey(const std::string& word, Random& random) {
  const std::size_t at = SlipPlace(word, random);
  const std::string_view keys = Neighbours(word[at]);
  if (keys.empty()) return "";
  const char extra = random.Chance(0.25) ? word[at] : keys[random.Below(keys.size())];
  std::string out = word;
  out.insert(at + random.Below(2), 1, extra);
  return out;
}

std::string MissedKey(const std::string& word, Random& random) {
  if (word.size() < 4) return "";
  std::string out = word;
  out.erase(SlipPlace(word, random), 1);
  return out;
}

// Two keys in the wrong order, likelier when the two hands type them.
std::string SwappedKeys(const std::string& word, Random& random) {
  std::vector<double> weights(word.size() - 1, 0.0);
  for (std::size_t i = 0; i + 1 < word.size(); ++i) {
    if (word[i] == word[i + 1]) continue;
    weights[i] = (LeftHand(word[i]) != LeftHand(word[i + 1]) ? 2.0 : 1.0) * (i == 0 ? 0.5 : 1.0);
  }
  if (std::all_of(weights.begin(), weights.end(), [](double w) { return w == 0; })) return "";
  const std::size_t at = random.Weighted(weights);
  std::string out = word;
  std::swap(out[at], out[at + 1]);
  return out;
}

struct ErrorKind {
  const char* name;
  Error make;
  double weight;
};
// The weights among the kinds that apply to a word; with how often each
// applies, about half of the errors are sound-alike spellings.
constexpr ErrorKind kErrors[] = {
    {"sound-alike", SoundAlike, 26},
    {"double-to-single", DoubleToSingle, 16},
    {"single-to-double", SingleToDouble, 5},
    {"unstressed-vowel", UnstressedVowel, 16},
    {"silent-e", SilentE, 8},
    {"no-apostrophe", NoApostrophe, 20},
    {"neighbour-key", NeighbourKey, 10},
    {"extra-key", ExtraKey, 6},
    {"missed-key", MissedKey, 9},
    {"swapped-keys", SwappedKeys, 10},
};

// WORD with one error, with its kind's index, or "" when none applied.
std::string OneError(const std::string& word, Random& random, std::size_t& kind) {
  std::vector<double> weights;
  for (const ErrorKind& error : kErrors) weights.push_back(error.weight);
  for (std::size_t attempt = 0; attempt < std::size(kErrors); ++attempt) {
    kind = random.Weighted(weights);
    std::string out = kErrors[kind].make(word, random);
    if (!out.empty() && out != word) return out;
    weights[kind] = 0;  // does not apply: one of the others
  }
  return "";
}

// How much more often a word of LEVEL is picked than one of level 50 or
// more: with the lists' sizes, some 45% of the picks are of level 10, 25% of
// 20, 23% of 35 and the rest of 40 and 50.
double LevelWeight(int level) {
  if (level <= 10) return 100;
  if (level <= 20) return 30;
  if (level <= 35) return 6;
  if (level <= 40) return 4;
  return 1;
}

// Intended words: lower-case letters with perhaps an apostrophe inside
// (contractions; not possessives, which only repeat their word).
bool GoodIntended(const std::string& word) {
  if (word.size() < 3 || word.size() > 24 || !IsLetter(word.front()) || !IsLetter(word.back()))
    return false;
  if (word.ends_with("'s")) return false;
  return std::all_of(word.begin(), word.end(), [](char c) { return IsLetter(c) || c == '\''; });
}

bool ReadLines(const std::string& name, std::vector<std::string>& lines) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return true;
}

int Usage() {
  std::cerr << "usage: make_misspellings [--dict FILE]... [--seed N] [--count N] "
               "[--max-level N] WORDS\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> dict_files;
  std::string words_file;
  std::uint64_t seed = 1;
  std::size_t count = 2500;
  int max_level = 50;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--dict" && has_value)
      dict_files.push_back(argv[++i]);
    else if (arg == "--seed" && has_value)
      seed = std::stoull(argv[++i]);
    else if (arg == "--count" && has_value)
      count = std::stoul(argv[++i]);
    else if (arg == "--max-level" && has_value)
      max_level = std::stoi(argv[++i]);
    else if (!arg.starts_with("--") && words_file.empty())
      words_file = arg;
    else
      return Usage();
  }
  if (words_file.empty()) return Usage();
  if (dict_files.empty()) dict_files.push_back(words_file);

  std::vector<std::string> lines;
  if (!ReadLines(words_file, lines)) {
    std::cerr << "make_misspellings: cannot read " << words_file << "\n";
    return 1;
  }
  // The lowest level of each word, in the word's order, so the draw does not
  // hang on the order of the file.
  std::map<std::string, int> levels;
  for (const std::string& line : lines) {
    const std::size_t tab = line.find('\t');
    const int level = tab == std::string::npos ? max_level : std::stoi(line.substr(0, tab));
    const std::string word = tab == std::string::npos ? line : line.substr(tab + 1);
    if (level > max_level || !GoodIntended(word)) continue;
    const auto [at, added] = levels.emplace(word, level);
    if (!added) at->second = std::min(at->second, level);
  }
  std::vector<std::string> candidates;
  std::vector<double> weights;
  for (const auto& [word, level] : levels) {
    candidates.push_back(word);
    weights.push_back(LevelWeight(level));
  }

  std::unordered_set<std::string> dictionary;
  for (const std::string& name : dict_files) {
    std::vector<std::string> words;
    if (!ReadLines(name, words)) {
      std::cerr << "make_misspellings: cannot read " << name << "\n";
      return 1;
    }
    for (std::string& word : words) {
      const std::size_t tab = word.find('\t');
      dictionary.insert(tab == std::string::npos ? word : word.substr(tab + 1));
    }
  }
  const auto is_word = [&](const std::string& s) {
    if (dictionary.count(s)) return true;
    std::string lower = s;
    lower[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[0])));
    return lower != s && dictionary.count(lower);
  };

  Random random(seed);
  std::set<std::string> used_intended, used_misspelling;
  std::vector<std::size_t> kind_counts(std::size(kErrors));
  std::size_t made = 0, two_errors = 0, capitalised = 0, thrown_away = 0;
  for (std::size_t draws = 0; made < count && draws < 50 * count; ++draws) {
    if (candidates.empty()) break;
    const std::string& word = candidates[random.Weighted(weights)];
    if (used_intended.count(word)) continue;
    std::string intended = word;
    const int errors = random.Chance(0.85) ? 1 : 2;
    std::string misspelling = intended;
    std::vector<std::size_t> kinds;
    for (int e = 0; e < errors && !misspelling.empty(); ++e) {
      std::size_t kind = 0;
      misspelling = OneError(misspelling, random, kind);
      kinds.push_back(kind);
    }
    // Words at the start of a sentence.
    const bool capital = random.Chance(0.05);
    if (misspelling.size() < 2 || misspelling == intended) continue;
    if (capital) {
      misspelling[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(misspelling[0])));
      intended[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(intended[0])));
    }
    if (is_word(misspelling) || used_misspelling.count(misspelling)) {
      ++thrown_away;
      continue;
    }
    used_intended.insert(word);
    used_misspelling.insert(misspelling);
    for (const std::size_t kind : kinds) ++kind_counts[kind];
    two_errors += errors == 2;
    capitalised += capital;
    ++made;
    std::cout << misspelling << '\t' << intended << '\n';
  }
  std::cerr << "make_misspellings: " << made << " pairs from " << candidates.size()
            << " words (seed " << seed << "), " << two_errors << " with two errors, " << capitalised
            << " capitalised; " << thrown_away << " misspellings were words or repeats\n  errors:";
  for (std::size_t k = 0; k < std::size(kErrors); ++k)
    std::cerr << ' ' << kErrors[k].name << ' ' << kind_counts[k];
  std::cerr << '\n';
  return made < count ? 1 : 0;
}
