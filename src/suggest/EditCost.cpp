#include "suggest/EditCost.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "suggest/Letters.h"

namespace spellcheck::suggest {
namespace {

// Accented vowels count as vowels.
bool IsVowel(unsigned char c) {
  const char b = c < 0x80 ? static_cast<char>(c) : BaseLetter(c);
  return b == 'a' || b == 'e' || b == 'i' || b == 'o' || b == 'u' || b == 'y';
}

// An accented letter for its base letter or for another accent of it (é for
// e, e for é, è for é, ü for u, ç for c, ñ for n): the commonest slip of
// writers in the languages that have them, and of keyboards without them.
constexpr int kAccentCost = 25;

bool IsJoiner(unsigned char c) {
  return c == '\'' || c == '-' || c == ' ' || c == '.';
}

// Neighbouring keys on a QWERTY keyboard, from the staggered key positions.
class Keyboard {
 public:
  Keyboard() {
    static const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const int stagger[] = {0, 25, 75};  // hundredths of a key
    for (int r = 0; r < 3; ++r) {
      for (int i = 0; rows[r][i]; ++i) {
        row_[rows[r][i] - 'a'] = r;
        x_[rows[r][i] - 'a'] = i * 100 + stagger[r];
      }
    }
  }
  bool Near(unsigned char a, unsigned char b) const {
    if (a < 'a' || a > 'z' || b < 'a' || b > 'z') return false;
    const int dr = std::abs(row_[a - 'a'] - row_[b - 'a']);
    const int dx = std::abs(x_[a - 'a'] - x_[b - 'a']);
    return (dr == 0 && dx == 100) || (dr == 1 && dx < 100);
  }

 private:
  int row_[26] = {};
  int x_[26] = {};
};

// Pairs of letters that often stand for the same sound.
int SoundPair(unsigned char a, unsigned char b) {
  if (a > b) std::swap(a, b);
  struct Pair {
    char a, b;
    int cost;
  };
  static constexpr Pair pairs[] = {{'c', 'k', 45}, {'c', 's', 50}, {'s', 'z', 45}, {'k', 'q', 55},
                                   {'c', 'q', 60}, {'g', 'j', 60}, {'f', 'v', 75}, {'d', 't', 75},
                                   {'m', 'n', 70}, {'i', 'y', 40}, {'x', 'z', 80}, {'e', 'y', 60}};
  for (const Pair& p : pairs) {
    if (p.a == a && p.b == b) return p.cost;
  }
  return kEditCost;
}

int ReplaceCost(unsigned char a, unsigned char b) {
  static const Keyboard keyboard;
  if (a == b) return 0;
  if ((a >= 0x80 || b >= 0x80) && BaseLetter(a) != 0 && BaseLetter(a) == BaseLetter(b)) {
    return kAccentCost;
  }
  int cost = SoundPair(a, b);
  if (IsVowel(a) && IsVowel(b)) cost = std::min(cost, 55);
  if (keyboard.Near(a, b)) cost = std::min(cost, 70);
  return cost;
}

// The costs of replacing one byte by another, worked out once: the edit
// cost looks one up for every cell.
class ReplaceTable {
 public:
  ReplaceTable() {
    for (int a = 0; a < 256; ++a) {
      for (int b = 0; b < 256; ++b) {
        cost_[a][b] = static_cast<unsigned char>(
            ReplaceCost(static_cast<unsigned char>(a), static_cast<unsigned char>(b)));
      }
    }
  }
  int operator()(unsigned char a, unsigned char b) const { return cost_[a][b]; }

