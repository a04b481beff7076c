#include "input/WordScanner.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/Unicode.h"
#include "text/Utf8.h"

namespace spellcheck::tool {

bool IsLetter(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
  if (c >= 0x250 && c <= 0x2AF) return true;  // IPA extensions
  if (c >= 0x300 && c <= 0x36F) return true;  // combining accents belong to their letter
  // Every other script, with the marks that belong to its letters.
  return text::IsUnicodeLetter(c);
}

bool IsBlank(char32_t c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case '\v':
    case '\f':
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200B;
  }
}

namespace {

// Classes of the ASCII bytes, so that the common case costs one table look.
enum : std::uint8_t {
  Blank = 1,
  Letter = 2,
  Digit = 4,
  Joiner = 8,        // apostrophe or hyphen: inside a word when a letter follows
  AddressMark = 16,  // may belong to an address, a path or a number: judged where it stands
};

constexpr std::array<std::uint8_t, 128> MakeClasses() {
  std::array<std::uint8_t, 128> classes{};
  for (unsigned c = 0; c < 128; ++c) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) classes[c] = Blank;
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') classes[c] = Letter;
    if (c >= '0' && c <= '9') classes[c] = Digit;
    if (c == '\'' || c == '-') classes[c] = Joiner;
    if (c == ':' || c == '@' || c == '.' || c == '/' || c == '\\' || c == '#') {
      classes[c] = AddressMark;
    }
  }
  return classes;
}

constexpr std::array<std::uint8_t, 128> Classes = MakeClasses();

constexpr char32_t RightSingleQuote = 0x2019;

// The letter counting below reads eight bytes as one number, low byte first.
static_assert(std::endian::native == std::endian::little);

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

// Characters that may stand in a URL; brackets, quotes and blanks end one.
bool IsUrlChar(char c) {
  if (IsAsciiAlnum(c)) return true;
  return std::strchr("-._~:/?#@!$&*+,;=%", c) != nullptr && c != '\0';
}

bool IsPathChar(char c) {
  return IsAsciiAlnum(c) || (c != '\0' && std::strchr("-._~/\\:+", c) != nullptr);
}

bool IsLocalPartChar(char c) {
  return IsAsciiAlnum(c) || (c != '\0' && std::strchr("._%+-", c) != nullptr);
}

// Punctuation that ends a sentence rather than an address.
std::size_t TrimTrailing(std::string_view line, std::size_t begin, std::size_t end) {
  while (end > begin && std::strchr(".,;:!?'", line[end - 1]) != nullptr) --end;
  return end;
}

template <typename Pred>
std::size_t Forward(std::string_view line, std::size_t pos, Pred pred) {
  while (pos < line.size() && pred(line[pos])) ++pos;
  return pos;
}

template <typename Pred>
std::size_t Backward(std::string_view line, std::size_t pos, Pred pred) {
  while (pos > 0 && pred(line[pos - 1])) --pos;
  return pos;
}

// 8-4-4-4-12 hexadecimal digits (one of letters alone is still no word).
bool IsUuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != '-' : !IsHexDigit(text[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if ((text[i] | 0x20) != prefix[i]) return false;
  }
  return true;
}

