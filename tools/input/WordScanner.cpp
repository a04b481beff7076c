#include "input/WordScanner.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/Utf8.h"

namespace spellcheck::tool {

bool IsLetter(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
  if (c >= 0x250 && c <= 0x2AF) return true;  // IPA extensions
  if (c >= 0x300 && c <= 0x36F) return true;  // combining accents belong to their letter
  if (c >= 0x370 && c <= 0x3FF) return c != 0x37E && c != 0x387;  // Greek
  if (c >= 0x400 && c <= 0x52F) return c < 0x482 || c > 0x489;    // Cyrillic
  if (c >= 0x1E00 && c <= 0x1FFF) return true;                    // Latin and Greek extended
  if (c >= 0xFB00 && c <= 0xFB06) return true;                    // ligatures
  return false;
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
  AddressMark = 16,  // a piece holding one may be an address
};

constexpr std::array<std::uint8_t, 128> MakeClasses() {
  std::array<std::uint8_t, 128> classes{};
  for (unsigned c = 0; c < 128; ++c) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) classes[c] = Blank;
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') classes[c] = Letter;
    if (c >= '0' && c <= '9') classes[c] = Digit;
    if (c == '\'' || c == '-') classes[c] = Joiner;
    if (c == ':' || c == '@' || c == '.') classes[c] = AddressMark;
  }
  return classes;
}

constexpr std::array<std::uint8_t, 128> Classes = MakeClasses();

constexpr char32_t RightSingleQuote = 0x2019;

// The letter counting below reads eight bytes as one number, low byte first.
static_assert(std::endian::native == std::endian::little);

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if ((text[i] | 0x20) != prefix[i]) return false;
  }
  return true;
}

// A blank-separated piece that names a place on the net rather than words.
bool IsAddress(std::string_view piece) {
  if (piece.find("://") != std::string_view::npos) return true;
  if (StartsWithNoCase(piece, "www.") || StartsWithNoCase(piece, "mailto:")) return true;
  const std::size_t at = piece.find('@');
  if (at == std::string_view::npos || at == 0 || at + 1 >= piece.size()) return false;
  return piece.find('.', at) != std::string_view::npos;
}

// One pass over the line. An address is known only once its whole
// blank-separated piece is seen, so the piece is judged at its first mark
// after its first character, and the words found in it so far are taken back
// when it is one; each piece is judged at most once.
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
        if ((cls & Blank) != 0) {
          inPiece_ = false;
          ++pos;
          ++chars;
          continue;
        }
        StartPiece(pos);
        if ((cls & (Letter | Digit)) != 0) {
          Word(pos, chars);
          continue;
        }
        if ((cls & AddressMark) != 0 && !judged_ && pos != pieceStart_ && SkipAddress(pos, chars)) {
          continue;
        }
        ++pos;
        ++chars;
        continue;
      }
      std::size_t next = pos;
      const char32_t c = text::DecodeUtf8(line_, next);
      if (IsBlank(c)) {
        inPiece_ = false;
        pos = next;
        ++chars;
        continue;
      }
      StartPiece(pos);
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
  void StartPiece(std::size_t pos) {
    if (inPiece_) return;
    inPiece_ = true;
    judged_ = false;
    pieceStart_ = pos;
    pieceWords_ = words_.size();
  }

  // At a mark inside a piece: when the piece is an address, skips the rest
  // of it, takes back its words and answers true.
  bool SkipAddress(std::size_t& pos, std::size_t& chars) {
    judged_ = true;
    std::size_t end = pos;
    std::size_t count = 0;
    while (end < line_.size()) {
      const auto b = static_cast<unsigned char>(line_[end]);
      if (b < 0x80) {
        if ((Classes[b] & Blank) != 0) break;
        ++end;
        ++count;
        continue;
      }
      std::size_t p = end;
      if (IsBlank(text::DecodeUtf8(line_, p))) break;
      end = p;
      ++count;
    }
    if (!IsAddress(line_.substr(pieceStart_, end - pieceStart_))) return false;
    words_.resize(pieceWords_);
    pos = end;
    chars += count;
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
    if ((seen & Digit) == 0) words_.push_back(word);
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
  bool inPiece_ = false;  // the position is inside a blank-separated piece
  bool judged_ = false;   // the piece was judged to be no address
  std::size_t pieceStart_ = 0;
  std::size_t pieceWords_ = 0;  // words found before the piece
};

}  // namespace

std::size_t ScanWords(std::string_view line, std::vector<WordSpan>& words) {
  words.clear();
  return Scanner(line, words).Run();
}

}  // namespace spellcheck::tool