 private:
  unsigned char cost_[256][256];
};

// The word's letter at `j` (0-based) is missing from what was typed.
int Missing(std::string_view w, std::size_t j) {
  const unsigned char c = w[j];
  const unsigned char prev = j > 0 ? w[j - 1] : 0;
  const unsigned char next = j + 1 < w.size() ? w[j + 1] : 0;
  if (IsJoiner(c)) return 15;
  if (c == prev || c == next) return 25;  // a doubled letter written once
  if (c == 'e' && j + 1 == w.size()) return 45;
  if (j == 0 && ((c == 'k' && next == 'n') || (c == 'w' && next == 'r') ||
                 (c == 'p' && (next == 's' || next == 'n')) || (c == 'g' && next == 'n'))) {
    return 50;
  }
  if (c == 'h' && (prev == 'w' || prev == 'g' || prev == 'r')) return 40;
  if (c == 'h' && (prev == 'c' || prev == 'k' || j == 0)) return 60;
  if ((c == 'b' || c == 'n') && prev == 'm' && j + 1 == w.size()) return 55;
  if (c == 'g' && (next == 'h' || next == 'n')) return 65;
  if (c == 't' && next == 'c') return 55;
  if (c == 'u' && (prev == 'g' || prev == 'q')) return 50;
  if (c == 'r' && IsVowel(prev) && !IsVowel(next)) return 75;  // not sounded by many
  if (IsVowel(c)) return 65;
  return kEditCost;
}

// The typed letter at `i` has no place in the word.
int Extra(std::string_view t, std::size_t i) {
  const unsigned char c = t[i];
  const unsigned char prev = i > 0 ? t[i - 1] : 0;
  const unsigned char next = i + 1 < t.size() ? t[i + 1] : 0;
  if (IsJoiner(c)) return 25;
  if (c == prev || c == next) return 25;  // a single letter doubled
  if (c == 'e' && i + 1 == t.size()) return 55;
  if (c == 'h') return 75;
  if (IsVowel(c)) return 75;
  return kEditCost;
}

// Spellings of one sound: the typed letters at the left, the word's at the
// right, either way round.
struct Spelling {
  const char* typed;
  const char* word;
  int cost;
};
constexpr Spelling kSpellings[] = {
    {"f", "ph", 35},
    {"ph", "f", 35},
    {"k", "ck", 30},
    {"ck", "k", 30},
    {"c", "ck", 30},
    {"ck", "c", 30},
    {"ks", "x", 45},
    {"x", "ks", 45},
    {"cks", "x", 45},
    {"x", "cks", 45},
    {"kw", "qu", 40},
    {"qu", "kw", 40},
    {"cw", "qu", 45},
    {"ch", "tch", 45},
    {"j", "dg", 50},
    {"g", "dg", 45},
    {"dg", "j", 50},
    {"s", "sc", 45},
    {"sc", "s", 45},
    {"sh", "ti", 55},
    {"sh", "ci", 60},
    {"f", "gh", 60},
    {"gh", "f", 60},
    {"shun", "tion", 55},
    {"er", "re", 45},
    {"re", "er", 45},
    {"sion", "tion", 50},
    {"tion", "sion", 50},
    {"oo", "u", 60},
    {"u", "oo", 60},
    {"cs", "x", 50},
    {"ize", "ise", 40},
    {"ise", "ize", 40},
    {"ite", "ight", 40},
    {"it", "ight", 50},
    {"o", "ough", 50},
    {"ow", "ough", 50},
    {"u", "ough", 55},
    {"uf", "ough", 50},
    {"of", "ough", 55},
    {"ai", "eigh", 50},
    {"a", "eigh", 55},
    {"ay", "eigh", 50},
    // The other spellings of letters of the Western European languages: ß
    // as ss (German, Swiss German), umlauts as the vowel and e, the
    // ligatures as their letters (French, Danish, Norwegian).
    {"ss", "\xDF", 30},
    {"\xDF", "ss", 30},
    {"ue", "\xFC", 35},
    {"\xFC", "ue", 35},
    {"oe", "\xF6", 35},
    {"\xF6", "oe", 35},
    {"ae", "\xE4", 35},
    {"\xE4", "ae", 35},
    {"oe", "\x9C", 25},
    {"\x9C", "oe", 25},
    {"ae", "\xE6", 25},
    {"\xE6", "ae", 25}};

// The spellings by the last byte of their typed letters.
class SpellingTable {
 public:
  struct Entry {
    const char* typed;
    const char* word;
    std::size_t typedLength, wordLength;
    unsigned char wordLast;
    int cost;
  };