struct Token {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// A token of the line around the mark at `at` that is no text: a URL, an
// e-mail address, a file path, a hexadecimal colour. Only the token itself;
// its neighbours stay text.
bool TokenAt(std::string_view line, std::size_t at, Token& token) {
  const char mark = line[at];
  const bool boundaryBefore = [&](std::size_t pos) {
    return pos == 0 || !IsAsciiAlnum(line[pos - 1]);
  }(at);
  if (mark == ':') {
    if (line.substr(at + 1, 2) == "//") {
      const std::size_t begin = Backward(
          line, at, [](char c) { return IsAsciiAlnum(c) || c == '+' || c == '.' || c == '-'; });
      if (begin == at || !IsAsciiAlnum(line[begin])) return false;
      token = {begin, TrimTrailing(line, begin, Forward(line, at + 1, IsUrlChar))};
      return true;
    }
    // C:\x or C:/x
    if (at >= 1 && (at == 1 || !IsAsciiAlnum(line[at - 2])) && IsAsciiAlnum(line[at - 1]) &&
        at + 1 < line.size() && (line[at + 1] == '\\' || line[at + 1] == '/')) {
      token = {at - 1, TrimTrailing(line, at - 1, Forward(line, at + 1, IsPathChar))};
      return true;
    }
    if (at >= 6 && StartsWithNoCase(line.substr(at - 6), "mailto") &&
        (at == 6 || !IsAsciiAlnum(line[at - 7]))) {
      token = {at - 6, TrimTrailing(line, at - 6, Forward(line, at + 1, IsUrlChar))};
      return true;
    }
    return false;
  }
  if (mark == '@') {
    const std::size_t begin = Backward(line, at, IsLocalPartChar);
    std::size_t end =
        Forward(line, at + 1, [](char c) { return IsAsciiAlnum(c) || c == '.' || c == '-'; });
    end = TrimTrailing(line, at + 1, end);
    if (begin == at || end == at + 1) return false;
    if (line.substr(at + 1, end - at - 1).find('.') == std::string_view::npos) return false;
    token = {begin, end};
    return true;
  }
  if (mark == '.') {
    if (at >= 3 && StartsWithNoCase(line.substr(at - 3), "www") &&
        (at == 3 || !IsAsciiAlnum(line[at - 4])) && at + 1 < line.size() &&
        IsAsciiAlnum(line[at + 1])) {
      token = {at - 3, TrimTrailing(line, at - 3, Forward(line, at + 1, IsUrlChar))};
      return true;
    }
    return false;
  }
  if (mark == '#') {
    if (!boundaryBefore) return false;
    const std::size_t end = Forward(line, at + 1, IsHexDigit);
    const std::size_t digits = end - at - 1;
    if (digits != 3 && digits != 4 && digits != 6 && digits != 8) return false;
    if (end < line.size() && IsAsciiAlnum(line[end])) return false;
    token = {at, end};
    return true;
  }
  // '/' or '\\': a path that starts so (/x ./x ../x ~/x) or has two
  // separators (a/b/c); one inner slash (and/or) is text.
  const std::size_t begin = Backward(line, at, [](char c) {
    return IsAsciiAlnum(c) || c == '.' || c == '_' || c == '-' || c == '~';
  });
  if (begin > 0 && (line[begin - 1] == '/' || line[begin - 1] == '\\' || line[begin - 1] == ':')) {
    return false;  // judged at the token's first separator
  }
  const std::size_t end = TrimTrailing(line, begin, Forward(line, at, IsPathChar));
  bool named = false;  // a name follows the separator
  for (std::size_t i = at + 1; i < end && !named; ++i) named = IsAsciiAlnum(line[i]);
  if (!named) return false;
  const std::string_view head = line.substr(begin, at - begin);
  const bool anchored = mark == '/' && (head.empty() || head == "." || head == ".." || head == "~");
  std::size_t separators = 0;
  for (std::size_t i = at; i < end; ++i) separators += line[i] == '/' || line[i] == '\\';
  if (!anchored && separators < 2) return false;
  token = {begin, end};
  return true;
}

// One pass over the line. An address or path is known only at its mark (the
// "://", the "@", a slash), so words found in it before the mark are taken
// back when it is one.
class Scanner {
 public:
  Scanner(std::string_view line, std::vector<WordSpan>& words) : line_(line), words_(words) {}

  std::size_t Run() {
    const char* data = line_.data();
    const std::size_t size = line_.size();
    std::size_t pos = 0;
    std::size_t chars = 0;
    while (pos < size) {
      const auto b = static_cast<unsigned char>(data[pos]);
      if (b < 0x80) {
        const std::uint8_t cls = Classes[b];
        if ((cls & (Letter | Digit)) != 0) {
          Word(pos, chars);
          continue;
        }
        if ((cls & AddressMark) != 0 && SkipToken(pos, chars)) continue;
        ++pos;
        ++chars;
        continue;
      }
      std::size_t next = pos;
      const char32_t c = text::DecodeUtf8(line_, next);
      if (IsLetter(c)) {
        Word(pos, chars);
        continue;
      }
      pos = next;
      ++chars;
    }
    return chars;
  }

