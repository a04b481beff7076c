#include "hunspell/EditModel.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "hunspell/Casing.h"

namespace spellcheck::hunspell {

namespace {

constexpr int kAccent = 25;    // another accent, or none
constexpr int kMapped = 30;    // letters the dictionary relates
constexpr int kDouble = 25;    // a doubled letter written once, or a single one doubled
constexpr int kSwap = 40;      // neighbours swapped
constexpr int kKey = 60;       // a neighbouring key instead
constexpr int kKeyExtra = 60;  // a neighbouring key pressed too
constexpr int kFirst = 30;     // the first letter wrong
// A letter left out: the commonest slip of all, a little cheaper than another one.
constexpr int kMissing = 90;

// Latin-1 (from U+00C0) and Latin Extended-A (U+0100..U+017F) base letters.
constexpr char kLatin1[] =
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";
constexpr char kExtendedA[] =
    "aaaaaa"
    "cccccccc"
    "dddd"
    "eeeeeeeeee"
    "gggggggg"
    "hhhh"
    "iiiiiiiiii"
    "ii"
    "jj"
    "kkk"
    "llllllllll"
    "nnnnnnnnn"
    "oooooo"
    "oo"
    "rrrrrr"
    "ssssssss"
    "tttttt"
    "uuuuuuuuuuuu"
    "ww"
    "yyy"
    "zzzzzz"
    "s";

}  // namespace

char32_t BaseLetter(char32_t c) {
  c = ToLower(c, false);
  if (c >= 0xC0 && c <= 0xFF) {
    const char b = kLatin1[c - 0xC0];
    return b ? static_cast<char32_t>(b) : c;
  }
  if (c >= 0x100 && c <= 0x17F) return static_cast<char32_t>(kExtendedA[c - 0x100]);
  if (c == U'ё') return U'е';
  if (c == U'й') return U'и';
  if (c == U'ї') return U'і';
  return c;
}

void EditModel::AddKeyboard(std::string_view language) {
  // The language's usual keyboard: its three rows of letters, staggered.
  struct Layout {
    const char* languages;
    const char32_t* rows[3];
  };
  static const Layout kLayouts[] = {
      {"de cs sk hu sl hr sr bs", {U"qwertzuiopü", U"asdfghjklöä", U"yxcvbnm"}},
      {"fr", {U"azertyuiop", U"qsdfghjklm", U"wxcvbn"}},
      {"ru", {U"йцукенгшщзхъ", U"фывапролджэ", U"ячсмитьбю"}},
      {"uk", {U"йцукенгшщзхї", U"фівапролджє", U"ячсмитьбю"}},
      {"", {U"qwertyuiop", U"asdfghjkl", U"zxcvbnm"}},
  };
  const std::string code(language.substr(0, 2));
  const Layout* layout = &kLayouts[std::size(kLayouts) - 1];
  for (const Layout& l : kLayouts) {
    const std::string names = l.languages;
    if (!code.empty() && names.find(code) != std::string::npos) {
      layout = &l;
      break;
    }
  }
  static const int stagger[] = {0, 25, 75};  // hundredths of a key
  for (int r = 0; r < 3; ++r)
    for (int s = r; s < 3 && s <= r + 1; ++s) {
      const std::u32string_view a = layout->rows[r], b = layout->rows[s];
      for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j) {
          const int dx = std::abs(static_cast<int>(i * 100) + stagger[r] -
                                  static_cast<int>(j * 100) - stagger[s]);
          if ((r == s && dx == 100) || (r != s && dx < 100)) keys_.insert(Pair(a[i], b[j]));
        }
    }
}

EditModel::EditModel(const AffixData& a, std::string_view name) : turkish_(a.turkishCasing) {
  // KEY's rows, or without it, the language's usual keyboard.
  if (a.key.empty()) AddKeyboard(a.language.empty() ? name : std::string_view(a.language));
  const std::u32string& rows = a.key;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i)
    if (rows[i] != U'|' && rows[i + 1] != U'|')
      keys_.insert(Pair(ToLower(rows[i], turkish_), ToLower(rows[i + 1], turkish_)));
  for (const auto& group : a.map)
    for (const auto& x : group)
      for (const auto& y : group)
        if (x.size() == 1 && y.size() == 1 && x != y)
          map_.insert(Pair(ToLower(x[0], turkish_), ToLower(y[0], turkish_)));
}

