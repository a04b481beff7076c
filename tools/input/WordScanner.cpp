#include "input/WordScanner.h"

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

bool IsDigit(char32_t c) {
  return c >= '0' && c <= '9';
}
bool IsApostrophe(char32_t c) {
  return c == '\'' || c == 0x2019;
}
bool IsHyphen(char32_t c) {
  return c == '-';
}

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

class Scanner {
 public:
  Scanner(std::string_view line, std::vector<WordSpan>& words) : line_(line), words_(words) {}

  void Run() {
    while (pos_ < line_.size()) {
      const std::size_t before = pos_;
      const char32_t c = Next();
      if (IsBlank(c)) continue;
      SkipOrScanPiece(before, c);
    }
  }

 private:
  char32_t Next() {
    ++chars_;
    const auto b = static_cast<unsigned char>(line_[pos_]);
    if (b < 0x80) {
      ++pos_;
      return b;
    }
    return text::DecodeUtf8(line_, pos_);
  }

  char32_t Peek() const {
    if (pos_ >= line_.size()) return 0;
    std::size_t p = pos_;
    return text::DecodeUtf8(line_, p);
  }

  // `first` (at byte `start`) begins a blank-separated piece.
  void SkipOrScanPiece(std::size_t start, char32_t first) {
    std::size_t end = pos_;
    bool mayBeAddress = false;
    while (end < line_.size()) {
      const auto b = static_cast<unsigned char>(line_[end]);
      if (b < 0x80) {
        if (b == ' ' || (b >= '\t' && b <= '\r')) break;
        mayBeAddress = mayBeAddress || b == ':' || b == '@' || b == '.';
        ++end;
        continue;
      }
      std::size_t p = end;
      if (IsBlank(text::DecodeUtf8(line_, p))) break;
      end = p;
    }
    if (mayBeAddress && IsAddress(line_.substr(start, end - start))) {
      while (pos_ < end) Next();
      return;
    }
    ScanPiece(start, first, end);
  }

  void ScanPiece(std::size_t start, char32_t c, std::size_t end) {
    for (;;) {
      if (IsLetter(c) || IsDigit(c)) {
        ScanRun(start, c, end);
      }
      if (pos_ >= end) return;
      start = pos_;
      c = Next();
    }
  }

  // A run of letters and digits with inner apostrophes and hyphens.
  void ScanRun(std::size_t start, char32_t first, std::size_t end) {
    WordSpan word{start, 0, chars_ - 1, false};
    bool hasDigit = IsDigit(first);
    while (pos_ < end) {
      const std::size_t mark = pos_;
      const std::size_t markChars = chars_;
      const char32_t c = Next();
      if (IsLetter(c) || IsDigit(c)) {
        hasDigit = hasDigit || IsDigit(c);
        continue;
      }
      if ((IsApostrophe(c) || IsHyphen(c)) && pos_ < end) {
        const char32_t after = Peek();
        if (IsLetter(after) || IsDigit(after)) {
          word.hyphenated = word.hyphenated || IsHyphen(c);
          continue;
        }
      }
      pos_ = mark;
      chars_ = markChars;
      break;
    }
    word.byteLength = pos_ - start;
    if (!hasDigit) words_.push_back(word);
  }

  std::string_view line_;
  std::vector<WordSpan>& words_;
  std::size_t pos_ = 0;
  std::size_t chars_ = 0;
};

}  // namespace

void ScanWords(std::string_view line, std::vector<WordSpan>& words) {
  words.clear();
  Scanner(line, words).Run();
}

}  // namespace spellcheck::tool