  SpellingTable() {
    for (const Spelling& s : kSpellings) {
      const std::size_t lt = std::strlen(s.typed);
      const std::size_t lw = std::strlen(s.word);
      const unsigned char last = s.typed[lt - 1];
      if (count_[last] == byLast_[last].size()) continue;  // a full row: the table is too small
      byLast_[last][count_[last]++] = {
          s.typed, s.word, lt, lw, static_cast<unsigned char>(s.word[lw - 1]), s.cost};
    }
  }
  int Count(unsigned char last) const { return count_[last]; }
  const Entry& At(unsigned char last, int k) const { return byLast_[last][k]; }

 private:
  std::array<std::array<Entry, 12>, 256> byLast_{};
  std::array<unsigned char, 256> count_{};
};

bool EndsAt(std::string_view s, std::size_t end, const char* part, std::size_t len) {
  return end >= len && std::memcmp(s.data() + end - len, part, len) == 0;
}

}  // namespace

int EditCost(std::string_view t, std::string_view w, int limit) {
  static const SpellingTable spellings;
  static const ReplaceTable replace;
  const std::size_t n = std::min(t.size(), kMaxCostLength);
  const std::size_t m = std::min(w.size(), kMaxCostLength);
  t = t.substr(0, n);
  w = w.substr(0, m);
  // d[i][j]: the cost of the first i typed bytes becoming the first j bytes of the word.
  int d[kMaxCostLength + 1][kMaxCostLength + 1];
  int missing[kMaxCostLength];
  for (std::size_t j = 0; j < m; ++j) missing[j] = Missing(w, j);
  // The smallest value of each row: spellings and swaps reach back up to four
  // rows, so the cost can only exceed `limit` once four rows in a row do.
  int rowMin[kMaxCostLength + 1];
  d[0][0] = 0;
  rowMin[0] = 0;
  for (std::size_t j = 1; j <= m; ++j) d[0][j] = d[0][j - 1] + missing[j - 1];
  for (std::size_t i = 1; i <= n; ++i) {
    const unsigned char a = t[i - 1];
    const int extra = Extra(t, i - 1);
    d[i][0] = d[i - 1][0] + extra;
    int rowBest = d[i][0];
    const int rules = spellings.Count(a);
    for (std::size_t j = 1; j <= m; ++j) {
      const unsigned char b = w[j - 1];
      int best = d[i - 1][j - 1] + replace(a, b);
      best = std::min(best, d[i - 1][j] + extra);
      best = std::min(best, d[i][j - 1] + missing[j - 1]);
      if (i > 1 && j > 1 && a == w[j - 2] && t[i - 2] == b && a != b) {
        const bool ie = (a == 'i' && b == 'e') || (a == 'e' && b == 'i');
        best = std::min(best, d[i - 2][j - 2] + (ie ? 30 : 40));
      }
      for (int k = 0; k < rules; ++k) {
        const SpellingTable::Entry& s = spellings.At(a, k);
        if (s.wordLast == b && EndsAt(t, i, s.typed, s.typedLength) &&
            EndsAt(w, j, s.word, s.wordLength)) {
          best = std::min(best, d[i - s.typedLength][j - s.wordLength] + s.cost);
        }
      }
      d[i][j] = best;
      rowBest = std::min(rowBest, best);
    }
    rowMin[i] = rowBest;
    if (i >= 4 && std::min({rowMin[i], rowMin[i - 1], rowMin[i - 2], rowMin[i - 3]}) > limit) {
      return limit + 1;
    }
  }
  return d[n][m];
}

}  // namespace spellcheck::suggest