bool EditModel::Neighbours(char32_t a, char32_t b) const {
  return keys_.count(Pair(a, b)) != 0;
}

int EditModel::Replace(char32_t a, char32_t b) const {
  if (a == b) return 0;
  if (BaseLetter(a) == BaseLetter(b)) return kAccent;
  if (!map_.empty() && map_.count(Pair(a, b))) return kMapped;
  if (Neighbours(a, b)) return kKey;
  return kPlainEdit;
}

int EditModel::Extra(std::u32string_view typed, std::size_t i) const {
  const std::size_t n = typed.size();
  auto at = [&](std::size_t k) { return ToLower(typed[k], turkish_); };
  const char32_t c = at(i);
  if ((i > 0 && c == at(i - 1)) || (i + 1 < n && c == at(i + 1))) return kDouble;
  if ((i > 0 && Neighbours(c, at(i - 1))) || (i + 1 < n && Neighbours(c, at(i + 1))))
    return kKeyExtra;
  return kPlainEdit;
}

int EditModel::Swap() {
  return kSwap;
}

int EditModel::Cost(std::u32string_view typed, std::u32string_view word, int limit) const {
  const std::size_t n = typed.size(), m = word.size();
  if (n > kMaxLength || m > kMaxLength) return limit + 1;
  const std::size_t gap = n > m ? n - m : m - n;
  if (static_cast<int>(gap) * kDouble > limit) return limit + 1;
  char32_t t[kMaxLength], w[kMaxLength];
  for (std::size_t i = 0; i < n; ++i) t[i] = ToLower(typed[i], turkish_);
  for (std::size_t j = 0; j < m; ++j) w[j] = ToLower(word[j], turkish_);
  // The typed letter at i has no place in the word.
  auto extra = [&](std::size_t i) {
    if ((i > 0 && t[i] == t[i - 1]) || (i + 1 < n && t[i] == t[i + 1])) return kDouble;
    if ((i > 0 && Neighbours(t[i], t[i - 1])) || (i + 1 < n && Neighbours(t[i], t[i + 1])))
      return kKeyExtra;
    return kPlainEdit;
  };
  // The word's letter at j is missing from what was typed.
  auto missing = [&](std::size_t j) {
    if ((j > 0 && w[j] == w[j - 1]) || (j + 1 < m && w[j] == w[j + 1])) return kDouble;
    // An accented letter left out whole is rarer than a plain one.
    return BaseLetter(w[j]) != w[j] ? kMissing + kAccent / 2 : kMissing;
  };
  int rows[3][kMaxLength + 1];
  int* prev2 = rows[0];
  int* prev = rows[1];
  int* cur = rows[2];
  prev[0] = 0;
  for (std::size_t j = 1; j <= m; ++j) prev[j] = prev[j - 1] + missing(j - 1);
  for (std::size_t i = 1; i <= n; ++i) {
    const int ex = extra(i - 1);
    cur[0] = prev[0] + ex;
    int rowMin = cur[0];
    for (std::size_t j = 1; j <= m; ++j) {
      int best = prev[j - 1] + Replace(t[i - 1], w[j - 1]);
      best = std::min(best, prev[j] + ex);
      best = std::min(best, cur[j - 1] + missing(j - 1));
      if (i > 1 && j > 1 && t[i - 1] == w[j - 2] && t[i - 2] == w[j - 1] && t[i - 1] != t[i - 2])
        best = std::min(best, prev2[j - 2] + kSwap);
      cur[j] = best;
      rowMin = std::min(rowMin, best);
    }
    // A swap reaches back two rows: two rows over the limit end it.
    if (i > 1 && rowMin > limit && *std::min_element(prev, prev + m + 1) > limit) return limit + 1;
    int* spare = prev2;
    prev2 = prev;
    prev = cur;
    cur = spare;
  }
  int cost = prev[m];
  if (n > 0 && m > 0 && BaseLetter(t[0]) != BaseLetter(w[0]) &&
      !(n > 1 && m > 1 && t[0] == w[1] && t[1] == w[0]))
    cost += kFirst;
  return cost;
}

}  // namespace spellcheck::hunspell