 private:
  // At a mark: when it belongs to a token that is no text, takes back the
  // words found in the token, moves past it and answers true.
  bool SkipToken(std::size_t& pos, std::size_t& chars) {
    Token token;
    if (!TokenAt(line_, pos, token) || token.end <= pos) return false;
    while (!words_.empty() && words_.back().byteOffset + words_.back().byteLength > token.begin) {
      words_.pop_back();
    }
    // Tokens are ASCII: one character a byte.
    chars += token.end - pos;
    pos = token.end;
    return true;
  }

  // A run of letters and digits with inner apostrophes and hyphens, from the
  // word character at the position; a word unless it holds a digit.
  void Word(std::size_t& pos, std::size_t& chars) {
    WordSpan word{pos, 0, chars, false};
    std::uint8_t seen = 0;  // the classes of the ASCII characters in the run
    const char* data = line_.data();
    const std::size_t size = line_.size();
    while (pos < size) {
      // Letters and digits of ASCII, the bulk of every word: eight letters at
      // a time while there are, then byte by byte.
      const std::size_t from = pos;
      pos += LettersAhead(data, pos, size);
      if (pos != from) seen |= Letter;
      while (pos < size) {
        const auto b = static_cast<unsigned char>(data[pos]);
        if (b >= 0x80 || (Classes[b] & (Letter | Digit)) == 0) break;
        seen |= Classes[b];
        ++pos;
      }
      chars += pos - from;
      if (pos >= size) break;
      const auto b = static_cast<unsigned char>(data[pos]);
      if (b < 0x80) {
        if ((Classes[b] & Joiner) == 0 || pos + 1 >= size || !FollowedByWordChar(pos + 1)) break;
        word.hyphenated = word.hyphenated || b == '-';
        ++pos;
        ++chars;
        continue;
      }
      std::size_t next = pos;
      const char32_t c = text::DecodeUtf8(line_, next);
      const bool inner = c == RightSingleQuote && next < size && FollowedByWordChar(next);
      if (!inner && !IsLetter(c)) break;
      pos = next;
      ++chars;
    }
    word.byteLength = pos - word.byteOffset;
    if ((seen & Digit) == 0 &&
        !(word.hyphenated && IsUuid(line_.substr(word.byteOffset, word.byteLength)))) {
      words_.push_back(word);
    }
  }

  // How many ASCII letters begin the text at `pos`, counted eight at a time
  // (an answer below eight stops at something else).
  static std::size_t LettersAhead(const char* data, std::size_t pos, std::size_t size) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    constexpr std::uint64_t High = 0x8080808080808080ull;
    std::size_t count = 0;
    while (pos + count + 8 <= size) {
      std::uint64_t v;
      std::memcpy(&v, data + pos + count, 8);
      // Per byte, without carries between bytes: high bit set for 'a'..'z'
      // once folded to small letters, and only for bytes below 0x80.
      const std::uint64_t x = (v & ~High) | (0x20 * Ones);
      const std::uint64_t letters = (x + 0x1F * Ones) & ~(x + 0x05 * Ones) & ~v & High;
      const std::uint64_t others = ~letters & High;
      if (others == 0) {
        count += 8;
        continue;
      }
      return count + static_cast<std::size_t>(std::countr_zero(others)) / 8;
    }
    return count;
  }

  bool FollowedByWordChar(std::size_t at) const {
    const auto b = static_cast<unsigned char>(line_[at]);
    if (b < 0x80) return (Classes[b] & (Letter | Digit)) != 0;
    std::size_t p = at;
    return IsLetter(text::DecodeUtf8(line_, p));
  }

  std::string_view line_;
  std::vector<WordSpan>& words_;
};

}  // namespace

std::size_t ScanWords(std::string_view line, std::vector<WordSpan>& words) {
  words.clear();
  return Scanner(line, words).Run();
}

}  // namespace spellcheck::tool
